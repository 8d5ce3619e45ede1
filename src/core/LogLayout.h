#pragma once

#include "core/DataTable.h"

#include <QString>
#include <QStringList>

#include <array>
#include <string_view>
#include <vector>

// What the lines of a measuring-block log mean. Line 1 is the header, line 4 the group line,
// line 5 the column-name line and lines 8 on the data lines; lines 2, 3, 6 and 7 give the table
// nothing (but lines 3 and 6 of the newer layout, see NewerLayout; lines 5 to 7 are also handed
// out column by column, LogFile::columnLines). Fields are split at every "," with no
// quoting; an empty line has no fields.
//
// The tool appends a new header block when logging starts again into the same file: a file holds
// one or more sessions, each a header block of seven lines and the data lines up to the next
// header line. Lines 1 to 7 of the file are always the first block.
namespace LogLayout {

constexpr int GroupLine = 4;
constexpr int ColumnLine = 5;
constexpr int FirstDataLine = 8;

// The series boxes: box k stands for cell k, and fields 1 to 15 of the column-name line can
// name one.
constexpr int BoxCount = 15;

// The header of the visible first column and of the hidden time columns.
inline QString timeHeader()
{
    return QStringLiteral("Tiempo");
}

// Fields 6 and 11 of the column-name line and of the data lines are the time stamps of the
// second and third groups: their columns are hidden and they never get a series box.
constexpr bool isTimeField(int field)
{
    return field == 6 || field == 11;
}

QStringList splitFields(const QString &line);

// Whether a (trimmed) line starts a header block, like
// "Sunday,06,December,2026,14:57:28:15476,...": field 0 not empty and without a digit, field 1 one
// or two digits, field 3 four digits and field 4 beginning with digits:digits:digits. Weekday and
// month come in the user's language.
bool isHeaderLine(std::string_view line);
// Whether a line is told to be no header line at its first byte, as nearly every data line is:
// it is empty or starts with its empty field 0 or a number.
inline bool startsLikeData(std::string_view line)
{
    return line.empty() || line[0] == ',' || (line[0] >= '0' && line[0] <= '9');
}
// The hh:mm:ss a header line's field 4 begins with (its first three parts); empty when it does
// not begin with digits:digits:digits.
QString headerTime(std::string_view line);

// The group marks of line 4: a field that is exactly "'002" (and so on) marks that group,
// wherever it stands.
//
//   ,Group A:,'003,,,,Group B:,'001,,,,Group C:,'011      as the tool writes it: marks at 2, 7, 12
//   ,,Group A:,'003,,,,Group B:,'011,,,,Group C:,'013,,,  one field later: marks at 3, 8, 13
//
// Fields 2-6 belong to measuring group A, 7-11 to B and 12-16 to C, so both lines above place
// group 003 in A and the second group in B.
constexpr int FirstGroupField = 2;
constexpr int FieldsPerGroup = 5;
constexpr int MeasuringGroups = 3;

struct Groups {
    bool g002 = false;
    bool g003 = false;
    bool g011 = false;
    bool g115 = false;
    bool g120 = false; // the power curve can be drawn
    // The measuring group each stands in: 0 (A), 1 (B) or 2 (C), from the first field from field
    // 2 on that holds its mark; -1 when none of fields 2 to 16 holds it.
    int place002 = -1;
    int place003 = -1;
    int place011 = -1;
    int place115 = -1;
};
Groups readGroupLine(const QString &line);

// The table columns that the column-name line gives: "Tiempo" (the first group's time, 900
// twips), then for every field j from 2 on a hidden "Tiempo" column for a time field and a
// column headed by the field's text (even an empty one) for any other. Column k is therefore
// headed by field k + 1.
std::vector<DataTable::Column> columnsFor(const QString &columnLine);

// The texts a table column's field has on lines 5, 6 and 7 of the header block, untrimmed as
// split. In the classic layout column k shows field k + 1 of the data lines and these are field
// k + 1 of each line (line 5 the name; 6 the unit or the name's continuation; 7 "STAMP" or the
// unit); in the newer layout they are field 2 * slot of each line for the slot the column shows
// (line 5 the id text such as "003-0", 6 the name, 7 the unit). Empty for the "Tiempo" columns
// and where a line is missing or shorter.
struct ColumnLines {
    QString line5;
    QString line6;
    QString line7;
};
std::vector<ColumnLines> columnLines(const QString &line5, const QString &line6,
                                     const QString &line7, int columnCount, bool newerLayout);

// The captions of the series boxes that the column-name line names: box j - 1 gets field j
// (1 <= j <= 15, not a time field) when that field is not empty. An empty caption means the box
// stays hidden.
std::array<QString, BoxCount> boxCaptions(const QString &columnLine);

} // namespace LogLayout
