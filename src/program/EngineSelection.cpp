// What selecting an engine type (the option buttons of "Presion Turbo") does.

#include "program/AppState.h"

// "Diesel" needs groups 003 and 011 (else "Ninguno"); it ticks the diesel default series 2, 3, 7
// and 8 and runs the statistics.
void AppState::DieselSelected()
{
    if (!HasGroup003 || !HasGroup011) {
        selectEngine(EngineType::Ninguno);
        return;
    }
    tickOnly({2, 3, 7, 8});
    CalcStats();
}

// "Gasolina" needs groups 002 and 115 (else "Ninguno"); it ticks the petrol default series 2, 4,
// 9 and 8.
void AppState::GasolinaSelected()
{
    if (!HasGroup002 || !HasGroup115) {
        selectEngine(EngineType::Ninguno);
        return;
    }
    tickOnly({2, 4, 9, 8});
}

// "Ninguno" unticks every series box.
void AppState::NingunoSelected()
{
    tickOnly({});
}
