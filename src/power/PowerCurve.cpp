#include "power/PowerCurve.h"

#include "app/AppState.h"
#include "chart/Graficas.h"
#include "log/DataTable.h"

#include <cmath>

namespace PowerCurve {

namespace {

// A cell read as the curve reads it: its text with "," taken as "." (the log's own bytes), then
// LeadingValue. A missing cell is the empty text, that is 0.
double cellNumber(const DataTable::NumberColumn &numbers, int row)
{
    const double value = numbers.leading[size_t(row - 1)];
    return std::isnan(value) ? 0 : value;
}

} // namespace

Curve Compute(const DataTable &table, int speedCell, int torqueCell)
{
    const int rows = table.rowCount();
    Curve curve;
    curve.torque.resize(size_t(rows));
    curve.power.resize(size_t(rows));
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

void ChCVClicked(AppState &state)
{
    if (!state.chcvTicked()) {
        Graficas::ResetChart(state);
        Graficas::PlotChecked(state);
        return;
    }

    int count = 0;
    int fields[3] = {0, 0, 0};
    for (int i = 1; i < AppState::BoxCount; ++i) {
        if (!state.box(i).ticked)
            continue;
        ++count;
        if (count <= 3)
            fields[count - 1] = i;
    }
    if (count != 3) {
        state.message(QStringLiteral("Debe seleccionar los 3 campos correctos para realizar la grafica"),
                      MessageKind::Plain);
        state.setChCVTicked(false);
        return;
    }

    const Curve curve = Compute(state.table, fields[0], fields[2]);
    const int rows = state.table.rowCount();
    ChartModel &chart = state.chart;
    chart.setSeriesCount(2);
    chart.setRowCount(rows);
    if (rows > 0) {
        chart.setSeriesLabel(1, QStringLiteral("NM - Par"));
        chart.setSeriesValues(1, curve.torque);
        chart.setRowLabelsFromTable(state.table, 1);
    }
    chart.setSeriesColor(1, QColor(0, 255, 0));
    chart.setSeriesBox(1, -1);
    if (rows > 0) {
        chart.setSeriesLabel(2, QStringLiteral("CV - Potencia"));
        chart.setSeriesValues(2, curve.power);
    }
    chart.setSeriesColor(2, QColor(255, 0, 0));
    chart.setSeriesBox(2, -1);
}

} // namespace PowerCurve
