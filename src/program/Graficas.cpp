// The chart procedures: columns of the data table become series of the main chart. The series
// shown are exactly the ticked series boxes; a series carries its box's text colour, and its
// table column is painted in the same colour.

#include "program/AppState.h"

namespace {

// Kept as the program always did: 14 series slots beside 15 boxes (at most 13 boxes show).
const int SlotCount = 14;

void splitColor(const QColor &color, int &r, int &g, int &b)
{
    r = color.red();
    g = color.green();
    b = color.blue();
}

} // namespace

void AppState::BoxClicked(int index)
{
    const Box &box = m_boxes[size_t(index)];
    if (box.ticked) {
        int r, g, b;
        splitColor(box.color, r, g, b);
        AddSeries(index, table.rowCount(), r, g, b);
    } else {
        RemoveSeries(index);
    }
}

void AppState::AddSeries(int index, int rows, int r, int g, int b)
{
    for (int j = 1; j <= SlotCount; ++j) {
        if (SlotFree[size_t(j)]) {
            CurrentSlot = j;
            ++SeriesCount;
            SlotFree[size_t(j)] = false;
            break;
        }
    }
    chart.setSeriesCount(SeriesCount);
    chart.setRowCount(rows);
    chart.plotColumn(CurrentSlot, table, index, rows, box(index).caption, QColor(r, g, b), index);
    ColorColumn(r, g, b, index);
    chart.setTitle(LogTitle + QStringLiteral(" - ") + LogHeader);
}

void AppState::RemoveSeries(int index)
{
    for (int j = 1; j <= SlotCount; ++j)
        SlotFree[size_t(j)] = true;
    chart.deleteAllSeries();
    SeriesCount = 0;
    ColorColumn(0, 0, 0, index);
    PlotChecked();
}

void AppState::PlotChecked()
{
    for (int k = 0; k < BoxCount; ++k) {
        if (!m_boxes[size_t(k)].ticked)
            continue;
        int r, g, b;
        splitColor(m_boxes[size_t(k)].color, r, g, b);
        AddSeries(k, table.rowCount(), r, g, b);
    }
}

void AppState::ResetChart()
{
    for (int k = 0; k < BoxCount; ++k)
        setBoxTicked(k, false);
    setChCVTicked(false);
    selectEngine(EngineType::Ninguno);
    for (int j = 1; j <= SlotCount; ++j)
        SlotFree[size_t(j)] = true;
    setLabel(Label1, QString());
    setLabel(LbMaxN75, QString());
    setLabel(LbMaxPico, QString());
    setLabel(LbMEGR, QString());
    setLabel(LbTimeCarga, QString());
    chart.deleteAllSeries();
    chart.setTitle(QString());
    SeriesCount = 0;
    for (int k = 0; k < table.columnCount(); ++k)
        ColorColumn(0, 0, 0, k);
}

void AppState::ColorColumn(int r, int g, int b, int column)
{
    if (table.rowCount() == 0)
        return;
    // The table is always shown as a report (one column per value), so the other message of the
    // list ("el listview debe estar en vista reporte") cannot arise.
    if (column < 0 || column + 1 > table.columnCount()) {
        message(QStringLiteral("El número de columna está fuera del intervalo"),
                MessageKind::Plain);
        return;
    }
    table.setColumnColor(column, QColor(r, g, b));
    emit columnColorsChanged();
}

void AppState::tickOnly(std::initializer_list<int> boxes)
{
    for (int k = 0; k < BoxCount; ++k)
        setBoxTicked(k, false);
    for (int k : boxes)
        setBoxTicked(k, true);
}

void AppState::ColorChosen(int k, const QColor &color)
{
    if (k < 0 || k >= BoxCount)
        return;
    setBoxColor(k, color);
    setBoxTicked(k, false);
    setBoxTicked(k, true);
}
