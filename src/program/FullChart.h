#pragma once

class AppState;
class ChartModel;

// The full-screen chart's data: the ticked series boxes rebuilt from the data table, never copied
// from the main chart (so while the main chart shows the power curve, the full-screen chart shows
// its ticked input fields).
namespace FullChart {

// Refills `chart2` from the state: SeriesCount series over the table's rows, series s being the
// s-th ticked box in box order (its caption, its column's numbers, its colour), rows labelled
// with cell 1, the horizontal axis titled "RPM", and the title LogTitle + " - " + LogHeader.
// Series beyond the ticked boxes (SeriesCount can be larger while the power curve is shown) stay
// empty. Whatever the chart held before is dropped.
void Fill(const AppState &state, ChartModel &chart2);

} // namespace FullChart
