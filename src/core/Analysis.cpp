#include "core/Analysis.h"

#include "core/AnalysisTexts.h"
#include "core/DataTable.h"

#include <algorithm>

namespace Analysis {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Where the time stamps of a value column are: a cell of the log's table or of the slot times.
struct TimeCell {
    const DataTable *table;
    int cell;
};

TimeCell timeCell(const DataTable &table, const DataTable &slotTimes, bool newerLayout, int column)
{
    if (newerLayout && slotTimes.rowCount() > 0) {
        const int slot = ColumnRoles::slotOf(column);
        return {&slotTimes, slot == ColumnRoles::None ? ColumnRoles::None : slot - 1};
    }
    return {&table, ColumnRoles::timeColumn(column)};
}

// The numbers of `cell` of `table`, one for each of `rows` rows.
std::vector<double> numbersOf(const DataTable &table, int cell, int rows)
{
    std::vector<double> out(size_t(rows), NaN);
    if (cell < 0)
        return out;
    const DataTable::NumberColumn &column = table.numbers(cell);
    const size_t n = std::min(out.size(), column.isNumber.size());
    for (size_t i = 0; i < n; ++i)
        if (column.isNumber[i])
            out[i] = column.leading[i];
    return out;
}

void addCell(std::vector<int> &cells, int cell)
{
    if (cell >= 0 && std::find(cells.begin(), cells.end(), cell) == cells.end())
        cells.push_back(cell);
}

// The pairs found by name and the user's own, without bins.
std::vector<SpecifiedActual::Pair> pairsOf(const Result &result, const Options &options)
{
    std::vector<SpecifiedActual::Pair> pairs =
        SpecifiedActual::findPairs(result.units, result.names);
    const int s = options.userSpecified;
    const int a = options.userActual;
    const int count = int(result.units.size());
    const bool valid = s != a && s < count && a < count && ColumnRoles::isValueColumn(s) &&
                       ColumnRoles::isValueColumn(a);
    const bool found = std::any_of(pairs.begin(), pairs.end(), [&](const auto &pair) {
        return pair.specified == s && pair.actual == a;
    });
    if (valid && !found) {
        SpecifiedActual::Pair pair;
        pair.specified = s;
        pair.actual = a;
        pair.unit = result.units[size_t(s)];
        pair.chosenByUser = true;
        pairs.push_back(pair);
    }
    for (SpecifiedActual::Pair &pair : pairs) {
        if (result.rpmColumn == ColumnRoles::None)
            continue;
        const int own =
            ColumnRoles::groupEngineSpeedColumn(result.units, ColumnRoles::groupOf(pair.actual));
        pair.speedColumn = own != ColumnRoles::None ? own : result.rpmColumn;
    }
    return pairs;
}

} // namespace

QString LeftOutRow::text() const
{
    return AnalysisTexts::reason(reason, amount);
}

std::vector<double> numbers(const DataTable &table, int cell)
{
    return numbersOf(table, cell, table.rowCount());
}

std::vector<double> times(const DataTable &table, const DataTable &slotTimes, bool newerLayout,
                          int column)
{
    const TimeCell time = timeCell(table, slotTimes, newerLayout, column);
    return numbersOf(*time.table, time.cell, table.rowCount());
}

Result compute(const DataTable &table, const DataTable &slotTimes,
               const std::vector<UnitsAndNames::ColumnText> &texts, bool newerLayout,
               const Options &options)
{
    Result result;
    std::vector<QString> headers;
    for (int k = 0; k < table.columnCount(); ++k)
        headers.push_back(table.column(k).header);
    UnitsAndNames::Labels labels = UnitsAndNames::read(texts, headers, newerLayout);
    result.units = std::move(labels.units);
    result.names = std::move(labels.names);
    result.unitsOnLine6 = labels.unitsOnLine6;
    result.rpmColumn = ColumnRoles::engineSpeedColumn(result.units, result.names);
    result.pedalColumn = ColumnRoles::pedalColumn(result.units, result.names);
    result.pairs = pairsOf(result, options);

    // Every cell the analysis reads, in one walk over the rows of each table.
    const TimeCell rpmTime = timeCell(table, slotTimes, newerLayout, result.rpmColumn);
    std::vector<int> cells;
    addCell(cells, result.rpmColumn);
    addCell(cells, result.pedalColumn);
    if (rpmTime.table == &table)
        addCell(cells, rpmTime.cell);
    for (const SpecifiedActual::Pair &pair : result.pairs)
        for (int cell : {pair.specified, pair.actual, pair.speedColumn})
            addCell(cells, cell);
    table.readNumbers(cells);

    const int rows = table.rowCount();
    const std::vector<double> speed = numbersOf(table, result.rpmColumn, rows);
    const std::vector<double> pedal = result.pedalColumn == ColumnRoles::None
                                          ? std::vector<double>()
                                          : numbersOf(table, result.pedalColumn, rows);
    const Pulls::Result pulls =
        Pulls::find(speed, numbersOf(*rpmTime.table, rpmTime.cell, rows), pedal);

    std::vector<SpecifiedActual::Rows> binRows;
    for (const Pulls::Pull &p : pulls.pulls) {
        result.pulls.push_back({p.first + 1, p.last + 1, p.rows(), p.speedFrom, p.speedTo,
                                p.seconds, p.samplesPerSecond});
        binRows.push_back({p.first, p.last});
    }
    result.leftOutCount = pulls.leftOutCount;
    result.leftOut.reserve(pulls.leftOut.size());
    for (const Pulls::LeftOut &out : pulls.leftOut)
        result.leftOut.push_back({out.index + 1, out.reason, out.amount});
    result.rate = pulls.rate;
    result.fewSamples = pulls.fewSamples;

    result.onlyPulls = options.binRows == BinRows::Pulls ||
                       (options.binRows == BinRows::PullsWhenAny && !pulls.pulls.empty());
    if (!result.onlyPulls)
        binRows = {{0, rows - 1}};
    for (SpecifiedActual::Pair &pair : result.pairs) {
        if (pair.speedColumn == ColumnRoles::None)
            continue;
        std::vector<double> ownSpeed;
        if (pair.speedColumn != result.rpmColumn)
            ownSpeed = numbersOf(table, pair.speedColumn, rows);
        pair.bins = SpecifiedActual::bins(ownSpeed.empty() ? speed : ownSpeed,
                                          numbersOf(table, pair.specified, rows),
                                          numbersOf(table, pair.actual, rows), binRows);
    }
    return result;
}

} // namespace Analysis
