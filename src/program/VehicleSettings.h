#pragma once

#include "core/Vehicle.h"

#include <QString>

class QSettings;

// The vehicle kept between runs in the program's settings: the seven fields of the "Vehículo"
// dialog, under "vehiculo/", as plain numbers (the losses in percent).
namespace VehicleSettings {

// The settings key of a field, such as "vehiculo/masa".
QString key(Vehicle::Field field);

// The vehicle kept in `settings`: each field its saved value, or its default when none is saved
// or the saved one is not a number or is refused (Vehicle::problem).
Vehicle load(const QSettings &settings);
void save(QSettings &settings, const Vehicle &vehicle);

// The same in the program's own settings: organisation and application "Ondalyx", the user's
// scope (~/.config/Ondalyx/Ondalyx.conf on Linux).
Vehicle load();
void save(const Vehicle &vehicle);

} // namespace VehicleSettings
