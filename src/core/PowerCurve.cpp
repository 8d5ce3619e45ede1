#include "core/PowerCurve.h"

#include "core/DataTable.h"

#include <cmath>

namespace PowerCurve {

namespace {

// A cell read as the curve reads it: its text with "," taken as "." (the log's own bytes), then
// LeadingValue. A missing cell is the empty text, that is 0.
double cellNumber(const DataTable::NumberColumn &numbers, int row)
{
    const double value = numbers.leading(size_t(row - 1));
    return std::isnan(value) ? 0 : value;
}

} // namespace

Curve Compute(const DataTable &table, int speedCell, int torqueCell)
{
    const int rows = table.rowCount();
    Curve curve;
    curve.torque.resize(size_t(rows));
    curve.power.resize(size_t(rows));
    table.readNumbers({speedCell, torqueCell}); // both cells in one walk over the rows
    const DataTable::NumberColumn &torques = table.numbers(torqueCell);
    const DataTable::NumberColumn &speeds = table.numbers(speedCell);
    for (int j = 1; j <= rows; ++j) {
        const double torque = cellNumber(torques, j) * TorqueFactor;
        const double speed = cellNumber(speeds, j);
        curve.torque[size_t(j - 1)] = torque;
        curve.power[size_t(j - 1)] = torque * speed / PowerDivisor;
    }
    return curve;
}

} // namespace PowerCurve
