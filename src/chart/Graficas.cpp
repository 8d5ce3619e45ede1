#include "chart/Graficas.h"

#include "app/AppState.h"

#include <cmath>

namespace Graficas {

namespace {

const int SlotCount = 14;

void splitColor(const QColor &color, int &r, int &g, int &b)
{
    r = color.red();
    g = color.green();
    b = color.blue();
}

} // namespace

int AxisSpacing(int rows)
{
    // rows / 18 is exact at the halves (an odd multiple of 9), so the default rounding mode gives
    // the even neighbour there.
    return int(std::nearbyint(double(rows) / 18.0));
}

void BoxClicked(AppState &state, int index)
{
    const AppState::Box &box = state.box(index);
    if (box.ticked) {
        int r, g, b;
        splitColor(box.color, r, g, b);
        AddSeries(state, index, state.table.rowCount(), r, g, b);
    } else {
        RemoveSeries(state, index);
    }
}

void AddSeries(AppState &state, int index, int rows, int r, int g, int b)
{
    for (int j = 1; j <= SlotCount; ++j) {
        if (state.SlotFree[size_t(j)]) {
            state.CurrentSlot = j;
            ++state.SeriesCount;
            state.SlotFree[size_t(j)] = false;
            break;
        }
    }

    ChartModel &chart = state.chart;
    const int slot = state.CurrentSlot;
    chart.setSeriesCount(state.SeriesCount);
    chart.setRowCount(rows);
    if (rows > 0 && slot >= 1) {
        chart.setSeriesLabel(slot, state.box(index).caption);
        // A cell that is not a number leaves its point as it was (a gap on a new series).
        chart.setSeriesValuesFromTable(slot, state.table, index);
        const int spacing = AxisSpacing(rows);
        if (spacing > 0)
            chart.setLabelSpacing(spacing);
        chart.setAxisTitle(QStringLiteral("RPM"));
        chart.setRowLabelsFromTable(state.table, 1);
    }
    chart.setSeriesColor(slot, QColor(r, g, b));
    chart.setSeriesBox(slot, index);
    ColorColumn(state, r, g, b, index);
    chart.setTitle(state.LogTitle + QStringLiteral(" - ") + state.LogHeader);
}

void RemoveSeries(AppState &state, int index)
{
    for (int j = 1; j <= SlotCount; ++j)
        state.SlotFree[size_t(j)] = true;
    state.chart.deleteAllSeries();
    state.SeriesCount = 0;
    ColorColumn(state, 0, 0, 0, index);
    PlotChecked(state);
}

void PlotChecked(AppState &state)
{
    for (int k = 0; k < AppState::BoxCount; ++k) {
        const AppState::Box &box = state.box(k);
        if (!box.ticked)
            continue;
        int r, g, b;
        splitColor(box.color, r, g, b);
        AddSeries(state, k, state.table.rowCount(), r, g, b);
    }
}

void ResetChart(AppState &state)
{
    for (int k = 0; k < AppState::BoxCount; ++k)
        state.setBoxTicked(k, false);
    state.setChCVTicked(false);
    state.selectEngine(EngineType::Ninguno);
    for (int j = 1; j <= SlotCount; ++j)
        state.SlotFree[size_t(j)] = true;
    state.setLabel(Label1, QString());
    state.setLabel(LbMaxN75, QString());
    state.setLabel(LbMaxPico, QString());
    state.setLabel(LbMEGR, QString());
    state.setLabel(LbTimeCarga, QString());
    state.chart.deleteAllSeries();
    state.chart.setTitle(QString());
    state.SeriesCount = 0;
    for (int k = 0; k < state.table.columnCount(); ++k)
        ColorColumn(state, 0, 0, 0, k);
}

void ColorColumn(AppState &state, int r, int g, int b, int column)
{
    if (state.table.rowCount() == 0)
        return;
    // The table is always shown as a report (one column per value), so the other message of the
    // list ("el listview debe estar en vista reporte") cannot arise.
    if (column < 0 || column + 1 > state.table.columnCount()) {
        state.message(QStringLiteral("El número de columna está fuera del intervalo"),
                      MessageKind::Plain);
        return;
    }
    state.colorColumnCells(column, QColor(r, g, b));
}

} // namespace Graficas
