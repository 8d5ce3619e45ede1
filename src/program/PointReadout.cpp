#include "program/PointReadout.h"

#include "core/ChartModel.h"
#include "program/AppState.h"

namespace PointReadout {

QString Text(const AppState &state, const ChartModel &chart, int series, int point)
{
    const QString label = chart.seriesLabel(series);
    // The value comes from the column of the first box captioned like the series. A series of no
    // box (the torque and power curve) shows no value.
    QString value;
    for (int k = 0; k < AppState::BoxCount; ++k) {
        if (state.box(k).caption == label) {
            value = state.table.cell(point, k);
            break;
        }
    }
    const QString speed = state.table.cell(point, 1);
    return label + QStringLiteral(": ") + value + QStringLiteral("    RPM: ") + speed;
}

} // namespace PointReadout
