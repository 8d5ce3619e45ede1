#pragma once

#include "core/Vehicle.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;

// "Vehículo": the car's data the power of the pulls is computed with, one field a line with its
// label and unit, each value written with a decimal comma. "Aceptar" reads every field
// (Vehicle::readText); a field that is empty, no number or out of its range keeps the dialog open
// with the message that names it, and the vehicle stays as it was. "Restaurar valores
// predeterminados" writes the defaults into the fields.
class VehicleDialog : public QDialog {
    Q_OBJECT
public:
    explicit VehicleDialog(const Vehicle &vehicle, QWidget *parent = nullptr);

    // The vehicle: as given until the dialog is accepted, then as entered.
    const Vehicle &vehicle() const { return m_vehicle; }
    QLineEdit *field(Vehicle::Field field) const { return m_fields[size_t(field)]; }
    QLabel *problemLabel() const { return m_problem; }

    void accept() override;

private:
    void fill(const Vehicle &vehicle);

    Vehicle m_vehicle;
    std::array<QLineEdit *, Vehicle::FieldCount> m_fields{};
    QLabel *m_problem = nullptr;
};
