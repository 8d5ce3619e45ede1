#pragma once

#include <vector>

class AppState;
class DataTable;

// The torque and power curve drawn on the main chart from three ticked fields: the lowest is
// the engine speed (rpm), the highest the torque (Nm); the middle one takes no part.
namespace PowerCurve {

constexpr double TorqueFactor = 0.738; // newton-metres to pound-feet
constexpr double PowerDivisor = 5252;  // power = pound-feet x rpm / 5252

struct Curve {
    std::vector<double> torque; // one per table row
    std::vector<double> power;
};

// Torque and power of every row, reading cell `speedCell` and cell `torqueCell` with "," taken
// as "." and LeadingValue; a missing or non-numeric cell reads as 0.
Curve Compute(const DataTable &table, int speedCell, int torqueCell);

// The click of ChCV "Grafica Potencia" (runs on every change of its state).
void ChCVClicked(AppState &state);

} // namespace PowerCurve
