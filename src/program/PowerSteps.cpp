// The power curve box ChCV "Grafica Potencia": with exactly three series boxes ticked among 1 to
// 14, the main chart shows torque and power computed from the lowest (engine speed) and the
// highest (torque) of them.

#include "program/AppState.h"

#include "core/PowerCurve.h"

void AppState::ChCVClicked()
{
    if (!m_chcvTicked) {
        ResetChart();
        PlotChecked();
        return;
    }

    int count = 0;
    int fields[3] = {0, 0, 0};
    for (int i = 1; i < BoxCount; ++i) {
        if (!m_boxes[size_t(i)].ticked)
            continue;
        ++count;
        if (count <= 3)
            fields[count - 1] = i;
    }
    if (count != 3) {
        message(QStringLiteral("Debe seleccionar los 3 campos correctos para realizar la grafica"),
                MessageKind::Plain);
        setChCVTicked(false);
        return;
    }

    const PowerCurve::Curve curve = PowerCurve::Compute(table, fields[0], fields[2]);
    const int rows = table.rowCount();
    chart.setSeriesCount(2);
    chart.setRowCount(rows);
    if (rows > 0) {
        chart.setSeriesLabel(1, QStringLiteral("NM - Par"));
        chart.setSeriesValues(1, curve.torque);
        chart.setRowLabelsFromTable(table, 1);
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
