// The power of a pull: the fit of its engine speed, the power on a worked example, the warnings,
// the figure lines, the power of every pull of a log, and the vehicle's data as the dialog and the
// report read them.
#include "TestSupport.h"

#include "core/Analysis.h"
#include "core/PowerOfPulls.h"
#include "core/PullPower.h"
#include "core/Vehicle.h"

#include <cmath>
#include <vector>

namespace {

using Samples = std::vector<double>;

// The power of a pull whose rows are numbered from 41.
PullPower::Result powerOf(const Samples &times, const Samples &speeds, const Vehicle &vehicle)
{
    std::vector<int> rows(times.size());
    for (size_t k = 0; k < rows.size(); ++k)
        rows[k] = 41 + int(k);
    return PullPower::Compute(times.data(), speeds.data(), rows.data(), times.size(), vehicle);
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-7 * std::fabs(b);
}

} // namespace

class TestPullPower : public QObject {
    Q_OBJECT
private slots:
    // Samples of an exact polynomial at uneven steps give it back, whatever the origin and the
    // span of the times: its coefficients, its value at every row and its slope there (read back
    // from the power: with only a mass of 1 kg and q = 25 it is r r' / 90² W). The degree is
    // min(3, n - 2).
    void fitRecovers_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("origin"); // the first row's time
        QTest::addColumn<double>("span");   // seconds from the first row to the last
        QTest::addColumn<Samples>("shape"); // r = sum shape_j (u / span)^j, u = t - origin
        QTest::addColumn<int>("degree");
        const Samples cubic{2000, 1000, 300, 100};
        QTest::newRow("line, 3 rows") << 3 << 0.0 << 2.0 << Samples{2000, 900} << 1;
        QTest::newRow("parabola, 4 rows") << 4 << 12.5 << 3.0 << Samples{1800, 1500, 400} << 2;
        QTest::newRow("cubic, 5 rows") << 5 << 0.0 << 4.0 << Samples{1500, 1200, 900, -300} << 3;
        QTest::newRow("over 0.001 s") << 6 << 0.0 << 0.001 << cubic << 3;
        QTest::newRow("400 rows over 1000 s, far origin") << 400 << 1e6 << 1000.0 << cubic << 3;
    }
    void fitRecovers()
    {
        QFETCH(int, rows);
        QFETCH(double, origin);
        QFETCH(double, span);
        QFETCH(Samples, shape);
        QFETCH(int, degree);
        const auto shapeAt = [&](double w, bool slope) {
            double r = 0;
            for (size_t j = shape.size(); j-- > (slope ? 1 : 0);)
                r = r * w + (slope ? double(j) * shape[j] / span : shape[j]);
            return r;
        };
        Samples times, speeds;
        for (int k = 0; k < rows; ++k) {
            const double w = (k + (k % 3 == 1 && k < rows - 1 ? 0.3 : 0)) / (rows - 1);
            times.push_back(origin + w * span);
            speeds.push_back(shapeAt(w, false));
        }
        const PullPower::Fit fit = PullPower::FitSpeed(times.data(), speeds.data(), times.size());
        QCOMPARE(fit.status, PullPower::Fit::Fitted);
        QCOMPARE(fit.degree, degree);
        for (size_t j = 0; j < 4; ++j) {
            const double expected = j < shape.size() ? shape[j] : 0;
            QVERIFY(std::fabs(fit.coefficients[j] * std::pow(span, j) - expected) < 1e-9 * 2000);
        }

        const PullPower::Result result = powerOf(times, speeds, {1, 2500, 0, 2.1, 0, 0, 1.2});
        QCOMPARE(result.points.size(), times.size());
        for (size_t k = 0; k < times.size(); ++k) {
            const PullPower::Point &p = result.points[k];
            QVERIFY(std::fabs(p.rpm - speeds[k]) < 1e-9 * speeds[k]);
            const double slope = shapeAt((times[k] - origin) / span, true);
            QVERIFY(std::fabs(p.cv * PullPower::WattsPerCv * 90 * 90 / p.rpm - slope) <
                    1e-6 * slope);
        }
    }

    // Five rows a second apart on the line r = 1800 + 180 t; 1000 kg, q = 2500 / 100 = 25, so
    // v = r / 25 / 3.6 = r / 90 m/s and a = 180 / 90 = 2 m/s²; Cd 0.3, A 2 m², rho 1.25,
    // C_rr 0.01, losses 20 %.
    // First row, r = 1800: v = 20 m/s.
    //   m a v          = 1000 * 2 * 20                 = 40000 W
    //   ½ rho Cd A v³  = 0.5 * 1.25 * 0.3 * 2 * 8000   =  3000 W
    //   C_rr m g v     = 0.01 * 1000 * 9.80665 * 20    =  1961.33 W
    //   P_w = 44961.33 W; P = 44961.33 / 0.8 = 56201.6625 W = 76.41299526 CV
    //   M = 56201.6625 / (2 pi 1800 / 60 = 188.4955592) = 298.1590799 Nm
    // Last row, r = 2520: v = 28 m/s.
    //   m a v = 56000 W, drag 0.375 * 21952 = 8232 W, rolling 0.01 * 1000 * 9.80665 * 28
    //   = 2745.862 W; P_w = 66977.862 W; P = 83722.3275 W = 113.8306863 CV
    //   M = 83722.3275 / (2 pi 2520 / 60 = 263.8937829) = 317.2576731 Nm
    // Both rise with the speed, so both peaks are at the last row. Its figures as shown, and
    // against a second log's pull.
    void workedExample()
    {
        const PullPower::Result r = powerOf({0, 1, 2, 3, 4}, {1800, 1980, 2160, 2340, 2520},
                                            {1000, 2500, 0.3, 2, 0.01, 20, 1.25});
        QCOMPARE(r.points.size(), size_t(5));
        QVERIFY(near(r.points[0].cv, 76.41299526) && near(r.points[0].nm, 298.1590799));
        QVERIFY(near(r.points[4].cv, 113.8306863) && near(r.points[4].nm, 317.2576731));
        QCOMPARE(PullPower::FigureLine(2, r), "Tirón 2: 114 CV a 2.520 rpm, 317 Nm a 2.520 rpm");
        // A second log's pull against it: the difference of the whole numbers shown, 160 - 114 and
        // 311 - 317 (not 46.6 -> 47 and -6.7 -> -7), at the second pull's rpm.
        PullPower::Result after, none, small;
        after.peakCv = {{160.4, 3900}};
        after.peakNm = {{310.6, 2250}};
        QCOMPARE(PullPower::DifferenceText(r, after), "+46 CV a 3.900 rpm, -6 Nm a 2.250 rpm");
        QCOMPARE(PullPower::DifferenceText(r, r), "0 CV a 2.520 rpm, 0 Nm a 2.520 rpm");
        QCOMPARE(PullPower::DifferenceText(r, none), QString());
        QCOMPARE(PullPower::FigureLine(1, none), "Tirón 1: sin curva de potencia");
        small.peakCv = {{0.3, 1234.5}}; // figures that round to nothing still show a number
        small.peakNm = {{1200.7, 999.4}};
        QCOMPARE(PullPower::PeakText(small), "0 CV a 1.235 rpm, 1.201 Nm a 999 rpm");
    }

    // Which warnings a pull gets, in their order, whether it has a curve, and that no number it
    // gives is NaN or infinite, for ordinary and hostile pulls. Warnings by letter: W too few
    // rows, R repeated times, S out of scale, F not rising, 2 the degree, L the rate.
    void warnings_data()
    {
        QTest::addColumn<Samples>("times");
        QTest::addColumn<Samples>("speeds");
        QTest::addColumn<QByteArray>("warnings");
        const Samples quarter{0, 0.25, 0.5, 0.75, 1}, half{0, 0.5, 1, 1.5};
        const auto add = [](const char *name, const Samples &t, const Samples &r, const char *w) {
            QTest::newRow(name) << t << r << QByteArray(w);
        };
        add("4 rows, exactly 2 a second", half, {2000, 2300, 2600, 2900}, "2");
        add("4 rows, just under 2 a second", {0, 0.5, 1, 1.5001}, {2000, 2300, 2600, 2900}, "2L");
        add("falls at the last row", {0, 1, 2, 3, 4, 5}, {2000, 2600, 3100, 3400, 3500, 3300},
            "FL");
        add("rising but below zero", quarter, {-3000, -2500, -2000, -1500, -1000}, "F");
        add("constant speed", quarter, {2500, 2500, 2500, 2500, 2500}, "F");
        // Pins a flat fit read as rising: here its rounding noise gives r' > 0 at every row.
        add("steady speed, uneven steps", {0, 0.4, 0.58, 1.58, 1.67}, Samples(5, 6154), "F");
        add("3 distinct times for a cubic", {0, 0, 0.5, 0.5, 1}, {2000, 2100, 2400, 2500, 2900},
            "R");
        add("3 distinct times do for 4 rows", {0, 0.4, 0.4, 0.8}, {2000, 2300, 2350, 2700}, "2");
        add("one time only", {5, 5, 5, 5}, {2000, 2100, 2200, 2300}, "R2");
        add("2 rows", {0, 1}, {2000, 3000}, "WL");
        add("speeds of 1e9", quarter, {1e9, 1.2e9, 1.4e9, 1.6e9, 1.8e9}, "");
        add("speeds of 1e200: the power overflows", quarter, {1e200, 2e200, 3e200, 4e200, 5e200},
            "S");
    }
    void warnings()
    {
        QFETCH(Samples, times);
        QFETCH(Samples, speeds);
        QFETCH(QByteArray, warnings);
        QStringList expected;
        for (char c : warnings)
            expected << QHash<char, QString>{
                {'W', "No se puede ajustar el régimen: el tirón tiene menos de 3 filas."},
                {'R', "No se puede ajustar el régimen: los tiempos se repiten."},
                {'S', "No se puede calcular la potencia: los valores del tirón están fuera de "
                      "escala."},
                {'F', "El régimen ajustado no sube en todo el tirón"},
                {'2', "Ajuste de grado 2: pocas filas"},
                {'L', "Pocas muestras por segundo: las curvas son orientativas."}}[c];
        const PullPower::Result r = powerOf(times, speeds, Vehicle());
        QCOMPARE(PullPower::Warnings(r), expected);
        const bool curve = !warnings.contains('W') && !warnings.contains('R') &&
                           !warnings.contains('S') && !warnings.contains('F');
        QCOMPARE(r.outcome == PullPower::Result::Curve, curve);
        QCOMPARE(r.points.empty(), !curve);
        QVERIFY(bool(r.peakCv) == curve && bool(r.peakNm) == curve);
        QVERIFY(!r.rate || std::isfinite(*r.rate));
        for (const PullPower::Point &p : r.points) // the peaks are points
            QVERIFY(std::isfinite(p.rpm) && std::isfinite(p.cv) && std::isfinite(p.nm));
    }

    // Every pull of a log, each from its own rows: timed by the engine-speed column's own group
    // (group B here, whose stamps are uneven while group A's are not), with the vehicle given.
    void powerOfEveryPull()
    {
        QByteArray log = "h\r\nECU\r\n\r\n,,Group A:,'001,,,,Group B:,'011,,,\r\n"
                         ",,Load,Temp,Volt,Flow,TIME,Engine Speed,Boost,Boost,Duty\r\n6\r\n"
                         "Marker,STAMP, %, C, V, kg/h,STAMP, /min, mbar, mbar, %\r\n";
        Samples speeds(3, 900); // idle, a pull, a steady cruise, a second pull, idle
        for (int k = 0; k < 8; ++k)
            speeds.push_back(1500 + 300 * k + 10 * k * k);
        speeds.insert(speeds.end(), 3, 2000);
        for (int k = 0; k < 10; ++k)
            speeds.push_back(1200 + 250 * k - 4 * k * k);
        speeds.push_back(900);
        Samples times;
        for (size_t i = 0; i < speeds.size(); ++i) {
            times.push_back(0.5 * double(i) + 0.1 * double(i % 3));
            log += QString::asprintf(",%zu,50,20,12,100,%.17g,%g,1000,990,40\r\n", i, times.back(),
                                     speeds[i])
                       .toUtf8();
        }
        QTemporaryDir dir;
        const LogFile file = LogReader::read(TestSupport::writeFile(dir, "b.csv", log)).log;
        const Analysis::Result analysis =
            Analysis::compute(file.table, file.slotTimes, file.columnLines, file.newerLayout);
        QCOMPARE(int(analysis.pulls.size()), 2);
        const Vehicle vehicle{1300, 2600, 0.3, 2.0, 0.012, 12, 1.22};
        const std::vector<PullPower::Result> power =
            PowerOfPulls::compute(file.table, file.slotTimes, file.newerLayout, analysis, vehicle);
        QCOMPARE(power.size(), size_t(2));
        for (size_t p = 0; p < 2; ++p) {
            const Pulls::Pull &pull = analysis.pulls[p];
            const size_t first = size_t(pull.firstRow - 1);
            const PullPower::Result expected =
                powerOf(Samples(&times[first], &times[first] + pull.rows()),
                        Samples(&speeds[first], &speeds[first] + pull.rows()), vehicle);
            QCOMPARE(power[p].points.size(), size_t(pull.rows()));
            for (size_t k = 0; k < power[p].points.size(); ++k) {
                const PullPower::Point &got = power[p].points[k], &want = expected.points[k];
                QCOMPARE(QList<double>({double(got.row), got.rpm, got.cv, got.nm}),
                         QList<double>({double(pull.firstRow) + k, want.rpm, want.cv, want.nm}));
            }
        }
    }

    // The dialog's text of each field: what it accepts (each refusal at its boundary) and the
    // message, naming the field, when it refuses.
    void vehicleText_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");  // when accepted
        QTest::addColumn<QString>("error"); // "" when accepted
        const auto add = [](Vehicle::Field f, const char *t, double v, const char *e = "") {
            QTest::newRow(qPrintable(Vehicle::label(f) + ": " + t))
                << int(f) << QString::fromUtf8(t) << v << QString::fromUtf8(e);
        };
        add(Vehicle::Mass, " 1234,5 ", 1234.5);
        add(Vehicle::Mass, "1.500", 1.5); // a point is a decimal point, never grouping
        add(Vehicle::Mass, "0", 0, "La masa debe ser mayor que 0 kg.");
        add(Vehicle::Mass, "  ", 0, "Escriba un valor en \"Masa (con conductor)\".");
        add(Vehicle::Mass, "1e3", 0,
            "El valor de \"Masa (con conductor)\" no es un número: \"1e3\".");
        add(Vehicle::RpmAt100, "0", 0, "El régimen a 100 km/h debe ser mayor que 0 rpm.");
        add(Vehicle::DragCoefficient, "+0", 0);
        add(Vehicle::DragCoefficient, "-0,01", 0,
            "El coeficiente aerodinámico (Cd) no puede ser negativo.");
        add(Vehicle::FrontalArea, "0,0", 0, "El área frontal debe ser mayor que 0 m².");
        add(Vehicle::RollingResistance, "0", 0);
        add(Vehicle::Losses, "0", 0);
        add(Vehicle::Losses, "99,9", 99.9);
        add(Vehicle::Losses, "100", 0,
            "Las pérdidas de transmisión deben ser de 0 % o más y de menos de 100 %.");
        add(Vehicle::AirDensity, "0,0", 0);
    }
    void vehicleText()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(QString, error);
        double out = -7;
        QString message;
        QCOMPARE(Vehicle::readText(Vehicle::Field(field), text, out, message), error.isEmpty());
        QCOMPARE(message, error);
        QCOMPARE(out, error.isEmpty() ? value : -7.0); // a refusal keeps the last good value
    }

    // What the dialog shows of a value reads back as that very value (no exponent that the
    // reading refuses, no digit lost).
    void vehicleRoundTrip()
    {
        QCOMPARE(Vehicle::text(0.31), "0,31");
        for (double v : {0.31, 0.1 + 0.2, 1e20, 123456.789, 5e-324, 1.7976931348623157e308}) {
            double back = 0;
            QString error;
            QVERIFY(Vehicle::readText(Vehicle::Mass, Vehicle::text(v), back, error));
            QCOMPARE(back, v);
        }
    }

    // The report's --vehicle value: all seven with a decimal point, or one line naming what is
    // wrong, and the vehicle left as it was.
    void vehicleArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("error"); // "" when accepted
        const QString count = "--vehicle espera siete valores separados por comas y con punto "
                              "decimal (M,Q,CD,A,CRR,LOSS%,RHO): ";
        QTest::newRow("seven") << "1200,3000.5,0.28,2.05,0.012,12.5,1.18" << QString();
        QTest::newRow("six") << "1200,3000,0.28,2.05,0.012,12.5"
                             << count + "falta \"Densidad del aire\"";
        QTest::newRow("decimal commas") << "1200,3000,0,28,2,05,0,012,12,5,1,18"
                                        << count + "sobran valores tras \"Densidad del aire\"";
        QTest::newRow("empty") << ""
                               << "--vehicle: falta el valor de \"Masa (con conductor)\"";
        QTest::newRow("losses of 100 %")
            << "1200,3000,0.28,2.05,0.012,100,1.18"
            << "--vehicle: las pérdidas de transmisión deben ser de 0 % o más y de menos de 100 %";
    }
    void vehicleArgument()
    {
        QFETCH(QString, argument);
        QFETCH(QString, error);
        Vehicle vehicle;
        QString message;
        QCOMPARE(Vehicle::fromArgument(argument, vehicle, message), error.isEmpty());
        QCOMPARE(message, error);
        const Vehicle expected =
            error.isEmpty() ? Vehicle{1200, 3000.5, 0.28, 2.05, 0.012, 12.5, 1.18} : Vehicle();
        for (int k = 0; k < Vehicle::FieldCount; ++k)
            QCOMPARE(vehicle.value(Vehicle::Field(k)), expected.value(Vehicle::Field(k)));
    }
};

QTEST_APPLESS_MAIN(TestPullPower)
#include "test_pullpower.moc"
