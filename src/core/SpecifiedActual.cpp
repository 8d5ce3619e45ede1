#include "core/SpecifiedActual.h"

#include "core/ColumnRoles.h"

#include <QLatin1String>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <utility>

namespace SpecifiedActual {

namespace {

bool isLetterOrDigit(char32_t c)
{
    return QChar::isLetter(c) || QChar::isDigit(c);
}

bool among(const QString &word, std::initializer_list<const char *> list)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const char *w) { return word == QLatin1String(w); });
}

// floor(speed / BinWidth) * BinWidth, never -0; without a call to floor for any speed an engine
// can have.
double binOf(double speed)
{
    const double q = speed / BinWidth;
    if (std::fabs(q) >= 1e15)
        return std::floor(q) * BinWidth;
    long long whole = static_cast<long long>(q); // towards zero
    if (double(whole) > q)
        --whole;
    return double(whole) * BinWidth;
}

QString canonicalUnit(const QString &unit)
{
    return unit == QLatin1String("hPa") ? QStringLiteral("mbar") : unit;
}

} // namespace

QStringList words(const QString &name)
{
    QStringList out;
    QString word;
    for (const char32_t c : name.toUcs4()) {
        if (isLetterOrDigit(c)) {
            word += QString::fromUcs4(&c, 1);
        } else if (!word.isEmpty()) {
            out << word.toCaseFolded();
            word.clear();
        }
    }
    if (!word.isEmpty())
        out << word.toCaseFolded();
    return out;
}

NameWords nameWords(const QString &name)
{
    NameWords result;
    bool specified = false;
    bool actual = false;
    for (const QString &word : words(name)) {
        if (among(word, {"specified", "spec", "soll", "sollwert", "setpoint", "zadane"}))
            specified = true;
        else if (among(word, {"actual", "act", "ist", "istwert", "rzeczywiste"}))
            actual = true;
        else
            result.rest << word;
    }
    if (specified != actual)
        result.side = specified ? Side::Specified : Side::Actual;
    return result;
}

bool sameUnit(const QString &a, const QString &b)
{
    return canonicalUnit(a) == canonicalUnit(b);
}

int Bin::shade() const
{
    const double limit = Shade * std::fabs(specified);
    return difference < -limit ? -1 : difference > limit ? 1 : 0;
}

std::vector<Pair> findPairs(const std::vector<QString> &units, const std::vector<QString> &names)
{
    const int count = int(std::min(units.size(), names.size()));
    std::vector<NameWords> described(size_t(std::max(count, 0)));
    for (int k = 0; k < count; ++k)
        if (ColumnRoles::isValueColumn(k))
            described[size_t(k)] = nameWords(names[size_t(k)]);

    std::vector<bool> paired(described.size(), false);
    std::vector<Pair> pairs;
    for (int s = 0; s < count; ++s) {
        const NameWords &spec = described[size_t(s)];
        if (spec.side != Side::Specified || paired[size_t(s)])
            continue;
        for (int a = 1; a < count; ++a) {
            const NameWords &act = described[size_t(a)];
            if (paired[size_t(a)] || act.side != Side::Actual || act.rest != spec.rest ||
                !sameUnit(units[size_t(s)], units[size_t(a)]))
                continue;
            paired[size_t(s)] = paired[size_t(a)] = true;
            Pair pair;
            pair.specified = s;
            pair.actual = a;
            pair.unit = units[size_t(s)];
            pairs.push_back(pair);
            break;
        }
    }
    return pairs;
}

std::vector<int> matchPairs(const std::vector<Pair> &first, const std::vector<QString> &firstNames,
                            const std::vector<Pair> &second,
                            const std::vector<QString> &secondNames)
{
    // The rest of the specified and of the actual column's name.
    const auto stripped = [](const Pair &pair, const std::vector<QString> &names) {
        const auto rest = [&](int column) {
            return column >= 0 && size_t(column) < names.size()
                       ? nameWords(names[size_t(column)]).rest
                       : QStringList();
        };
        return std::make_pair(rest(pair.specified), rest(pair.actual));
    };
    std::vector<std::pair<QStringList, QStringList>> others;
    for (const Pair &pair : second)
        others.push_back(stripped(pair, secondNames));
    std::vector<bool> taken(second.size(), false);
    std::vector<int> match;
    for (const Pair &pair : first) {
        const auto names = stripped(pair, firstNames);
        int found = -1;
        for (size_t j = 0; j < second.size() && found < 0; ++j)
            if (!taken[j] && others[j] == names && sameUnit(pair.unit, second[j].unit))
                found = int(j);
        if (found >= 0)
            taken[size_t(found)] = true;
        match.push_back(found);
    }
    return match;
}

std::vector<Bin> bins(const DataTable::NumberColumn &speed,
                      const DataTable::NumberColumn &specified,
                      const DataTable::NumberColumn &actual, const std::vector<Rows> &ranges)
{
    struct Sums {
        int rows = 0;
        double specified = 0;
        double actual = 0;
        double difference = 0;
        double worst = 0;
    };
    std::map<double, Sums> sums;
    auto last = sums.end(); // rows of one bin tend to follow each other
    const int size = int(std::min({speed.size(), specified.size(), actual.size()}));
    for (const Rows &range : ranges) {
        for (int i = std::max(range.first, 0); i <= range.last && i < size; ++i) {
            const double s = specified.number(size_t(i));
            const double a = actual.number(size_t(i));
            const double e = speed.number(size_t(i));
            if (std::isnan(s) || std::isnan(a) || std::isnan(e))
                continue;
            const double rpm = binOf(e);
            if (last == sums.end() || last->first != rpm)
                last = sums.try_emplace(rpm).first;
            Sums &bin = last->second;
            const double difference = a - s;
            bin.worst = bin.rows ? std::min(bin.worst, difference) : difference;
            ++bin.rows;
            bin.specified += s;
            bin.actual += a;
            bin.difference += difference;
        }
    }
    std::vector<Bin> out;
    out.reserve(sums.size());
    for (const auto &[rpm, bin] : sums) {
        Bin b;
        b.rpm = rpm;
        b.rows = bin.rows;
        b.specified = bin.specified / bin.rows;
        b.actual = bin.actual / bin.rows;
        b.difference = bin.difference / bin.rows;
        b.worst = bin.worst;
        out.push_back(b);
    }
    return out;
}

} // namespace SpecifiedActual
