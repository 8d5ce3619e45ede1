#include "gui/VehicleDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int FieldWidth = 90; // pixels

} // namespace

VehicleDialog::VehicleDialog(const Vehicle &vehicle, QWidget *parent)
    : QDialog(parent), m_vehicle(vehicle)
{
    setObjectName(QStringLiteral("Vehiculo"));
    setWindowTitle(QStringLiteral("Vehículo"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("Los datos del coche con los que se calcula la "
                                            "potencia de cada tirón."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    for (int k = 0; k < Vehicle::FieldCount; ++k) {
        const Vehicle::Field field = Vehicle::Field(k);
        auto *label = new QLabel(Vehicle::label(field));
        auto *edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("CampoVehiculo_%1").arg(k));
        edit->setFixedWidth(FieldWidth);
        edit->setAlignment(Qt::AlignRight);
        label->setBuddy(edit);
        const QString unit = Vehicle::unit(field);
        grid->addWidget(label, k, 0);
        grid->addWidget(edit, k, 1);
        grid->addWidget(new QLabel(unit.isEmpty() ? QStringLiteral("—") : unit), k, 2);
        m_fields[size_t(k)] = edit;
    }
    layout->addLayout(grid);

    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("ProblemaVehiculo"));
    m_problem->setWordWrap(true);
    QPalette warning = m_problem->palette();
    warning.setColor(QPalette::WindowText, QColor(176, 0, 0));
    m_problem->setPalette(warning);
    m_problem->hide();
    layout->addWidget(m_problem);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::RestoreDefaults);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &VehicleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &VehicleDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] {
                fill(Vehicle());
                m_problem->hide();
            });
    fill(vehicle);
}

void VehicleDialog::fill(const Vehicle &vehicle)
{
    for (int k = 0; k < Vehicle::FieldCount; ++k)
        m_fields[size_t(k)]->setText(Vehicle::text(vehicle.value(Vehicle::Field(k))));
}

void VehicleDialog::accept()
{
    Vehicle entered;
    for (int k = 0; k < Vehicle::FieldCount; ++k) {
        const Vehicle::Field field = Vehicle::Field(k);
        QLineEdit *edit = m_fields[size_t(k)];
        double value = 0;
        QString problem;
        if (!Vehicle::readText(field, edit->text(), value, problem)) {
            m_problem->setText(problem);
            m_problem->show();
            edit->setFocus();
            edit->selectAll();
            return;
        }
        entered.setValue(field, value);
    }
    m_vehicle = entered;
    QDialog::accept();
}
