// The number rules and the five diesel statistics, on worked examples and a few hostile texts.
#include "TestSupport.h"

#include "core/NumberRules.h"
#include "core/Stats.h"

#include <cmath>
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
    // TextNumber reads the whole text with a decimal comma and "." grouping thousands, or fails;
    // FormatGrouped shows what TextNumber reads grouped by "." and rounded half away from zero,
    // and an unreadable text as it is; WholeNumber cuts off the fraction.
    void numberRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("leading");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("grouped");
        QTest::addColumn<QString>("whole"); // WholeNumber of the leading value
        const auto add = [](const char *name, const QByteArray &text, double leading, bool readable,
                            double number, const QString &grouped, const QString &whole) {
            QTest::newRow(name) << text << leading << readable << number << grouped << whole;
        };
        const double inf = std::numeric_limits<double>::infinity();
        add("decimal comma", "1,95", 1, true, 1.95, "2", "1");
        add("thousands", "1.950", 1.95, true, 1950.0, "1.950", "1");
        add("sign and blanks", " -3,5 ", -3, true, -3.5, "-4", "-3");
        add("minus zero", "-0,5", -0.0, true, -0.5, "-1", "0");
        add("comma first", ",5", 0, true, 0.5, "1", "0");
        add("five digits", "12345", 12345, true, 12345.0, "12.345", "12345");
        add("comes to zero", "0,4", 0, true, 0.4, "", "0");
        add("half up", "999,5", 999, true, 999.5, "1.000", "999");
        add("negative", "-1234,5", -1234, true, -1234.5, "-1.235", "-1234");
        add("blanks inside", " 2 1 ", 21, false, 0.0, " 2 1 ", "21");
        add("exponent", "1e20", 1e20, false, 0.0, "1e20", "100000000000000000000");
        add("empty", "", 0, false, 0.0, "", "0");
        add("underflow", "1e-400", 0, false, 0.0, "1e-400", "0");
        add("400 digits", QByteArray(400, '9'), inf, false, 0.0, QString(400, '9'), "");
    }
    void numberRules()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, leading);
        QFETCH(bool, readable);
        QFETCH(double, number);
        QFETCH(QString, grouped);
        QFETCH(QString, whole);
        const double leadingValue = NumberRules::LeadingValue(view(text));
        QCOMPARE(leadingValue, leading);
        double value = -123;
        QCOMPARE(NumberRules::TextNumber(view(text), value), readable);
        QCOMPARE(value, readable ? number : -123.0); // a failed read leaves the value alone
        QCOMPARE(QString::fromStdString(NumberRules::FormatGrouped(view(text))), grouped);
        QCOMPARE(QString::fromStdString(NumberRules::WholeNumber(leadingValue)), whole);
    }

    // A cell of the table is read once for both rules. Its quick reading of plain decimals must
    // give exactly what LeadingValue and TextNumber give, and refuse what they read otherwise.
    void cellReading_data()
    {
        QTest::addColumn<QByteArray>("raw"); // the log's bytes: "." is the decimal point
        QTest::addColumn<bool>("quick");     // the quick reading takes it
        const auto add = [](const QByteArray &raw, bool quick) {
            QTest::newRow(raw.isEmpty() ? "empty" : raw.constData()) << raw << quick;
        };
        for (const char *plain : {"0", "7", "-0", "950", "-3.5", "0.1", "1.95", "2150.4", "0.000",
                                  "123456789012345", "1234567.89012345", "-0.00000000000001"})
            add(plain, true);
        // Blanks, signs and points out of place, exponents, hex, words, more digits than a
        // double holds exactly.
        for (const QByteArray &other :
             QByteArray("-|.|5.|.5|+5| 5|5 |- 5|1 2|1e5|1E-3|1.2.3|abc|12abc|0x1F|nan|inf|1e400|"
                        "1234567890123456|1.234567890123456|99999999999999999999|\t-7.25\t")
                 .split('|'))
            add(other, false);
        add(QByteArray(), false);
    }
    void cellReading()
    {
        QFETCH(QByteArray, raw);
        QFETCH(bool, quick);
        double quickValue = 0;
        QCOMPARE(NumberRules::PlainDecimal(view(raw), quickValue), quick);
        const double leading = NumberRules::LeadingValue(view(raw));
        double number = 0;
        const bool isNumber =
            NumberRules::TextNumber(view(QByteArray(raw).replace('.', ',')), number);
        if (quick) {
            QVERIFY(isNumber);
            QCOMPARE(quickValue, leading);
            QCOMPARE(quickValue, number);
            QCOMPARE(std::signbit(quickValue), std::signbit(leading));
        }
        const NumberRules::CellNumber cell = NumberRules::ReadCell(view(raw));
        QVERIFY(cell.leading == leading || (std::isnan(cell.leading) && std::isnan(leading)));
        QCOMPARE(cell.isNumber, isNumber);
        if (isNumber)
            QCOMPARE(cell.leading, number);
        // Read where it lies in a row, followed by its comma and the next cell: the same.
        const QByteArray row = raw + ",7";
        NumberRules::CellNumber inRow;
        const char *end =
            NumberRules::ReadCellAt(row.constData(), row.constData() + row.size(), inRow);
        QCOMPARE(end - row.constData(), qsizetype(raw.size()));
        QCOMPARE(inRow.isNumber, cell.isNumber);
        QVERIFY(inRow.leading == cell.leading ||
                (std::isnan(inRow.leading) && std::isnan(leading)));
    }

    // Each figure of the statistics run, which reads the cells of all five in one walk.
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
        // A row without cell 8 fails the read and the figure goes on.
        row("MaxPico short rows", pull('b', "900/0/1500 ,0.2,7 1800/0/1600"),
            "Pico Max MAP: 1.600 Bar a las 1800 RPM");
        // Beyond the largest double: not a number TextNumber reads, so the highest, as it is.
        row("MaxPico 20 digits", pull('b', "900/0/1000 2000/0/99999999999999999999 3000/0/1500"),
            "Pico Max MAP: 100.000.000.000.000.000.000 Bar a las 2000 RPM");

        // TimeCarga: the first row whose cell 8 reaches its cell 7.
        row("TimeCarga example",
            pull('b', "1500/1900/1100 1750/2050/1800 2000/2100/2130 2250/2200/2250"),
            "Turbo cargado a 2000 RPM con 2.130 Bar");
        row("TimeCarga never charged", pull('b', "1500/1900/1100 1750/2200/1800"),
            "Turbo cargado a  RPM con 2.200 Bar");
        // Regression: 45,1 against 45,9 counted as reached when only whole parts were compared.
        row("TimeCarga compares decimals", pull('b', "900/45.9/45.1 1750/46/46.2"),
            "Turbo cargado a 1750 RPM con 46 Bar");

        // VariacionPresion.
        row("Variacion 12-row example",
            pull('r', "1000/1000 1500/1300 2000/1900 2400/2350 2400/2450 2300/2320 2300/2310 "
                      "2300/2290 2300/2300 2200/2210 2000/2010 1800/1790"),
            Variation + "11");
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
        // "nan" reads as 0 and shows as it is.
        row("MinEGR nan", pull('v', "900/35/50 2000/nan/50 3000/20/50"),
            "Valor Minimo EGR: nan a las 2000 RPM");

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
        const Stats::Figures all = Stats::Compute(tableOf(lines));
        const QString run[] = {all.maxPico, all.timeCarga, all.variacionPresion, all.maxN75,
                               all.minEGR};
        const QStringList starts = {"Pico", "Turbo", "Tenemos", "Valor Maximo", "Valor Minimo"};
        int which = 0;
        while (which < 4 && !expected.startsWith(starts[which]))
            ++which;
        QCOMPARE(run[which], expected);
    }
};

QTEST_APPLESS_MAIN(TestStats)
#include "test_stats.moc"
