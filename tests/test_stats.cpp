// Number rules and the five diesel statistics.

#include "app/AppState.h"
#include "log/DataTable.h"
#include "stats/NumberRules.h"
#include "stats/Stats.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <string>

namespace {

// One data line of a diesel log, numbers written as the log writes them (decimal point). Cell 1
// is the engine speed, 4 the EGR value, 7 the pressure cell 8 is compared against, 8 the MAP and
// 9 the N75 value; the other cells are filler.
QByteArray pull(const char *speed, const char *egr, const char *ref, const char *map,
                const char *n75 = "50")
{
    return QByteArray(",0.1,") + speed + ",1.0,2.0," + egr + ",0.2,900," + ref + "," + map + "," +
           n75 + ",0.3,1,2,3,4";
}

// Rows given only by cells 7 and 8 (speed 1000 + 100 * row).
QByteArrayList refMap(const QList<QPair<const char *, const char *>> &cells)
{
    QByteArrayList lines;
    int row = 1;
    for (const auto &c : cells) {
        const QByteArray speed = QByteArray::number(1000 + 100 * row++);
        lines << pull(speed.constData(), "10", c.first, c.second);
    }
    return lines;
}

DataTable tableOf(const QByteArrayList &lines)
{
    DataTable table;
    for (const QByteArray &line : lines)
        table.appendLine(std::string_view(line.constData(), size_t(line.size())));
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
    void leadingValue_data();
    void leadingValue();
    void textNumber_data();
    void textNumber();
    void formatGrouped_data();
    void formatGrouped();
    void textForms();

    void statistics_data();
    void statistics();
    void emptyTable();
    void hugeMarksStayDefined();
    void calcStatsOnlyForDiesel();
};

void TestStats::leadingValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("decimal comma ends") << QByteArray("1,95") << 1.0;
    QTest::newRow("blanks anywhere") << QByteArray(" 2 1 ") << 21.0;
    QTest::newRow("negative comma") << QByteArray("-3,5") << -3.0;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000.0;
    QTest::newRow("bare exponent") << QByteArray("1e") << 1.0;
    QTest::newRow("point first") << QByteArray(".5") << 0.5;
    QTest::newRow("letters") << QByteArray("abc") << 0.0;
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("minus") << QByteArray("-") << 0.0;
    QTest::newRow("hex") << QByteArray("0x1A") << 0.0;
    QTest::newRow("20 digits") << QByteArray("99999999999999999999") << 1e20;
    QTest::newRow("overflow") << QByteArray("1e309") << inf;
    QTest::newRow("negative overflow") << QByteArray("-1e309") << -inf;
    QTest::newRow("underflow") << QByteArray("1e-400") << 0.0;
    QTest::newRow("400 digits") << QByteArray(400, '9') << inf;
}

void TestStats::leadingValue()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    QCOMPARE(NumberRules::LeadingValue(std::string_view(text.constData(), size_t(text.size()))),
             expected);
}

void TestStats::textNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<double>("expected");
    QTest::newRow("decimal comma") << QByteArray("1,95") << true << 1.95;
    QTest::newRow("thousands") << QByteArray("1.950") << true << 1950.0;
    QTest::newRow("blanks and sign") << QByteArray(" -2,5 ") << true << -2.5;
    QTest::newRow("comma first") << QByteArray(",5") << true << 0.5;
    QTest::newRow("empty") << QByteArray("") << false << 0.0;
    QTest::newRow("minus") << QByteArray("-") << false << 0.0;
    QTest::newRow("exponent") << QByteArray("1e5") << false << 0.0;
    QTest::newRow("two commas") << QByteArray("1,2,3") << false << 0.0;
    QTest::newRow("400 digits not finite") << QByteArray(400, '9') << false << 0.0;
}

void TestStats::textNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, readable);
    QFETCH(double, expected);
    double value = -123;
    QCOMPARE(
        NumberRules::TextNumber(std::string_view(text.constData(), size_t(text.size())), value),
        readable);
    QCOMPARE(value, readable ? expected : -123.0); // a failed read leaves the value alone
}

void TestStats::formatGrouped_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rounds up") << 1949.6 << "1.950";
    QTest::newRow("no group") << 950.0 << "950";
    QTest::newRow("one group") << 12345.0 << "12.345";
    QTest::newRow("half away from zero") << 999.5 << "1.000";
    QTest::newRow("negative half") << -1234.5 << "-1.235";
    QTest::newRow("below half") << 0.4 << "";
    QTest::newRow("beyond int64") << 1e20 << "100.000.000.000.000.000.000";
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << "";
}

void TestStats::formatGrouped()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(NumberRules::FormatGrouped(value)), expected);
}

void TestStats::textForms()
{
    using NumberRules::FormatGrouped;
    QCOMPARE(FormatGrouped(std::string_view("2150,4")), std::string("2.150"));
    QCOMPARE(FormatGrouped(std::string_view("abc")), std::string("abc")); // unreadable: as is
    // The largest double keeps every digit, grouped.
    const std::string big = FormatGrouped(std::numeric_limits<double>::max());
    QCOMPARE(big.size(), size_t(309 + 102));
    QCOMPARE(big.substr(0, 8), std::string("179.769."));
    using NumberRules::WholeNumber;
    QCOMPARE(WholeNumber(-0.0), std::string("0"));
    QCOMPARE(WholeNumber(1e20), std::string("100000000000000000000"));
}

// clang-format off
void TestStats::statistics_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("expected");

    // MaxPico: the highest cell 8 with the speed of its row.
    QTest::newRow("MaxPico example")
        << QByteArrayList{pull("900", "10", "0", "1020"), pull("2500", "10", "0", "2150"),
                          pull("2750", "10", "0", "2150"), pull("3000", "10", "0", "1980")}
        << int(MaxPico) << "Pico Max MAP: 2.150 Bar a las 2500 RPM";
    // Regression: decimals were cut off before comparing, so 2150,9 lost to 2150,4.
    QTest::newRow("MaxPico compares decimals")
        << QByteArrayList{pull("900", "10", "0", "1020"), pull("2500", "10", "0", "2150.4"),
                          pull("2750", "10", "0", "2150.9")}
        << int(MaxPico) << "Pico Max MAP: 2.151 Bar a las 2750 RPM";
    // Regression: a peak in row 1 left the speed empty.
    QTest::newRow("MaxPico peak in row 1")
        << QByteArrayList{pull("900", "10", "0", "2000"), pull("2500", "10", "0", "1500")}
        << int(MaxPico) << "Pico Max MAP: 2.000 Bar a las 900 RPM";
    QTest::newRow("MaxPico 999,5") << QByteArrayList{pull("1200", "10", "0", "999.5")}
                                   << int(MaxPico) << "Pico Max MAP: 1.000 Bar a las 1200 RPM";
    QTest::newRow("MaxPico 950") << QByteArrayList{pull("1200", "10", "0", "950")} << int(MaxPico)
                                 << "Pico Max MAP: 950 Bar a las 1200 RPM";
    QTest::newRow("MaxPico short rows")
        << QByteArrayList{pull("900", "10", "0", "1500"), ",0.2,7", pull("1800", "10", "0", "1600")}
        << int(MaxPico) << "Pico Max MAP: 1.600 Bar a las 1800 RPM";

    // TimeCarga: the first row whose cell 8 reaches its cell 7.
    QTest::newRow("TimeCarga example")
        << QByteArrayList{pull("1500", "10", "1900", "1100"), pull("1750", "10", "2050", "1800"),
                          pull("2000", "10", "2100", "2130"), pull("2250", "10", "2200", "2250")}
        << int(TimeCarga) << "Turbo cargado a 2000 RPM con 2.130 Bar";
    QTest::newRow("TimeCarga never charged")
        << QByteArrayList{pull("1500", "10", "1900", "1100"), pull("1750", "10", "2200", "1800")}
        << int(TimeCarga) << "Turbo cargado a  RPM con 2.200 Bar";
    QTest::newRow("TimeCarga empty cells in row 1")
        << QByteArrayList{pull("900", "10", "", ""), pull("1750", "10", "900", "1800")}
        << int(TimeCarga) << "Turbo cargado a 900 RPM con  Bar";
    // Regression: 45,1 against 45,9 counted as reached when only whole parts were compared.
    QTest::newRow("TimeCarga compares decimals")
        << QByteArrayList{pull("900", "10", "45.9", "45.1"), pull("1750", "10", "46", "46.2")}
        << int(TimeCarga) << "Turbo cargado a 1750 RPM con 46 Bar";

    // VariacionPresion.
    QTest::newRow("Variacion 12-row example")
        << refMap({{"1000", "1000"}, {"1500", "1300"}, {"2000", "1900"}, {"2400", "2350"},
                   {"2400", "2450"}, {"2300", "2320"}, {"2300", "2310"}, {"2300", "2290"},
                   {"2300", "2300"}, {"2200", "2210"}, {"2000", "2010"}, {"1800", "1790"}})
        << int(Variacion) << Variation + "11";
    QTest::newRow("Variacion peak in last row")
        << refMap({{"1000", "900"}, {"2000", "1900"}, {"2300", "2250"}}) << int(Variacion)
        << Variation + "2300";
    QTest::newRow("Variacion 8-row example")
        << refMap({{"1000", "900"}, {"1500", "1400"}, {"2000", "1900"}, {"2400", "2300"},
                   {"2400", "2350"}, {"2300", "2300"}, {"2300", "2250"}, {"2200", "2200"}})
        << int(Variacion) << Variation + "6";
    QTest::newRow("Variacion peak in row 1")
        << refMap({{"2400", "2300"}, {"2000", "2100"}, {"1000", "1100"}}) << int(Variacion)
        << Variation + "0";
    // Mark drops to row 3 and the stretch is rows 2..7 - 3 = 4; an earlier equal peak wins.
    // (7 + 9 + 8 = 24 vs 8 + 10 + 9 = 27: (27 - 24) / 2 + 3 = 4,5 -> 5 after rounding figures.)
    QTest::newRow("Variacion earlier equal peak")
        << refMap({{"5", "5"}, {"9", "8"}, {"7", "10"}, {"8", "9"}, {"9", "20"}, {"9", "9"},
                   {"9", "9"}})
        << int(Variacion) << Variation + "5";
    // Regression: 2400,7 lost to an earlier 2400,2 when only whole parts were compared; the
    // totals add full values and keep the whole part of each running total.
    QTest::newRow("Variacion compares decimals")
        << refMap({{"1000", "1000"}, {"2400.2", "2000"}, {"2400.7", "2400.6"}, {"2000", "2000.6"},
                   {"2000", "2000.6"}, {"2000", "2003"}, {"2000", "2000"}, {"2000", "2000"},
                   {"2000", "2000"}, {"2000", "2000"}})
        << int(Variacion) << Variation + "5";

    // MaxN75 and MinEGR show the cell's own text.
    const QByteArrayList example{pull("900", "35", "0", "0", "12"),
                                 pull("1800", "12", "0", "0", "64.5"),
                                 pull("2400", "0", "0", "0", "80.2"),
                                 pull("2600", "0", "0", "0", "80.7")};
    // Regression: 80,7 lost to 80,2 when only whole parts were compared.
    QTest::newRow("MaxN75 example") << example << int(MaxN75)
                                    << "Valor Maximo N75: 80,7 a las 2600 RPM";
    QTest::newRow("MinEGR example") << example << int(MinEGR)
                                    << "Valor Minimo EGR: 0 a las 2400 RPM";
    // Regression: a maximum in row 1 left the speed empty.
    QTest::newRow("MaxN75 in row 1")
        << QByteArrayList{pull("900", "5", "0", "0", "95.5"), pull("1800", "5", "0", "0", "60")}
        << int(MaxN75) << "Valor Maximo N75: 95,5 a las 900 RPM";
    // Regression: 0,1 did not beat 0,4 when only whole parts were compared.
    QTest::newRow("MinEGR compares decimals")
        << QByteArrayList{pull("900", "0.4", "0", "0"), pull("1800", "0.1", "0", "0")}
        << int(MinEGR) << "Valor Minimo EGR: 0,1 a las 1800 RPM";
    QTest::newRow("MinEGR empty cell is 0")
        << QByteArrayList{pull("900", "20", "0", "0"), pull("1800", "", "0", "0"),
                          pull("2400", "5", "0", "0")}
        << int(MinEGR) << "Valor Minimo EGR:  a las 1800 RPM";
}
// clang-format on

void TestStats::statistics()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(int, which);
    QFETCH(QString, expected);
    QCOMPARE(statistic[which](tableOf(lines)), expected);
}

void TestStats::emptyTable()
{
    const DataTable empty;
    QCOMPARE(Stats::MaxPico(empty), QString("Pico Max MAP:  Bar a las  RPM"));
    QCOMPARE(Stats::TimeCarga(empty), QString("Turbo cargado a  RPM con  Bar"));
    QCOMPARE(Stats::VariacionPresion(empty), Variation + "0");
    QCOMPARE(Stats::MaxN75(empty), QString("Valor Maximo N75:  a las  RPM"));
    QCOMPARE(Stats::MinEGR(empty), QString("Valor Minimo EGR:  a las  RPM"));
}

void TestStats::hugeMarksStayDefined()
{
    // A peak of 1e20 in the last row: the stretch ends far below row 1, both totals are 0 and
    // the variation is the peak itself.
    QCOMPARE(Stats::VariacionPresion(
                 tableOf(refMap({{"1", "1"}, {"2", "2"}, {"99999999999999999999", "3"}}))),
             Variation + "100000000000000000000");
    // A negative peak of -1e19 in row 2 that nothing undercuts: the stretch bound lies far past
    // the last row and is clamped to it: (0 - -1e19) / 2 + -1e19.
    QCOMPARE(Stats::VariacionPresion(
                 tableOf(refMap({{"-99999999999999999999", "0"}, {"-9999999999999999999", "0"}}))),
             Variation + "-5000000000000000000");
    // Unreadable huge cells compare as infinities and are shown as they are.
    const QByteArray digits(400, '9');
    QCOMPARE(Stats::MaxPico(
                 tableOf({pull("900", "1", "0", "5"), pull("1000", "1", "0", digits.constData())})),
             "Pico Max MAP: " + QString::fromLatin1(digits) + " Bar a las 1000 RPM");
}

void TestStats::calcStatsOnlyForDiesel()
{
    AppState state;
    state.table.appendLine(pull("1500", "10", "1900", "2100").constData());
    Stats::CalcStats(state); // "Ninguno": nothing is written
    for (int k = 0; k < StatLabelCount; ++k)
        QVERIFY(state.label(StatLabel(k)).isEmpty());

    state.HasGroup003 = true;
    state.HasGroup011 = true;
    state.selectEngine(EngineType::Diesel);
    QCOMPARE(state.label(LbMaxPico), Stats::MaxPico(state.table));
    QCOMPARE(state.label(LbTimeCarga), Stats::TimeCarga(state.table));
    QCOMPARE(state.label(Label1), Stats::VariacionPresion(state.table));
    QCOMPARE(state.label(LbMaxN75), Stats::MaxN75(state.table));
    QCOMPARE(state.label(LbMEGR), Stats::MinEGR(state.table));
}

QTEST_APPLESS_MAIN(TestStats)
#include "test_stats.moc"
