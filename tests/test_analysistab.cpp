// The "Análisis" tab, driven in a shown main window as a user would, and the tracing of its curves.
#include "GuiSupport.h"

#include "gui/AnalysisChart.h"
#include "gui/AnalysisCurve.h"
#include "gui/AnalysisTab.h"
#include "gui/LeftOutModel.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

using TestSupport::example;

struct Window : GuiSupport::Window {
    AnalysisTab *tab() { return find<AnalysisTab>(QStringLiteral("Analisis")); }
    void showTab()
    {
        tabs()->setCurrentIndex(3);
        QCoreApplication::processEvents();
    }
    QComboBox *axis() { return find<QComboBox>(QStringLiteral("EjeX")); }
    QStringList axes()
    {
        QStringList items;
        for (int i = 0; i < axis()->count(); ++i)
            items << axis()->itemText(i);
        return items;
    }
    // Ticks exactly `columns` in the series list, as clicks on their boxes would.
    void tick(const QList<int> &columns)
    {
        QAbstractItemModel *model = find<QListView>(QStringLiteral("SeriesAnalisis"))->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const int column = model->index(row, 0).data(Qt::UserRole).toInt();
            model->setData(model->index(row, 0),
                           columns.contains(column) ? Qt::Checked : Qt::Unchecked,
                           Qt::CheckStateRole);
        }
    }
    void choosePull(int listRow)
    {
        auto *list = find<QListView>(QStringLiteral("Tirones"));
        list->setCurrentIndex(list->model()->index(listRow, 0));
    }
    void chooseAxis(const QString &title) { axis()->setCurrentIndex(axis()->findText(title)); }
    QCustomPlot *plot() { return tab()->chart()->plot(); }
    // Where the curves lie, all together.
    CurvePixels::Extent shown()
    {
        CurvePixels::Extent all;
        for (const AnalysisCurve &curve : tab()->chart()->curves())
            all.add(CurvePixels::extent(curve));
        return all;
    }
};

// A log of the standard layout whose engine speed climbs from 1,100 rpm by 300 rpm a row, a row
// a second: every row but the last is one pull.
QByteArray climbingLog(int rows)
{
    QList<QByteArray> lines;
    for (int r = 1; r <= rows; ++r) {
        const QByteArray t = QByteArray::number(r);
        QByteArray line = "," + t + "," + QByteArray::number(800 + 300 * r) + ",1,2,3," + t;
        for (int k = 6; k <= 9; ++k)
            line += "," + QByteArray::number(10 * r + k);
        line += "," + t + ",1,2,3,4";
        lines << line;
    }
    return TestSupport::standardLog(TestSupport::Diesel, lines);
}

// A log of the standard layout from the cells of each row: `rows` lines of "cell0,...,cell14".
QByteArray logOf(const QList<QByteArray> &rows)
{
    QList<QByteArray> lines;
    for (const QByteArray &row : rows)
        lines << "," + row;
    return TestSupport::standardLog(TestSupport::Diesel, lines);
}

CurvePixels::Mapping identity(int width, int height)
{
    CurvePixels::Mapping mapping;
    mapping.area = QRect(0, 0, width, height);
    return mapping;
}

} // namespace

class TestAnalysisTab : public QObject {
    Q_OBJECT
private slots:
    // "Régimen (rpm)" only for a log with an engine speed; without one the time axes alone and
    // the message.
    void axisChoice_data()
    {
        QTest::addColumn<bool>("speed");
        QTest::newRow("engine speed") << true;
        QTest::newRow("no engine speed") << false;
    }
    void axisChoice()
    {
        QFETCH(bool, speed);
        Window w;
        QByteArray log = climbingLog(6);
        if (!speed)
            log.replace("/min", "V");
        w.openBytes(log);
        w.showTab();
        const QStringList times = {"Tiempo (s)", "Tiempo desde el inicio del tirón (s)"};
        QCOMPARE(w.axes(), speed ? QStringList{"Régimen (rpm)"} + times : times);
        QCOMPARE(w.axis()->currentIndex(), 0);
        auto *message = w.find<QLabel>(QStringLiteral("SinRegimen"));
        QCOMPARE(message->isVisible(), !speed);
        QCOMPARE(message->text(), QStringLiteral("El registro no tiene régimen de motor."));
        QCOMPARE(w.plot()->xAxis->label(), w.axes().first());
    }

    // The first ticked series' unit goes left, every other unit right, joined by " / ".
    void unitsSplitOverTwoAxes()
    {
        Window w;
        w.openBytes(climbingLog(6)); // units: 2 and 3 mg/H, 4 %, 7 and 8 mbar, 9 %
        w.showTab();
        w.tick({8, 4, 7, 2, 3});
        QCustomPlot *plot = w.plot();
        QCOMPARE(plot->yAxis->label(), QStringLiteral("mg/H"));
        QCOMPARE(plot->yAxis2->label(), QStringLiteral("% / mbar"));
        QVERIFY(plot->yAxis2->visible());
        QStringList sides;
        for (int i = 0; i < plot->plottableCount(); ++i)
            sides << plot->plottable(i)->name() +
                         (plot->plottable(i)->valueAxis() == plot->yAxis ? "<" : ">");
        QCOMPARE(sides, QStringList({"C2<", "C3<", "C4>", "C7>", "C8>"}));
        // Each axis scaled to its own curves: C2 and C3 hold 1 and 2, C7 and C8 17 to 68.
        QVERIFY(plot->yAxis->range().contains(1) && plot->yAxis->range().contains(2));
        QVERIFY(plot->yAxis->range().upper < 10);
        QVERIFY(plot->yAxis2->range().contains(68));

        w.tick({8, 7}); // one unit: no right axis
        QCOMPARE(plot->yAxis->label(), QStringLiteral("mbar"));
        QVERIFY(!plot->yAxis2->visible());
    }

    // The sample log's pulls: the read-out gives x and each curve's value at the nearest row, as
    // the table writes it; a pull chosen shows its rows alone on every axis, and "Tiempo desde el
    // inicio del tirón" puts its start at 0 and shows no row outside the pulls. "¿Por qué no?"
    // lists the rows in no pull, read on demand between the pulls.
    void pullsOfTheSampleLog()
    {
        Window w;
        w.open(example("pulls.csv")); // 112 rows; pulls 21-28 and 82-95 (1,297-4,000 rpm, 15.4 s)
        w.showTab();
        QVERIFY(w.shown().xLow < 1000); // idle rows, as loose points

        w.choosePull(1); // rows 21-28: 1456, 1852, 2280, 2716, 3145 ... rpm
        QCustomPlot *plot = w.plot();
        plot->replot();
        const QPoint at(int(plot->xAxis->coordToPixel(2700)), plot->axisRect()->center().y());
        const QString x = QString::number(std::lround(plot->xAxis->pixelToCoord(at.x())));
        QCOMPARE(w.tab()->chart()->readout(at),
                 x + QStringLiteral(" rpm — EGR Air Mass (specified): 826,3 mg/H — EGR Air Mass "
                                    "(actual): 862,7 mg/H"));
        QCOMPARE(w.tab()->chart()->readout(QPoint(0, 0)), QString()); // outside the plot

        w.choosePull(2);
        CurvePixels::Extent pull = w.shown();
        QVERIFY2(pull.xLow >= 1297 && pull.xHigh <= 4100, qPrintable(QString::number(pull.xLow)));
        QVERIFY(pull.xHigh >= 4000);
        w.chooseAxis(QStringLiteral("Tiempo desde el inicio del tirón (s)"));
        pull = w.shown();
        QVERIFY(pull.xLow >= -1 && pull.xLow <= 1);
        QVERIFY(pull.xHigh >= 15 && pull.xHigh <= 17);
        w.choosePull(0); // "Todos": both pulls from 0, nothing of the 2-minute drive around them
        pull = w.shown();
        QVERIFY(pull.xLow >= -1 && pull.xHigh <= 17);
        w.chooseAxis(QStringLiteral("Tiempo (s)"));
        QVERIFY(w.shown().xHigh > 100);

        auto *model = static_cast<LeftOutModel *>(w.find<QTableView>("PorQueNo")->model());
        QCOMPARE(model->rowCount(), 112 - 8 - 14);
        QCOMPARE(model->tableRow(19), 20);
        QCOMPARE(model->tableRow(20), 29);
        QCOMPARE(model->tableRow(72), 81);
        QCOMPARE(model->tableRow(73), 96);
        QCOMPARE(model->index(0, LeftOutModel::Reason).data().toString(),
                 QStringLiteral("régimen bajo"));
        QCOMPARE(w.find<QLabel>(QStringLiteral("Muestras"))->text(),
                 QStringLiteral("0,8 muestras por segundo"));
        QVERIFY(!w.find<QLabel>("PocasMuestras")->isHidden()); // on a page at the back
    }

    // The tab does no work until it is shown. A deleted row and another log are taken up: at once
    // while the tab is shown, when it is shown again while it is hidden. A deletion keeps the
    // user's choices.
    void followsDeletionsAndLoads()
    {
        Window w;
        w.open(example("pulls.csv"));
        QVERIFY(!w.tab()->log() && !w.axis()); // nothing built yet
        w.showTab();
        QCOMPARE(w.tab()->chart()->curves().size(), size_t(2)); // the first pair
        QCOMPARE(w.tab()->chart()->curves()[0].name, QStringLiteral("EGR Air Mass (specified)"));
        w.chooseAxis(QStringLiteral("Tiempo (s)"));
        w.tick({7, 8});
        QCOMPARE(w.tab()->log()->result().pulls[0].firstRow, 21);

        w.tabs()->setCurrentIndex(1);
        QTableView *list = w.form.listDatos();
        list->selectRow(0);
        w.find<QPushButton>(QStringLiteral("CmdDelete"))->click();
        QVERIFY(w.tab()->isStale());
        w.showTab();
        QCOMPARE(w.tab()->log()->table().rowCount(), list->model()->rowCount());
        QCOMPARE(w.tab()->log()->result().pulls[0].firstRow, 20);
        QCOMPARE(w.axis()->currentText(), QStringLiteral("Tiempo (s)"));
        QCOMPARE(w.tab()->chart()->curves().size(), size_t(2));

        w.openBytes(climbingLog(6)); // shown: taken up when the event loop comes round
        QVERIFY(w.tab()->log());
        QCOMPARE(w.tab()->log()->table().rowCount(), 6);
        QCOMPARE(w.axis()->currentText(), QStringLiteral("Régimen (rpm)")); // the defaults again
        QCOMPARE(w.tab()->log()->result().pulls.size(), size_t(1));
    }

    // On "Tiempo (s)" each series stands at its own group's time stamp, and a cell that is no
    // number breaks its line rather than dropping it to 0.
    void timeAxisUsesEachGroupsClock()
    {
        Window w;
        QList<QByteArray> rows;
        for (int r = 1; r <= 6; ++r) {
            const QByteArray t = QByteArray::number(r);
            const QByteArray c7 = r == 3 ? "abc" : QByteArray::number(500 + r);
            rows << t + "," + QByteArray::number(900 + r) + ",1,2,3," + t + ".5,900,400," + c7 +
                        ",1,1," + t + ".25,1,2,3,4";
        }
        w.openBytes(logOf(rows));
        w.showTab();
        w.chooseAxis(QStringLiteral("Tiempo (s)"));
        w.tick({2, 8});
        const std::vector<AnalysisCurve> &curves = w.tab()->chart()->curves();
        QCOMPARE(CurvePixels::extent(curves[0]).xLow, 1.0);   // group A's clock
        QCOMPARE(CurvePixels::extent(curves[1]).xLow, 1.5);   // group B's
        QCOMPARE(CurvePixels::extent(curves[1]).yLow, 501.0); // row 3 is a gap, not a 0
        QVERIFY(!curves[1].y.has(2));
    }

    // The wheel zooms both axes, a double click shows everything again.
    void zoomBothAxesAndReset()
    {
        Window w;
        w.openBytes(climbingLog(8));
        w.showTab();
        w.tick({2, 7});
        QCustomPlot *plot = w.plot();
        plot->replot();
        const QCPRange x = plot->xAxis->range(), left = plot->yAxis->range(),
                       right = plot->yAxis2->range();
        const QPointF at(plot->axisRect()->center());
        QWheelEvent wheel(at, plot->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &wheel);
        QVERIFY(plot->xAxis->range().size() < x.size());
        QVERIFY(plot->yAxis->range().size() < left.size());
        QVERIFY(plot->yAxis2->range().size() < right.size());
        QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, at.toPoint());
        QCOMPARE(plot->xAxis->range(), x);
        QCOMPARE(plot->yAxis->range(), left);
        QCOMPARE(plot->yAxis2->range(), right);
    }

    // Specified against actual: a pair the user picks gets its table, shaded (red short, blue
    // over) where the mean difference passes 5 % of the specified value.
    void pairTables()
    {
        Window w;
        QList<QByteArray> rows;
        const char *actual[] = {"900", "1100", "1015"}; // against 1000 specified
        for (int r = 0; r < 3; ++r) {
            const QByteArray t = QByteArray::number(r + 1);
            const QByteArray rpm = QByteArray::number(1100 + 500 * r); // in groups A and B
            rows << t + "," + rpm + ",1,2,3," + t + "," + rpm + ",1000," + actual[r] + ",1," + t +
                        ",1,2,3,4";
        }
        w.openBytes(logOf(rows));
        w.showTab();
        QVERIFY(!w.find<QTableView>(QStringLiteral("Par_1"))); // "C7" and "C8" make no pair
        w.find<QComboBox>(QStringLiteral("ParEspecificado"))->setCurrentText("C7 [mbar]");
        w.find<QComboBox>(QStringLiteral("ParReal"))->setCurrentText("C8 [mbar]");
        w.find<QPushButton>(QStringLiteral("AnadirPar"))->click();
        QAbstractItemModel *bins = w.find<QTableView>(QStringLiteral("Par_1"))->model();
        QStringList shades; // the bins' values are the analysis tests' business
        for (int r = 0; r < bins->rowCount(); ++r) {
            const QVariant shade = bins->index(r, 0).data(Qt::BackgroundRole);
            shades << (!shade.isValid()                             ? "-"
                       : shade.value<QBrush>().color().red() == 255 ? "red"
                                                                    : "blue");
        }
        QCOMPARE(shades, QStringList({"red", "blue", "-"}));
        QCOMPARE(bins->index(2, 3).data().toString(), QStringLiteral("1015,0"));
    }

    // The header of a "Datos" column tells its full name (over lines 5 and 6) and unit.
    void datosHeaderTips()
    {
        Window w;
        w.open(example("pulls.csv"));
        QAbstractItemModel *model = w.form.listDatos()->model();
        const auto tip = [&](int column) {
            return model->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(1), QStringLiteral("Engine Speed (G28) [/min]"));
        QCOMPARE(tip(8), QStringLiteral("Boost Pressure (actual) [mbar]"));
        QCOMPARE(tip(10), QStringLiteral("Tiempo"));
        QCOMPARE(model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Boost Pressure"));
    }

    // What a drawing hands the painter: gaps stay gaps, a crowded pixel column its least and
    // greatest value.
    void tracesWhatThePixelsNeed()
    {
        std::vector<double> x, y;
        AnalysisCurve curve;
        const auto use = [&](bool joined) {
            curve.x = {x.data(), int(x.size())};
            curve.y = {y.data(), int(y.size())};
            curve.spans = {{0, int(x.size()) - 1, 0, joined}};
        };
        std::vector<uint8_t> seen;
        CurvePixels::Traced traced;

        x = {10, 20, 30, 40, 50};
        y = {1, 2, NaN, 4, 5};
        use(true);
        CurvePixels::trace(curve, identity(100, 100), seen, traced);
        QCOMPARE(traced.lineCount(), size_t(2));
        QCOMPARE(traced.line(0), QPolygonF({{10, 1}, {20, 2}}));
        QCOMPARE(traced.line(1), QPolygonF({{40, 4}, {50, 5}}));

        // 1,000 rows over 10 pixel columns: two points a column, at its extremes, in row order.
        x.clear();
        y.clear();
        for (int i = 0; i < 1000; ++i) {
            x.push_back(i / 100.0);
            y.push_back(i % 100 == 37 ? 90 : i % 100 == 61 ? 3 : 50);
        }
        use(true);
        CurvePixels::trace(curve, identity(10, 100), seen, traced);
        QCOMPARE(traced.lineCount(), size_t(1));
        QCOMPARE(traced.line(0).size(), 20);
        QCOMPARE(traced.line(0)[0], QPointF(0.37, 90));
        QCOMPARE(traced.line(0)[1], QPointF(0.61, 3));
    }
};

QTEST_MAIN(TestAnalysisTab)
#include "test_analysistab.moc"
