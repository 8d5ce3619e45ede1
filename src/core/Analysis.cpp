#include "core/Analysis.h"

#include "core/DataTable.h"
#include "core/NewerLayout.h"

#include <algorithm>

namespace Analysis {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

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

TimeCell timeCell(const DataTable &table, const DataTable &slotTimes, bool newerLayout, int column)
{
    if (newerLayout && slotTimes.rowCount() > 0) {
        const int slot = NewerLayout::slotOfColumn(column); // 0 for a time column
        return {&slotTimes, slot == 0 ? ColumnRoles::None : slot - 1};
    }
    return {&table, ColumnRoles::timeColumn(column)};
}

std::vector<double> times(const DataTable &table, const DataTable &slotTimes, bool newerLayout,
                          int column)
{
    const TimeCell time = timeCell(table, slotTimes, newerLayout, column);
    const DataTable::NumberColumn &stamps = time.table->numbers(time.cell);
    std::vector<double> out(size_t(table.rowCount()), NaN);
    for (size_t i = 0; i < out.size() && i < stamps.size(); ++i)
        out[i] = stamps.number(i);
    return out;
}

Result compute(const DataTable &table, const DataTable &slotTimes,
               const std::vector<LogLayout::ColumnLines> &texts, bool newerLayout,
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
        if (pair.speedColumn != ColumnRoles::None)
            for (int cell : {pair.specified, pair.actual, pair.speedColumn})
                addCell(cells, cell);
    table.readNumbers(cells);

    // The engine speed, its time and the pedal, read where the tables keep them.
    const int rows = table.rowCount();
    const auto inPlace = [](const DataTable &from, int cell) {
        const DataTable::NumberColumn &column = from.numbers(cell);
        return Pulls::Numbers{column.values.data(), int(column.size())};
    };
    Pulls::Result pulls =
        Pulls::find(inPlace(table, result.rpmColumn), inPlace(*rpmTime.table, rpmTime.cell),
                    result.pedalColumn == ColumnRoles::None ? Pulls::Numbers()
                                                            : inPlace(table, result.pedalColumn),
                    rows);
    result.pulls = std::move(pulls.pulls);
    result.reasons = std::move(pulls.reasons);
    result.figures = std::move(pulls.figures);
    result.leftOutCount = pulls.leftOutCount;
    result.rate = pulls.rate;
    result.fewSamples = pulls.fewSamples;

    result.onlyPulls = options.binRows == BinRows::Pulls ||
                       (options.binRows == BinRows::PullsWhenAny && !result.pulls.empty());
    std::vector<SpecifiedActual::Rows> binRows;
    if (result.onlyPulls) {
        for (const Pulls::Pull &pull : result.pulls)
            binRows.push_back({pull.firstRow - 1, pull.lastRow - 1});
    } else {
        binRows.push_back({0, rows - 1});
    }
    for (SpecifiedActual::Pair &pair : result.pairs)
        if (pair.speedColumn != ColumnRoles::None)
            pair.bins = SpecifiedActual::bins(table.numbers(pair.speedColumn),
                                              table.numbers(pair.specified),
                                              table.numbers(pair.actual), binRows);
    return result;
}

} // namespace Analysis
