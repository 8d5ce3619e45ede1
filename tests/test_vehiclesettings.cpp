// The vehicle kept between runs: the defaults when nothing is kept, every field back as saved,
// a refused value of one field replaced by its default alone, and the program's own settings
// file. Nothing here touches the user's settings: they point to a scratch folder.
#include "program/VehicleSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QList<double> valuesOf(const Vehicle &vehicle)
{
    QList<double> values;
    for (int k = 0; k < Vehicle::FieldCount; ++k)
        values << vehicle.value(Vehicle::Field(k));
    return values;
}

} // namespace

class TestVehicleSettings : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, m_dir.path());
    }

    // Nothing kept: the defaults. Saved: every field back exactly (no digit lost).
    void roundTrip()
    {
        QSettings settings(m_dir.filePath(QStringLiteral("round.ini")), QSettings::IniFormat);
        QCOMPARE(valuesOf(VehicleSettings::load(settings)), valuesOf(Vehicle()));
        const Vehicle saved{1234.5, 0.1 + 0.2, 0.285, 2.05, 0.0125, 99.9, 1.2041};
        VehicleSettings::save(settings, saved);
        settings.sync();
        const QSettings again(settings.fileName(), QSettings::IniFormat);
        QCOMPARE(valuesOf(VehicleSettings::load(again)), valuesOf(saved));
    }

    // A value the dialog would refuse (which those are is the vehicle tests' business) or that is
    // no number gives that field its default; the other fields keep theirs.
    void refusedValues_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("losses of 100 %") << int(Vehicle::Losses) << QVariant(100);
        QTest::newRow("a word") << int(Vehicle::FrontalArea) << QVariant("grande");
        QTest::newRow("not finite") << int(Vehicle::RollingResistance) << QVariant("inf");
    }
    void refusedValues()
    {
        QFETCH(int, field);
        QFETCH(QVariant, value);
        QSettings settings(m_dir.filePath(QStringLiteral("refused.ini")), QSettings::IniFormat);
        settings.clear();
        const Vehicle saved{1600, 3100, 0.29, 2.2, 0.011, 12, 1.15};
        VehicleSettings::save(settings, saved);
        settings.setValue(VehicleSettings::key(Vehicle::Field(field)), value);
        Vehicle expected = saved;
        expected.setValue(Vehicle::Field(field), Vehicle().value(Vehicle::Field(field)));
        QCOMPARE(valuesOf(VehicleSettings::load(settings)), valuesOf(expected));
    }

    // The program's own settings: organisation and application "Ondalyx".
    void programSettings()
    {
        const Vehicle saved{1450, 2650, 0.3, 2.0, 0.014, 14, 1.22};
        VehicleSettings::save(saved);
        const QString file = m_dir.filePath(QStringLiteral("Ondalyx/Ondalyx.conf"));
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QCOMPARE(valuesOf(VehicleSettings::load()), valuesOf(saved));
    }
};

QTEST_GUILESS_MAIN(TestVehicleSettings)
#include "test_vehiclesettings.moc"
