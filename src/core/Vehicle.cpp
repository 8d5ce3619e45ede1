#include "core/Vehicle.h"

#include <QStringList>

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

enum class Reading { Number, Empty, NotNumber };

// A plain decimal: blanks around it, an optional sign, digits and at most one decimal mark ("."
// always, "," too when `comma`), at least one digit. No grouping, no exponent; a value too large
// for a double is no number.
Reading readNumber(const QString &text, bool comma, double &out)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return Reading::Empty;
    std::string plain;
    plain.reserve(size_t(trimmed.size()));
    bool digits = false, mark = false;
    for (int i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            plain.push_back(char(c.unicode()));
            digits = true;
        } else if (i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            if (c == QLatin1Char('-'))
                plain.push_back('-');
        } else if (!mark && (c == QLatin1Char('.') || (comma && c == QLatin1Char(',')))) {
            plain.push_back('.');
            mark = true;
        } else {
            return Reading::NotNumber;
        }
    }
    if (!digits)
        return Reading::NotNumber;
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return Reading::NotNumber;
    out = value;
    return Reading::Number;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A message as the report's error lines are written: lower case first, no full stop.
QString asReportLine(QString message)
{
    if (!message.isEmpty())
        message[0] = message[0].toLower();
    if (message.endsWith(QLatin1Char('.')))
        message.chop(1);
    return QStringLiteral("--vehicle: ") + message;
}

} // namespace

namespace {

// Each field's label, unit and member, and the values it accepts: any from 0 up when
// `zeroAllowed`, else only those above 0 (and the losses under 100 %), with the message that
// refuses the others.
struct FieldRule {
    const char *label;
    const char *unit;
    double Vehicle::*member;
    bool zeroAllowed;
    const char *refusal;
};

const FieldRule Rules[Vehicle::FieldCount] = {
    {"Masa (con conductor)", "kg", &Vehicle::mass, false, "La masa debe ser mayor que 0 kg."},
    {"Régimen a 100 km/h en la marcha del tirón", "rpm", &Vehicle::rpmAt100, false,
     "El régimen a 100 km/h debe ser mayor que 0 rpm."},
    {"Coeficiente aerodinámico (Cd)", "", &Vehicle::dragCoefficient, true,
     "El coeficiente aerodinámico (Cd) no puede ser negativo."},
    {"Área frontal", "m²", &Vehicle::frontalArea, false,
     "El área frontal debe ser mayor que 0 m²."},
    {"Resistencia a la rodadura", "", &Vehicle::rollingResistance, true,
     "La resistencia a la rodadura no puede ser negativa."},
    {"Pérdidas de transmisión", "%", &Vehicle::lossesPercent, true,
     "Las pérdidas de transmisión deben ser de 0 % o más y de menos de 100 %."},
    {"Densidad del aire", "kg/m³", &Vehicle::airDensity, true,
     "La densidad del aire no puede ser negativa."},
};

} // namespace

double Vehicle::value(Field field) const
{
    return this->*Rules[field].member;
}

void Vehicle::setValue(Field field, double value)
{
    this->*Rules[field].member = value;
}

QString Vehicle::label(Field field)
{
    return QString::fromUtf8(Rules[field].label);
}

QString Vehicle::unit(Field field)
{
    return QString::fromUtf8(Rules[field].unit);
}

QString Vehicle::problem(Field field, double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("El valor de %1 no es un número.").arg(quoted(label(field)));
    const FieldRule &rule = Rules[field];
    if (rule.zeroAllowed ? value < 0 : value <= 0)
        return QString::fromUtf8(rule.refusal);
    if (field == Losses && value >= 100)
        return QString::fromUtf8(rule.refusal);
    return {};
}

QString Vehicle::problem() const
{
    for (int k = 0; k < FieldCount; ++k) {
        const QString message = problem(Field(k), value(Field(k)));
        if (!message.isEmpty())
            return message;
    }
    return {};
}

QString Vehicle::text(double value)
{
    if (!std::isfinite(value))
        return {};
    // Fixed notation with the fewest digits that read back exactly: at most 309 whole digits
    // or 324 decimals and a sign.
    char digits[400];
    const auto [end, ec] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    if (ec != std::errc())
        return {};
    QString out = QString::fromLatin1(digits, int(end - digits));
    out.replace(QLatin1Char('.'), QLatin1Char(','));
    return out;
}

bool Vehicle::readText(Field field, const QString &text, double &out, QString &error)
{
    double value = 0;
    switch (readNumber(text, true, value)) {
    case Reading::Empty:
        error = QStringLiteral("Escriba un valor en %1.").arg(quoted(label(field)));
        return false;
    case Reading::NotNumber:
        error = QStringLiteral("El valor de %1 no es un número: %2.")
                    .arg(quoted(label(field)), quoted(text.trimmed()));
        return false;
    case Reading::Number:
        break;
    }
    error = problem(field, value);
    if (!error.isEmpty())
        return false;
    out = value;
    return true;
}

bool Vehicle::fromArgument(const QString &argument, Vehicle &out, QString &error)
{
    const QStringList parts = argument.split(QLatin1Char(','));
    const QString expected = QStringLiteral("--vehicle espera siete valores separados por comas y "
                                            "con punto decimal (M,Q,CD,A,CRR,LOSS%,RHO): ");
    Vehicle vehicle;
    for (int k = 0; k < FieldCount && k < parts.size(); ++k) {
        const Field field = Field(k);
        double value = 0;
        switch (readNumber(parts[k], false, value)) {
        case Reading::Empty:
            error = asReportLine(QStringLiteral("Falta el valor de %1").arg(quoted(label(field))));
            return false;
        case Reading::NotNumber:
            error = asReportLine(QStringLiteral("%1 no es un número (%2)")
                                     .arg(quoted(parts[k].trimmed()), quoted(label(field))));
            return false;
        case Reading::Number:
            break;
        }
        const QString message = problem(field, value);
        if (!message.isEmpty()) {
            error = asReportLine(message);
            return false;
        }
        vehicle.setValue(field, value);
    }
    if (parts.size() < FieldCount) {
        error = expected + QStringLiteral("falta %1").arg(quoted(label(Field(parts.size()))));
        return false;
    }
    if (parts.size() > FieldCount) {
        error = expected + QStringLiteral("sobran valores tras %1").arg(quoted(label(AirDensity)));
        return false;
    }
    out = vehicle;
    return true;
}
