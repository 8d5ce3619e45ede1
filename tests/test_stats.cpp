// The number rules and the five diesel statistics, on worked examples and on hostile texts.
#include "TestSupport.h"

#include "core/DataTable.h"
#include "core/NumberRules.h"
#include "core/Stats.h"

#include <QTest>

#include <limits>
#include <string>

namespace {

using TestSupport::pullLine;

// Rows compared by the boost statistics (cells 7 and 8) and by the valve ones (cells 4 and 9).
QByteArray boost(const char *speed, const char *ref, const char *map)
{
    return pullLine(speed, "10", ref, map);
}

QByteArray valve(const char *speed, const char *egr, const char *n75 = "50")
{
    return pullLine(speed, egr, "0", "0", n75);
}

// Rows given only by cells 7 and 8 (speed 1000 + 100 * row).
QByteArrayList refMap(const QList<QPair<const char *, const char *>> &cells)
{
    QByteArrayList lines;
    int row = 1;
    for (const auto &c : cells)
        lines << boost(QByteArray::number(1000 + 100 * row++).constData(), c.first, c.second);
    return lines;
}

std::string_view view(const QByteArray &text)
{
    return std::string_view(text.constData(), size_t(text.size()));
}

DataTable tableOf(const QByteArrayList &lines)
{
    DataTable table;
    for (const QByteArray &line : lines)
        table.appendLine(view(line));
    return table;
}

enum Which { MaxPico, TimeCarga, Variacion, MaxN75, MinEGR };
using Statistic = QString (*)(const DataTable &);
const Statistic statistic[] = {Stats::MaxPico, Stats::TimeCarga, Stats::VariacionPresion,
                               Stats::MaxN75, Stats::MinEGR};

const QString Variation = QStringLiteral("Tenemos una variacion de presion de: ");

} // namespace

class TestStats : public QObject {
    Q_OBJECT
private slots:
    // LeadingValue takes the number the text begins with ("." the only decimal point);
    // TextNumber reads the whole text with a decimal comma and "." grouping thousands, or fails.
    void numberRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("leading");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<double>("number");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("decimal comma") << QByteArray("1,95") << 1.0 << true << 1.95;
        QTest::newRow("thousands") << QByteArray("1.950") << 1.95 << true << 1950.0;
        QTest::newRow("sign and blanks") << QByteArray(" -3,5 ") << -3.0 << true << -3.5;
        QTest::newRow("comma first") << QByteArray(",5") << 0.0 << true << 0.5;
        QTest::newRow("blanks inside") << QByteArray(" 2 1 ") << 21.0 << false << 0.0;
        QTest::newRow("exponent") << QByteArray("1e3") << 1000.0 << false << 0.0;
        QTest::newRow("two commas") << QByteArray("1,2,3") << 1.0 << false << 0.0;
        QTest::newRow("letters") << QByteArray("abc") << 0.0 << false << 0.0;
        QTest::newRow("empty") << QByteArray("") << 0.0 << false << 0.0;
        QTest::newRow("underflow") << QByteArray("1e-400") << 0.0 << false << 0.0;
        QTest::newRow("400 digits") << QByteArray(400, '9') << inf << false << 0.0;
    }
    void numberRules()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, leading);
        QFETCH(bool, readable);
        QFETCH(double, number);
        QCOMPARE(NumberRules::LeadingValue(view(text)), leading);
        double value = -123;
        QCOMPARE(NumberRules::TextNumber(view(text), value), readable);
        QCOMPARE(value, readable ? number : -123.0); // a failed read leaves the value alone
    }

    void formatGrouped_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rounds up") << 1949.6 << "1.950";
        QTest::newRow("no group") << 950.0 << "950";
        QTest::newRow("half away from zero") << 999.5 << "1.000";
        QTest::newRow("negative half") << -1234.5 << "-1.235";
        QTest::newRow("below half") << 0.4 << "";
        QTest::newRow("beyond int64") << 1e20 << "100.000.000.000.000.000.000";
        QTest::newRow("inf") << std::numeric_limits<double>::infinity() << "";
    }
    void formatGrouped()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(NumberRules::FormatGrouped(value)), expected);
    }

    void textForms()
    {
        using NumberRules::FormatGrouped;
        QCOMPARE(FormatGrouped(std::string_view("2150,4")), "2.150");
        QCOMPARE(FormatGrouped(std::string_view("abc")), "abc"); // unreadable: as it is
        const std::string big = FormatGrouped(std::numeric_limits<double>::max()); // every digit
        QCOMPARE(big.size(), size_t(309 + 102));
        QCOMPARE(big.substr(0, 8), "179.769.");
        QCOMPARE(NumberRules::WholeNumber(-0.0), "0");
        QCOMPARE(NumberRules::WholeNumber(1e20), "100000000000000000000");
    }

    // clang-format off
    void statistics_data()
    {
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("expected");
        using L = QByteArrayList;
        const L none;

        // MaxPico: the highest cell 8 with the speed of its row.
        QTest::newRow("MaxPico example")
            << L{boost("900", "0", "1020"), boost("2500", "0", "2150"), boost("2750", "0", "2150"),
                 boost("3000", "0", "1980")}
            << int(MaxPico) << "Pico Max MAP: 2.150 Bar a las 2500 RPM";
        // Regression: decimals were cut off before comparing, so 2150,9 lost to 2150,4.
        QTest::newRow("MaxPico compares decimals")
            << L{boost("900", "0", "1020"), boost("2500", "0", "2150.4"),
                 boost("2750", "0", "2150.9")}
            << int(MaxPico) << "Pico Max MAP: 2.151 Bar a las 2750 RPM";
        // Regression: a peak in row 1 left the speed empty.
        QTest::newRow("MaxPico peak in row 1")
            << L{boost("900", "0", "2000"), boost("2500", "0", "1500")}
            << int(MaxPico) << "Pico Max MAP: 2.000 Bar a las 900 RPM";
        QTest::newRow("MaxPico short rows")
            << L{boost("900", "0", "1500"), ",0.2,7", boost("1800", "0", "1600")}
            << int(MaxPico) << "Pico Max MAP: 1.600 Bar a las 1800 RPM";

        // TimeCarga: the first row whose cell 8 reaches its cell 7.
        QTest::newRow("TimeCarga example")
            << L{boost("1500", "1900", "1100"), boost("1750", "2050", "1800"),
                 boost("2000", "2100", "2130"), boost("2250", "2200", "2250")}
            << int(TimeCarga) << "Turbo cargado a 2000 RPM con 2.130 Bar";
        QTest::newRow("TimeCarga never charged")
            << L{boost("1500", "1900", "1100"), boost("1750", "2200", "1800")}
            << int(TimeCarga) << "Turbo cargado a  RPM con 2.200 Bar";
        QTest::newRow("TimeCarga empty cells in row 1")
            << L{boost("900", "", ""), boost("1750", "900", "1800")}
            << int(TimeCarga) << "Turbo cargado a 900 RPM con  Bar";
        // Regression: 45,1 against 45,9 counted as reached when only whole parts were compared.
        QTest::newRow("TimeCarga compares decimals")
            << L{boost("900", "45.9", "45.1"), boost("1750", "46", "46.2")}
            << int(TimeCarga) << "Turbo cargado a 1750 RPM con 46 Bar";

        // VariacionPresion.
        QTest::newRow("Variacion 12-row example")
            << refMap({{"1000", "1000"}, {"1500", "1300"}, {"2000", "1900"}, {"2400", "2350"},
                       {"2400", "2450"}, {"2300", "2320"}, {"2300", "2310"}, {"2300", "2290"},
                       {"2300", "2300"}, {"2200", "2210"}, {"2000", "2010"}, {"1800", "1790"}})
            << int(Variacion) << Variation + "11";
        QTest::newRow("Variacion peak in last row")
            << refMap({{"1000", "900"}, {"2000", "1900"}, {"2300", "2250"}})
            << int(Variacion) << Variation + "2300";
        QTest::newRow("Variacion peak in row 1")
            << refMap({{"2400", "2300"}, {"2000", "2100"}, {"1000", "1100"}})
            << int(Variacion) << Variation + "0";
        // Mark drops to row 3, stretch rows 2..4, an earlier equal peak wins: (27-24)/2 + 3 -> 5.
        QTest::newRow("Variacion earlier equal peak")
            << refMap({{"5", "5"}, {"9", "8"}, {"7", "10"}, {"8", "9"}, {"9", "20"}, {"9", "9"},
                       {"9", "9"}})
            << int(Variacion) << Variation + "5";
        // Regression: 2400,7 lost to an earlier 2400,2 when only whole parts were compared; the
        // totals add full values and keep the whole part of each running total.
        QTest::newRow("Variacion compares decimals")
            << refMap({{"1000", "1000"}, {"2400.2", "2000"}, {"2400.7", "2400.6"},
                       {"2000", "2000.6"}, {"2000", "2000.6"}, {"2000", "2003"}, {"2000", "2000"},
                       {"2000", "2000"}, {"2000", "2000"}, {"2000", "2000"}})
            << int(Variacion) << Variation + "5";
        // A negative peak nothing undercuts: the stretch bound, past the last row, is clamped.
        QTest::newRow("Variacion huge negative mark")
            << refMap({{"-99999999999999999999", "0"}, {"-9999999999999999999", "0"}})
            << int(Variacion) << Variation + "-5000000000000000000";
        // The peak of cell 7 in row 2, and no later row reads lower: the mark keeps the peak's
        // text. One that does not read as a number adds no row up and the variation stays 0; one
        // far beyond the row count leaves the stretch empty and the variation is the peak itself.
        for (const auto &[mark, variation] :
             {std::pair<QByteArray, QString>("1e309", "0"), {QByteArray(400, '9'), "0"},
              {"2400abc", "0"}, {"99999999999999999999", "100000000000000000000"}})
            QTest::addRow("Variacion hostile mark %s", mark.left(24).constData())
                << refMap({{"1000", "1000"}, {mark.constData(), "2000"}, {mark.constData(), "2100"},
                           {mark.constData(), "2200"}})
                << int(Variacion) << Variation + variation;

        // MaxN75 and MinEGR show the cell's own text.
        const L example{valve("900", "35", "12"), valve("1800", "12", "64.5"),
                        valve("2400", "0", "80.2"), valve("2600", "0", "80.7")};
        // Regression: 80,7 lost to 80,2 when only whole parts were compared.
        QTest::newRow("MaxN75 example") << example << int(MaxN75)
                                        << "Valor Maximo N75: 80,7 a las 2600 RPM";
        QTest::newRow("MinEGR example") << example << int(MinEGR)
                                        << "Valor Minimo EGR: 0 a las 2400 RPM";
        // Regression: a maximum in row 1 left the speed empty.
        QTest::newRow("MaxN75 in row 1") << L{valve("900", "5", "95.5"), valve("1800", "5", "60")}
                                         << int(MaxN75) << "Valor Maximo N75: 95,5 a las 900 RPM";
        // Regression: 0,1 did not beat 0,4 when only whole parts were compared.
        QTest::newRow("MinEGR compares decimals") << L{valve("900", "0.4"), valve("1800", "0.1")}
            << int(MinEGR) << "Valor Minimo EGR: 0,1 a las 1800 RPM";
        QTest::newRow("MinEGR empty cell is 0")
            << L{valve("900", "20"), valve("1800", ""), valve("2400", "5")}
            << int(MinEGR) << "Valor Minimo EGR:  a las 1800 RPM";

        // A table without rows.
        QTest::newRow("MaxPico no rows") << none << int(MaxPico) << "Pico Max MAP:  Bar a las  RPM";
        QTest::newRow("TimeCarga no rows") << none << int(TimeCarga)
                                           << "Turbo cargado a  RPM con  Bar";
        QTest::newRow("Variacion no rows") << none << int(Variacion) << Variation + "0";
        QTest::newRow("MaxN75 no rows") << none << int(MaxN75) << "Valor Maximo N75:  a las  RPM";
        QTest::newRow("MinEGR no rows") << none << int(MinEGR) << "Valor Minimo EGR:  a las  RPM";
    }
    // clang-format on
    void statistics()
    {
        QFETCH(QByteArrayList, lines);
        QFETCH(int, which);
        QFETCH(QString, expected);
        QCOMPARE(statistic[which](tableOf(lines)), expected);
        // The statistics run reads the cells of all five in one walk first: the same figure.
        const Stats::Figures all = Stats::Compute(tableOf(lines));
        const QString figures[] = {all.maxPico, all.timeCarga, all.variacionPresion, all.maxN75,
                                   all.minEGR};
        QCOMPARE(figures[which], expected);
    }

    // Texts that look like numbers, or nearly, as the EGR and MAP of row 2 of three: the highest
    // MAP and lowest EGR are row 2's, shown as the table holds the cell, or row 3's; the other
    // three figures read over them to their end.
    void hostileNumbers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("peak"); // row 2's MAP as shown when it is the highest, else ""
        QTest::addColumn<QString>("egr");  // row 2's EGR as shown when it is the lowest, else ""
        const auto add = [](const char *text, const QString &peak, const QString &egr) {
            QTest::newRow(text) << QByteArray(text) << peak << egr;
        };
        // Beyond the largest double: not a number TextNumber reads, so the highest.
        add("1e309", "1e309", "");
        add("1e99999999999999999999", "1e99999999999999999999", "");
        add("99999999999999999999", "100.000.000.000.000.000.000", "");
        add("1 5 0 0 0", "1 5 0 0 0", "");
        QTest::newRow("400 digits") << QByteArray(400, '9') << QString(400, '9') << "";
        for (const char *text : {"-1e309", "nan", "inf", "-inf", "0x1A", "1e-400", "-", "+", "1e"})
            add(text, "", text);
        // clang-format off
        QTest::newRow(".5") << QByteArray(".5") << "" << ",5";
        QTest::newRow("long zero fraction")
            << "0." + QByteArray(5000, '0') + "1" << "" << "0," + QString(5000, '0') + "1";
        // clang-format on
    }
    void hostileNumbers()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, peak);
        QFETCH(QString, egr);
        const Stats::Figures figures = Stats::Compute(
            tableOf({pullLine("900", "35", "1000", "1000"), pullLine("2000", text, "1200", text),
                     pullLine("3000", "20", "1400", "1500")}));
        QCOMPARE(figures.maxPico,
                 peak.isEmpty() ? "Pico Max MAP: 1.500 Bar a las 3000 RPM"
                                : QStringLiteral("Pico Max MAP: %1 Bar a las 2000 RPM").arg(peak));
        QCOMPARE(figures.minEGR,
                 egr.isEmpty() ? "Valor Minimo EGR: 20 a las 3000 RPM"
                               : QStringLiteral("Valor Minimo EGR: %1 a las 2000 RPM").arg(egr));
        QVERIFY(figures.timeCarga.startsWith("Turbo cargado a "));
        QVERIFY(figures.variacionPresion.startsWith("Tenemos una variacion"));
        QVERIFY(figures.maxN75.startsWith("Valor Maximo N75: 50 a las"));
    }
};

QTEST_APPLESS_MAIN(TestStats)
#include "test_stats.moc"
