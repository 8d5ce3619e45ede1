#include "program/VehicleSettings.h"

#include "core/ProgramName.h"

#include <QSettings>

namespace VehicleSettings {

namespace {

QSettings programSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, programName(), programName());
}

} // namespace

QString key(Vehicle::Field field)
{
    const char *names[Vehicle::FieldCount] = {"masa",     "rpm_a_100", "cd",      "area_frontal",
                                              "rodadura", "perdidas",  "densidad"};
    return QStringLiteral("vehiculo/") + QLatin1String(names[field]);
}

Vehicle load(const QSettings &settings)
{
    Vehicle vehicle;
    for (int k = 0; k < Vehicle::FieldCount; ++k) {
        const Vehicle::Field field = Vehicle::Field(k);
        const QVariant saved = settings.value(key(field));
        bool ok = false;
        const double value = saved.toDouble(&ok);
        if (saved.isValid() && ok && Vehicle::problem(field, value).isEmpty())
            vehicle.setValue(field, value);
    }
    return vehicle;
}

void save(QSettings &settings, const Vehicle &vehicle)
{
    for (int k = 0; k < Vehicle::FieldCount; ++k)
        settings.setValue(key(Vehicle::Field(k)), vehicle.value(Vehicle::Field(k)));
}

Vehicle load()
{
    return load(programSettings());
}

void save(const Vehicle &vehicle)
{
    QSettings settings = programSettings();
    save(settings, vehicle);
}

} // namespace VehicleSettings
