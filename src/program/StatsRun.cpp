// The statistics run: the five diesel figures written to their labels.

#include "program/AppState.h"

#include "core/Stats.h"

void AppState::CalcStats()
{
    if (m_engine != EngineType::Diesel)
        return;
    const Stats::Figures figures = Stats::Compute(table);
    setLabel(LbMaxPico, figures.maxPico);
    setLabel(LbTimeCarga, figures.timeCarga);
    setLabel(Label1, figures.variacionPresion);
    setLabel(LbMaxN75, figures.maxN75);
    setLabel(LbMEGR, figures.minEGR);
}
