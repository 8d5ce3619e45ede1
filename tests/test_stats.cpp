// The number rules and the five diesel statistics, on worked examples and on hostile texts.
#include "TestSupport.h"

#include "core/NumberRules.h"
#include "core/Stats.h"

#include <limits>
#include <string>

namespace {

using TestSupport::pullLine;

std::string_view view(const QByteArray &text)
{
    return std::string_view(text.constData(), size_t(text.size()));
}

// Data lines from rows separated by spaces, each of cells separated by "/": for `kind` 'b'
// "speed/boost wanted/MAP" (cells 1, 7, 8), for 'v' "speed/EGR/N75" (cells 1, 4, 9), for 'r'
// "boost wanted/MAP" at the speed 1000 + 100 r. A row without "/" is the data line itself.
QByteArrayList pull(char kind, const QByteArray &rows)
{
    QByteArrayList out;
    for (const QByteArray &row : rows.split(' ')) {
        QByteArrayList c = row.split('/');
        if (kind == 'r')
            c.prepend(QByteArray::number(1000 + 100 * (out.size() + 1)));
        if (c.size() == 1)
            out << row;
        else
            out << (kind == 'v' ? pullLine(c[0], c[1], "0", "0", c[2])
                                : pullLine(c[0], "10", c[1], c[2]));
    }
    return out;
}

DataTable tableOf(const QByteArrayList &lines)
{
    DataTable table;
    for (const QByteArray &line : lines)
        table.appendLine(view(line));
    return table;
}

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

    // Grouped by "." and rounded half away from zero; a text as it reads, or as it is.
    void formatting()
    {
        using NumberRules::FormatGrouped;
        // clang-format off
        const std::pair<double, const char *> numbers[] = {
            {1949.6, "1.950"}, {950.0, "950"}, {999.5, "1.000"}, {-1234.5, "-1.235"}, {0.4, ""},
            {1e20, "100.000.000.000.000.000.000"}, {std::numeric_limits<double>::infinity(), ""}};
        // clang-format on
        for (const auto &[value, expected] : numbers)
            QCOMPARE(QString::fromStdString(FormatGrouped(value)), expected);
        QCOMPARE(FormatGrouped(std::string_view("2150,4")), "2.150");
        QCOMPARE(FormatGrouped(std::string_view("abc")), "abc"); // unreadable: as it is
        const std::string big = FormatGrouped(std::numeric_limits<double>::max()); // every digit
        QCOMPARE(big.size(), size_t(309 + 102));
        QCOMPARE(big.substr(0, 8), "179.769.");
        QCOMPARE(NumberRules::WholeNumber(-0.0), "0");
        QCOMPARE(NumberRules::WholeNumber(1e20), "100000000000000000000");
    }

    // Each figure alone and in the statistics run, which reads the cells of all five in one walk.
    void statistics_data()
    {
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<QString>("expected"); // its first words say which figure it is

        const auto row = [](const char *name, const QByteArrayList &data, const QString &text) {
            QTest::newRow(name) << data << text;
        };
        // MaxPico: the highest cell 8 with the speed of its row.
        row("MaxPico example", pull('b', "900/0/1020 2500/0/2150 2750/0/2150 3000/0/1980"),
            "Pico Max MAP: 2.150 Bar a las 2500 RPM");
        // Regression: decimals were cut off before comparing, so 2150,9 lost to 2150,4.
        row("MaxPico compares decimals", pull('b', "900/0/1020 2500/0/2150.4 2750/0/2150.9"),
            "Pico Max MAP: 2.151 Bar a las 2750 RPM");
        // Regression: a peak in row 1 left the speed empty.
        row("MaxPico peak in row 1", pull('b', "900/0/2000 2500/0/1500"),
            "Pico Max MAP: 2.000 Bar a las 900 RPM");
        row("MaxPico short rows", pull('b', "900/0/1500 ,0.2,7 1800/0/1600"),
            "Pico Max MAP: 1.600 Bar a las 1800 RPM");

        // TimeCarga: the first row whose cell 8 reaches its cell 7.
        row("TimeCarga example",
            pull('b', "1500/1900/1100 1750/2050/1800 2000/2100/2130 2250/2200/2250"),
            "Turbo cargado a 2000 RPM con 2.130 Bar");
        row("TimeCarga never charged", pull('b', "1500/1900/1100 1750/2200/1800"),
            "Turbo cargado a  RPM con 2.200 Bar");
        row("TimeCarga empty cells in row 1", pull('b', "900// 1750/900/1800"),
            "Turbo cargado a 900 RPM con  Bar");
        // Regression: 45,1 against 45,9 counted as reached when only whole parts were compared.
        row("TimeCarga compares decimals", pull('b', "900/45.9/45.1 1750/46/46.2"),
            "Turbo cargado a 1750 RPM con 46 Bar");

        // VariacionPresion.
        row("Variacion 12-row example",
            pull('r', "1000/1000 1500/1300 2000/1900 2400/2350 2400/2450 2300/2320 2300/2310 "
                      "2300/2290 2300/2300 2200/2210 2000/2010 1800/1790"),
            Variation + "11");
        row("Variacion peak in last row", pull('r', "1000/900 2000/1900 2300/2250"),
            Variation + "2300");
        row("Variacion peak in row 1", pull('r', "2400/2300 2000/2100 1000/1100"), Variation + "0");
        // Mark drops to row 3, stretch rows 2..4, an earlier equal peak wins: (27-24)/2 + 3 -> 5.
        row("Variacion earlier equal peak", pull('r', "5/5 9/8 7/10 8/9 9/20 9/9 9/9"),
            Variation + "5");
        // Regression: 2400,7 lost to an earlier 2400,2 when only whole parts were compared; the
        // totals add full values and keep the whole part of each running total.
        row("Variacion compares decimals",
            pull('r', "1000/1000 2400.2/2000 2400.7/2400.6 2000/2000.6 2000/2000.6 2000/2003 "
                      "2000/2000 2000/2000 2000/2000 2000/2000"),
            Variation + "5");
        // A negative peak nothing undercuts: the stretch bound, past the last row, is clamped.
        row("Variacion huge negative mark",
            pull('r', "-99999999999999999999/0 -9999999999999999999/0"),
            Variation + "-5000000000000000000");
        // The peak of cell 7 in row 2, and no later row reads lower: the mark keeps the peak's
        // text. One that does not read as a number adds no row up and the variation stays 0; one
        // far beyond the row count leaves the stretch empty and the variation is the peak itself.
        for (const auto &[mark, variation] : {std::pair<QByteArray, QString>("1e309", "0"),
                                              {QByteArray(400, '9'), "0"},
                                              {"2400abc", "0"},
                                              {"99999999999999999999", "100000000000000000000"}})
            QTest::addRow("Variacion hostile mark %s", mark.left(24).constData())
                << pull('r', "1000/1000 " + mark + "/2000 " + mark + "/2100 " + mark + "/2200")
                << Variation + variation;

        // MaxN75 and MinEGR show the cell's own text.
        const QByteArrayList example = pull('v', "900/35/12 1800/12/64.5 2400/0/80.2 2600/0/80.7");
        // Regression: 80,7 lost to 80,2 when only whole parts were compared.
        row("MaxN75 example", example, "Valor Maximo N75: 80,7 a las 2600 RPM");
        row("MinEGR example", example, "Valor Minimo EGR: 0 a las 2400 RPM");
        // Regression: a maximum in row 1 left the speed empty.
        row("MaxN75 in row 1", pull('v', "900/5/95.5 1800/5/60"),
            "Valor Maximo N75: 95,5 a las 900 RPM");
        // Regression: 0,1 did not beat 0,4 when only whole parts were compared.
        row("MinEGR compares decimals", pull('v', "900/0.4/50 1800/0.1/50"),
            "Valor Minimo EGR: 0,1 a las 1800 RPM");
        row("MinEGR empty cell is 0", pull('v', "900/20/50 1800//50 2400/5/50"),
            "Valor Minimo EGR:  a las 1800 RPM");

        // A table without rows.
        row("MaxPico no rows", {}, "Pico Max MAP:  Bar a las  RPM");
        row("TimeCarga no rows", {}, "Turbo cargado a  RPM con  Bar");
        row("Variacion no rows", {}, Variation + "0");
        row("MaxN75 no rows", {}, "Valor Maximo N75:  a las  RPM");
        row("MinEGR no rows", {}, "Valor Minimo EGR:  a las  RPM");
    }
    void statistics()
    {
        QFETCH(QByteArrayList, lines);
        QFETCH(QString, expected);
        const DataTable table = tableOf(lines);
        const QString alone[] = {Stats::MaxPico(table), Stats::TimeCarga(table),
                                 Stats::VariacionPresion(table), Stats::MaxN75(table),
                                 Stats::MinEGR(table)};
        const Stats::Figures all = Stats::Compute(table);
        const QString run[] = {all.maxPico, all.timeCarga, all.variacionPresion, all.maxN75,
                               all.minEGR};
        const QStringList starts = {"Pico", "Turbo", "Tenemos", "Valor Maximo", "Valor Minimo"};
        int which = 0;
        while (which < 4 && !expected.startsWith(starts[which]))
            ++which;
        QCOMPARE(alone[which], expected);
        QCOMPARE(run[which], expected);
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
        add(".5", "", ",5");
        QTest::newRow("long zero fraction") << "0." + QByteArray(5000, '0') + "1"
                                            << ""
                                            << "0," + QString(5000, '0') + "1";
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
