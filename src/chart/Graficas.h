#pragma once

class AppState;

// The chart procedures: columns of the data table become series of the main chart. The series
// shown are exactly the ticked series boxes; a series carries its box's text colour, and its
// table column is painted in the same colour.
namespace Graficas {

// The click of series box `index`: adds its series when ticked, removes it otherwise.
void BoxClicked(AppState &state, int index);

// Adds column `index` of the table as a new series in the first free slot, over `rows` rows.
void AddSeries(AppState &state, int index, int rows, int r, int g, int b);
// Drops every series, paints column `index` black and plots the still-ticked boxes again.
void RemoveSeries(AppState &state, int index);
// Adds one series for every ticked box, in box order.
void PlotChecked(AppState &state);
// Returns the whole chart view to its empty state (boxes and ChCV unticked, "Ninguno", empty
// statistics labels, no series, no title, black table text, all slots free).
void ResetChart(AppState &state);
// Paints the text of one table column; shows a message when there is no such column.
void ColorColumn(AppState &state, int r, int g, int b, int column);

// The horizontal axis label and tick spacing for `rows` rows: rows / 18 rounded to the nearest
// integer, a half to the even neighbour; 0 means "keep the previous spacing".
int AxisSpacing(int rows);

} // namespace Graficas
