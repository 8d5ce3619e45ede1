#include "program/FullChart.h"

#include "program/AppState.h"

namespace FullChart {

void Fill(const AppState &state, ChartModel &chart2)
{
    const DataTable &table = state.table;
    const int rows = table.rowCount();

    chart2.deleteAllSeries();
    chart2.setSeriesCount(state.SeriesCount);
    chart2.setRowCount(rows);

    int s = 0;
    for (int k = 0; k < AppState::BoxCount; ++k) {
        const AppState::Box &box = state.box(k);
        if (!box.ticked)
            continue;
        const QColor color(box.color.red(), box.color.green(), box.color.blue());
        chart2.plotColumn(++s, table, k, rows, box.caption, color, k);
    }

    chart2.setTitle(state.LogTitle + QStringLiteral(" - ") + state.LogHeader);
}

} // namespace FullChart
