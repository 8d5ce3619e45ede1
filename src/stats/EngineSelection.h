#pragma once

class AppState;

// What selecting an engine type (the option buttons of "Presion Turbo") does.
namespace EngineSelection {

// Runs when "Diesel" becomes selected: needs groups 003 and 011 (else "Ninguno"), ticks the
// diesel default series 2, 3, 7, 8 and runs the statistics.
void DieselSelected(AppState &state);
// Runs when "Gasolina" becomes selected: needs groups 002 and 115 (else "Ninguno"), ticks the
// petrol default series 2, 4, 9, 8.
void GasolinaSelected(AppState &state);
// Runs when "Ninguno" becomes selected: unticks every series box.
void NingunoSelected(AppState &state);

} // namespace EngineSelection
