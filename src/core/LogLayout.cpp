#include "core/LogLayout.h"

namespace LogLayout {

QStringList splitFields(const QString &line)
{
    if (line.isEmpty())
        return QStringList();
    return line.split(QLatin1Char(','));
}

Groups readGroupLine(const QString &line)
{
    // Marks are compared whole, exact and case-sensitive, on the untrimmed field.
    Groups groups;
    for (const QString &field : splitFields(line)) {
        if (field == QLatin1String("'002"))
            groups.g002 = true;
        else if (field == QLatin1String("'115"))
            groups.g115 = true;
        else if (field == QLatin1String("'003"))
            groups.g003 = true;
        else if (field == QLatin1String("'011"))
            groups.g011 = true;
        else if (field == QLatin1String("'120"))
            groups.g120 = true;
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

} // namespace LogLayout
