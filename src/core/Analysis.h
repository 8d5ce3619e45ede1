#pragma once

#include "core/ColumnRoles.h"
#include "core/Pulls.h"
#include "core/SpecifiedActual.h"
#include "core/UnitsAndNames.h"

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

class DataTable;

// What a tuner reads from a log, in one go: the unit and full name of every column, the engine
// speed and pedal columns, the pulls and why every other row is in none, the log's rate, and the
// specified-against-actual pairs with their tables by engine speed.
//
// It reads the header block's lines 5-7 (as LogLayout::ColumnLines) and, of the data lines,
// only the cells it needs: the engine speed and its time stamp, the pedal, the columns of the
// pairs and the engine speed of each pair's bins, all in one walk over the rows. A cell is a
// number when TextNumber reads it whole; any other text is a gap, never a zero.
namespace Analysis {

// The rows the bins of the pairs are taken over.
enum class BinRows {
    PullsWhenAny, // the rows of the pulls when the log has a pull, else every row
    Pulls,        // the rows of the pulls (no rows when there is none)
    All,          // every row
};

struct Options {
    BinRows binRows = BinRows::PullsWhenAny;
    // A pair the user picked, as table columns; it is added after the pairs found by name
    // unless it is one of them. ColumnRoles::None: none.
    int userSpecified = ColumnRoles::None;
    int userActual = ColumnRoles::None;
};

struct Result {
    std::vector<QString> units; // one per table column, "" for none
    std::vector<QString> names; // one per table column (the header for a "Tiempo" column)
    bool unitsOnLine6 = false;
    int rpmColumn = ColumnRoles::None;
    int pedalColumn = ColumnRoles::None;

    // The pulls of the engine speed against its time stamps and why every other row is in none
    // (see Pulls::Result); rows are table rows. The text of a reason is AnalysisTexts::reason's.
    std::vector<Pulls::Pull> pulls;
    std::vector<int8_t> reasons;         // entry r - 1: row r's Pulls::Reason, or Pulls::InPull
    std::vector<Pulls::LeftOut> figures; // the rows left out whose reason has a figure
    std::array<int, Pulls::ReasonCount> leftOutCount{};     // by Pulls::Reason
    double rate = std::numeric_limits<double>::quiet_NaN(); // NaN: no step counts
    bool fewSamples = false; // a pull has fewer than Pulls::FewSamples samples a second
    // Row `row`'s reason and figure; none for a row in a pull.
    std::optional<Pulls::LeftOut> leftOut(int row) const
    {
        return Pulls::leftOut(reasons, figures, row);
    }

    bool onlyPulls = false; // the bins are over the rows of the pulls
    std::vector<SpecifiedActual::Pair> pairs;
};

// The analysis of `table`, whose columns' texts on lines 5-7 are `texts` (one per table column,
// see LogLayout::columnLines). In the newer layout `slotTimes` holds every slot's own time
// stamp: cell s - 1 of row r is slot s's on table row r (an empty table: the time columns stand
// for them).
Result compute(const DataTable &table, const DataTable &slotTimes,
               const std::vector<LogLayout::ColumnLines> &texts, bool newerLayout,
               const Options &options = {});

// Where the time stamps of a value column are kept: a cell of the log's table (its time column) or,
// in the newer layout, of `slotTimes` (its slot's own); `cell` is ColumnRoles::None for a column
// that has none. Read in place, as the tab's chart does, they are what times() copies.
struct TimeCell {
    const DataTable *table;
    int cell;
};
TimeCell timeCell(const DataTable &table, const DataTable &slotTimes, bool newerLayout, int column);

// The time stamps of a value column, one per row of `table`, NaN where a row has none: its time
// column's in the classic layout, its slot's own in the newer one (from `slotTimes`, when that has
// rows).
std::vector<double> times(const DataTable &table, const DataTable &slotTimes, bool newerLayout,
                          int column);

} // namespace Analysis
