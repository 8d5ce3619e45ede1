// The chart procedures: series slots and order, label spacing, colours, the reset, the point
// read-out and the full-screen chart's data.
#include "ProgramSupport.h"

#include "program/FullChart.h"
#include "program/PointReadout.h"

#include <cmath>

namespace {

using TestSupport::Loaded;

// A log of no engine type.
QByteArray plainLog(int rowCount, const QList<QByteArray> &groups = {"'020"})
{
    return TestSupport::standardLog(groups, TestSupport::rampLines(rowCount));
}

} // namespace

class TestChart : public QObject {
    Q_OBJECT
private slots:
    void seriesTakeSlotsInTickOrder()
    {
        Loaded l(plainLog(12));
        l.tick({7, 4, 1});
        QCOMPARE(l.seriesBoxes(), (QList<int>{7, 4, 1}));
        QCOMPARE(l.state.chart.seriesLabel(2), QStringLiteral("C4"));
        // Unticking one plots the others again in box order.
        l.state.setBoxTicked(7, false);
        QCOMPARE(l.seriesBoxes(), (QList<int>{1, 4}));
        QCOMPARE(l.state.chart.axisTitle(), QStringLiteral("RPM"));
        QCOMPARE(l.state.chart.title(), "log csv - Sunday,6,December,2026,13:51:20,KORVEX");
        QCOMPARE(l.state.chart.rowLabel(2), QStringLiteral("1200"));
    }

    // The table's cells take the colour of their series (a chosen colour plots the box last: the
    // window tests' business); a colour chosen for an unticked box plots it, an untick blackens
    // its cells again.
    void coloursOfSeriesAndTable()
    {
        Loaded l(plainLog(12));
        l.tick({2, 7});
        QCOMPARE(l.state.table.cellColor(5, 7), AppState::defaultBoxColor(7));
        l.state.ColorChosen(4, QColor(10, 20, 30));
        QCOMPARE(l.seriesBoxes(), (QList<int>{2, 7, 4}));
        QCOMPARE(l.state.table.cellColor(5, 4), QColor(10, 20, 30));
        l.state.setBoxTicked(2, false);
        QCOMPARE(l.state.table.cellColor(1, 2), QColor(Qt::black));
        l.state.ColorColumn(5, 6, 7, 0); // column 0 can be coloured too
        QCOMPARE(l.state.table.cellColor(2, 0), QColor(5, 6, 7));
    }

    void resetClearsEverythingTwice()
    {
        Loaded l(TestSupport::standardLog({"'003", "'011", "'120"}, TestSupport::rampLines(12)));
        l.state.setBoxTicked(2, false); // leave exactly three ticked: 3, 7, 8
        l.state.setChCVTicked(true);
        QVERIFY(l.state.chcvTicked());
        for (int pass = 0; pass < 2; ++pass) {
            l.state.ResetChart();
            QCOMPARE(l.state.chart.seriesCount(), 0);
            QVERIFY(!l.state.chcvTicked());
            QCOMPARE(l.state.engine(), EngineType::Ninguno);
            QCOMPARE(l.state.chart.title(), QString());
            for (int k = 0; k < AppState::BoxCount; ++k) {
                QVERIFY(!l.state.box(k).ticked);
                QCOMPARE(l.state.table.cellColor(1, k), QColor(Qt::black));
            }
        }
        QVERIFY(l.messages.isEmpty());
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

    // The full-screen chart is rebuilt from the ticked boxes in box order and in the colours they
    // have now, never copied from the main chart: while that shows the power curve, it shows the
    // curve's input fields. Whatever it held before is dropped.
    void fullChartRebuildsTheTickedBoxes()
    {
        Loaded l(plainLog(12));
        l.tick({3, 1});
        l.state.setBoxColor(3, QColor(1, 2, 3));
        ChartModel chart2;
        FullChart::Fill(l.state, chart2);
        QCOMPARE(chart2.seriesCount(), 2);
        QCOMPARE(chart2.seriesLabel(1), QStringLiteral("C1")); // the main chart has C3 first
        QCOMPARE(chart2.seriesColor(1), l.state.box(1).color);
        QCOMPARE(chart2.seriesBox(2), 3);
        QCOMPARE(chart2.seriesColor(2), QColor(1, 2, 3));

        Loaded power(plainLog(5, {"'120"}));
        power.tick({1, 2, 4});
        power.state.setChCVTicked(true); // the main chart shows torque and power
        FullChart::Fill(power.state, chart2);
        QCOMPARE(chart2.seriesCount(), 3);
        QCOMPARE(chart2.seriesLabel(3), QStringLiteral("C4"));
        QCOMPARE(chart2.seriesValues(3)[4], 54.0);

        Loaded nine(plainLog(9));
        nine.tick({4});
        nine.state.SeriesCount = 3; // more series than ticked boxes, as the power curve leaves it
        FullChart::Fill(nine.state, chart2);
        QCOMPARE(chart2.seriesCount(), 3);
        QCOMPARE(chart2.rowCount(), 9);
        // Regression: the earlier fill's series 2 and 3 must not survive into the new snapshot.
        for (int s : {2, 3}) {
            QCOMPARE(chart2.seriesLabel(s), QString());
            for (double v : chart2.seriesValues(s))
                QVERIFY(std::isnan(v));
        }
    }
};

QTEST_APPLESS_MAIN(TestChart)
#include "test_chart.moc"
