// The statistics run: the five diesel figures written to their labels.

#include "program/AppState.h"

#include "core/Stats.h"

void AppState::CalcStats()
{
    if (m_engine != EngineType::Diesel)
        return;
    if (!m_stats.valid) {
        const Stats::Cells cells =
            Stats::Cells::forGroups(groupPlaces.place003, groupPlaces.place011);
        m_stats.figures = Stats::Compute(table, cells);
        m_stats.valid = true;
        // The figures are kept, not the numbers that only they read: a million-row log holds
        // 9 MB less for each such cell (the numbers of a cell a series shows stay for its drawing).
        for (int cell : {cells.egr, cells.reference, cells.map, cells.n75}) {
            if (cell >= BoxCount || !box(cell).ticked)
                table.forgetNumbers(cell);
        }
    }
    const Stats::Figures &figures = m_stats.figures;
    setLabel(LbMaxPico, figures.maxPico);
    setLabel(LbTimeCarga, figures.timeCarga);
    setLabel(Label1, figures.variacionPresion);
    setLabel(LbMaxN75, figures.maxN75);
    setLabel(LbMEGR, figures.minEGR);
}
