#include "core/Pulls.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Pulls {

namespace {

// The rows of one run, first to last (array indices).
struct Run {
    int first;
    int last;
};

// A cover of one or more chains, first to last row.
struct Cover {
    int first;
    int last;
};

class Finder {
public:
    Finder(const std::vector<double> &speed, const std::vector<double> &time,
           const std::vector<double> &pedal)
        : m_speed(speed), m_time(time), m_pedal(pedal), m_rows(int(speed.size())),
          m_windowEnd(speed.size(), -1), m_reason(speed.size(), Unset), m_amount(speed.size())
    {
    }

    Result find()
    {
        Result result;
        result.rate = rate();
        int first = 0;
        while (first < m_rows) {
            if (!usable(first)) {
                m_reason[size_t(first)] =
                    int(hasNumbers(first) ? Reason::LowSpeed : Reason::NoSpeed);
                ++first;
                continue;
            }
            int last = first;
            while (last + 1 < m_rows && linked(last + 1))
                ++last;
            runPulls({first, last}, result);
            first = last + 1;
        }
        collectLeftOut(result);
        return result;
    }

private:
    static constexpr int Unset = -1;
    static constexpr int InPull = -2;

    bool hasNumbers(int i) const
    {
        return std::isfinite(m_speed[size_t(i)]) && std::isfinite(m_time[size_t(i)]);
    }
    bool usable(int i) const { return hasNumbers(i) && m_speed[size_t(i)] >= MinSpeed; }
    double step(int i) const { return m_time[size_t(i)] - m_time[size_t(i - 1)]; }
    bool advances(double seconds) const { return seconds > 0 && seconds <= MaxStep; }
    // Whether usable row i continues the run of row i - 1.
    bool linked(int i) const { return usable(i) && usable(i - 1) && advances(step(i)); }
    bool pedalHolds(int i) const { return m_pedal.empty() || m_pedal[size_t(i)] >= MinPedal; }

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

    // The window ends and the climbing rows of one run, then its chains, covers and pulls.
    void runPulls(Run run, Result &result)
    {
        std::vector<Cover> covers;
        int end = run.first;
        bool chain = false;
        for (int i = run.first; i < run.last; ++i) {
            end = std::max(end, i + 1);
            while (end < run.last && m_time[size_t(end)] < m_time[size_t(i)] + Window)
                ++end;
            m_windowEnd[size_t(i)] = end;
            const double climb = (m_speed[size_t(end)] - m_speed[size_t(i)]) /
                                 (m_time[size_t(end)] - m_time[size_t(i)]);
            const bool climbs = climb >= MinClimb && pedalHolds(i) && pedalHolds(end);
            if (!climbs) {
                chain = false;
                continue;
            }
            if (chain)
                covers.back().last = std::max(covers.back().last, end);
            else if (!covers.empty() && i <= covers.back().last)
                covers.back().last = std::max(covers.back().last, end);
            else
                covers.push_back({i, end});
            chain = true;
        }
        for (const Cover &cover : covers)
            takeCover(cover, result);
        lastRowReason(run);
    }

    void takeCover(Cover cover, Result &result)
    {
        const int rows = cover.last - cover.first + 1;
        const double span = m_speed[size_t(cover.last)] - m_speed[size_t(cover.first)];
        const bool pull = rows >= MinRows && span >= MinSpan;
        for (int i = cover.first; i <= cover.last; ++i) {
            m_reason[size_t(i)] =
                pull ? InPull : int(rows < MinRows ? Reason::Short : Reason::SmallSpan);
            m_amount[size_t(i)] = rows < MinRows ? double(rows) : span;
        }
        if (!pull)
            return;
        Pull p;
        p.first = cover.first;
        p.last = cover.last;
        p.speedFrom = m_speed[size_t(cover.first)];
        p.speedTo = m_speed[size_t(cover.last)];
        p.seconds = m_time[size_t(cover.last)] - m_time[size_t(cover.first)];
        p.samplesPerSecond = (rows - 1) / p.seconds;
        result.fewSamples = result.fewSamples || p.samplesPerSecond < FewSamples;
        result.pulls.push_back(p);
    }

    // The reason of the last row of a run when no cover took it.
    void lastRowReason(Run run)
    {
        int &reason = m_reason[size_t(run.last)];
        if (reason != Unset)
            return;
        const int next = run.last + 1;
        if (next < m_rows && usable(next)) {
            reason = int(Reason::Pause);
            m_amount[size_t(run.last)] = step(next);
        } else if (run.first < run.last) {
            reason = int(pedalHolds(run.last - 1) && pedalHolds(run.last) ? Reason::NotClimbing
                                                                          : Reason::Pedal);
        } else if (run.first > 0 && usable(run.first - 1)) {
            reason = int(Reason::Pause);
            m_amount[size_t(run.last)] = step(run.first);
        } else {
            reason = int(Reason::NotClimbing);
        }
    }

    void collectLeftOut(Result &result)
    {
        result.leftOut.reserve(size_t(m_rows));
        for (int i = 0; i < m_rows; ++i) {
            int reason = m_reason[size_t(i)];
            if (reason == InPull)
                continue;
            if (reason == Unset) { // a row with a window in no cover
                const int end = m_windowEnd[size_t(i)];
                reason =
                    int(pedalHolds(i) && pedalHolds(end) ? Reason::NotClimbing : Reason::Pedal);
            }
            result.leftOut.push_back({i, Reason(reason), m_amount[size_t(i)]});
            ++result.leftOutCount[size_t(reason)];
        }
    }

    const std::vector<double> &m_speed;
    const std::vector<double> &m_time;
    const std::vector<double> &m_pedal;
    const int m_rows;
    std::vector<int> m_windowEnd; // w(i) of every row with a window
    std::vector<int> m_reason;    // a Reason, InPull, or Unset
    std::vector<double> m_amount; // the figure of a row's reason (see LeftOut::amount)
};

} // namespace

Result find(const std::vector<double> &speed, const std::vector<double> &time,
            const std::vector<double> &pedal)
{
    if (time.size() != speed.size() || (!pedal.empty() && pedal.size() != speed.size()))
        return {}; // no rows to speak of
    return Finder(speed, time, pedal).find();
}

} // namespace Pulls
