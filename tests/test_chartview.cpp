// The chart widget: what a drawing takes of its series, read from the model at every drawing.
#include "GuiSupport.h"

#include "core/ChartModel.h"
#include "gui/ChartView.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

// The points graph g drew last: (row, value), a gap as NaN.
QList<QPair<double, double>> drawnPoints(QCustomPlot *plot, int g)
{
    QList<QPair<double, double>> points;
    const QSharedPointer<QCPGraphDataContainer> data = plot->graph(g)->data();
    for (auto it = data->constBegin(); it != data->constEnd(); ++it)
        points.append({it->key, it->value});
    return points;
}

// A shown view of one series of `values`.
struct Shown {
    ChartModel model;
    ChartView view{&model};
    QCustomPlot *plot = nullptr;

    explicit Shown(std::vector<double> values)
    {
        model.setSeriesCount(1);
        model.setRowCount(int(values.size()));
        model.setSeriesValues(1, std::move(values));
        view.resize(800, 500);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            return;
        view.updateNow();
        plot = view.plot();
        plot->replot();
    }
    void showRows(double from, double to)
    {
        plot->xAxis->setRange(from, to);
        plot->replot();
    }
};

} // namespace

class TestChartView : public QObject {
    Q_OBJECT
private slots:
    // Twenty thousand rows across some 700 pixels: each pixel column draws its least and greatest
    // value where they stand and in their order, a stretch of gaps breaks the line, and the
    // vertical range holds every value.
    void denseSeriesDrawsTheExtremesOfEachColumn()
    {
        std::vector<double> values(20000);
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = double(i % 10); // a saw tooth finer than a pixel
        values[776] = 100;              // row 777: the greatest value comes first...
        values[777] = -100;             // ...and row 778 the least, in the same column
        for (size_t i = 9999; i < 11000; ++i)
            values[i] = std::nan(""); // rows 10000 to 10999: gaps
        Shown s(values);
        QVERIFY(s.plot);
        QCOMPARE(s.plot->yAxis->range(), QCPRange(-110, 110));

        const QList<QPair<double, double>> points = drawnPoints(s.plot, 0);
        const int width = s.plot->axisRect()->width();
        QVERIFY2(points.size() <= 2 * width + 4, qPrintable(QString::number(points.size())));
        QVERIFY(points.size() >= width);
        const int peak = points.indexOf({777.0, 100.0});
        QVERIFY(peak >= 0);
        QCOMPARE(points.value(peak + 1), (QPair<double, double>(778, -100)));
        bool broken = false;
        for (int i = 0; i < points.size(); ++i) {
            const auto [row, value] = points[i];
            if (i > 0)
                QVERIFY(row > points[i - 1].first);
            if (row >= 10050 && row <= 10950) {
                QVERIFY(std::isnan(value));
                broken = true;
            } else if (row < 9990 || row > 11010) {
                // Every other column of the saw tooth reaches both its ends.
                QVERIFY2(value == 0 || value == 9 || std::abs(value) == 100,
                         qPrintable(QString::number(row)));
            }
        }
        QVERIFY(broken);
    }

    // Fewer rows in view than pixels: every row in view and one beyond each side, as they are,
    // read anew at every zoom and pan; markers while the points stand apart.
    void fewRowsDrawEveryRowInView()
    {
        std::vector<double> values(20000);
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = std::sin(double(i));
        values[119] = std::nan(""); // row 120
        Shown s(values);
        QVERIFY(s.plot);
        for (const double from : {100.5, 7000.25}) {
            s.showRows(from, from + 60);
            const QList<QPair<double, double>> points = drawnPoints(s.plot, 0);
            const int first = int(std::ceil(from)) - 1;
            QCOMPARE(points.size(), 62);
            for (int i = 0; i < points.size(); ++i) {
                QCOMPARE(points[i].first, double(first + i));
                const double expected = values[size_t(first + i - 1)];
                QVERIFY(std::isnan(expected) ? std::isnan(points[i].second)
                                             : points[i].second == expected);
            }
            QCOMPARE(s.plot->graph(0)->scatterStyle().shape(), QCPScatterStyle::ssCircle);
        }
        s.showRows(0.5, 20000.5);
        QCOMPARE(s.plot->graph(0)->scatterStyle().shape(), QCPScatterStyle::ssNone);
    }
};

QTEST_MAIN(TestChartView)
#include "test_chartview.moc"
