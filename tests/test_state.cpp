// The program state: start-up, loads, engine types, "Borrar Linea" and the atmospheric box.
#include "TestSupport.h"

#include "app/AppState.h"
#include "chart/Graficas.h"

#include <QtTest>

namespace {

const QList<QByteArray> Diesel = {"'003", "'011", "'020"};
const QList<QByteArray> Petrol = {"'002", "'115", "'020"};

// A data line of the standard layout from the values of cells 1 to 14 (cells 5 and 10 are time).
QByteArray line(int row, int speed, int egr, int target, int map, int n75)
{
    return QByteArray(",") + QByteArray::number(row) + ".10," + QByteArray::number(speed) +
           ",1,2," + QByteArray::number(egr) + ",0.5,900," + QByteArray::number(target) + "," +
           QByteArray::number(map) + "," + QByteArray::number(n75) + ",0.9,1,2,3,4";
}

QList<QByteArray> pull()
{
    return {line(1, 900, 30, 1000, 1000, 40), line(2, 1500, 20, 1500, 1300, 60),
            line(3, 2000, 0, 2000, 1900, 80), line(4, 2500, 0, 2400, 2450, 75)};
}

QList<int> seriesBoxes(const AppState &state)
{
    QList<int> boxes;
    for (int s = 1; s <= state.chart.seriesCount(); ++s)
        boxes << state.chart.series(s).box;
    return boxes;
}

QList<int> tickedBoxes(const AppState &state)
{
    QList<int> boxes;
    for (int k = 0; k < AppState::BoxCount; ++k)
        if (state.box(k).ticked)
            boxes << k;
    return boxes;
}

struct Fixture {
    QTemporaryDir dir;
    AppState state;
    QStringList messages;
    Fixture()
    {
        state.showMessage = [this](const QString &text, MessageKind) { messages << text; };
    }
    QString write(const QString &name, const QByteArray &bytes)
    {
        return TestSupport::writeFile(dir, name, bytes);
    }
};

} // namespace

class TestState : public QObject {
    Q_OBJECT
private slots:
    void startWithoutArgument()
    {
        AppState state;
        QVERIFY(state.FormLoad(QString()));
        QCOMPARE(state.caption(), QStringLiteral("Ondalyx  v1 -  "));
        QCOMPARE(state.engine(), EngineType::Ninguno);
        QVERIFY(!state.chcvEnabled());
        QCOMPARE(state.txtAtmo(), QStringLiteral("950"));
        QCOMPARE(state.table.rowCount(), 0);
        QCOMPARE(state.SeriesCount, 0);
        for (int k = 0; k < AppState::BoxCount; ++k) {
            QVERIFY(!state.box(k).visible);
            QCOMPARE(state.box(k).caption, QStringLiteral("Check1"));
        }
    }

    void engineTypeFromGroups_data()
    {
        QTest::addColumn<QList<QByteArray>>("groups");
        QTest::addColumn<int>("engine");
        QTest::addColumn<QList<int>>("series");
        QTest::newRow("diesel") << Diesel << int(EngineType::Diesel) << QList<int>{2, 3, 7, 8};
        QTest::newRow("petrol") << Petrol << int(EngineType::Gasolina) << QList<int>{2, 4, 9, 8};
        QTest::newRow("both, diesel wins")
            << QList<QByteArray>{"'002", "'115", "'003", "'011"} << int(EngineType::Diesel)
            << QList<int>{2, 3, 7, 8};
        QTest::newRow("003 alone") << QList<QByteArray>{"'003", "'020"}
                                   << int(EngineType::Ninguno) << QList<int>{};
        QTest::newRow("marks need the apostrophe")
            << QList<QByteArray>{"003", "011"} << int(EngineType::Ninguno) << QList<int>{};
    }
    void engineTypeFromGroups()
    {
        QFETCH(QList<QByteArray>, groups);
        QFETCH(int, engine);
        QFETCH(QList<int>, series);
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("log.csv", TestSupport::standardLog(groups, pull()))));
        QCOMPARE(int(f.state.engine()), engine);
        QCOMPARE(seriesBoxes(f.state), series);
        const bool diesel = engine == int(EngineType::Diesel);
        QCOMPARE(f.state.label(LbMaxPico).isEmpty(), !diesel);
        QCOMPARE(f.state.label(LbMEGR).isEmpty(), !diesel);
        QVERIFY(f.messages.isEmpty());
    }

    void loadFillsBoxesAndCaption()
    {
        Fixture f;
        const QString path = f.write("run.01.csv", TestSupport::standardLog(Diesel, pull()));
        QVERIFY(f.state.FormLoad(path));
        QCOMPARE(f.state.LogTitle, QStringLiteral("run 01 csv"));
        QCOMPARE(f.state.caption(), QStringLiteral("Ondalyx  v1 -  run 01 csv"));
        QCOMPARE(f.state.LogHeader, QStringLiteral("Sunday,6,December,2026,13:51:20,KORVEX"));
        QCOMPARE(f.state.table.rowCount(), 4);
        const QList<int> visible = {1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14};
        for (int k = 0; k < AppState::BoxCount; ++k) {
            QCOMPARE(f.state.box(k).visible, visible.contains(k));
            if (visible.contains(k))
                QCOMPARE(f.state.box(k).caption, QStringLiteral("C%1").arg(k));
        }
        QCOMPARE(f.state.chart.title(), QStringLiteral("run 01 csv - ") + f.state.LogHeader);
    }

    void titleRules_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("windows path") << "C:\\logs\\run.01.csv" << "run 01 csv";
        QTest::newRow("unix path") << "/home/ana/logs/run.01.csv" << "run 01 csv";
        QTest::newRow("mixed") << "C:\\logs/sub\\a.b.csv" << "a b csv";
        QTest::newRow("ends in a separator") << "C:\\logs\\" << "";
        QTest::newRow("no folder") << "pull.csv" << "pull csv";
    }
    void titleRules()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        AppState state;
        state.File(path);
        QCOMPARE(state.LogTitle, title);
    }

    void openFromMenuKeepsTheDotsOfTheName()
    {
        Fixture f;
        const QString path = f.write("run.01.csv", TestSupport::standardLog(Diesel, pull()));
        f.state.FormLoad(QString());
        QVERIFY(f.state.OpenChosen(path, QStringLiteral("run.01.csv")));
        QCOMPARE(f.state.LogTitle, QStringLiteral("run.01.csv"));
        QCOMPARE(f.state.caption(), QStringLiteral("Ondalyx  v1 -  run.01.csv"));
    }

    void cancelledOpenResetsChartButKeepsTable()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("d.csv", TestSupport::standardLog(Diesel, pull()))));
        QVERIFY(!f.state.label(Label1).isEmpty());
        QVERIFY(f.state.OpenChosen(QString(), QString()));
        QCOMPARE(f.state.table.rowCount(), 4);
        QCOMPARE(f.state.chart.seriesCount(), 0);
        QCOMPARE(f.state.engine(), EngineType::Ninguno);
        QVERIFY(f.state.label(Label1).isEmpty());
        QVERIFY(tickedBoxes(f.state).isEmpty());
        // Typing in the atmospheric box changes nothing until Diesel is chosen again.
        f.state.setTxtAtmo(QStringLiteral("1000"));
        QVERIFY(f.state.label(LbMaxPico).isEmpty());
        f.state.selectEngine(EngineType::Diesel);
        QCOMPARE(tickedBoxes(f.state), (QList<int>{2, 3, 7, 8}));
        QVERIFY(!f.state.label(LbMaxPico).isEmpty());
    }

    // Fault pinned: a short file used to keep the previous log's groups, columns and boxes.
    void everyLoadStartsClean()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("d.csv", TestSupport::standardLog(Diesel, pull()))));
        const QString shortLog = f.write("short.csv", "only a header\r\nsecond line\r\n");
        QVERIFY(f.state.OpenChosen(shortLog, QStringLiteral("short.csv")));
        QVERIFY(!f.state.HasGroup003 && !f.state.HasGroup011);
        QCOMPARE(f.state.engine(), EngineType::Ninguno);
        QCOMPARE(f.state.table.columnCount(), 0);
        QCOMPARE(f.state.table.rowCount(), 0);
        QCOMPARE(f.state.LogHeader, QStringLiteral("only a header"));
        for (int k = 0; k < AppState::BoxCount; ++k) {
            QVERIFY(!f.state.box(k).visible);
            QCOMPARE(f.state.box(k).caption, QStringLiteral("Check1"));
        }
    }

    void powerGroupEnablesChCVForGood()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(
            f.write("p.csv", TestSupport::standardLog({"'002", "'115", "'120"}, pull()))));
        QVERIFY(f.state.chcvEnabled());
        QVERIFY(f.state.OpenChosen(f.write("d.csv", TestSupport::standardLog(Diesel, pull())),
                                   QStringLiteral("d.csv")));
        QVERIFY(f.state.chcvEnabled());
    }

    void twoLoadsGiveTheSameStateAsOne()
    {
        Fixture f;
        const QString path = f.write("d.csv", TestSupport::standardLog(Diesel, pull()));
        QVERIFY(f.state.OpenChosen(path, QStringLiteral("d.csv")));
        const QList<int> series = seriesBoxes(f.state);
        const QString peak = f.state.label(LbMaxPico);
        QVERIFY(f.state.OpenChosen(path, QStringLiteral("d.csv")));
        QCOMPARE(seriesBoxes(f.state), series);
        QCOMPARE(f.state.label(LbMaxPico), peak);
        QCOMPARE(f.state.table.rowCount(), 4);
        QCOMPARE(f.state.table.columnCount(), 15);
    }

    void failedLoadShowsMessageAndStaysUsable()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("d.csv", TestSupport::standardLog(Diesel, pull()))));
        const QString missing = f.dir.filePath("missing.csv");
        QVERIFY(!f.state.OpenChosen(missing, QStringLiteral("missing.csv")));
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(f.messages[0].contains(missing));
        QCOMPARE(f.state.table.rowCount(), 0);
        QCOMPARE(f.state.engine(), EngineType::Ninguno);
        // Still usable: the next good file loads normally.
        QVERIFY(f.state.OpenChosen(f.dir.filePath("d.csv"), QStringLiteral("d.csv")));
        QCOMPARE(f.state.engine(), EngineType::Diesel);
    }

    void deleteRowReplotsAndRecomputes()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("d.csv", TestSupport::standardLog(Diesel, pull()))));
        const QString before = f.state.label(LbMaxPico);
        QVERIFY(before.contains(QStringLiteral("2.450")));
        f.state.DeleteRow(4); // the row of the peak
        QCOMPARE(f.state.table.rowCount(), 3);
        QCOMPARE(seriesBoxes(f.state), (QList<int>{2, 3, 7, 8}));
        QCOMPARE(f.state.chart.rowCount(), 3);
        QVERIFY(f.state.label(LbMaxPico).contains(QStringLiteral("1.900")));

        f.state.DeleteRow(0);  // no selection
        f.state.DeleteRow(99); // out of range
        QCOMPARE(f.state.table.rowCount(), 3);

        for (int i = 0; i < 3; ++i)
            f.state.DeleteRow(1);
        QCOMPARE(f.state.table.rowCount(), 0);
        QCOMPARE(f.state.table.columnCount(), 15);
        QCOMPARE(f.state.label(LbMaxPico), QStringLiteral("Pico Max MAP:  Bar a las  RPM"));
    }

    void atmosphericBoxRerunsStatisticsOnlyForDiesel()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("d.csv", TestSupport::standardLog(Diesel, pull()))));
        const QString peak = f.state.label(LbMaxPico);
        f.state.setLabel(LbMaxPico, QStringLiteral("stale"));
        f.state.setTxtAtmo(QStringLiteral("not a number"));
        QCOMPARE(f.state.label(LbMaxPico), peak);

        f.state.selectEngine(EngineType::Gasolina); // lacks 002/115: back to Ninguno
        QCOMPARE(f.state.engine(), EngineType::Ninguno);
        f.state.setLabel(LbMaxPico, QStringLiteral("stale"));
        f.state.setTxtAtmo(QString());
        QCOMPARE(f.state.label(LbMaxPico), QStringLiteral("stale"));
    }

    void dieselRefusedWithoutGroup011KeepsLabels()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("p.csv", TestSupport::standardLog(Petrol, pull()))));
        f.state.setLabel(LbMEGR, QStringLiteral("kept"));
        f.state.selectEngine(EngineType::Diesel);
        QCOMPARE(f.state.engine(), EngineType::Ninguno);
        QVERIFY(tickedBoxes(f.state).isEmpty());
        QCOMPARE(f.state.label(LbMEGR), QStringLiteral("kept"));
    }

    void switchingDieselToGasolinaKeepsDieselFigures()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write(
            "all.csv", TestSupport::standardLog({"'003", "'011", "'002", "'115"}, pull()))));
        const QString spool = f.state.label(LbTimeCarga);
        QVERIFY(!spool.isEmpty());
        f.state.selectEngine(EngineType::Gasolina);
        QCOMPARE(seriesBoxes(f.state), (QList<int>{2, 4, 9, 8}));
        QCOMPARE(f.state.label(LbTimeCarga), spool);
    }

    void settingTheSameValueRunsNothing()
    {
        Fixture f;
        QVERIFY(f.state.FormLoad(f.write("d.csv", TestSupport::standardLog(Diesel, pull()))));
        int boxSignals = 0;
        connect(&f.state, &AppState::boxChanged, [&boxSignals](int) { ++boxSignals; });
        f.state.setBoxTicked(2, true);
        f.state.selectEngine(EngineType::Diesel);
        QCOMPARE(boxSignals, 0);
        QCOMPARE(f.state.chart.seriesCount(), 4);
    }
};

QTEST_APPLESS_MAIN(TestState)
#include "test_state.moc"
