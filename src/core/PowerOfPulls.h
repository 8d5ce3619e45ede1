#pragma once

#include "core/PullPower.h"
#include "core/Vehicle.h"

#include <vector>

class DataTable;

namespace Analysis {
struct Result;
}

// The power of every pull of a log (see PullPower): each pull's rows timed by the engine-speed
// column's own group time stamps (in the newer layout its slot's own), with the engine speeds
// the pulls were found on.
namespace PowerOfPulls {

// One result per pull of `analysis`, in its order. `analysis` is Analysis::compute's of `table`,
// `slotTimes` and `newerLayout`; `vehicle` is one that Vehicle::problem() accepts. Rows a pull
// names that the table does not have are left out of it.
std::vector<PullPower::Result> compute(const DataTable &table, const DataTable &slotTimes,
                                       bool newerLayout, const Analysis::Result &analysis,
                                       const Vehicle &vehicle);

} // namespace PowerOfPulls
