#pragma once

#include "core/DataTable.h"

#include <QString>
#include <QStringList>

#include <vector>

// Specified against actual: the columns that a log holds in pairs (boost, mass air flow, intake
// pressure, fuel pressure, each specified and actual), found by their full names, and the table
// of each pair by engine speed.
//
//   MAF (specified)              MAF (actual)
//   Specified MAP                Actual MAP
//   Spec. intake press.          Actual intake press.
//   Boost Pressure (specified)   Boost Pressure (actual)     (names over lines 5 and 6)
//   Ladedruck: Sollwert          Ladedruck: Istwert
namespace SpecifiedActual {

// The words of a name: its runs of letters and digits (any script), in lower case.
QStringList words(const QString &name);

// What the words of a name say: a specified word ("specified", "spec", "soll", "sollwert",
// "setpoint", "zadane") and no actual word, an actual word ("actual", "act", "ist", "istwert",
// "rzeczywiste") and no specified word, or neither (a name with both, such as a deviation
// "Soll-Ist", is neither). `rest` is the other words, in order.
enum class Side { Neither, Specified, Actual };
struct NameWords {
    Side side = Side::Neither;
    QStringList rest;
};
NameWords nameWords(const QString &name);

// Whether two units are the same for a pair: the same text, with "hPa" the same as "mbar".
bool sameUnit(const QString &a, const QString &b);

constexpr double BinWidth = 250; // rpm
constexpr double Shade = 0.05;   // of the mean specified value

// The rows of one engine-speed bin.
struct Bin {
    double rpm = 0;        // floor(speed / BinWidth) * BinWidth
    int rows = 0;          // rows with the three numbers
    double specified = 0;  // mean specified value
    double actual = 0;     // mean actual value
    double difference = 0; // mean of actual minus specified, row by row
    double worst = 0;      // the least actual minus specified (even when none is negative)
    // -1 (shown red) when the mean difference is below -Shade of the mean specified value's
    // size, +1 (blue) when it is above +Shade of it, 0 otherwise.
    int shade() const;
};

struct Pair {
    int specified = 0;         // table column
    int actual = 0;            // table column
    QString unit;              // that of the specified column
    bool chosenByUser = false; // picked by the user rather than found by name
    int speedColumn = -1;      // the engine-speed column of its bins; -1: no bins
    std::vector<Bin> bins;     // only bins with rows, ascending
};

// The pairs of the value columns (see ColumnRoles) among `units` and `names` (one per table
// column). Taking columns in order, each column with a specified word pairs with the first
// unpaired column (searching from column 1, so that the actual one may come first) with an
// actual word, the same unit and the same remaining words; a column is in one pair at most. The
// bins are left empty.
std::vector<Pair> findPairs(const std::vector<QString> &units, const std::vector<QString> &names);

// Which pair of a second log stands for each pair of a first, as two logs are compared: two pairs
// match when the names of their specified columns without the specified and actual words
// (NameWords::rest) are the same, those of their actual columns too, and their units are the
// same (sameUnit). Entry i is the index in `second` of the pair that matches first[i], or -1;
// taking the first log's pairs in order, each takes the first match not taken yet. `firstNames`
// and `secondNames` are the full names of each log's columns.
std::vector<int> matchPairs(const std::vector<Pair> &first, const std::vector<QString> &firstNames,
                            const std::vector<Pair> &second,
                            const std::vector<QString> &secondNames);

// A row range, first to last array index.
struct Rows {
    int first;
    int last;
};

// The bins of the rows in `ranges` (array indices, ascending, not overlapping) that have a number
// in the `speed`, `specified` and `actual` cells.
std::vector<Bin> bins(const DataTable::NumberColumn &speed,
                      const DataTable::NumberColumn &specified,
                      const DataTable::NumberColumn &actual, const std::vector<Rows> &ranges);

} // namespace SpecifiedActual
