// The program state: loads, engine types, "Borrar Linea" and the atmospheric box.
#include "ProgramSupport.h"

namespace {

using TestSupport::Diesel;
using TestSupport::Loaded;
using TestSupport::Petrol;
using TestSupport::pullLine;

const QList<QByteArray> Pull = {
    pullLine("900", "30", "1000", "1000", "40"), pullLine("1500", "20", "1500", "1300", "60"),
    pullLine("2000", "0", "2000", "1900", "80"), pullLine("2500", "0", "2400", "2450", "75")};

QByteArray pullLog(const QList<QByteArray> &groups)
{
    return TestSupport::standardLog(groups, Pull);
}

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
        QTest::newRow("Diesel without 011") << Petrol << diesel << ninguno << QList<int>{};
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
};

QTEST_APPLESS_MAIN(TestState)
#include "test_state.moc"
