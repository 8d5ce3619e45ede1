// The views besides the main window: the table model, the chart widget, the full-screen chart and
// table windows, the window capture and the about box.
#include "GuiSupport.h"

#include "core/ChartModel.h"
#include "gui/ChartView.h"
#include "gui/DataTableModel.h"
#include "gui/Form2.h"
#include "gui/Form3.h"
#include "gui/Form4.h"
#include "gui/Twips.h"
#include "gui/WindowIcon.h"
#include "program/AppState.h"

#include <QAbstractItemModelTester>

#include <cmath>

#include <qcustomplot.h>

namespace {

QRect pixels(const QRect &twips)
{
    return Twips::rect(twips.x(), twips.y(), twips.width(), twips.height());
}

QPushButton *button(QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class TestViews : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_state;

private slots:
    void model()
    {
        DataTable table;
        table.setColumns(LogLayout::columnsFor(",,A,B"));
        table.appendLine(",0.5,1.5,9");
        table.appendLine(",2");
        DataTableModel model(&table);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("A"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("1,5"));
        QCOMPARE(model.index(1, 1).data().toString(), QString());
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        table.setColumnColor(2, Qt::green);
        model.colorsChanged();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(model.index(0, 2).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::green));

        const DataTable empty;
        model.setTable(&empty);
        QCOMPARE(model.rowCount() + model.columnCount(), 0);
    }

    void chartFollowsModel()
    {
        ChartModel model;
        ChartView view(&model);
        view.resize(600, 400);
        view.show();
        QCustomPlot *plot = view.plot();
        model.setRowCount(40);
        model.setSeriesCount(2);
        for (int r = 1; r <= 40; ++r) {
            model.setValue(r, 1, r);
            if (r != 7)
                model.setValue(r, 2, -r);
        }
        model.setSeriesColor(2, QColor(0, 0, 192));
        model.setTitle(QStringLiteral("t - h"));
        QCOMPARE(plot->graphCount(), 0); // drawn once, when the event loop comes round
        QCoreApplication::processEvents();
        QCOMPARE(plot->graphCount(), 2);
        QVERIFY(std::isnan(plot->graph(1)->data()->at(6)->value));
        QCOMPARE(plot->graph(1)->pen().color(), QColor(0, 0, 192));
        QCOMPARE(plot->xAxis->range(), QCPRange(0.5, 40.5));
        QVERIFY(plot->yAxis->range().contains(-40) && plot->yAxis->range().contains(40));
        QCOMPARE(plot->plotLayout()->rowCount(), 2); // the title's row

        plot->xAxis->setRange(10, 20); // zoomed in; a new series shows every row again
        model.setSeriesCount(3);
        model.setTitle(QString());
        view.updateNow();
        QCOMPARE(plot->xAxis->range(), QCPRange(0.5, 40.5));
        QCOMPARE(plot->plotLayout()->rowCount(), 1);

        // Hidden (on a tab at the back), the view leaves the model's changes until it is shown.
        view.hide();
        model.setSeriesCount(1);
        model.setTitle(QStringLiteral("t - h"));
        QCoreApplication::processEvents();
        QCOMPARE(plot->graphCount(), 3);
        view.show();
        QCOMPARE(plot->graphCount(), 1);
        QCOMPARE(plot->plotLayout()->rowCount(), 2);
    }

    // A series of the same values as one drawn before (one cell of the very same rows) shows that
    // data again, in this chart or another; once the rows change, a series gets data of its own.
    void seriesOfOneOriginShareTheirPoints()
    {
        DataTable table;
        for (const char *line : {",1,10", ",2,20", ",3,30"})
            table.appendLine(line);
        const auto plotCell = [&table](ChartModel &model) {
            model.deleteAllSeries();
            model.setRowCount(table.rowCount());
            model.setSeriesCount(1);
            model.setSeriesValuesFromTable(1, table, 1);
        };
        ChartModel model;
        ChartView view(&model);
        plotCell(model);
        view.updateNow();
        const QSharedPointer<QCPGraphDataContainer> first = view.plot()->graph(0)->data();
        QCOMPARE(first->size(), 3);
        plotCell(model); // the box unticked and ticked again
        model.setSeriesColor(1, Qt::red);
        view.updateNow();
        QCOMPARE(view.plot()->graph(0)->data(), first);
        QCOMPARE(view.plot()->graph(0)->pen().color(), QColor(Qt::red));
        ChartModel other;
        ChartView otherView(&other);
        plotCell(other);
        otherView.updateNow();
        QCOMPARE(otherView.plot()->graph(0)->data(), first);

        table.removeRow(1);
        plotCell(model);
        view.updateNow();
        const QSharedPointer<QCPGraphDataContainer> after = view.plot()->graph(0)->data();
        QVERIFY(after != first);
        QCOMPARE(after->size(), 2);
        QCOMPARE(after->at(0)->value, 20.0);
        QCOMPARE(first->at(0)->value, 10.0); // the other chart still shows the rows it was given
    }

    void categoryLabelsFollowSpacingAndZoom()
    {
        DataTable table;
        for (int r = 1; r <= 36; ++r)
            table.appendLine((",0," + QByteArray::number(r * 100)).toStdString());
        ChartModel model;
        model.setRowCount(36);
        model.setRowLabelsFromTable(table, 1);
        model.setLabelSpacing(2);
        model.setSeriesCount(1);
        ChartView view(&model);
        view.resize(1200, 400);
        view.show();
        QCustomPlot *plot = view.plot();
        view.updateNow();
        plot->replot();
        plot->replot();
        QCOMPARE(plot->xAxis->tickVector().mid(0, 3), QVector<double>({1, 3, 5}));
        QCOMPARE(plot->xAxis->tickVectorLabels().mid(0, 2), QVector<QString>({"100", "300"}));

        plot->xAxis->setRange(10.5, 17.5); // seven rows left: a label on every row
        plot->replot();
        QCOMPARE(plot->xAxis->tickVector(), QVector<double>({11, 12, 13, 14, 15, 16, 17}));
    }

    // A log of no engine type, 20 rows of TestSupport::rampLines.
    void init()
    {
        m_state = std::make_unique<AppState>();
        QVERIFY(m_state->FormLoad(TestSupport::writeFile(
            m_dir, QStringLiteral("run.csv"),
            TestSupport::standardLog({"'005", "'006", "'007"}, TestSupport::rampLines(20)))));
    }

    // Where the view and the button go at a given outer size, in twips.
    void layouts()
    {
        struct Row {
            bool chart; // Form3, else Form4
            QSize outer;
            QRect view, button;
        };
        const Row rows[] = {
            {true, {9000, 6000}, {0, 0, 9000, 4700}, {2500, 4800, 2175, 615}},
            {true, {3000, 900}, {0, 0, 3000, 0}, {-500, 100, 2175, 615}}, // below the button row
            {false, {12000, 8000}, {0, 0, 11900, 6700}, {4000, 6800, 3975, 495}},
            {false, {60, 400}, {0, 0, 0, 0}, {-1970, 100, 3975, 495}}}; // minimised
        for (const Row &row : rows) {
            const auto l3 = Form3::partsAt(row.outer.width(), row.outer.height());
            const auto l4 = Form4::partsAt(row.outer.width(), row.outer.height());
            QCOMPARE(row.chart ? l3.body : l4.body, row.view);
            QCOMPARE(row.chart ? l3.button : l4.button, row.button);
        }
    }

    void windowsFollowTheirSize()
    {
        Form3 form3(*m_state);
        Form4 form4(*m_state);
        QPushButton *save = button(form3, "CmdSave");
        QPushButton *command1 = button(form4, "Command1");
        QCOMPARE(save->text(), QStringLiteral("Guardar grafica pantalla completa"));
        QCOMPARE(command1->text(), QStringLiteral("Guardar Pantallazo"));

        form3.showFilled();
        form4.showFilled();
        QVERIFY(QTest::qWaitForWindowExposed(&form3));
        QVERIFY(!form3.parentWidget() && !form4.parentWidget()); // no owner
        QCOMPARE(form3.windowTitle(), m_state->caption());
        QCOMPARE(form4.windowTitle(), m_state->caption());

        // Laid out from the outer size, frame included.
        form3.resize(600, 400);
        form4.resize(800, 533);
        const auto outer = [](QWidget &w) { return w.frameGeometry().size() * Twips::PerPixel; };
        const auto l3 = Form3::partsAt(outer(form3).width(), outer(form3).height());
        const auto l4 = Form4::partsAt(outer(form4).width(), outer(form4).height());
        QCOMPARE(form3.chart2()->geometry(), pixels(l3.body));
        QCOMPARE(save->geometry(), pixels(l3.button));
        QCOMPARE(form4.listDatos()->geometry(), pixels(l4.body));
        QCOMPARE(command1->geometry(), pixels(l4.button));
    }

    void form4CopiesTableOnceAndCapturesItself()
    {
        m_state->setBoxTicked(2, true);
        Form4 form4(*m_state);
        form4.showFilled();
        form4.showFilled();
        QTableView *list = form4.listDatos();
        QCOMPARE(list->objectName(), QStringLiteral("ListDatos"));
        QAbstractItemModel *model = list->model();
        // Regression: a second press must not append a second set of rows and columns.
        QCOMPARE(model->rowCount(), 20);
        QCOMPARE(model->columnCount(), m_state->table.columnCount());
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("C3"));
        QCOMPARE(model->index(1, 2).data().toString(), QStringLiteral("2,5"));

        // The time columns of groups two and three are hidden; the first stays.
        QCOMPARE(model->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Tiempo"));
        QCOMPARE(list->columnWidth(5) + list->columnWidth(10), 0);
        QVERIFY(list->columnWidth(0) > 0);

        // A plotted column keeps its series colour, the others are black, cell 0 the list's own.
        const auto color = [&](int column) {
            return model->index(0, column).data(Qt::ForegroundRole);
        };
        QCOMPARE(color(2).value<QBrush>().color(), m_state->box(2).color);
        QCOMPARE(color(3).value<QBrush>().color(), QColor(Qt::black));
        QVERIFY(!color(0).isValid());

        // A snapshot: later changes of the main table do not show until the next press.
        m_state->DeleteRow(1);
        QCOMPARE(model->rowCount(), 20);
        form4.close();
        form4.showFilled();
        QCOMPARE(model->rowCount(), 19);
        QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("2,5"));

        // "Guardar Pantallazo" copies this window, not another one that is open.
        Form3 other(*m_state);
        other.showFilled();
        form4.showFilled();
        form4.resize(700, 420);
        QVERIFY(QTest::qWaitForWindowExposed(&form4));
        QGuiApplication::clipboard()->clear();
        QTemporaryDir emptyPath; // no image editor to start
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", emptyPath.path().toLocal8Bit());
        QTest::mouseClick(button(form4, "Command1"), Qt::LeftButton);
        qputenv("PATH", oldPath);
        QCOMPARE(GuiSupport::rgb(QGuiApplication::clipboard()->image()),
                 GuiSupport::rgb(form4.grab().toImage()));
    }

    // Chart2 reads out its own points and hides on a click beside the points (its save is the
    // main window test's business).
    void chart2()
    {
        m_state->setBoxTicked(7, true);
        m_state->setBoxTicked(3, true);
        m_state->chart.setHintText(QStringLiteral("main"));
        Form3 form3(*m_state);
        form3.showFilled();
        QCOMPARE(form3.chart2()->objectName(), QStringLiteral("Chart2"));
        emit form3.chart2()->pointPicked(2, 4); // series 2 is C7: the boxes in their order
        QCOMPARE(form3.chartModel().hintText(), QStringLiteral("C7: 47    RPM: 1400"));
        QCOMPARE(form3.chart2()->toolTip(), QStringLiteral("C7: 47    RPM: 1400"));
        QCOMPARE(m_state->chart.hintText(), QStringLiteral("main")); // Chart1's hint untouched
        emit form3.chart2()->clicked(); // hidden; its chart stays filled
        QVERIFY(!form3.isVisible());
        QCOMPARE(form3.chartModel().seriesCount(), 2);
    }

    // The window icon, made from pixels compiled into the program, is the program's picture as
    // an icon read from it holds it.
    void windowIconIsTheProgramPicture()
    {
        Q_INIT_RESOURCE(ondalyx);
        const QIcon picture(QStringLiteral(":/ondalyx.png"));
        const QIcon icon = WindowIcon::make();
        QCOMPARE(icon.availableSizes(), picture.availableSizes());
        const QSize size = picture.availableSizes().value(0);
        QVERIFY(size.width() > 0);
        QCOMPARE(icon.pixmap(size).toImage(), picture.pixmap(size).toImage());
    }

    void aboutBox()
    {
        GuiSupport::UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        Form2 form2;
        form2.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form2));
        QCOMPARE(form2.windowTitle(), QStringLiteral("Acerca de ODX"));
        QVERIFY(!form2.parentWidget());
        QStringList texts;
        for (const char *name : {"Label1", "Label2", "Label5", "Label6"})
            texts << form2.findChild<QLabel *>(QLatin1String(name))->text();
        QCOMPARE(texts,
                 QStringList({"Ondalyx", "Version: 1.0", "Website:", Form2::websiteAddress()}));

        // The link turns red under the mouse and opens the web site when clicked.
        QLabel *link = form2.findChild<QLabel *>(QStringLiteral("Label6"));
        const auto linkColor = [&] { return link->palette().color(QPalette::WindowText); };
        QCOMPARE(linkColor(), QColor(0, 0, 255));
        QTest::mouseMove(link, link->rect().center());
        QTRY_COMPARE(linkColor(), QColor(255, 0, 0));
        QTest::mouseMove(&form2, QPoint(5, form2.height() - 5));
        QTRY_COMPARE(linkColor(), QColor(0, 0, 255));
        QTest::mouseClick(link, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(Form2::websiteAddress())});
    }
};

QTEST_MAIN(TestViews)
#include "test_views.moc"
