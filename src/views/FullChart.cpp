#include "views/FullChart.h"

#include "app/AppState.h"
#include "chart/ChartModel.h"
#include "chart/Graficas.h"

#include <cmath>
#include <limits>
#include <vector>

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
        ++s;
        if (rows > 0) {
            chart2.setSeriesLabel(s, box.caption);
            // The cell's text as the table shows it, read with a decimal comma; a cell that is
            // not a number (or is missing) leaves a gap.
            chart2.setSeriesValuesFromTable(s, table, k);
            chart2.setRowLabelsFromTable(table, 1);
            const int spacing = Graficas::AxisSpacing(rows);
            if (spacing > 0)
                chart2.setLabelSpacing(spacing);
            chart2.setAxisTitle(QStringLiteral("RPM"));
        }
        chart2.setSeriesColor(s, QColor(box.color.red(), box.color.green(), box.color.blue()));
        chart2.setSeriesBox(s, k);
    }

    chart2.setTitle(state.LogTitle + QStringLiteral(" - ") + state.LogHeader);
}

} // namespace FullChart
