#include "stats/EngineSelection.h"

#include "app/AppState.h"
#include "stats/Stats.h"

#include <initializer_list>

namespace EngineSelection {

namespace {

void untickAll(AppState &state)
{
    for (int k = 0; k < AppState::BoxCount; ++k)
        state.setBoxTicked(k, false);
}

void tick(AppState &state, std::initializer_list<int> boxes)
{
    for (int k : boxes)
        state.setBoxTicked(k, true);
}

} // namespace

void DieselSelected(AppState &state)
{
    if (!state.HasGroup003 || !state.HasGroup011) {
        state.selectEngine(EngineType::Ninguno);
        return;
    }
    untickAll(state);
    tick(state, {2, 3, 7, 8});
    Stats::CalcStats(state);
}

void GasolinaSelected(AppState &state)
{
    if (!state.HasGroup002 || !state.HasGroup115) {
        state.selectEngine(EngineType::Ninguno);
        return;
    }
    untickAll(state);
    tick(state, {2, 4, 9, 8});
}

void NingunoSelected(AppState &state)
{
    untickAll(state);
}

} // namespace EngineSelection
