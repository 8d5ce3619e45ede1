#include "core/ChartModel.h"

#include "core/DataTable.h"

#include <cmath>
#include <limits>

namespace {
const double NoValue = std::numeric_limits<double>::quiet_NaN();
const ChartModel::Series NoSeries;
} // namespace

ChartModel::ChartModel(QObject *parent) : QObject(parent) {}

void ChartModel::setSeriesCount(int count)
{
    count = std::max(count, 0);
    if (count == seriesCount())
        return;
    const size_t old = m_series.size();
    m_series.resize(size_t(count));
    m_pending.resize(size_t(count));
    for (size_t s = old; s < m_series.size(); ++s)
        m_series[s].revision = m_nextRevision++;
    emit changed();
}

void ChartModel::setRowCount(int count)
{
    count = std::max(count, 0);
    if (count == m_rows)
        return;
    m_rows = count;
    for (PendingValues &pending : m_pending)
        pending.rows = std::min(pending.rows, count); // rows cut off lose what they would hold
    for (Series &s : m_series) {
        if (!s.values.empty())
            s.values.resize(size_t(count), NoValue);
        s.revision = m_nextRevision++;
        s.origin = Origin();
    }
    emit changed();
}

const ChartModel::Series &ChartModel::series(int s) const
{
    if (s < 1 || s > seriesCount())
        return NoSeries;
    readPending(s);
    madeValues(s);
    return m_series[size_t(s - 1)];
}

const ChartModel::Series &ChartModel::seriesInfo(int s) const
{
    return s >= 1 && s <= seriesCount() ? m_series[size_t(s - 1)] : NoSeries;
}

ChartModel::ValuesView ChartModel::values(int s) const
{
    if (s < 1 || s > seriesCount())
        return ValuesView();
    const std::vector<double> &made = series(s).values;
    return {made.data(), made.size()};
}

std::vector<double> &ChartModel::madeValues(int s) const
{
    std::vector<double> &values = m_series[size_t(s - 1)].values;
    if (values.size() != size_t(m_rows))
        values.resize(size_t(m_rows), NoValue);
    return values;
}

void ChartModel::readPending(int s) const
{
    PendingValues &pending = m_pending[size_t(s - 1)];
    if (!pending.pending)
        return;
    readPendingNumbers(pending);
    std::vector<double> &values = madeValues(s);
    const DataTable::NumberColumn &column = pending.table.numbers(pending.cell);
    const int rows = std::min(pending.rows, pending.table.rowCount());
    for (int r = 0; r < rows; ++r) { // a cell that is no number leaves its point as it was
        const double value = column.number(size_t(r));
        if (!std::isnan(value))
            values[size_t(r)] = value;
    }
    pending = PendingValues();
}

// The numbers of a pending series' cell, and those of the other series waiting on the same rows,
// read in one walk over the table.
void ChartModel::readPendingNumbers(const PendingValues &pending) const
{
    std::vector<int> cells;
    for (const PendingValues &other : m_pending)
        if (other.pending && other.table.rowCount() == pending.table.rowCount())
            cells.push_back(other.cell);
    pending.table.readNumbers(cells);
}

void ChartModel::setSeriesLabel(int s, const QString &label)
{
    if (s < 1 || s > seriesCount() || m_series[size_t(s - 1)].label == label)
        return;
    m_series[size_t(s - 1)].label = label;
    emit changed();
}

QString ChartModel::seriesLabel(int s) const
{
    return s >= 1 && s <= seriesCount() ? m_series[size_t(s - 1)].label : QString();
}

int ChartModel::seriesBox(int s) const
{
    return s >= 1 && s <= seriesCount() ? m_series[size_t(s - 1)].box : -1;
}

void ChartModel::setSeriesBox(int s, int box)
{
    if (s >= 1 && s <= seriesCount())
        m_series[size_t(s - 1)].box = box;
}

void ChartModel::setSeriesColor(int s, const QColor &color)
{
    if (s < 1 || s > seriesCount())
        return;
    Series &series = m_series[size_t(s - 1)];
    series.color = color;
    series.revision = m_nextRevision++;
    emit changed();
}

void ChartModel::setValue(int row, int s, double value)
{
    if (s < 1 || s > seriesCount() || row < 1 || row > m_rows)
        return;
    readPending(s);
    Series &series = m_series[size_t(s - 1)];
    madeValues(s)[size_t(row - 1)] = value;
    series.revision = m_nextRevision++;
    series.origin = Origin();
    emit changed();
}

void ChartModel::setSeriesValues(int s, std::vector<double> values)
{
    if (s < 1 || s > seriesCount())
        return;
    values.resize(size_t(m_rows), NoValue);
    m_pending[size_t(s - 1)] = PendingValues();
    Series &series = m_series[size_t(s - 1)];
    series.values = std::move(values);
    series.revision = m_nextRevision++;
    series.origin = Origin();
    emit changed();
}

void ChartModel::setSeriesValuesFromTable(int s, const DataTable &table, int cell)
{
    if (s < 1 || s > seriesCount())
        return;
    // Values read earlier from another snapshot come first: the new cells overwrite them.
    readPending(s);
    Series &series = m_series[size_t(s - 1)];
    PendingValues &pending = m_pending[size_t(s - 1)];
    pending.pending = true;
    pending.table = table;
    pending.cell = cell;
    pending.rows = m_rows;
    series.revision = m_nextRevision++;
    series.origin = Origin();
    if (series.values.empty()) // the values are the table's alone
        series.origin = Origin();
    emit changed();
}

void ChartModel::plotColumn(int s, const DataTable &table, int cell, int rows, const QString &label,
                            const QColor &color, int box)
{
    if (rows > 0 && s >= 1 && s <= seriesCount()) {
        setSeriesLabel(s, label);
        // A cell that is not a number leaves its point as it was (a gap on a new series).
        setSeriesValuesFromTable(s, table, cell);
        setRowLabelsFromTable(table, 1);
        const int spacing = axisSpacingFor(rows);
        if (spacing > 0)
            setLabelSpacing(spacing);
        setAxisTitle(QStringLiteral("RPM"));
    }
    setSeriesColor(s, color);
    setSeriesBox(s, box);
}

int ChartModel::axisSpacingFor(int rows)
{
    // rows / 18 is exact at the halves (an odd multiple of 9), so the default rounding mode gives
    // the even neighbour there.
    return int(std::nearbyint(double(rows) / 18.0));
}

void ChartModel::setRowLabelsFromTable(const DataTable &table, int cell)
{
    m_labelBytes.clear();
    m_labelEnd.clear();
    m_labelTable = table;
    m_labelCell = cell;
    m_labelRows = std::min(m_rows, table.rowCount());
    emit changed();
}

QString ChartModel::rowLabel(int row) const
{
    if (row < 1 || row > m_rows || row > m_labelRows)
        return QString();
    if (m_labelEnd.empty())
        return m_labelTable.cell(row, m_labelCell);
    const size_t begin = row == 1 ? 0 : m_labelEnd[size_t(row - 2)];
    const size_t end = m_labelEnd[size_t(row - 1)];
    return QString::fromUtf8(m_labelBytes.data() + begin, qsizetype(end - begin));
}

void ChartModel::detachRowLabels()
{
    if (m_labelTable.rowCount() == 0)
        return;
    m_labelBytes.clear();
    m_labelEnd.clear();
    m_labelEnd.reserve(size_t(m_labelRows));
    for (int r = 1; r <= m_labelRows; ++r) {
        m_labelBytes += m_labelTable.cellText(r, m_labelCell);
        m_labelEnd.push_back(uint32_t(std::min<size_t>(m_labelBytes.size(), UINT32_MAX)));
    }
    m_labelTable = DataTable();
}

void ChartModel::setAxisTitle(const QString &title)
{
    if (m_axisTitle == title)
        return;
    m_axisTitle = title;
    emit changed();
}

void ChartModel::setLabelSpacing(int rows)
{
    if (rows < 1 || rows == m_labelSpacing)
        return;
    m_labelSpacing = rows;
    emit changed();
}

void ChartModel::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    m_title = title;
    emit changed();
}

void ChartModel::setHintText(const QString &text)
{
    m_hint = text;
    emit hintChanged();
}

void ChartModel::deleteAllSeries()
{
    if (m_series.empty())
        return;
    m_series.clear();
    m_pending.clear();
    emit changed();
}
