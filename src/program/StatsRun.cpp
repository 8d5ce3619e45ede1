// The statistics run: the five diesel figures written to their labels.

#include "program/AppState.h"

#include "core/Stats.h"

void AppState::CalcStats()
{
    if (m_engine != EngineType::Diesel)
        return;
    if (!m_stats.valid) {
        m_stats.figures = Stats::Compute(
            table, Stats::Cells::forGroups(groupPlaces.place003, groupPlaces.place011));
        m_stats.valid = true;
    }
    const Stats::Figures &figures = m_stats.figures;
    setLabel(LbMaxPico, figures.maxPico);
    setLabel(LbTimeCarga, figures.timeCarga);
    setLabel(Label1, figures.variacionPresion);
    setLabel(LbMaxN75, figures.maxN75);
    setLabel(LbMEGR, figures.minEGR);
}
