#include "core/PowerOfPulls.h"

#include "core/Analysis.h"
#include "core/DataTable.h"

#include <algorithm>
#include <cmath>

namespace PowerOfPulls {

std::vector<PullPower::Result> compute(const DataTable &table, const DataTable &slotTimes,
                                       bool newerLayout, const Analysis::Result &analysis,
                                       const Vehicle &vehicle)
{
    std::vector<PullPower::Result> results;
    if (analysis.pulls.empty())
        return results;
    results.reserve(analysis.pulls.size());
    const std::vector<double> stamps =
        Analysis::times(table, slotTimes, newerLayout, analysis.rpmColumn);
    const DataTable::NumberColumn &speed = table.numbers(analysis.rpmColumn);
    const int rowCount = std::min(int(stamps.size()), int(speed.size()));
    std::vector<double> times, speeds;
    std::vector<int> rows;
    for (const Pulls::Pull &pull : analysis.pulls) {
        times.clear();
        speeds.clear();
        rows.clear();
        for (int row = std::max(pull.firstRow, 1); row <= std::min(pull.lastRow, rowCount); ++row) {
            const size_t i = size_t(row - 1);
            times.push_back(stamps[i]);
            speeds.push_back(speed.number(i));
            rows.push_back(row);
        }
        results.push_back(
            PullPower::Compute(times.data(), speeds.data(), rows.data(), rows.size(), vehicle));
    }
    return results;
}

} // namespace PowerOfPulls
