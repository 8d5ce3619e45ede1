// What selecting an engine type (the option buttons of "Presion Turbo") does.

#include "program/AppState.h"

#include <utility>

namespace {

// The first cell of the measuring groups where groups a and b stand (0 A, 1 B, 2 C): A and B when
// either was not found or both stand in one group.
std::pair<int, int> firstCells(int a, int b)
{
    if (a < 0 || b < 0 || a == b)
        return {0, 5};
    return {5 * a, 5 * b};
}

} // namespace

// "Diesel" needs groups 003 and 011 (else "Ninguno"); it ticks the diesel default series, fields
// 1 and 2 of group 003 and fields 1 and 2 of group 011 (boxes 2, 3, 7 and 8 with 003 as group A
// and 011 as group B), and runs the statistics.
void AppState::DieselSelected()
{
    if (!HasGroup003 || !HasGroup011) {
        selectEngine(EngineType::Ninguno);
        return;
    }
    const auto [a, b] = firstCells(groupPlaces.place003, groupPlaces.place011);
    tickOnly({2 + a, 3 + a, 2 + b, 3 + b});
    CalcStats();
}

// "Gasolina" needs groups 002 and 115 (else "Ninguno"); it ticks the petrol default series, fields
// 1 and 3 of group 002 and fields 3 and 2 of group 115 (boxes 2, 4, 9 and 8 with 002 as group A
// and 115 as group B).
void AppState::GasolinaSelected()
{
    if (!HasGroup002 || !HasGroup115) {
        selectEngine(EngineType::Ninguno);
        return;
    }
    const auto [a, b] = firstCells(groupPlaces.place002, groupPlaces.place115);
    tickOnly({2 + a, 4 + a, 4 + b, 3 + b});
}

// "Ninguno" unticks every series box.
void AppState::NingunoSelected()
{
    tickOnly({});
}
