#include "core/Pulls.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Pulls {

namespace {

// A cover of one or more chains, first to last array index.
struct Cover {
    int first;
    int last;
};

class Finder {
public:
    Finder(const Numbers &speed, const Numbers &time, const Numbers &pedal, int rows)
        : m_speed(speed), m_time(time), m_pedal(pedal), m_rows(rows),
          m_reason(size_t(std::max(rows, 0)), Unset)
    {
    }

    Result find()
    {
        Result result;
        // First every row on its own: whether it has both numbers and is usable, and the rate.
        int steps = 0;
        double seconds = 0;
        for (int i = 0; i < m_rows; ++i) {
            const bool has = hasNumbers(i);
            m_reason[size_t(i)] = !has ? NoSpeed : speed(i) >= MinSpeed ? Unset : LowSpeed;
            if (has && i > 0 && m_reason[size_t(i - 1)] != NoSpeed && advances(step(i))) {
                ++steps;
                seconds += step(i);
            }
        }
        result.rate = steps ? steps / seconds : std::numeric_limits<double>::quiet_NaN();
        // Then the runs: a usable row (still Unset) starts one, and each usable row that follows
        // in time continues it.
        int first = 0;
        while (first < m_rows) {
            if (m_reason[size_t(first)] != Unset) {
                ++first;
                continue;
            }
            int last = first;
            while (last + 1 < m_rows && m_reason[size_t(last + 1)] == Unset &&
                   advances(step(last + 1)))
                ++last;
            run(first, last, result);
            first = last + 1;
        }
        for (int8_t reason : m_reason)
            if (reason != InPull)
                ++result.leftOutCount[size_t(reason)];
        result.reasons = std::move(m_reason);
        return result;
    }

private:
    // A row's reason while it is worked out: a Reason, InPull, or none yet (which, before the
    // runs are taken, marks a usable row).
    enum : int8_t {
        NoSpeed = int8_t(Reason::NoSpeed),
        LowSpeed = int8_t(Reason::LowSpeed),
        Pause = int8_t(Reason::Pause),
        NotClimbing = int8_t(Reason::NotClimbing),
        Pedal = int8_t(Reason::Pedal),
        Short = int8_t(Reason::Short),
        SmallSpan = int8_t(Reason::SmallSpan),
        Unset = -2,
    };

    // Entries read only where a column has a number.
    double speed(int i) const { return m_speed.value[i]; }
    double time(int i) const { return m_time.value[i]; }
    bool hasNumbers(int i) const { return m_speed.has(i) && m_time.has(i); }
    bool usable(int i) const { return hasNumbers(i) && speed(i) >= MinSpeed; }
    double step(int i) const { return time(i) - time(i - 1); }
    static bool advances(double seconds) { return seconds > 0 && seconds <= MaxStep; }
    bool pedalHolds(int i) const
    {
        return !m_pedal.value || (m_pedal.has(i) && m_pedal.value[i] >= MinPedal);
    }

    // One run, rows first to last: the window of each row but the last and whether it climbs
    // (a row that does not gets its reason now), its covers and pulls, its last row's reason.
    void run(int first, int last, Result &result)
    {
        std::vector<Cover> covers;
        int end = first;
        bool inChain = false;
        for (int i = first; i < last; ++i) {
            end = std::max(end, i + 1);
            while (end < last && time(end) < time(i) + Window)
                ++end;
            const bool pedal = pedalHolds(i) && pedalHolds(end);
            const double climb = (speed(end) - speed(i)) / (time(end) - time(i));
            if (!pedal || climb < MinClimb) {
                m_reason[size_t(i)] = pedal ? NotClimbing : Pedal;
                inChain = false;
                continue;
            }
            if (inChain || (!covers.empty() && i <= covers.back().last))
                covers.back().last = std::max(covers.back().last, end);
            else
                covers.push_back({i, end});
            inChain = true;
        }
        for (const Cover &cover : covers)
            takeCover(cover, result);
        lastRowReason(first, last, result);
    }

    void takeCover(Cover cover, Result &result)
    {
        const int rows = cover.last - cover.first + 1;
        const double span = speed(cover.last) - speed(cover.first);
        if (rows < MinRows || span < MinSpan) {
            const Reason why = rows < MinRows ? Reason::Short : Reason::SmallSpan;
            const double figure = rows < MinRows ? double(rows) : span;
            for (int i = cover.first; i <= cover.last; ++i) {
                m_reason[size_t(i)] = int8_t(why);
                result.figures.push_back({i + 1, why, figure});
            }
            return;
        }
        std::fill(m_reason.begin() + cover.first, m_reason.begin() + cover.last + 1, InPull);
        Pull p;
        p.firstRow = cover.first + 1;
        p.lastRow = cover.last + 1;
        p.rpmFrom = speed(cover.first);
        p.rpmTo = speed(cover.last);
        p.seconds = time(cover.last) - time(cover.first);
        p.samplesPerSecond = (rows - 1) / p.seconds;
        result.fewSamples = result.fewSamples || p.samplesPerSecond < FewSamples;
        result.pulls.push_back(p);
    }

    // The reason of a run's last row when no cover took it.
    void lastRowReason(int first, int last, Result &result)
    {
        int8_t &reason = m_reason[size_t(last)];
        if (reason != Unset)
            return;
        if (last + 1 < m_rows && usable(last + 1)) {
            reason = Pause;
            result.figures.push_back({last + 1, Reason::Pause, step(last + 1)});
        } else if (first < last) {
            reason = pedalHolds(last - 1) && pedalHolds(last) ? NotClimbing : Pedal;
        } else if (first > 0 && usable(first - 1)) {
            reason = Pause;
            result.figures.push_back({last + 1, Reason::Pause, step(first)});
        } else {
            reason = NotClimbing;
        }
    }

    const Numbers m_speed;
    const Numbers m_time;
    const Numbers m_pedal;
    const int m_rows;
    std::vector<int8_t> m_reason; // by row
};

} // namespace

std::optional<LeftOut> leftOut(const std::vector<int8_t> &reasons,
                               const std::vector<LeftOut> &figures, int row)
{
    if (row < 1 || row > int(reasons.size()) || reasons[size_t(row - 1)] == InPull)
        return std::nullopt;
    const auto figure =
        std::lower_bound(figures.begin(), figures.end(), row,
                         [](const LeftOut &out, int wanted) { return out.row < wanted; });
    if (figure != figures.end() && figure->row == row)
        return *figure;
    return LeftOut{row, Reason(reasons[size_t(row - 1)]), 0};
}

Result find(const Numbers &speed, const Numbers &time, const Numbers &pedal, int rows)
{
    return Finder(speed, time, pedal, rows).find();
}

} // namespace Pulls
