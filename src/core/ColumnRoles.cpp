#include "core/ColumnRoles.h"

#include <QLatin1String>

#include <algorithm>
#include <initializer_list>

namespace ColumnRoles {

namespace {

bool holdsAny(const QString &text, std::initializer_list<const char *> words)
{
    for (const char *word : words)
        if (text.contains(QLatin1String(word), Qt::CaseInsensitive))
            return true;
    return false;
}

int columnCount(const std::vector<QString> &units, const std::vector<QString> &names)
{
    return int(std::min(units.size(), names.size()));
}

} // namespace

bool isEngineSpeedUnit(const QString &unit)
{
    const QString u = unit.trimmed();
    for (const char *speed : {"/min", "1/min", "U/min", "rpm"})
        if (u.compare(QLatin1String(speed), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int engineSpeedColumn(const std::vector<QString> &units, const std::vector<QString> &names)
{
    const int count = columnCount(units, names);
    for (int k = 0; k < count; ++k)
        if (isValueColumn(k) && isEngineSpeedUnit(units[size_t(k)]))
            return k;
    for (int k = 0; k < count; ++k)
        if (isValueColumn(k) && holdsAny(names[size_t(k)], {"engine speed", "motordrehzahl",
                                                            "drehzahl", "obroty", "rpm"}))
            return k;
    return None;
}

int groupEngineSpeedColumn(const std::vector<QString> &units, int group)
{
    for (int k = 0; k < int(units.size()); ++k)
        if (group != None && groupOf(k) == group && isEngineSpeedUnit(units[size_t(k)]))
            return k;
    return None;
}

int pedalColumn(const std::vector<QString> &units, const std::vector<QString> &names)
{
    const int count = columnCount(units, names);
    for (int k = 0; k < count; ++k)
        if (isValueColumn(k) && units[size_t(k)].trimmed() == QLatin1String("%") &&
            holdsAny(names[size_t(k)],
                     {"pedal", "accelerator", "fahrpedal", "throttle", "drossel"}))
            return k;
    return None;
}

} // namespace ColumnRoles
