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
        result.rate = rate();
        int first = 0;
        while (first < m_rows) {
            if (!usable(first)) {
                m_reason[size_t(first)] = hasNumbers(first) ? LowSpeed : NoSpeed;
                ++first;
                continue;
            }
            int last = first;
            while (last + 1 < m_rows && linked(last + 1))
                ++last;
            run(first, last, result);
            first = last + 1;
        }
        collectLeftOut(result);
        return result;
    }

private:
    // A row's reason while it is worked out: a Reason, in a pull, or none yet.
    enum : int8_t {
        NoSpeed = int8_t(Reason::NoSpeed),
        LowSpeed = int8_t(Reason::LowSpeed),
        Pause = int8_t(Reason::Pause),
        NotClimbing = int8_t(Reason::NotClimbing),
        Pedal = int8_t(Reason::Pedal),
        Short = int8_t(Reason::Short),
        SmallSpan = int8_t(Reason::SmallSpan),
        InPull = -2,
        Unset = -1,
    };

    // Entries read only where a column has a number.
    double speed(int i) const { return m_speed.value[i]; }
    double time(int i) const { return m_time.value[i]; }
    bool hasNumbers(int i) const { return m_speed.has(i) && m_time.has(i); }
    bool usable(int i) const { return hasNumbers(i) && speed(i) >= MinSpeed; }
    double step(int i) const { return time(i) - time(i - 1); }
    static bool advances(double seconds) { return seconds > 0 && seconds <= MaxStep; }
    // Whether usable row i continues the run of row i - 1.
    bool linked(int i) const { return usable(i) && usable(i - 1) && advances(step(i)); }
    bool pedalHolds(int i) const
    {
        return !m_pedal.value || (m_pedal.has(i) && m_pedal.value[i] >= MinPedal);
    }

    double rate() const
    {
        int steps = 0;
        double seconds = 0;
        for (int i = 1; i < m_rows; ++i) {
            if (hasNumbers(i) && hasNumbers(i - 1) && advances(step(i))) {
                ++steps;
                seconds += step(i);
            }
        }
        return steps ? steps / seconds : std::numeric_limits<double>::quiet_NaN();
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
        lastRowReason(first, last);
    }

    void takeCover(Cover cover, Result &result)
    {
        const int rows = cover.last - cover.first + 1;
        const double span = speed(cover.last) - speed(cover.first);
        const bool pull = rows >= MinRows && span >= MinSpan;
        std::fill(m_reason.begin() + cover.first, m_reason.begin() + cover.last + 1,
                  pull             ? InPull
                  : rows < MinRows ? Short
                                   : SmallSpan);
        if (!pull) {
            m_noPull.push_back({cover.first, cover.last, rows < MinRows ? double(rows) : span});
            return;
        }
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
    void lastRowReason(int first, int last)
    {
        int8_t &reason = m_reason[size_t(last)];
        if (reason != Unset)
            return;
        if (last + 1 < m_rows && usable(last + 1))
            reason = Pause;
        else if (first < last)
            reason = pedalHolds(last - 1) && pedalHolds(last) ? NotClimbing : Pedal;
        else
            reason = first > 0 && usable(first - 1) ? Pause : NotClimbing;
    }

    void collectLeftOut(Result &result) const
    {
        result.leftOut.reserve(
            size_t(m_rows - std::count(m_reason.begin(), m_reason.end(), int8_t(InPull))));
        size_t cover = 0; // the covers that are no pull, in row order
        for (int i = 0; i < m_rows; ++i) {
            const int8_t reason = m_reason[size_t(i)];
            if (reason == InPull)
                continue;
            double amount = 0;
            if (reason == Short || reason == SmallSpan) {
                while (m_noPull[cover].last < i)
                    ++cover;
                amount = m_noPull[cover].amount;
            } else if (reason == Pause) {
                // The pause after a run's last row, or before a run of one row.
                amount = i + 1 < m_rows && usable(i + 1) ? step(i + 1) : step(i);
            }
            result.leftOut.push_back({i + 1, Reason(reason), amount});
            ++result.leftOutCount[size_t(reason)];
        }
    }

    struct NoPull {
        int first;
        int last;
        double amount; // rows of a short cover, else its rise
    };

    const Numbers m_speed;
    const Numbers m_time;
    const Numbers m_pedal;
    const int m_rows;
    std::vector<int8_t> m_reason; // by row
    std::vector<NoPull> m_noPull; // the covers that are no pull, in row order
};

} // namespace

Result find(const Numbers &speed, const Numbers &time, const Numbers &pedal, int rows)
{
    return Finder(speed, time, pedal, rows).find();
}

} // namespace Pulls
