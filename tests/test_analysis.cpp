// The analysis of a log: units and names, the engine-speed and pedal columns, the pulls and the
// reason of every row left out, specified against actual, and the whole of it on small tables.
#include "TestSupport.h"

#include "core/Analysis.h"
#include "core/AnalysisTexts.h"

#include <cmath>
#include <limits>
#include <numeric>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// The units and names of a classic block's lines 5, 6 and 7.
UnitsAndNames::Labels labelsOf(const QString &line5, const QString &line6, const QString &line7)
{
    std::vector<QString> headers;
    for (const DataTable::Column &column : LogLayout::columnsFor(line5))
        headers.push_back(column.header);
    return UnitsAndNames::read(
        LogLayout::columnLines(line5, line6, line7, int(headers.size()), false), headers, false);
}

std::vector<QString> list(const QString &text)
{
    const QStringList items = text.split(QLatin1Char(';'));
    return std::vector<QString>(items.begin(), items.end());
}

QString joined(const std::vector<QString> &items)
{
    return QStringList(items.begin(), items.end()).join(QLatin1Char('|'));
}

// Rows for Pulls::find from "time/speed[/pedal]" separated by spaces; "x" is no number.
struct Rows {
    std::vector<double> time, speed, pedal;
};
Rows rowsOf(const QString &text)
{
    Rows rows;
    for (const QString &row : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList c = row.split(QLatin1Char('/'));
        const auto value = [&](int i) {
            bool ok = false;
            const double v = c.value(i).toDouble(&ok);
            return ok ? v : NaN;
        };
        rows.time.push_back(value(0));
        rows.speed.push_back(value(1));
        if (c.size() > 2)
            rows.pedal.push_back(value(2));
    }
    return rows;
}

Pulls::Result find(const Rows &rows)
{
    const int size = int(rows.speed.size());
    return Pulls::find({rows.speed.data(), size}, {rows.time.data(), size},
                       {rows.pedal.empty() ? nullptr : rows.pedal.data(), size}, size);
}

// A column of numbers as the table keeps them, NaN being no number.
DataTable::NumberColumn column(const std::vector<double> &values)
{
    DataTable::NumberColumn column;
    for (double value : values)
        column.append({value, !std::isnan(value)});
    return column;
}

// `count` rows from time 0 every `step` s, the speed from `from` rising by `rise` a row.
QString ramp(int count, double step, double from, double rise, const QString &pedal = {})
{
    QStringList rows;
    for (int k = 0; k < count; ++k)
        rows << QString::number(k * step) + '/' + QString::number(from + k * rise) +
                    (pedal.isEmpty() ? QString() : '/' + pedal);
    return rows.join(' ');
}

// One letter per row: P in a pull, else its reason: n sin régimen, b régimen bajo, p pausa,
// s régimen sin subir, d pedal, c corto, r poco régimen.
QString codes(const Pulls::Result &result, int rows)
{
    QString out;
    for (int row = 1; row <= rows; ++row) {
        const std::optional<Pulls::LeftOut> left = result.leftOut(row);
        out += left ? QLatin1Char("nbpsdcr"[int(left->reason)]) : QLatin1Char('P');
    }
    return out;
}

QString binsText(const std::vector<SpecifiedActual::Bin> &bins)
{
    QStringList out;
    for (const SpecifiedActual::Bin &b : bins) {
        QStringList bin;
        for (double value : {b.rpm, double(b.rows), b.specified, b.actual, b.difference, b.worst,
                             double(b.shade())})
            bin << QString::number(value);
        out << bin.join(':');
    }
    return out.join(' ');
}

DataTable tableOf(const QString &line5, const QStringList &lines)
{
    DataTable table;
    table.setColumns(LogLayout::columnsFor(line5));
    for (const QString &line : lines) {
        const QByteArray bytes = line.toUtf8();
        table.appendLine(std::string_view(bytes.constData(), size_t(bytes.size())));
    }
    return table;
}

// A field log: group A engine speed, MAF specified and actual, accelerator pedal; group B engine
// speed, boost specified and actual (names over lines 5 and 6), N75; group C a temperature.
const QString FieldLine5 = ",,Engine Speed,MAF (specified),MAF (actual),Accelerator Pedal,TIME,"
                           "Engine Speed,Boost Pressure,Boost Pressure,N75,TIME,Oil temp.";
const QString FieldLine6 = ",,(G28),,,,,,(specified),(actual),,,";
const QString FieldLine7 = "Marker,STAMP, /min, g/s, g/s, %,STAMP, /min, mbar, mbar, %,STAMP, °C";

// A data line of the field log at time t: group B's speed 300 rpm above group A's.
QString fieldLine(double t, double speed, double maf, double boost, double pedal = 100)
{
    QStringList cells{""};
    for (double value : {t, speed, maf, maf - 5, pedal, t + 0.1, speed + 300, boost, boost - 100,
                         50.0, t + 0.2, 90.0})
        cells << QString::number(value);
    return cells.join(',');
}

} // namespace

class TestAnalysis : public QObject {
    Q_OBJECT
private slots:
    // Units come from line 7 unless it holds nothing but STAMP words or nothing at the value
    // positions; names from line 5 with line 6 appended when that is not the units line.
    void unitsAndNames_data()
    {
        QTest::addColumn<QString>("line5");
        QTest::addColumn<QString>("line6");
        QTest::addColumn<QString>("line7");
        QTest::addColumn<QString>("expected"); // units / names / whether line 6 held the units
        const auto row = [](const char *name, const char *line5, const char *line6,
                            const char *line7, const char *expected) {
            QTest::newRow(name) << line5 << line6 << line7 << expected;
        };
        row("units on line 6, STAMP on line 7",
            ",,Engine Speed,Boost Press. (Spec.),B,C,TIME,Engine Speed", ",,/min,mbar,,,,/min",
            "Marker,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP",
            "|/min|mbar||||/min / Tiempo|Engine Speed|Boost Press. (Spec.)|B|C|Tiempo|Engine "
            "Speed / 6");
        row("field log: units on line 7, names over lines 5 and 6",
            ",,Boost Pressure,Boost Pressure,Engine Speed,Lambdasonden-,TIME,Injected Qty",
            ",,(specified),(actual),(G28),spannung,,861-945",
            "Marker,STAMP, mbar, mbar, /min, V,STAMP, mg/str",
            "|mbar|mbar|/min|V||mg/str / Tiempo|Boost Pressure (specified)|Boost Pressure "
            "(actual)|Engine Speed (G28)|Lambdasonden-spannung|Tiempo|Injected Qty / 7");
        row("no line 7", ",,Engine Speed,Load", ",,/min,%", "",
            "|/min|% / Tiempo|Engine Speed|Load / 6");
        row("line-6 texts that continue no name", ",,A,B,C,D,TIME,E,F,G",
            ",,861-945,STAMP,TIME,123,,-,0.5...4.5 V,Zeit",
            "Marker,STAMP,u1,u2,u3,u4,STAMP,u5,u6,u7",
            "|u1|u2|u3|u4||u5|u6|u7 / Tiempo|A|B|C|D|Tiempo|E|F|G / 7");
        row("empty line-5 text: the line-6 text alone", ",,,Boost", ",,Druck,(Soll)",
            "M,STAMP,mbar,mbar", "|mbar|mbar / Tiempo|Druck|Boost (Soll) / 7");
        row("a STAMP where a unit would be is none", ",,A,B,C", ",,,,",
            "Marker,STAMP, /min,STAMP, mbar", "|/min||mbar / Tiempo|A|B|C / 7");
    }
    void unitsAndNames()
    {
        QFETCH(QString, line5);
        QFETCH(QString, line6);
        QFETCH(QString, line7);
        QFETCH(QString, expected);
        const UnitsAndNames::Labels labels = labelsOf(line5, line6, line7);
        QCOMPARE(joined(labels.units) + " / " + joined(labels.names) + " / " +
                     (labels.unitsOnLine6 ? "6" : "7"),
                 expected);
    }

    void engineSpeedAndPedal_data()
    {
        QTest::addColumn<QString>("units"); // one per table column, ";" between
        QTest::addColumn<QString>("names");
        QTest::addColumn<int>("rpm");
        QTest::addColumn<int>("pedal");
        const auto row = [](const char *name, const char *units, const char *names, int rpm,
                            int pedal) { QTest::newRow(name) << units << names << rpm << pedal; };
        row("a unit wins over an earlier name", ";%;rpm", ";Engine Speed;Motor", 2, -1);
        row("U/min in any case, 1/min trimmed", ";x;u/MIN; 1/min ", ";a;b;c", 2, -1);
        row("the name when no unit is one", ";V;km/h;", ";Spannung;ENGINE SPEED;Motordrehzahl", 2,
            -1);
        row("never a time column", "/min;x;x;x;x;/min;/min", "rpm;a;b;c;d;rpm;e", 6, -1);
        row("none", ";mbar;%", ";Boost;Load", -1, -1);
        row("pedal: the first % named so", ";/min;%;%", ";n;Throttle angle;Accelerator pedal", 1,
            2);
        row("pedal: exactly %", ";% TPS;%", ";Throttle;Drosselklappe", -1, 2);
        row("pedal: a % without the name is none", ";%;%", ";Charge Press. Control;Load", -1, -1);
    }
    void engineSpeedAndPedal()
    {
        QFETCH(QString, units);
        QFETCH(QString, names);
        QFETCH(int, rpm);
        QFETCH(int, pedal);
        QCOMPARE(ColumnRoles::engineSpeedColumn(list(units), list(names)), rpm);
        QCOMPARE(ColumnRoles::pedalColumn(list(units), list(names)), pedal);
    }

    // Each condition of a pull at its boundary, and the reason of every row left out.
    void pulls_data()
    {
        QTest::addColumn<QString>("rows"); // time/speed[/pedal] ...
        QTest::addColumn<QString>("codes");
        QTest::addColumn<double>("rate");
        QTest::addColumn<bool>("few"); // a pull under two samples a second

        const auto row = [](const char *name, const QString &rows, const QString &codes,
                            double rate = 1, bool few = false) {
            QTest::newRow(name) << rows << codes << rate << few;
        };
        row("75 rpm/s climbs", ramp(15, 1, 1000, 75), QString(15, 'P'), 1, true);
        row("74 rpm/s does not", ramp(15, 1, 1000, 74), QString(15, 's'));
        row("a rise of 1,000 rpm", ramp(11, 1, 1000, 100), QString(11, 'P'), 1, true);
        row("a rise of 999 rpm", ramp(10, 1, 1000, 100) + " 10/1999", QString(11, 'r'));
        row("4 rows", ramp(4, 1, 1000, 400), "PPPP", 1, true);
        row("3 rows", ramp(3, 1, 1000, 600), "ccc");
        row("from 1,000 rpm on", "0/999.99 1/1000 2/1400 3/1800 4/2200", "bPPPP", 1, true);
        row("a step of 3 s continues the run", "0/1500 1/1500 2/1500 5/1500 6/1500", "sssss",
            4.0 / 6);
        row("a step over 3 s is a pause", "0/1500 1/1500 2/1500 5.25/1500 6.25/1500", "sspss");
        row("the window ends at the first row 1 s on", "0/1000 0.5/1000 1/1075 2/1075", "cccs",
            1.5);
        row("pedal 80", ramp(15, 1, 1000, 100, "80"), QString(15, 'P'), 1, true);
        row("pedal under 80", ramp(15, 1, 1000, 100, "79.99"), QString(15, 'd'));
        row("pedal without a number", ramp(15, 1, 1000, 100, "x"), QString(15, 'd'));
        row("pedal failing at the window's end",
            "0/1000/100 1/1400/100 2/1800/100 3/2200/100 4/2600/50", "PPPPd", 1, true);
        // Two chains whose covers meet are one pull, ones that do not are two covers.
        row("covers that meet",
            "0/1000 0.5/1100 1/1100 1.5/1150 2/1200 2.5/1300 3/1400 3.5/1500 4/1600 4.5/1700 "
            "5/1800 5.5/1900 6/2000 6.5/2100",
            QString(14, 'P'), 2);
        row("covers apart",
            "0/1000 0.5/1100 1/1100 1.5/1100 2/1150 2.5/1300 3/1400 3.5/1500 4/1600 4.5/1700 "
            "5/1800 5.5/1900 6/2000 6.5/2100 7/2200 7.5/2300",
            "ccc" + QString(13, 'P'), 2);
        // At 4 rows a second with the speed in steps of 50 rpm, a row in three reads the speed
        // of the row before: single steps would cut this steady 150 rpm/s pull to pieces.
        QStringList steady;
        for (int k = 0; k < 60; ++k)
            steady << QStringLiteral("%1/%2").arg(k * 0.25).arg(1000 + 50 * std::floor(0.75 * k));
        row("steady pull at 4 rows a second", steady.join(' '), QString(60, 'P'), 4);
        // Hostile input (a constant speed is above): speeds that are no number, negative or
        // huge, times going back or repeating, a single row.
        row("no numbers", "0/x x/2000 1/x", "nnn", NaN);
        row("negative and huge speeds", "0/-3000 1/1e300 2/1e300 3/1e300", "bsss");
        row("times going back, then repeating", "5/2000 4/2000 4/2000", "ppp", NaN);
        row("one row", "0/2000", "s", NaN);
        row("no rows", "", "", NaN);
    }
    void pulls()
    {
        QFETCH(QString, rows);
        QFETCH(QString, codes);
        QFETCH(double, rate);
        QFETCH(bool, few);
        const Rows input = rowsOf(rows);
        const Pulls::Result result = find(input);
        QCOMPARE(::codes(result, int(input.speed.size())), codes);
        QCOMPARE(result.rate, rate); // NaN compares equal to NaN here
        QCOMPARE(result.fewSamples, few);
        QCOMPARE(std::accumulate(result.leftOutCount.begin(), result.leftOutCount.end(), 0),
                 int(codes.size() - codes.count('P')));
    }

    // The reasons as the tab writes them, with their figures.
    void texts()
    {
        const auto reason = [](const QString &rows, int row) {
            const Pulls::LeftOut left = *find(rowsOf(rows)).leftOut(row);
            return AnalysisTexts::reason(left.reason, left.amount);
        };
        QCOMPARE(reason("0/1500 1/1500 5/1500", 2), QStringLiteral("pausa de 4,0 s"));
        QCOMPARE(reason("0/500 1/1500 5/1500", 3), QStringLiteral("pausa de 4,0 s"));
        QCOMPARE(reason(ramp(10, 1, 1000, 100) + " 10/1999", 5),
                 QStringLiteral("tirón de solo 999 rpm"));
        QCOMPARE(reason(ramp(3, 1, 1000, 600), 3),
                 QStringLiteral("tirón demasiado corto (3 filas)"));
    }

    // Pairs in the name forms of real logs (names over lines 5 and 6 are the field log's).
    void pairs_data()
    {
        QTest::addColumn<QString>("line5");
        QTest::addColumn<QString>("line7");
        QTest::addColumn<QString>("pairs"); // specified-actual unit, " " between
        const auto row = [](const char *name, const QString &line5, const QString &units,
                            const QString &pairs) {
            QTest::newRow(name) << line5 << "Marker,STAMP," + units << pairs;
        };
        row("Specified MAP", ",,Specified MAP,Actual MAP", "mbar,mbar", "1-2 mbar");
        row("Ladedruck", ",,Ladedruck: Sollwert,Ladedruck: Istwert", "mbar,mbar", "1-2 mbar");
        row("Polish", ",,Ciśnienie doładowania zadane,Ciśnienie doładowania rzeczywiste", "hPa,hPa",
            "1-2 hPa");
        row("the actual column first", ",,Boost (act.),Boost (spec.)", "mbar,mbar", "2-1 mbar");
        row("across groups", ",,Boost spec,x,y,z,TIME,w,Boost act", "mbar,a,b,c,STAMP,d,mbar",
            "1-7 mbar");
        row("hPa pairs with mbar, the unit the specified one's", ",,Boost act,Boost spec",
            "mbar,hPa", "2-1 hPa");
        row("other units do not pair", ",,Boost spec,Boost act", "mbar,bar", "");
        row("other words do not pair", ",,Boost Pressure spec,Pressure Boost act", "mbar,mbar", "");
        row("the first unpaired match", ",,Boost act,Boost spec,Boost spec,Boost act,Boost act",
            "mbar,mbar,mbar,mbar,mbar", "2-1 mbar 3-4 mbar");
        row("a deviation is neither side", ",,Ladedruck Soll-Ist,Ladedruck Ist", "mbar,mbar", "");
    }
    void pairs()
    {
        QFETCH(QString, line5);
        QFETCH(QString, line7);
        QFETCH(QString, pairs);
        const UnitsAndNames::Labels labels = labelsOf(line5, QString(), line7);
        QStringList found;
        for (const SpecifiedActual::Pair &pair :
             SpecifiedActual::findPairs(labels.units, labels.names))
            found << QStringLiteral("%1-%2 %3").arg(pair.specified).arg(pair.actual).arg(pair.unit);
        QCOMPARE(found.join(' '), pairs);
    }

    // The pairs of a second log that stand for those of a first, as two logs are compared: the
    // same names without their specified and actual words, the same unit ("hPa" = "mbar"), each
    // pair of the second log taken once. Logs are "name:unit;..." from column 1; a pair picked
    // by the user is "s-a" after a "|".
    void matchPairs_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("matches"); // per pair of the first log
        const QString boost = "Boost Pressure (specified):mbar;Boost Pressure (actual):mbar";
        const QString maf = "MAF (specified):g/s;MAF (actual):g/s";
        QTest::newRow("other words for specified and actual, hPa for mbar")
            << boost << "Boost Pressure: Sollwert:hPa;Boost Pressure: Istwert:hPa"
            << "0";
        QTest::newRow("another unit")
            << boost << "Boost Pressure (specified):bar;Boost Pressure (actual):bar"
            << "-1";
        QTest::newRow("in another order") << boost + ";" + maf << maf + ";" + boost << "1 0";
        QTest::newRow("each pair of the second log once")
            << boost + ";" + boost << "x:%;" + boost << "0 -1";
        QTest::newRow("the user's pairs, by both names")
            << "Engine Load:%;N75:%|1-2"
            << "N75:%;Engine Load:%;N76:%;Engine Load:%|4-3 2-1"
            << "1";
    }
    void matchPairs()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, matches);
        struct Log {
            std::vector<QString> units{""}, names{""};
            std::vector<SpecifiedActual::Pair> pairs;
        };
        const auto logOf = [](const QString &text) {
            Log log;
            for (const QString &column : text.section('|', 0, 0).split(';')) {
                log.names.push_back(column.section(':', 0, -2));
                log.units.push_back(column.section(':', -1));
            }
            log.pairs = SpecifiedActual::findPairs(log.units, log.names);
            for (const QString &user : text.section('|', 1).split(' ', Qt::SkipEmptyParts)) {
                SpecifiedActual::Pair pair;
                pair.specified = user.section('-', 0, 0).toInt();
                pair.actual = user.section('-', 1).toInt();
                pair.unit = log.units[size_t(pair.specified)];
                log.pairs.push_back(pair);
            }
            return log;
        };
        const Log a = logOf(first), b = logOf(second);
        QStringList found;
        for (int match : SpecifiedActual::matchPairs(a.pairs, a.names, b.pairs, b.names))
            found << QString::number(match);
        QCOMPARE(found.join(' '), matches);
    }

    // Bins of 250 rpm by floor (negative speeds too), their means, the worst row, the shade.
    void bins_data()
    {
        QTest::addColumn<QString>("rows"); // speed/specified/actual ...
        QTest::addColumn<QString>("bins"); // rpm:rows:specified:actual:difference:worst:shade
        QTest::newRow("edges")
            << "999.99/1/1 1000/1/1 1249.99/1/1 1250/1/1 0/1/1 -0.01/1/1 -250/1/1 -250.01/1/1"
            << "-500:1:1:1:0:0:0 -250:2:1:1:0:0:0 0:1:1:1:0:0:0 750:1:1:1:0:0:0 "
               "1000:2:1:1:0:0:0 1250:1:1:1:0:0:0";
        QTest::newRow("means and the worst row")
            << "1000/1000/900 1100/1000/1100 1500/100/130 1600/100/110"
            << "1000:2:1000:1000:0:-100:0 1500:2:100:120:20:10:1";
        QTest::newRow("shade at 5 %")
            << "1000/1000/950 1250/1000/949 1500/1000/1050 1750/1000/1051 2000/-1000/-1051"
            << "1000:1:1000:950:-50:-50:0 1250:1:1000:949:-51:-51:-1 "
               "1500:1:1000:1050:50:50:0 1750:1:1000:1051:51:51:1 "
               "2000:1:-1000:-1051:-51:-51:-1";
        QTest::newRow("rows without the three numbers") << "x/1/1 1000/x/1 1000/1/x 1000/2/3"
                                                        << "1000:1:2:3:1:1:1";
    }
    void bins()
    {
        QFETCH(QString, rows);
        QFETCH(QString, bins);
        const Rows input = rowsOf(rows); // time: speed, speed: specified, pedal: actual
        QCOMPARE(
            binsText(SpecifiedActual::bins(column(input.time), column(input.speed),
                                           column(input.pedal), {{0, int(input.time.size()) - 1}})),
            bins);
    }

    // The whole analysis of a field log: a pull between idle and a cruise, its pairs (boost named
    // over lines 5 and 6), each binned by its own group's engine speed over the pull's rows or
    // every row. Named and labelled so that no column is an engine speed, every row is left out
    // for want of one and the pairs come without bins.
    void fieldLog()
    {
        QStringList lines;
        for (int r = 0; r < 3; ++r) // idle
            lines << fieldLine(r, 900, 3, 1000);
        for (int r = 0; r < 6; ++r) // a pull, 1,000 to 3,000 rpm
            lines << fieldLine(3 + r, 1000 + 400 * r, 20 + r, 1200 + 200 * r);
        for (int r = 0; r < 3; ++r) // a cruise
            lines << fieldLine(9 + r, 2000, 10, 1100, 20);
        lines << ",12,abc";
        const DataTable table = tableOf(FieldLine5, lines);
        Analysis::Options options;
        const auto compute = [&](const QString &line5, const QString &line7) {
            return Analysis::compute(
                table, DataTable(),
                LogLayout::columnLines(line5, FieldLine6, line7, table.columnCount(), false), false,
                options);
        };
        const Analysis::Result result = compute(FieldLine5, FieldLine7);

        QVERIFY(result.pulls.size() == 1 && result.pulls[0].firstRow == 4 &&
                result.pulls[0].lastRow == 9);
        // Idle, the cruise with the pedal at 20 % (the pedal column found), the last row without a
        // number.
        QCOMPARE(QList<int>(result.leftOutCount.begin(), result.leftOutCount.end()),
                 QList<int>({1, 3, 0, 0, 3, 0, 0}));
        QCOMPARE(int(result.pairs.size()), 2);
        const SpecifiedActual::Pair &maf = result.pairs[0];
        const SpecifiedActual::Pair &boost = result.pairs[1];
        QCOMPARE(QList<int>({maf.specified, maf.actual, maf.speedColumn, boost.specified,
                             boost.actual, boost.speedColumn}),
                 QList<int>({2, 3, 1, 7, 8, 6}));
        // Group B's speed is 300 rpm above group A's: its first pull row falls in bin 1,250.
        QCOMPARE(binsText(boost.bins).section(' ', 0, 0),
                 QStringLiteral("1250:1:1200:1100:-100:-100:-1"));

        options.binRows = Analysis::BinRows::All;
        const Analysis::Result all = compute(FieldLine5, FieldLine7);
        QVERIFY(result.onlyPulls && !all.onlyPulls);
        QCOMPARE(binsText(all.pairs[0].bins).section(' ', 0, 0),
                 QStringLiteral("750:3:3:-2:-5:-5:-1"));

        const Analysis::Result none = compute(QString(FieldLine5).replace("Engine Speed", "Speed"),
                                              QString(FieldLine7).replace("/min", "V"));
        QCOMPARE(none.rpmColumn, ColumnRoles::None);
        QCOMPARE(none.leftOutCount[int(Pulls::Reason::NoSpeed)], 13);
        QVERIFY(none.pairs.size() == 2 && none.pairs[0].bins.empty() && std::isnan(none.rate));
    }

    // The newer layout: units at each slot's value position of line 7, the headers as names, and
    // each slot timed by its own stamp (here only the slot times make a pull).
    void newerLayoutSlotTimes()
    {
        const QString line5 = ",,Engine Speed,A,B,C,TIME,Boost"; // as NewerLayout makes it
        QStringList lines, stamps;
        for (int r = 0; r < 6; ++r) {
            lines << QStringLiteral(",0,%1,1,2,3,0,%2").arg(1000 + 400 * r).arg(r);
            stamps << QStringLiteral(",%1,0,0,0,%2").arg(r).arg(r + 0.5);
        }
        const DataTable table = tableOf(line5, lines);
        const DataTable slotTimes = tableOf(",,a,b,c,d,e", stamps);
        const std::vector<LogLayout::ColumnLines> texts = LogLayout::columnLines(
            "Marker,TIME,x,TIME,x,TIME,x,TIME,x,TIME,x", ",STAMP,Engine Speed,STAMP,A (spec)",
            ",,/min,,x,,x,,x,,mbar", table.columnCount(), true);
        const Analysis::Result result = Analysis::compute(table, slotTimes, texts, true);
        QCOMPARE(int(result.pulls.size()), 1);
        // Slot 5's unit at field 10 of line 7; names are the headers, nothing appended.
        QCOMPARE(result.units[6], QStringLiteral("mbar"));
        QCOMPARE(result.names[2], QStringLiteral("A"));
        QCOMPARE(Analysis::times(table, slotTimes, true, 6),
                 std::vector<double>({0.5, 1.5, 2.5, 3.5, 4.5, 5.5}));
    }
};

QTEST_APPLESS_MAIN(TestAnalysis)
#include "test_analysis.moc"
