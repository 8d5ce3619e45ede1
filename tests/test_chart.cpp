// The chart model and the series procedures: slots and series order, label spacing, colours,
// reset, table colours and the point read-out.
#include "TestSupport.h"

#include "program/AppState.h"
#include "program/PointReadout.h"

#include <QtTest>

#include <cmath>

namespace {

// `count` data lines of the standard layout; cell k of row r holds r * 10 + k.
QList<QByteArray> rows(int count)
{
    QList<QByteArray> lines;
    for (int r = 1; r <= count; ++r) {
        QByteArray line = ",0." + QByteArray::number(r);
        for (int k = 1; k <= 14; ++k)
            line += "," + QByteArray::number(r * 10 + k);
        lines << line;
    }
    return lines;
}

QByteArray plainLog(int rowCount)
{
    return TestSupport::standardLog({"'020"}, rows(rowCount));
}

QList<int> seriesBoxes(const AppState &state)
{
    QList<int> boxes;
    for (int s = 1; s <= state.chart.seriesCount(); ++s)
        boxes << state.chart.series(s).box;
    return boxes;
}

struct Loaded {
    QTemporaryDir dir;
    AppState state;
    QStringList messages;
    explicit Loaded(const QByteArray &log)
    {
        state.showMessage = [this](const QString &text, MessageKind) { messages << text; };
        state.FormLoad(TestSupport::writeFile(dir, "log.csv", log));
    }
    void tick(std::initializer_list<int> boxes)
    {
        for (int k : boxes)
            state.setBoxTicked(k, true);
    }
};

} // namespace

class TestChart : public QObject {
    Q_OBJECT
private slots:
    // The model keeps what remains when shrunk; values and labels taken from the table come from
    // the table as it was when they were set.
    void chartModel()
    {
        DataTable table;
        for (const char *line : {",a,1.5", ",b,x", ",c,3"})
            table.appendLine(line);
        ChartModel chart;
        chart.setSeriesCount(3);
        chart.setRowCount(3);
        chart.setValue(1, 2, 4.0);
        chart.setSeriesCount(2);
        QCOMPARE(chart.series(2).values[0], 4.0);
        QVERIFY(std::isnan(chart.series(2).values[1]));
        QCOMPARE(chart.seriesLabel(9), QString());

        chart.setValue(2, 1, 9); // row 2 is not a number in the table: its point stays
        chart.setSeriesValuesFromTable(1, table, 1);
        chart.setRowLabelsFromTable(table, 0);
        table.removeRow(1);
        QCOMPARE(chart.series(1).values, (std::vector<double>{1.5, 9, 3}));
        QCOMPARE(chart.rowLabel(1), QStringLiteral("a"));
        chart.detachRowLabels();
        QCOMPARE(chart.rowLabel(3), QStringLiteral("c"));
        // Rows cut off before the values were read stay cut off.
        chart.setSeriesValuesFromTable(1, table, 1);
        chart.setRowCount(1);
        chart.setRowCount(3);
        QCOMPARE(chart.series(1).values[0], 1.5); // "x": the point stays
        QVERIFY(std::isnan(chart.series(1).values[1]));
    }

    void seriesTakeSlotsInTickOrder()
    {
        Loaded l(plainLog(12));
        l.tick({7, 3, 1});
        QCOMPARE(seriesBoxes(l.state), (QList<int>{7, 3, 1}));
        QCOMPARE(l.state.chart.seriesLabel(2), QStringLiteral("C3"));
        QCOMPARE(l.state.chart.series(2).values[1], 23.0);
        // Unticking one plots the others again in box order.
        l.state.setBoxTicked(7, false);
        QCOMPARE(seriesBoxes(l.state), (QList<int>{1, 3}));
        QCOMPARE(l.state.SeriesCount, 2);
        QCOMPARE(l.state.CurrentSlot, 2);
        QCOMPARE(l.state.chart.axisTitle(), QStringLiteral("RPM"));
        QCOMPARE(l.state.chart.rowLabel(2), QStringLiteral("21"));
    }

    void labelSpacing_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("spacing");
        QTest::newRow("9 keeps the previous") << 9 << 4;
        QTest::newRow("10") << 10 << 1;
        QTest::newRow("27 (1.5 to even)") << 27 << 2;
        QTest::newRow("45 (2.5 to even)") << 45 << 2;
        QTest::newRow("63 (3.5 to even)") << 63 << 4;
    }
    void labelSpacing()
    {
        QFETCH(int, rows);
        QFETCH(int, spacing);
        Loaded l(plainLog(63));
        l.tick({1});
        QCOMPARE(l.state.chart.labelSpacing(), 4);
        // A second log in the same chart: the spacing only changes when the rule gives one.
        const QString next = TestSupport::writeFile(l.dir, "n.csv", plainLog(rows));
        QVERIFY(l.state.OpenChosen(next, "n.csv"));
        l.tick({2});
        QCOMPARE(l.state.chart.labelSpacing(), spacing);
    }

    // The table's cells take the colour of their series; choosing a colour re-plots the box last.
    void coloursOfSeriesAndTable()
    {
        Loaded l(plainLog(12));
        l.tick({2, 7, 3});
        QCOMPARE(l.state.table.cellColor(5, 7), AppState::defaultBoxColor(7));
        const QColor chosen(10, 20, 30);
        l.state.ColorChosen(2, chosen);
        QCOMPARE(seriesBoxes(l.state), (QList<int>{3, 7, 2}));
        QCOMPARE(l.state.chart.series(3).color, chosen);
        QCOMPARE(l.state.table.cellColor(5, 2), chosen);
        l.state.ColorChosen(4, chosen); // unticked: plotted
        QCOMPARE(seriesBoxes(l.state), (QList<int>{3, 7, 2, 4}));
        l.state.setBoxTicked(3, false);
        QCOMPARE(l.state.table.cellColor(1, 3), QColor(Qt::black));
        l.state.ColorColumn(5, 6, 7, 0); // column 0 can be coloured too
        QCOMPARE(l.state.table.cellColor(2, 0), QColor(5, 6, 7));
    }

    void resetClearsEverythingTwice()
    {
        Loaded l(TestSupport::standardLog({"'003", "'011", "'120"}, rows(12)));
        l.state.setBoxTicked(2, false); // leave exactly three ticked: 3, 7, 8
        l.state.setChCVTicked(true);
        QVERIFY(l.state.chcvTicked());
        for (int pass = 0; pass < 2; ++pass) {
            l.state.ResetChart();
            QCOMPARE(l.state.chart.seriesCount(), 0);
            QCOMPARE(l.state.SeriesCount, 0);
            QVERIFY(!l.state.chcvTicked());
            QCOMPARE(l.state.engine(), EngineType::Ninguno);
            QCOMPARE(l.state.chart.title(), QString());
            for (int k = 0; k < AppState::BoxCount; ++k) {
                QVERIFY(!l.state.box(k).ticked);
                QCOMPARE(l.state.table.cellColor(1, k), QColor(Qt::black));
                QVERIFY(k == 0 || l.state.SlotFree[size_t(k)]);
            }
        }
        QVERIFY(l.messages.isEmpty());
    }

    void emptyTableSeriesHasTitleButNoLabel()
    {
        Loaded l(plainLog(0));
        l.tick({1});
        QCOMPARE(l.state.chart.seriesCount(), 1);
        QCOMPARE(l.state.chart.seriesLabel(1), QString());
        QCOMPARE(l.state.chart.title(), QStringLiteral("log csv - ") + l.state.LogHeader);
    }

    void columnOutOfRangeShowsTheListMessage()
    {
        // Diesel groups on a log with only three named columns: boxes 7 and 8 have no column.
        Loaded l("h\r\n\r\n\r\n,,'003,'011\r\n,,A,B,C\r\n\r\n\r\n,0.1,900,1,2,3\r\n");
        QCOMPARE(l.state.engine(), EngineType::Diesel);
        QVERIFY(
            l.messages.contains(QStringLiteral("El número de columna está fuera del intervalo")));
        QCOMPARE(l.state.chart.seriesCount(), 4);
    }

    void readoutFindsTheColumnByCaption()
    {
        // Fields 2 and 7 carry the same name: the lower box's column gives the value.
        Loaded l("h\r\n\r\n\r\n,,'020\r\n,,Speed,B,C,D,TIME,Speed,G,H,I\r\n\r\n\r\n"
                 ",0.1,900,1.5,2,3,0.2,910,7,8,9\r\n"
                 ",0.3,1200,2.5,2,3,0.4,1210,7,8,9\r\n");
        l.tick({6, 2});
        const ChartModel &chart = l.state.chart;
        QCOMPARE(PointReadout::Text(l.state, chart, 1, 2), "Speed: 1200    RPM: 1200");
        QCOMPARE(PointReadout::Text(l.state, chart, 2, 1), "B: 1,5    RPM: 900");
        // Beyond the table: the parts that cannot be read are empty.
        QCOMPARE(PointReadout::Text(l.state, chart, 2, 9), "B:     RPM: ");
    }
};

QTEST_APPLESS_MAIN(TestChart)
#include "test_chart.moc"
