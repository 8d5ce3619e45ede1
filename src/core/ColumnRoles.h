#pragma once

#include <QString>

#include <vector>

// The part each table column plays when a log is analysed: which columns hold values, the time
// stamp each value was taken at, the group it belongs to, and which columns are the engine speed
// and the pedal.
//
// Classic layout, by field of line 5 (table column k is field k + 1):
//
//   column   0     1-4       5     6-9       10    11-14     15 ...
//   field    1     2-5       6     7-10      11    12-15     16 ...
//            TIME  group A   TIME  group B   TIME  group C   (no group; the third group's time)
//
// The newer layout (see NewerLayout) logs single fields in slots, each with a time stamp of its
// own: table columns 1-4 hold slots 1-4, 6-9 slots 5-8, 11-14 slots 9-12 and 15 on slots 13 on.
// Its groups are the blocks of slots 1-4, 5-8 and 9-12, the same columns as the classic groups.
namespace ColumnRoles {

constexpr int None = -1;

// Every table column but 0, 5 and 10 (the "Tiempo" columns) holds values, an empty header
// included.
constexpr bool isValueColumn(int column)
{
    return column >= 1 && column != 5 && column != 10;
}

// The time column in front of a value column of the classic layout: 0 for columns 1-4, 5 for
// 6-9, 10 for 11 and every later column; None for a column that holds no values.
constexpr int timeColumn(int column)
{
    if (!isValueColumn(column))
        return None;
    return column < 5 ? 0 : column < 10 ? 5 : 10;
}

// The group of a value column: 0 for columns 1-4, 1 for 6-9, 2 for 11-14; None for the others.
constexpr int groupOf(int column)
{
    if (!isValueColumn(column) || column > 14)
        return None;
    return column < 5 ? 0 : column < 10 ? 1 : 2;
}

// Whether a unit is that of an engine speed: "/min", "1/min", "U/min" or "rpm", trimmed and in
// any case.
bool isEngineSpeedUnit(const QString &unit);

// The engine-speed column among `units` and `names` (one per table column): the first value
// column whose unit is an engine-speed unit, failing that the first whose name holds "engine
// speed", "motordrehzahl", "drehzahl", "obroty" or "rpm" (in any case); None when there is none.
int engineSpeedColumn(const std::vector<QString> &units, const std::vector<QString> &names);

// The first column of `group` whose unit is an engine-speed unit; None when it has none.
int groupEngineSpeedColumn(const std::vector<QString> &units, int group);

// The pedal or throttle column: the first value column whose unit is exactly "%" (trimmed) and
// whose name holds "pedal", "accelerator", "fahrpedal", "throttle" or "drossel" (in any case);
// None when there is none.
int pedalColumn(const std::vector<QString> &units, const std::vector<QString> &names);

} // namespace ColumnRoles
