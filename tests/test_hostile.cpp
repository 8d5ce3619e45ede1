// Hostile logs through the whole load: the table, the engine type, the series, the statistics and
// row deletion take them without a crash, a hang or rows lost without a word. What the reader
// alone makes of hostile bytes and paths is in test_log, hostile numbers in test_stats and
// test_power.
#include "ProgramSupport.h"

#include <QRandomGenerator>

#include <cmath>

namespace {

using TestSupport::Diesel;
using TestSupport::pullLine;

// Loads `log`: true when it took without a message and the caption names the log.
bool loadsCleanly(TestSupport::Loaded &l, const QByteArray &log)
{
    return l.load(log) && l.messages.isEmpty() &&
           l.state.caption() == QString::fromLatin1(AppState::CaptionPrefix) + l.state.LogTitle;
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    // 100,000 commas as the column-name line or as a data line between two rows of a pull.
    void hundredThousandCommas()
    {
        const QByteArray commas(100000, ',');
        for (const bool asColumnLine : {true, false}) {
            QByteArray bytes =
                TestSupport::standardLog(Diesel, {pullLine("900", "30", "1000", "990"), commas,
                                                  pullLine("2000", "5", "1900", "2100")});
            if (asColumnLine)
                bytes.replace(TestSupport::Columns, commas);
            TestSupport::Loaded load;
            QVERIFY(loadsCleanly(load, bytes));
            QCOMPARE(load.state.table.rowCount(), 3);
            if (asColumnLine) { // every empty name gives a column, and no box shows
                QCOMPARE(load.state.table.columnCount(), 100000);
                for (int k = 0; k < AppState::BoxCount; ++k)
                    QVERIFY(!load.state.box(k).visible);
            } else {
                QCOMPARE(load.state.table.cellCount(2), 100000);
            }
            // Diesel ticks its four boxes whatever the names; the statistics read over the empty
            // row, whose cells 7 and 8 both read 0: the turbo counts as charged there.
            QCOMPARE(load.state.engine(), EngineType::Diesel);
            QCOMPARE(load.ticked(), QList<int>({2, 3, 7, 8}));
            QCOMPARE(load.state.chart.seriesCount(), 4);
            QCOMPARE(load.state.label(LbMaxPico), "Pico Max MAP: 2.100 Bar a las 2000 RPM");
            QCOMPARE(load.state.label(LbTimeCarga), "Turbo cargado a  RPM con  Bar");
            load.state.DeleteRow(2);
            QCOMPARE(load.state.table.rowCount(), 2);
        }
    }

    // Random bytes but line ends, a NUL in each line: every line is one row, none cut at a NUL.
    void binaryGarbageKeepsEveryRow()
    {
        QRandomGenerator random(20261206);
        QList<QByteArray> lines;
        for (int i = 0; i < 2000; ++i) {
            QByteArray line(int(random.bounded(1, 200)), '\0');
            for (char &c : line) {
                do
                    c = char(random.bounded(256));
                while (c == '\r' || c == '\n');
            }
            line[0] = ','; // the row's first cell starts after it
            if (line.size() > 1)
                line[1 + int(random.bounded(line.size() - 1))] = '\0';
            lines << line;
        }
        TestSupport::Loaded load;
        QVERIFY(loadsCleanly(load, TestSupport::standardLog(Diesel, lines)));
        QCOMPARE(load.state.table.rowCount(), lines.size());
        for (int r = 1; r <= lines.size(); r += 97)
            QCOMPARE(load.state.table.cellCount(r), int(lines[r - 1].count(',')));
        load.state.CalcStats();
        load.state.DeleteRow(1);
        QCOMPARE(load.state.table.rowCount(), lines.size() - 1);
    }

    // A million rows of empty fields: every row is kept, the statistics give their empty texts.
    void millionEmptyRows()
    {
        const int rows = 1000000;
        TestSupport::Loaded load;
        QVERIFY(loadsCleanly(load, TestSupport::standardLog(Diesel, {}) +
                                       QByteArray(",,,,,,,,,,,,,,,\r\n").repeated(rows)));
        QCOMPARE(load.state.table.rowCount(), rows);
        QCOMPARE(load.state.table.cellCount(rows), 15);
        QCOMPARE(load.state.engine(), EngineType::Diesel);
        QCOMPARE(load.state.label(LbMaxPico), "Pico Max MAP:  Bar a las  RPM");
        QCOMPARE(load.state.label(LbTimeCarga), "Turbo cargado a  RPM con  Bar");
        QCOMPARE(load.state.label(Label1), "Tenemos una variacion de presion de: 0");
        QCOMPARE(load.state.label(LbMaxN75), "Valor Maximo N75:  a las  RPM");
        QCOMPARE(load.state.label(LbMEGR), "Valor Minimo EGR:  a las  RPM");
        // The four default series span every row; none has a value.
        QCOMPARE(load.state.chart.seriesCount(), 4);
        QCOMPARE(load.state.chart.rowCount(), rows);
        QVERIFY(std::isnan(load.state.chart.series(4).values.back()));
    }
};

QTEST_APPLESS_MAIN(TestHostile)
#include "test_hostile.moc"
