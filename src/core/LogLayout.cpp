#include "core/LogLayout.h"

#include "core/NewerLayout.h"

#include <algorithm>

namespace LogLayout {

QStringList splitFields(const QString &line)
{
    if (line.isEmpty())
        return QStringList();
    return line.split(QLatin1Char(','));
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Field `index` of the line (empty when the line has fewer fields), without splitting the rest.
std::string_view field(std::string_view line, int index)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos)
            return {};
        start = comma + 1;
    }
    return line.substr(start, line.find(',', start) - start);
}

// The length of the digits:digits:digits the text begins with, 0 when it does not.
size_t clockLength(std::string_view text)
{
    size_t i = 0;
    for (int part = 0; part < 3; ++part) {
        if (part > 0) {
            if (i >= text.size() || text[i] != ':')
                return 0;
            ++i;
        }
        const size_t digits = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == digits)
            return 0;
    }
    return i;
}

bool digitsOnly(std::string_view text, size_t least, size_t most)
{
    return text.size() >= least && text.size() <= most &&
           std::all_of(text.begin(), text.end(), isDigit);
}

} // namespace

bool isHeaderLine(std::string_view line)
{
    if (startsLikeData(line))
        return false;
    const std::string_view day = field(line, 0);
    if (std::any_of(day.begin(), day.end(), isDigit))
        return false;
    return digitsOnly(field(line, 1), 1, 2) && digitsOnly(field(line, 3), 4, 4) &&
           clockLength(field(line, 4)) > 0;
}

QString headerTime(std::string_view line)
{
    const std::string_view clock = field(line, 4);
    const size_t length = clockLength(clock);
    return QString::fromLatin1(clock.data(), qsizetype(length));
}

Groups readGroupLine(const QString &line)
{
    struct Mark {
        const char *text;
        bool Groups::*on;
        int Groups::*place; // nullptr: the group has no place
    };
    static const Mark marks[] = {{"'002", &Groups::g002, &Groups::place002},
                                 {"'115", &Groups::g115, &Groups::place115},
                                 {"'003", &Groups::g003, &Groups::place003},
                                 {"'011", &Groups::g011, &Groups::place011},
                                 {"'120", &Groups::g120, nullptr}};
    constexpr qsizetype LastGroupField = FirstGroupField + MeasuringGroups * FieldsPerGroup - 1;
    // Marks are compared whole, exact and case-sensitive, on the untrimmed field.
    Groups groups;
    const QStringList fields = splitFields(line);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        for (const Mark &mark : marks) {
            if (fields[i] != QLatin1String(mark.text))
                continue;
            groups.*mark.on = true;
            const bool inGroups = i >= FirstGroupField && i <= LastGroupField;
            if (mark.place && inGroups && groups.*mark.place < 0)
                groups.*mark.place = int(i - FirstGroupField) / FieldsPerGroup;
        }
    }
    return groups;
}

std::vector<DataTable::Column> columnsFor(const QString &columnLine)
{
    std::vector<DataTable::Column> columns;
    columns.push_back({timeHeader(), DataTable::FirstColumnWidth});
    // Fields 0 and 1 name nothing: cell 0 holds field 1 and is the "Tiempo" column above.
    const QStringList fields = splitFields(columnLine);
    for (qsizetype j = 2; j < fields.size(); ++j) {
        if (isTimeField(int(j)))
            columns.push_back({timeHeader(), 0});
        else
            columns.push_back({fields[j], DataTable::DefaultWidth});
    }
    return columns;
}

std::array<QString, BoxCount> boxCaptions(const QString &columnLine)
{
    std::array<QString, BoxCount> captions;
    const QStringList fields = splitFields(columnLine);
    for (qsizetype j = 1; j < fields.size() && j <= BoxCount; ++j) {
        if (!isTimeField(int(j)))
            captions[size_t(j - 1)] = fields[j];
    }
    return captions;
}

std::vector<ColumnLines> columnLines(const QString &line5, const QString &line6,
                                     const QString &line7, int columnCount, bool newerLayout)
{
    const QStringList lines[3] = {splitFields(line5), splitFields(line6), splitFields(line7)};
    std::vector<ColumnLines> texts;
    for (int k = 0; k < columnCount; ++k) {
        int field = -1; // the "Tiempo" columns have no field of their own
        if (newerLayout) {
            const int slot = NewerLayout::slotOfColumn(k);
            field = slot == 0 ? -1 : 2 * slot;
        } else if (k > 0 && !isTimeField(k + 1)) {
            field = k + 1;
        }
        const auto text = [field](const QStringList &line) {
            return field >= 0 && field < line.size() ? line[field] : QString();
        };
        texts.push_back({text(lines[0]), text(lines[1]), text(lines[2])});
    }
    return texts;
}

} // namespace LogLayout
