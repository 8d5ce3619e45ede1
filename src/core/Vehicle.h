#pragma once

#include <QString>

// The car's data that turn a pull's engine speed over time into power: the "Vehículo" dialog's
// seven fields, with their labels, units and the values each accepts. Plain numbers as the user
// types them (the losses in percent).
struct Vehicle {
    enum Field {
        Mass,              // "Masa (con conductor)", kg
        RpmAt100,          // "Régimen a 100 km/h en la marcha del tirón", rpm
        DragCoefficient,   // "Coeficiente aerodinámico (Cd)"
        FrontalArea,       // "Área frontal", m²
        RollingResistance, // "Resistencia a la rodadura"
        Losses,            // "Pérdidas de transmisión", %
        AirDensity,        // "Densidad del aire", kg/m³
    };
    static constexpr int FieldCount = 7;

    double mass = 1500;
    double rpmAt100 = 2800;
    double dragCoefficient = 0.31;
    double frontalArea = 2.1;
    double rollingResistance = 0.015;
    double lossesPercent = 15;
    double airDensity = 1.20;

    double value(Field field) const;
    void setValue(Field field, double value);

    static QString label(Field field);
    static QString unit(Field field); // "" for a ratio without unit

    // Why `value` cannot be the field's value ("La masa debe ser mayor que 0 kg."), or "" when
    // it can. A value that is not finite is refused too.
    static QString problem(Field field, double value);
    // The problem of the first field that has one, or "".
    QString problem() const;

    // The dialog's text of a value: decimal comma, no grouping and no exponent, with the fewest
    // digits that read back as the same number (0.31 -> "0,31", 1500 -> "1500").
    static QString text(double value);

    // Reads the dialog's text of one field: blanks around it, an optional sign, digits and at
    // most one decimal mark, "," or "." (no grouping: "1.500" is one and a half). On success
    // `out` is the value; otherwise `error` says, naming the field, what is wrong (empty, not a
    // number, out of range) and `out` is left alone.
    static bool readText(Field field, const QString &text, double &out, QString &error);

    // Reads the report's value "M,Q,CD,A,CRR,LOSS%,RHO": the seven fields in order, each with a
    // decimal point. On failure `error` is one line naming the field and `out` is left alone.
    static bool fromArgument(const QString &argument, Vehicle &out, QString &error);
};
