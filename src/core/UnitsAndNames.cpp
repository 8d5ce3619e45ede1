#include "core/UnitsAndNames.h"

#include "core/ColumnRoles.h"
#include "core/LogLayout.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace UnitsAndNames {

namespace {

// Whether `text` has at least one word and every word of it is one of `words` (lower case).
bool allWordsAmong(const QString &text, std::initializer_list<const char *> words)
{
    bool any = false;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        if (!text[i].isLetterOrNumber()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < size && text[end].isLetterOrNumber())
            ++end;
        const QStringView word = QStringView(text).mid(i, end - i);
        const bool known = std::any_of(words.begin(), words.end(), [&](const char *w) {
            return word.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
        });
        if (!known)
            return false;
        any = true;
        i = end;
    }
    return any;
}

bool hasLetter(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

} // namespace

bool isStampWord(const QString &text)
{
    return allWordsAmong(text, {"stamp", "marke", "marker", "zapisu", "znacznik", "stempel",
                                "zeitstempel", "timestamp"});
}

bool isTimeWord(const QString &text)
{
    return allWordsAmong(text, {"stamp", "marke", "marker", "zapisu", "znacznik", "stempel",
                                "zeitstempel", "timestamp", "time", "zeit", "czas"});
}

bool isNumberRange(const QString &text)
{
    static const QRegularExpression range(QStringLiteral(
        R"(^\s*[+-]?\d+(?:[.,]\d+)?\s*(?:-|–|\.\.\.?)\s*[+-]?\d+(?:[.,]\d+)?(?!\d))"));
    return range.match(text).hasMatch();
}

Labels read(const std::vector<ColumnText> &texts, const std::vector<QString> &headers,
            bool newerLayout)
{
    const size_t count = headers.size();
    // A column beyond `texts` has its header as its line-5 text and nothing on lines 6 and 7.
    const auto textOf = [&](size_t k) {
        return k < texts.size() ? texts[k] : ColumnText{headers[k], QString(), QString()};
    };

    Labels labels;
    labels.unitsOnLine6 = !newerLayout;
    for (size_t k = 0; k < count && labels.unitsOnLine6; ++k) {
        const QString unit = textOf(k).line7.trimmed();
        if (ColumnRoles::isValueColumn(int(k)) && !unit.isEmpty() && !isStampWord(unit))
            labels.unitsOnLine6 = false;
    }

    labels.units.resize(count);
    labels.names.resize(count);
    for (size_t k = 0; k < count; ++k) {
        const ColumnText text = textOf(k);
        if (!ColumnRoles::isValueColumn(int(k))) {
            labels.names[k] = headers[k];
            continue;
        }
        const QString unit = (labels.unitsOnLine6 ? text.line6 : text.line7).trimmed();
        if (!isStampWord(unit))
            labels.units[k] = unit;

        if (newerLayout) {
            labels.names[k] = headers[k];
            continue;
        }
        QString name = text.line5.trimmed();
        const QString more = text.line6.trimmed();
        if (!labels.unitsOnLine6 && hasLetter(more) && !isNumberRange(more) && !isTimeWord(more)) {
            if (!name.isEmpty() && !name.endsWith(QLatin1Char('-')))
                name += QLatin1Char(' ');
            name += more;
        }
        labels.names[k] = name;
    }
    return labels;
}

} // namespace UnitsAndNames
