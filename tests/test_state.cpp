// The program state: loads (hostile ones too), engine types, "Borrar Linea", the atmospheric box
// and the torque and power curve (its three boxes, its figures and its refusal).
#include "ProgramSupport.h"

#include <algorithm>

namespace {

using TestSupport::Diesel;
using TestSupport::Loaded;
using TestSupport::pullLine;

const QList<QByteArray> Pull = {
    pullLine("900", "30", "1000", "1000", "40"), pullLine("1500", "20", "1500", "1300", "60"),
    pullLine("2000", "0", "2000", "1900", "80"), pullLine("2500", "0", "2400", "2450", "75")};

QByteArray pullLog(const QList<QByteArray> &groups)
{
    return TestSupport::standardLog(groups, Pull);
}

// A petrol log with "Grafica Potencia" ticked over exactly `boxes`.
struct Power : TestSupport::Loaded {
    Power(const QList<QByteArray> &dataLines, const QList<int> &boxes)
        : Loaded(TestSupport::standardLog({"'002", "'115", "'120"}, dataLines))
    {
        for (int k = 0; k < AppState::BoxCount; ++k)
            state.setBoxTicked(k, false);
        for (int k : boxes)
            state.setBoxTicked(k, true);
        state.setChCVTicked(true);
    }
    double torque(int row) const { return state.chart.seriesValues(1)[size_t(row - 1)]; }
    double power(int row) const { return state.chart.seriesValues(2)[size_t(row - 1)]; }
};

} // namespace

class TestState : public QObject {
    Q_OBJECT
private slots:
    // The groups give the engine type and its series (where each group stands is the report
    // tests' business); a choice the log lacks the groups for falls back to "Ninguno", and a
    // choice other than Diesel leaves the figures as they were.
    void engineType_data()
    {
        QTest::addColumn<QList<QByteArray>>("groups");
        QTest::addColumn<int>("choice"); // -1: none made
        QTest::addColumn<int>("engine");
        QTest::addColumn<QList<int>>("series");
        const int diesel = int(EngineType::Diesel), gasolina = int(EngineType::Gasolina);
        const int ninguno = int(EngineType::Ninguno);
        const QList<QByteArray> all = {"'002", "'115", "'003", "'011"};
        // Marks four fields apart: 002 in group A, 115 in B, 003 in B and 011 in C.
        QTest::newRow("both, diesel wins") << all << -1 << diesel << QList<int>{7, 8, 12, 13};
        QTest::newRow("003 alone") << QList<QByteArray>{"'003"} << -1 << ninguno << QList<int>{};
        QTest::newRow("marks need the apostrophe")
            << QList<QByteArray>{"003", "011"} << -1 << ninguno << QList<int>{};
        QTest::newRow("Gasolina without 002/115") << Diesel << gasolina << ninguno << QList<int>{};
        QTest::newRow("Diesel to Gasolina")
            << all << gasolina << gasolina << QList<int>{2, 4, 9, 8};
    }
    void engineType()
    {
        QFETCH(QList<QByteArray>, groups);
        QFETCH(int, choice);
        QFETCH(int, engine);
        QFETCH(QList<int>, series);
        Loaded f;
        QVERIFY(f.load(pullLog(groups)));
        if (choice < 0) {
            QCOMPARE(f.state.label(LbMEGR).isEmpty(), engine != int(EngineType::Diesel));
        } else {
            f.state.setLabel(LbMEGR, QStringLiteral("kept"));
            f.state.selectEngine(EngineType(choice));
            f.state.setTxtAtmo(QString()); // the atmospheric box reruns the figures only for Diesel
            QCOMPARE(f.state.label(LbMEGR), QStringLiteral("kept"));
        }
        QCOMPARE(int(f.state.engine()), engine);
        QCOMPARE(f.seriesBoxes(), series);
        QVERIFY(f.messages.isEmpty());
    }

    // The title is the last piece of the path after "\\" or "/", every "." shown as a space.
    void titleRules()
    {
        // clang-format off
        const std::pair<const char *, const char *> titles[] = {
            {"C:\\logs\\run.01.csv", "run 01 csv"}, {"/home/ana/logs/run.01.csv", "run 01 csv"},
            {"C:\\logs/sub\\a.b.csv", "a b csv"}, {"C:\\logs\\", ""}, {"pull.csv", "pull csv"}};
        // clang-format on
        AppState state;
        for (const auto &[path, title] : titles) {
            state.File(path);
            QCOMPARE(state.LogTitle, QString(title));
        }
    }

    // Fault pinned: a short file used to keep the previous log's groups, columns and boxes.
    void everyLoadStartsClean()
    {
        Loaded f;
        QVERIFY(f.file(QString())); // start-up without a log
        QCOMPARE(f.state.caption(), QStringLiteral("Ondalyx  v1 -  "));
        QVERIFY(!f.state.chcvEnabled());
        const QString diesel = f.write("d.csv", pullLog({"'003", "'011", "'120"}));
        QVERIFY(f.open(diesel));
        const QString peak = f.state.label(LbMaxPico);

        // A failed load shows the reader's one message and leaves nothing of the log before it
        // (the reasons are the reader tests' business).
        const QString missing = f.dir.filePath("missing.csv");
        QVERIFY(!f.open(missing));
        QCOMPARE(f.messages, QStringList{"No se puede abrir el registro \"" + missing +
                                         "\": el archivo no existe."});
        QCOMPARE(f.state.table.rowCount(), 0);
        QCOMPARE(f.state.engine(), EngineType::Ninguno);
        QCOMPARE(f.state.label(LbMaxPico), QString());

        // A text file that is no log loads as one would, and the user is told.
        f.messages.clear();
        QVERIFY(f.open(f.write("short.csv", "only a header\r\nsecond\r\n")));
        QCOMPARE(f.messages,
                 QStringList{"El archivo \"short.csv\" no parece un registro de bloques "
                             "de medida: no tiene grupos ni filas de datos."});
        QVERIFY(f.state.chcvEnabled()); // once a power group was seen, "Grafica Potencia" stays
        QCOMPARE(f.state.engine(), EngineType::Ninguno);
        QCOMPARE(f.state.table.columnCount(), 0);
        QCOMPARE(f.state.table.rowCount(), 0);
        QCOMPARE(f.state.LogHeader, QStringLiteral("only a header"));

        // The log again gives the same state as the first time: the program stays usable.
        QVERIFY(f.open(diesel));
        QCOMPARE(f.seriesBoxes(), (QList<int>{2, 3, 7, 8}));
        QCOMPARE(f.state.label(LbMaxPico), peak);
        QCOMPARE(f.state.table.columnCount(), 15);
    }

    // With Diesel a deleted row and every change of the atmospheric box rerun the figures.
    void deleteRowAndAtmosphericBoxRecompute()
    {
        Loaded f(pullLog(Diesel));
        f.state.setLabel(LbMaxPico, QStringLiteral("stale"));
        f.state.setTxtAtmo(QStringLiteral("not a number"));
        QCOMPARE(f.state.label(LbMaxPico), "Pico Max MAP: 2.450 Bar a las 2500 RPM");
        f.state.DeleteRow(4); // the row of the peak
        QCOMPARE(f.seriesBoxes(), (QList<int>{2, 3, 7, 8}));
        QCOMPARE(f.state.chart.rowCount(), 3);
        QCOMPARE(f.state.label(LbMaxPico), "Pico Max MAP: 1.900 Bar a las 2000 RPM");
        f.state.DeleteRow(99); // out of range
        QCOMPARE(f.state.table.rowCount(), 3);
        for (int i = 0; i < 3; ++i)
            f.state.DeleteRow(1);
        QCOMPARE(f.state.table.columnCount(), 15);
        QCOMPARE(f.state.label(LbMaxPico), QStringLiteral("Pico Max MAP:  Bar a las  RPM"));
    }

    // A change made from code runs the control's handler at once; the same value runs nothing.
    void nestedHandling()
    {
        Loaded f(pullLog(Diesel));
        int boxSignals = 0;
        connect(&f.state, &AppState::boxChanged, [&boxSignals](int) { ++boxSignals; });
        f.state.setBoxTicked(2, true);
        f.state.selectEngine(EngineType::Diesel);
        QCOMPARE(boxSignals, 0);
        QCOMPARE(f.state.chart.seriesCount(), 4);
        f.state.setBoxTicked(1, true);
        QCOMPARE(boxSignals, 1);
        QCOMPARE(f.seriesBoxes(), (QList<int>{2, 3, 7, 8, 1}));
    }

    void powerWorkedExample()
    {
        // Row 2 has letters in the torque cell, row 3 is too short to hold it: both read as 0.
        Power p({",0.1,3000,9,250.5", ",0.1,2800,x,letters", ",0.1,2500"}, {1, 2, 3});
        QVERIFY(p.messages.isEmpty());
        QVERIFY(p.state.chcvTicked());
        QCOMPARE(p.state.chart.seriesCount(), 2);
        QCOMPARE(p.state.chart.seriesLabel(1), QStringLiteral("NM - Par"));
        QCOMPARE(p.state.chart.seriesLabel(2), QStringLiteral("CV - Potencia"));
        QVERIFY(qAbs(p.torque(1) - 184.869) < 1e-9);
        QVERIFY(qAbs(p.power(1) - 105.5992) < 5e-5);
        QCOMPARE(p.state.chart.rowLabel(1), QStringLiteral("3000"));
        QCOMPARE(p.torque(2), 0.0);
        QCOMPARE(p.power(2), 0.0);
        QCOMPARE(p.torque(3), 0.0);
        QCOMPARE(p.state.chart.rowLabel(3), QStringLiteral("2500"));
        // The boxes stay ticked and SeriesCount is left as it was.
        QCOMPARE(p.ticked(), QList<int>({1, 2, 3}));
        QCOMPARE(p.state.SeriesCount, 3);
        p.state.setChCVTicked(false); // unticking clears the curve and every box
        QCOMPARE(p.state.chart.seriesCount(), 0);
        QVERIFY(p.ticked().isEmpty());
    }

    void lowestIsSpeedHighestIsTorqueMiddleIgnored()
    {
        // Cell 2 speed, cell 6 ignored (letters), cell 9 torque with a decimal.
        Power p({",0.1,1,2000,3,4,0.5,junk,7,8,100.5"}, {9, 2, 6});
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(p.torque(1), 100.5 * 0.738);
        QCOMPARE(p.power(1), 100.5 * 0.738 * 2000 / 5252);
    }

    // Two boxes, four, or three with box 0 (which does not count): the message, and all unticked.
    void wrongCountShowsMessageAndResets()
    {
        for (const QList<int> &boxes : {QList<int>{1, 2}, {1, 2, 3, 4}, {0, 1, 2}}) {
            Power p({",0.1,3000,9,250.5,4"}, boxes);
            QCOMPARE(
                p.messages,
                QStringList{"Debe seleccionar los 3 campos correctos para realizar la grafica"});
            QVERIFY(!p.state.chcvTicked());
            QCOMPARE(p.state.chart.seriesCount(), 0);
            QVERIFY(p.ticked().isEmpty());
        }
    }

    // Fault pinned: the curve used to hold at most 100 rows.
    void moreThanAHundredRows()
    {
        QList<QByteArray> lines;
        for (int r = 1; r <= 250; ++r)
            lines << ",0.1," + QByteArray::number(1000 + r * 10) + ",1," + QByteArray::number(r);
        Power p(lines, {1, 2, 3});
        QCOMPARE(p.state.chart.rowCount(), 250);
        QCOMPARE(p.torque(250), 250 * 0.738);
        QCOMPARE(p.state.chart.rowLabel(250), QStringLiteral("3500"));
    }

    // Hostile logs through the whole load: the table, the engine type, the series, the statistics
    // and row deletion take them without a crash, a hang or rows lost without a word. What the
    // reader alone makes of paths that cannot be read is in test_log, hostile numbers in
    // test_stats.
    void hostileLogs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("noLog"); // loads, and the user is told it is no log
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("rows");
        using TestSupport::Diesel;
        using TestSupport::standardLog;
        const QByteArray commas(100000, ',');
        static const char binary[] = ",\0\xff\xfe,\xc3\0,\x80\x01\0";
        const QString header = QStringLiteral("Sunday,6,December,2026,13:51:20,KORVEX");
        const QByteArray huge = "K" + QByteArray(50 * 1000 * 1000, 'x'); // 50 MB, no line end
        // clang-format off
        QTest::newRow("only CRs") << QByteArray(5000, '\r') << true << "" << 0;
        QTest::newRow("100,000 commas as the column line")
            << standardLog(Diesel, Pull).replace(TestSupport::Columns, commas) << false << header
            << 4;
        QTest::newRow("100,000 commas as a data line")
            << standardLog(Diesel, {Pull[0], commas, Pull[1]}) << false << header << 3;
        QTest::newRow("NULs and bytes not UTF-8")
            << standardLog(Diesel, {Pull[0], QByteArray(binary, sizeof binary - 1), Pull[1]})
            << false << header << 3;
        QTest::newRow("50 MB line") << huge << true << QString::fromLatin1(huge) << 0;
        QTest::newRow("a million empty rows")
            << standardLog(Diesel, {}) + QByteArray(",,,,,,,,,,,,,,,\r\n").repeated(1000000)
            << false << header << 1000000;
        // clang-format on
    }
    void hostileLogs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, noLog);
        QFETCH(QString, header);
        QFETCH(int, rows);
        Loaded l;
        QVERIFY(l.load(bytes));
        QCOMPARE(l.messages.size(), int(noLog));
        QCOMPARE(l.messages.join(QString()).contains("no parece un registro"), noLog);
        QCOMPARE(l.state.LogHeader, header);
        QCOMPARE(l.state.table.rowCount(), rows);
        l.state.DeleteRow(1);
        QCOMPARE(l.state.table.rowCount(), std::max(rows - 1, 0));
        QCOMPARE(l.seriesBoxes(), l.ticked());
    }
};

QTEST_APPLESS_MAIN(TestState)
#include "test_state.moc"
