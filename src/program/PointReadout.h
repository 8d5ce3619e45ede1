#pragma once

#include <QString>

class AppState;
class ChartModel;

// The read-out of a picked point: label + ": " + value + "    RPM: " + speed. The label is the
// label of series `series` of `chart`; the value is the text of cell (point, k) of the main
// table, k being the first series box whose caption equals the label (15 when none does); the
// speed is the text of cell (point, 1). A cell that does not exist gives an empty text.
namespace PointReadout {

QString Text(const AppState &state, const ChartModel &chart, int series, int point);

} // namespace PointReadout
