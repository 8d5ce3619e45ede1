// The second log to compare with: read beside the loaded log without touching it, its sessions,
// analysis and power, kept when it cannot be read, dropped by "Quitar comparación" and by every
// load of a log.
#include "ProgramSupport.h"

#include "core/PullPower.h"
#include "program/ComparisonLog.h"

#include <QSignalSpy>

using TestSupport::example;

class TestComparison : public QObject {
    Q_OBJECT
private slots:
    // The second log is read into its own table: the loaded log's table, title and chart stay;
    // its pulls get their power with the comparison's vehicle; a vehicle or options changed
    // later are computed again.
    void readBesideTheLoadedLog()
    {
        TestSupport::Loaded f;
        QVERIFY(f.file(example("diesel.csv")));
        const int rows = f.state.table.rowCount();
        const QString title = f.state.LogTitle;
        const int series = f.state.chart.seriesCount();
        ComparisonLog &other = f.state.comparison;
        QSignalSpy changed(&other, &ComparisonLog::changed);
        QVERIFY(!other.isOpen());

        QString error;
        QVERIFY(other.open(example("pulls.csv"), 1, error));
        QCOMPARE(changed.count(), 1);
        QVERIFY(other.isOpen());
        QCOMPARE(other.title(), QStringLiteral("pulls csv"));
        QCOMPARE(f.state.table.rowCount(), rows);
        QCOMPARE(f.state.LogTitle, title);
        QCOMPARE(f.state.chart.seriesCount(), series);
        QVERIFY(f.messages.isEmpty());

        QCOMPARE(int(other.analysis().pulls.size()), 2);
        QCOMPARE(other.power().size(), size_t(2));
        const double light = other.power()[0].peakCv->value;

        // A heavier car needs more power for the same pulls; the bins over every row.
        Vehicle heavy;
        heavy.mass = 3000;
        other.setVehicle(heavy);
        QVERIFY(other.power()[0].peakCv->value > light);
        Analysis::Options options;
        options.binRows = Analysis::BinRows::All;
        other.setOptions(options);
        QVERIFY(!other.analysis().onlyPulls);
        QCOMPARE(other.power().size(), size_t(2));
        QCOMPARE(changed.count(), 3);
    }

    // A log that cannot be read, or a session it lacks, gives the reader's message and leaves
    // the comparison as it was; another session replaces it.
    void sessionsAndFailures()
    {
        ComparisonLog other;
        QSignalSpy changed(&other, &ComparisonLog::changed);
        QString error;
        QVERIFY(other.open(example("sessions.csv"), 2, error));
        QCOMPARE(other.session(), 2);
        QVERIFY(other.sessions().size() > 1);
        const int rows = other.log().table.rowCount();
        QCOMPARE(rows, int(other.analysis().reasons.size()));
        QCOMPARE(rows, other.sessions()[1].rows);

        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing.csv"));
        QVERIFY(!other.open(missing, 1, error));
        QCOMPARE(error, LogReader::read(missing).error);
        QVERIFY(!other.openSession(9, error));
        QCOMPARE(error, LogReader::read(example("sessions.csv"), 9).error);
        QCOMPARE(changed.count(), 1);
        QVERIFY(other.isOpen() && other.session() == 2);
        QCOMPARE(other.path(), example("sessions.csv"));
        QCOMPARE(other.log().table.rowCount(), rows);

        QVERIFY(other.openSession(1, error));
        QCOMPARE(other.session(), 1);
        QCOMPARE(other.log().table.rowCount(), other.sessions()[0].rows);
        QCOMPARE(changed.count(), 2);
    }

    // "Quitar comparación" drops it once; every load of a log (another file, another session, a
    // file that cannot be read) drops it too.
    void droppedByClearAndByLoads_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Quitar comparación") << 0;
        QTest::newRow("another log opened") << 1;
        QTest::newRow("another session") << 2;
        QTest::newRow("a log that cannot be read") << 3;
    }
    void droppedByClearAndByLoads()
    {
        QFETCH(int, how);
        TestSupport::Loaded f;
        QVERIFY(f.file(example("sessions.csv")));
        QString error;
        QVERIFY(f.state.comparison.open(example("pulls.csv"), 1, error));
        QSignalSpy changed(&f.state.comparison, &ComparisonLog::changed);
        switch (how) {
        case 0:
            f.state.comparison.clear();
            f.state.comparison.clear();
            break;
        case 1:
            QVERIFY(f.open(example("diesel.csv")));
            break;
        case 2:
            QVERIFY(f.state.OpenSession(2));
            break;
        default:
            QVERIFY(!f.open(f.dir.filePath(QStringLiteral("missing.csv"))));
            break;
        }
        QVERIFY(!f.state.comparison.isOpen());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(f.state.comparison.log().table.rowCount(), 0);
        QVERIFY(f.state.comparison.analysis().pulls.empty() && f.state.comparison.power().empty());
    }
};

QTEST_APPLESS_MAIN(TestComparison)
#include "test_comparison.moc"
