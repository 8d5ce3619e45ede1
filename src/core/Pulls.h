#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

// The pulls of a log: runs of rows in which the engine speed climbs under load; why every other
// row is none; and how many rows a second the log holds. Everything works on columns of numbers
// with one entry per table row (entry i is row i + 1):
//
//   speed   the engine speed (rpm)
//   time    the time stamp of the engine speed's group (s)
//   pedal   the pedal or throttle (%), none when the log has none
//
// These logs give a row every 0.15 to 1.5 s and the engine speed in steps (of 21 rpm, say), so
// two rows of a steady pull often read the same speed: whether a row climbs is judged over a
// window of a second, not a single step.
//
// - A row is usable when it has both numbers and at least MinSpeed (idle, an engine start or a
//   launch from standstill is no pull). A run is a maximal series of consecutive usable rows in
//   which the time advances by more than 0 and at most MaxStep from the row before.
// - The window of row i (a row of a run but its last) ends at w(i): the first later row of the
//   run at least Window later, or the run's last row when none is. Row i climbs when the speed
//   rises by at least MinClimb a second from i to w(i) and, when the log has a pedal, the pedal
//   reads at least MinPedal on rows i and w(i) (a pedal without a number fails).
// - A chain is a maximal series of consecutive climbing rows a..b of one run; it covers rows a to
//   w(b). Chains of one run whose covers overlap (one starts at or before the end of the cover
//   before it) make one cover, from the first start to the furthest end. A cover of at least
//   MinRows rows whose last speed is at least MinSpan above its first is a pull.
// Thresholds compare plain doubles, with no rounding.
namespace Pulls {

constexpr double MinSpeed = 1000; // rpm
constexpr double MaxStep = 3;     // s
constexpr double Window = 1;      // s
constexpr double MinClimb = 75;   // rpm/s
constexpr double MinPedal = 80;   // %
constexpr int MinRows = 4;
constexpr double MinSpan = 1000; // rpm
constexpr double FewSamples = 2; // samples a second under which a pull's curves are rough

// A column of numbers, read in place: entry i is value[i], unless that is NaN (or infinite) or i
// is `size` or more. The table's numbers (DataTable::NumberColumn::values) are such a column and
// need no copy.
struct Numbers {
    const double *value = nullptr; // null: no column
    int size = 0;
    bool has(int i) const { return i < size && std::isfinite(value[i]); }
};

// Why a row is in no pull; every row in none has exactly one reason:
// - NoSpeed when it lacks the engine-speed or the time number, else LowSpeed when its speed is
//   under MinSpeed;
// - a row of a cover that is no pull: Short when the cover has fewer than MinRows rows, else
//   SmallSpan;
// - any other row with a window: Pedal when the pedal test fails on row i or w(i), else
//   NotClimbing;
// - the last row of a run: Pause when the next row is usable (the run ended at a pause); else,
//   when its run has a row before it, Pedal when the pedal test fails on either of the two, else
//   NotClimbing; a run of one row: Pause when the row before it is usable, else NotClimbing.
enum class Reason : int8_t { NoSpeed, LowSpeed, Pause, NotClimbing, Pedal, Short, SmallSpan };
constexpr int ReasonCount = 7;
constexpr int8_t InPull = -1; // the reason byte of a row in a pull

struct Pull {
    int firstRow = 0; // table row of its first entry (array index + 1)
    int lastRow = 0;  // table row of its last entry
    int rows() const { return lastRow - firstRow + 1; }
    double rpmFrom = 0; // speed of its first row
    double rpmTo = 0;   // speed of its last row
    double seconds = 0; // time of its last row minus its first
    // Its steps a second: (rows - 1) / seconds, as the log's rate counts them.
    double samplesPerSecond = 0;
};

struct LeftOut {
    int row = 0; // table row (array index + 1)
    Reason reason = Reason::NoSpeed;
    // The figure its text gives: for Short the rows of the cover, for SmallSpan the cover's rise
    // in rpm, for Pause the time from the run's last row to the next usable row (or, for a run of
    // one row, from the usable row before it); 0 otherwise.
    double amount = 0;
};

// The reason and figure of row `row` (from 1) from the reasons and figures of a Result; none for
// a row in a pull or out of range.
std::optional<LeftOut> leftOut(const std::vector<int8_t> &reasons,
                               const std::vector<LeftOut> &figures, int row);

struct Result {
    std::vector<Pull> pulls;
    // Why each row is in no pull, one byte a row: entry i is row i + 1's Reason, or InPull. (A
    // long log leaves out most of a million rows: a list of them would cost more to make than
    // the pulls take to find.)
    std::vector<int8_t> reasons;
    // The rows left out whose reason has a figure (Short, SmallSpan, Pause), in row order.
    std::vector<LeftOut> figures;
    std::array<int, ReasonCount> leftOutCount{}; // by Reason
    // Rows a second: the steps between adjacent rows that both have the two numbers and whose
    // time advances by more than 0 and at most MaxStep, divided by the sum of their seconds (so
    // pauses do not count); NaN when no step counts.
    double rate = std::numeric_limits<double>::quiet_NaN();
    bool fewSamples = false; // a pull has fewer than FewSamples samples a second

    std::optional<LeftOut> leftOut(int row) const { return Pulls::leftOut(reasons, figures, row); }
};

// The pulls of `rows` rows of `speed` and `time` and, unless its value is null, `pedal`.
Result find(const Numbers &speed, const Numbers &time, const Numbers &pedal, int rows);

} // namespace Pulls
