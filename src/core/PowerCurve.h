#pragma once

#include <vector>

class DataTable;

// The torque and power curve: torque in pound-feet and power in horsepower, row by row, from an
// engine speed (rpm) and a torque (Nm) cell.
namespace PowerCurve {

// Kept as the program always did: the curves named "NM - Par" and "CV - Potencia" show these.
constexpr double TorqueFactor = 0.738; // newton-metres to pound-feet
constexpr double PowerDivisor = 5252;  // power = pound-feet x rpm / 5252

struct Curve {
    std::vector<double> torque; // one per table row
    std::vector<double> power;
};

// Torque and power of every row, reading cell `speedCell` and cell `torqueCell` with "," taken
// as "." and LeadingValue; a missing or non-numeric cell reads as 0.
Curve Compute(const DataTable &table, int speedCell, int torqueCell);

} // namespace PowerCurve
