#include "gui/AnalysisLog.h"

#include "core/AnalysisTexts.h"
#include "core/PowerOfPulls.h"

#include <algorithm>
#include <cmath>

namespace {

// Colours that stay apart on white, given to the value columns in turn.
constexpr int Palette[][3] = {{31, 119, 180},  {214, 39, 40},  {44, 160, 44},   {255, 127, 14},
                              {148, 103, 189}, {140, 86, 75},  {227, 119, 194}, {23, 190, 207},
                              {188, 189, 34},  {127, 127, 127}};
constexpr int PaletteSize = int(sizeof Palette / sizeof Palette[0]);
// The power and the torque of the pulls: apart from the columns' colours.
constexpr QRgb PowerColor = 0x000000;
constexpr QRgb TorqueColor = 0xa0006e;

void addCell(std::vector<int> &cells, int cell)
{
    if (cell >= 0 && std::find(cells.begin(), cells.end(), cell) == cells.end())
        cells.push_back(cell);
}

// A column of numbers made for a curve.
Pulls::Numbers over(const std::vector<double> &values)
{
    Pulls::Numbers numbers;
    numbers.value = values.data();
    numbers.size = int(values.size());
    return numbers;
}

} // namespace

AnalysisLog::AnalysisLog(const DataTable &table, const DataTable &slotTimes,
                         std::vector<LogLayout::ColumnLines> texts, bool newerLayout)
    : m_table(table), m_slotTimes(slotTimes), m_texts(std::move(texts)), m_newerLayout(newerLayout)
{
}

void AnalysisLog::analyse(const Analysis::Options &options)
{
    m_options = options;
    m_result = Analysis::compute(m_table, m_slotTimes, m_texts, m_newerLayout, options);
}

void AnalysisLog::adopt(const Analysis::Result &result, const Analysis::Options &options)
{
    m_options = options;
    m_result = result;
}

void AnalysisLog::computePower(const Vehicle &vehicle)
{
    setPower(PowerOfPulls::compute(m_table, m_slotTimes, m_newerLayout, m_result, vehicle));
}

void AnalysisLog::setPower(std::vector<PullPower::Result> power)
{
    m_power = std::move(power);
    m_powerFirst.assign(1, 0);
    m_powerRpm.clear();
    m_powerCv.clear();
    m_powerNm.clear();
    m_powerTime.clear();
    const Analysis::TimeCell time = timeCell(m_result.rpmColumn);
    const DataTable::NumberColumn *stamps =
        time.cell < 0 ? nullptr : &time.table->numbers(time.cell);
    const int stampRows = time.cell < 0 ? 0 : time.table->rowCount();
    for (const PullPower::Result &pull : m_power) {
        for (const PullPower::Point &point : pull.points) {
            m_powerRpm.push_back(point.rpm);
            m_powerCv.push_back(point.cv);
            m_powerNm.push_back(point.nm);
            m_powerTime.push_back(point.row >= 1 && point.row <= stampRows
                                      ? stamps->number(size_t(point.row - 1))
                                      : std::nan(""));
        }
        m_powerFirst.push_back(int(m_powerRpm.size()));
    }
}

// The value columns are every column but 0, 5 and 10: entries 0-3 are columns 1-4, 4-7 are 6-9,
// and entry e from 8 on is column e + 3.
int AnalysisLog::valueColumnCount() const
{
    const int columns = m_table.columnCount();
    return std::max(0, columns - 1 - (columns > 5) - (columns > 10));
}

int AnalysisLog::valueColumn(int entry)
{
    return entry < 4 ? entry + 1 : entry < 8 ? entry + 2 : entry + 3;
}

int AnalysisLog::entryOf(int column)
{
    if (!ColumnRoles::isValueColumn(column))
        return -1;
    return column < 5 ? column - 1 : column < 10 ? column - 2 : column - 3;
}

QString AnalysisLog::name(int column) const
{
    if (column == PowerEntry)
        return QStringLiteral("Potencia");
    if (column == TorqueEntry)
        return QStringLiteral("Par");
    const QString name = column >= 0 && size_t(column) < m_result.names.size()
                             ? m_result.names[size_t(column)]
                             : QString();
    return name.isEmpty() ? QStringLiteral("Columna %1").arg(column) : name;
}

QString AnalysisLog::unit(int column) const
{
    if (column == PowerEntry)
        return QStringLiteral("CV");
    if (column == TorqueEntry)
        return QStringLiteral("Nm");
    return column >= 0 && size_t(column) < m_result.units.size() ? m_result.units[size_t(column)]
                                                                 : QString();
}

QString AnalysisLog::label(int column) const
{
    return AnalysisTexts::column(name(column), unit(column));
}

QColor AnalysisLog::color(int column)
{
    if (column == PowerEntry)
        return QColor(PowerColor);
    if (column == TorqueEntry)
        return QColor(TorqueColor);
    const int *rgb = Palette[std::max(entryOf(column), 0) % PaletteSize];
    return QColor(rgb[0], rgb[1], rgb[2]);
}

int AnalysisLog::columnFor(const AnalysisLog &other, int column) const
{
    if (isPowerEntry(column))
        return column;
    const QString wanted = other.name(column);
    const QString wantedUnit = other.unit(column);
    const auto fits = [&](int c) {
        return ColumnRoles::isValueColumn(c) && c < m_table.columnCount() && name(c) == wanted &&
               SpecifiedActual::sameUnit(unit(c), wantedUnit);
    };
    if (fits(column))
        return column;
    for (int entry = 0; entry < valueColumnCount(); ++entry)
        if (fits(valueColumn(entry)))
            return valueColumn(entry);
    return ColumnRoles::None;
}

Analysis::TimeCell AnalysisLog::timeCell(int column) const
{
    return Analysis::timeCell(m_table, m_slotTimes, m_newerLayout, column);
}

Pulls::Numbers AnalysisLog::numbers(const DataTable &table, int cell) const
{
    if (cell < 0)
        return Pulls::Numbers();
    const DataTable::NumberColumn &column = table.numbers(cell);
    return {column.values.data(), int(column.size())};
}

void AnalysisLog::prepare(const std::vector<int> &columns, AnalysisAxis axis) const
{
    std::vector<int> cells;
    std::vector<int> slotCells;
    for (int column : columns) {
        if (isPowerEntry(column))
            continue; // made with the power, nothing to read
        addCell(cells, column);
        if (axis == AnalysisAxis::EngineSpeed)
            continue;
        const Analysis::TimeCell time = timeCell(column);
        addCell(time.table == &m_table ? cells : slotCells, time.cell);
    }
    if (axis == AnalysisAxis::EngineSpeed)
        addCell(cells, m_result.rpmColumn);
    m_table.readNumbers(cells);
    m_slotTimes.readNumbers(slotCells);
}

double AnalysisLog::pullStart(const Pulls::Pull &pull) const
{
    const Analysis::TimeCell time = timeCell(m_result.rpmColumn);
    return time.cell < 0 ? 0 : time.table->numbers(time.cell).number(size_t(pull.firstRow - 1));
}

AnalysisCurve AnalysisLog::curve(int column, AnalysisAxis axis, const PullChoice &choice) const
{
    if (isPowerEntry(column))
        return powerCurve(column, axis, choice);
    AnalysisCurve curve;
    curve.name = name(column);
    curve.unit = unit(column);
    curve.color = color(column);
    curve.y = numbers(m_table, column);
    curve.valueText = [table = &m_table, column](int entry) {
        return table->cell(entry + 1, column);
    };
    const std::vector<Pulls::Pull> &pulls = m_result.pulls;
    std::vector<int> chosen;
    if (!choice.all)
        for (int p : choice.pulls)
            if (p >= 0 && size_t(p) < pulls.size())
                chosen.push_back(p);
    const auto spanOf = [](const Pulls::Pull &p, double offset, bool joined) {
        return AnalysisCurve::Span{p.firstRow - 1, p.lastRow - 1, offset, joined};
    };

    if (axis == AnalysisAxis::EngineSpeed) {
        curve.x = numbers(m_table, m_result.rpmColumn);
        if (!choice.all) {
            for (int p : chosen)
                curve.spans.push_back(spanOf(pulls[size_t(p)], 0, true));
            return curve;
        }
        // Within a pull the engine speed climbs, so a line from row to row draws the curve a
        // tuner reads. Elsewhere (idle, cruise, a lift, a shift) the speed goes back and forth:
        // a line from row to row would scribble across the chart and hide the cloud the rows
        // make, so those rows are loose points.
        int next = 0;
        for (const Pulls::Pull &p : pulls) {
            if (next < p.firstRow - 1)
                curve.spans.push_back({next, p.firstRow - 2, 0, false});
            curve.spans.push_back(spanOf(p, 0, true));
            next = p.lastRow;
        }
        if (next < m_table.rowCount())
            curve.spans.push_back({next, m_table.rowCount() - 1, 0, false});
        return curve;
    }

    const Analysis::TimeCell time = timeCell(column);
    curve.x = numbers(*time.table, time.cell);
    if (axis == AnalysisAxis::Time) {
        if (!choice.all)
            for (int p : chosen)
                curve.spans.push_back(spanOf(pulls[size_t(p)], 0, true));
        else
            curve.spans.push_back({0, m_table.rowCount() - 1, 0, true});
        return curve;
    }
    // Each pull from the time of its first engine speed, so that pulls lie on top of each other
    // and every series keeps where its own samples were taken.
    if (choice.all)
        for (size_t p = 0; p < pulls.size(); ++p)
            chosen.push_back(int(p));
    for (int p : chosen)
        curve.spans.push_back(spanOf(pulls[size_t(p)], pullStart(pulls[size_t(p)]), true));
    return curve;
}

// The power of each pull chosen, a joined line over its points; a pull without a curve has none.
AnalysisCurve AnalysisLog::powerCurve(int entry, AnalysisAxis axis, const PullChoice &choice) const
{
    AnalysisCurve curve;
    curve.name = name(entry);
    curve.unit = unit(entry);
    curve.color = color(entry);
    const std::vector<double> &values = entry == TorqueEntry ? m_powerNm : m_powerCv;
    curve.y = over(values);
    curve.x = over(axis == AnalysisAxis::EngineSpeed ? m_powerRpm : m_powerTime);
    curve.valueText = [&values](int i) { return AnalysisTexts::figure(values[size_t(i)], 0); };
    const int pulls = int(m_powerFirst.size()) - 1;
    const auto add = [&](int p) {
        if (p < 0 || p >= pulls || size_t(p) >= m_result.pulls.size())
            return;
        const double offset =
            axis == AnalysisAxis::TimeInPull ? pullStart(m_result.pulls[size_t(p)]) : 0;
        const int first = m_powerFirst[size_t(p)], end = m_powerFirst[size_t(p) + 1];
        if (first < end)
            curve.spans.push_back({first, end - 1, offset, true});
    };
    if (choice.all)
        for (int p = 0; p < pulls; ++p)
            add(p);
    else
        for (int p : choice.pulls)
            add(p);
    return curve;
}

QString AnalysisLog::speedTime(int row) const
{
    const Analysis::TimeCell time = timeCell(m_result.rpmColumn);
    return time.cell < 0 ? QString() : time.table->cell(row, time.cell);
}
