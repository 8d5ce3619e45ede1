#include "core/ChartModel.h"

#include "core/DataTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const double NoValue = std::numeric_limits<double>::quiet_NaN();
} // namespace

ChartModel::ChartModel(QObject *parent) : QObject(parent) {}

ChartModel::Series *ChartModel::find(int s)
{
    return s >= 1 && s <= seriesCount() ? &m_series[size_t(s - 1)] : nullptr;
}

const ChartModel::Series *ChartModel::find(int s) const
{
    return s >= 1 && s <= seriesCount() ? &m_series[size_t(s - 1)] : nullptr;
}

void ChartModel::valuesChanged(Series &series)
{
    series.revision = m_nextRevision++;
    series.rangeKnown = false;
}

void ChartModel::setSeriesCount(int count)
{
    count = std::max(count, 0);
    if (count == seriesCount())
        return;
    const size_t old = m_series.size();
    m_series.resize(size_t(count));
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
    for (Series &series : m_series) {
        series.rows = std::min(series.rows, count); // rows cut off lose what they held
        if (series.source == Series::Source::Own)
            series.own.resize(size_t(count), NoValue);
        valuesChanged(series);
    }
    emit changed();
}

ChartModel::Values ChartModel::values(int s) const
{
    const Series *series = find(s);
    return series ? valuesOf(*series) : Values();
}

ChartModel::Values ChartModel::valuesOf(const Series &series) const
{
    if (series.source == Series::Source::Own)
        return {series.own.data(), series.own.size(), false};
    if (series.source == Series::Source::None)
        return Values();
    // The cells of every series on the same rows are read in one walk over the table.
    std::vector<int> cells;
    for (const Series &other : m_series)
        if (other.source == Series::Source::Table && other.table.sharesRows(series.table))
            cells.push_back(other.cell);
    series.table.readNumbers(cells);
    const DataTable::NumberColumn &column = series.table.numbers(series.cell);
    return {column.values.data(), std::min(size_t(series.rows), column.size()), true};
}

// The two loops below run over every row in view at every drawing of a crowded chart: they keep
// to one test per entry and no branch on the values.
bool ChartModel::Values::range(size_t begin, size_t end, double &lowest, double &highest) const
{
    end = std::min(end, count);
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    if (finite) {
        // A gap (NaN) loses every comparison, so it needs no test of its own; two pairs of
        // extremes, taken in turn, so that each comparison need not wait for the one before.
        const double *const in = numbers;
        double low2 = low;
        double high2 = high;
        size_t i = begin;
        for (; i + 1 < end; i += 2) {
            low = in[i] < low ? in[i] : low;
            high = in[i] > high ? in[i] : high;
            low2 = in[i + 1] < low2 ? in[i + 1] : low2;
            high2 = in[i + 1] > high2 ? in[i + 1] : high2;
        }
        if (i < end) {
            low = in[i] < low ? in[i] : low;
            high = in[i] > high ? in[i] : high;
        }
        low = std::min(low, low2);
        high = std::max(high, high2);
    } else {
        for (size_t i = begin; i < end; ++i) {
            const double value = numbers[i];
            if (std::isfinite(value)) {
                low = value < low ? value : low;
                high = value > high ? value : high;
            }
        }
    }
    lowest = low;
    highest = high;
    return low <= high;
}

size_t ChartModel::Values::find(size_t begin, size_t end, double value) const
{
    const size_t last = std::min(end, count);
    for (size_t i = begin; i < last; ++i)
        if (numbers[i] == value)
            return i;
    return end;
}

std::vector<double> ChartModel::seriesValues(int s) const
{
    const Values in = values(s);
    std::vector<double> out(size_t(find(s) ? m_rows : 0));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = in.at(i);
    return out;
}

bool ChartModel::valueRange(int s, double &lowest, double &highest) const
{
    const Series *series = find(s);
    if (!series)
        return false;
    if (!series->rangeKnown) {
        const Values in = valuesOf(*series);
        if (series->source == Series::Source::Table &&
            in.count == series->table.numbers(series->cell).size()) {
            // Every row of the column: the table knows its extremes.
            const DataTable::NumberColumn &column = series->table.numbers(series->cell);
            series->lowest = column.lowest;
            series->highest = column.highest;
            series->hasRange = column.lowest <= column.highest;
        } else {
            series->hasRange = in.range(0, in.count, series->lowest, series->highest);
        }
        series->rangeKnown = true;
    }
    lowest = series->lowest;
    highest = series->highest;
    return series->hasRange;
}

uint64_t ChartModel::revision(int s) const
{
    const Series *series = find(s);
    return series ? series->revision : 0;
}

void ChartModel::setSeriesLabel(int s, const QString &label)
{
    Series *series = find(s);
    if (!series || series->label == label)
        return;
    series->label = label;
    emit changed();
}

QString ChartModel::seriesLabel(int s) const
{
    const Series *series = find(s);
    return series ? series->label : QString();
}

int ChartModel::seriesBox(int s) const
{
    const Series *series = find(s);
    return series ? series->box : -1;
}

void ChartModel::setSeriesBox(int s, int box)
{
    if (Series *series = find(s))
        series->box = box;
}

void ChartModel::setSeriesColor(int s, const QColor &color)
{
    Series *series = find(s);
    if (!series)
        return;
    series->color = color;
    series->revision = m_nextRevision++;
    emit changed();
}

QColor ChartModel::seriesColor(int s) const
{
    const Series *series = find(s);
    return series ? series->color : QColor(Qt::black);
}

void ChartModel::ownValues(Series &series)
{
    if (series.source == Series::Source::Own)
        return;
    std::vector<double> own(size_t(m_rows), NoValue);
    if (series.source == Series::Source::Table) {
        const Values in = valuesOf(series);
        for (size_t i = 0; i < in.count && i < own.size(); ++i)
            own[i] = in.at(i);
    }
    series.own = std::move(own);
    series.source = Series::Source::Own;
    series.table = DataTable();
    series.cell = 0;
    series.rows = 0;
}

void ChartModel::setValue(int row, int s, double value)
{
    Series *series = find(s);
    if (!series || row < 1 || row > m_rows)
        return;
    ownValues(*series);
    series->own[size_t(row - 1)] = value;
    valuesChanged(*series);
    emit changed();
}

void ChartModel::setSeriesValues(int s, std::vector<double> values)
{
    Series *series = find(s);
    if (!series)
        return;
    values.resize(size_t(m_rows), NoValue);
    series->own = std::move(values);
    series->source = Series::Source::Own;
    series->table = DataTable();
    series->cell = 0;
    series->rows = 0;
    valuesChanged(*series);
    emit changed();
}

void ChartModel::setSeriesValuesFromTable(int s, const DataTable &table, int cell)
{
    Series *series = find(s);
    if (!series)
        return;
    const int rows = std::min(m_rows, table.rowCount());
    if (series->source == Series::Source::None) {
        // The values are the table's alone: they are read there.
        series->source = Series::Source::Table;
        series->table = table;
        series->cell = cell;
        series->rows = rows;
    } else {
        // Over values the series had, only the cells that are numbers count.
        ownValues(*series);
        const DataTable::NumberColumn &column = table.numbers(cell);
        for (int r = 0; r < rows && size_t(r) < column.size(); ++r) {
            const double value = column.number(size_t(r));
            if (!std::isnan(value))
                series->own[size_t(r)] = value;
        }
    }
    valuesChanged(*series);
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
    emit changed();
}
