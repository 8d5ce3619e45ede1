// The main window, driven in-process as a user would.
#include "GuiSupport.h"

#include "core/ImageFiles.h"
#include "gui/ChartView.h"
#include "gui/Form3.h"
#include "gui/Form4.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

using TestSupport::Diesel;

struct Window : GuiSupport::Window {
    QCheckBox *box(int k) { return find<QCheckBox>(QStringLiteral("Check1_%1").arg(k)); }
    QPushButton *colorButton(int k)
    {
        return find<QPushButton>(QStringLiteral("CmdColor_%1").arg(k));
    }
    QPushButton *button(const char *name) { return find<QPushButton>(QLatin1String(name)); }
    QRadioButton *option(int n) { return find<QRadioButton>(QStringLiteral("Option%1").arg(n)); }
    void openLog(const QList<QByteArray> &groups, int rows)
    {
        openBytes(TestSupport::standardLog(groups, TestSupport::rampLines(rows)));
    }
    QList<int> checkedBoxes()
    {
        QList<int> ticked;
        for (int k = 0; k < AppState::BoxCount; ++k)
            if (box(k)->isChecked())
                ticked << k;
        return ticked;
    }
    // The series the chart draws: it draws when the event loop comes round, and a chart on a tab
    // at the back when it is shown.
    int graphCount()
    {
        const int tab = tabs()->currentIndex();
        tabs()->setCurrentIndex(0);
        QCoreApplication::processEvents();
        tabs()->setCurrentIndex(tab);
        return form.chart1()->plot()->graphCount();
    }
};

// The windows of type W there are.
template <class W> QList<W *> topLevels()
{
    QList<W *> found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *w = qobject_cast<W *>(window))
            found << w;
    return found;
}

// The values a chart draws now, one text per series ("-" for a gap): a chart of a few rows draws
// every row.
QStringList drawn(ChartView *view)
{
    view->updateNow();
    QCustomPlot *plot = view->plot();
    plot->replot();
    QStringList series;
    for (int g = 0; g < plot->graphCount(); ++g) {
        QStringList values;
        const QSharedPointer<QCPGraphDataContainer> data = plot->graph(g)->data();
        for (auto it = data->constBegin(); it != data->constEnd(); ++it)
            values << (std::isnan(it->value) ? QStringLiteral("-") : QString::number(it->value));
        series << values.join(' ');
    }
    return series;
}

QList<QColor> colours(ChartView *view)
{
    view->updateNow();
    QList<QColor> found;
    for (int g = 0; g < view->plot()->graphCount(); ++g)
        found << view->plot()->graph(g)->pen().color();
    return found;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    // The captions the program is known by, on the controls of the names it is known by, and the
    // window as it starts: on "Datos", no series box shown, its size fixed.
    void startsWithItsCaptionsAndNames()
    {
        Window w;
        QStringList tabs;
        for (int k = 0; k < w.tabs()->count(); ++k)
            tabs << w.tabs()->tabText(k);
        QCOMPARE(tabs, QStringList({"Grafica", "Datos", "Estadisticas", "Análisis"}));
        QStringList captions; // a group box's is its title
        for (const char *name :
             {"AbrirCSV", "Asociar", "Acerca", "Chart1", "CmdSave", "CmdFull", "CmdReset",
              "CmdDelete", "CmdFullList", "Frame1", "Option1", "Check1_0", "CmdColor_14", "ChCV",
              "Label3", "TxtAtmo", "CmdSavePant"}) {
            const QObject *control = w.form.findChild<QObject *>(QLatin1String(name));
            QVERIFY2(control, name);
            const bool group = qobject_cast<const QGroupBox *>(control);
            captions << control->property(group ? "title" : "text").toString();
        }
        QCOMPARE(captions.join('|'),
                 "Abrir CSV|Asociar Extension|Acerca de ODX||Guardar Grafica|Pantalla Completa|"
                 "Borrar Grafica|Borrar Linea|Pantalla  FULL|Presion Turbo|Diesel|Check1|Color|"
                 "Grafica Potencia|mbar|950|Guardar  Estadistica");
        QCOMPARE(w.tabs()->currentIndex(), 1);
        QVERIFY(!w.find<QCheckBox>("ChCV")->isEnabled());
        for (int k = 0; k < AppState::BoxCount; ++k)
            QVERIFY(w.box(k)->isHidden() && w.colorButton(k)->isHidden());
        const QSize size = w.form.size();
        w.form.resize(size + QSize(200, 100));
        QCoreApplication::processEvents();
        QCOMPARE(w.form.size(), size);
    }

    // A log dropped on the window opens as "Abrir CSV" opens it.
    void droppedDieselLogShowsItsColumns()
    {
        Window w;
        const QString path = TestSupport::writeFile(
            w.dir, "run.01.csv", TestSupport::standardLog(Diesel, TestSupport::rampLines(12)));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&w.form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &drop);
        QCOMPARE(w.form.windowTitle(), QStringLiteral("Ondalyx  v1 -  run.01.csv"));
        QStringList shown; // the boxes with their colour buttons
        for (int k = 0; k < AppState::BoxCount; ++k)
            if (!w.box(k)->isHidden() || !w.colorButton(k)->isHidden())
                shown << w.box(k)->text() + (w.colorButton(k)->isHidden() ? "" : "+");
        QCOMPARE(shown.join(' '), "C1+ C2+ C3+ C4+ C6+ C7+ C8+ C9+ C11+ C12+ C13+ C14+");
        QTableView *list = w.form.listDatos(); // the time columns hidden
        QVERIFY(list->isColumnHidden(5) && list->isColumnHidden(10) && !list->isColumnHidden(11));
        QCOMPARE(w.graphCount(), 4);
    }

    // The "Sesiones" menu offers the sessions of a file of several, and switches between them:
    // each loads with its own engine type, boxes and rows, and the title stays the file's.
    void sessionsMenu()
    {
        Window w;
        QMenu *menu = w.find<QMenu>(QStringLiteral("Sesiones"));
        QVERIFY(menu && !menu->menuAction()->isVisible());
        const QByteArray second = TestSupport::standardLog(
            TestSupport::Petrol, TestSupport::rampLines(3), "Lunes,1,x,2026,09:31:44:125");
        const QString path = TestSupport::writeFile(
            w.dir, "two.csv", TestSupport::standardLog(Diesel, TestSupport::rampLines(5)) + second);
        w.open(path);
        QVERIFY(menu->menuAction()->isVisible());
        const QList<QAction *> items = menu->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QStringLiteral("Sesión 1  (13:51:20, 5 filas)"));
        QCOMPARE(items[1]->text(), QStringLiteral("Sesión 2  (09:31:44, 3 filas)"));
        QVERIFY(items[0]->isChecked() && !items[1]->isChecked());

        items[1]->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(w.form.listDatos()->model()->rowCount(), 3);
        QCOMPARE(w.form.windowTitle(), QStringLiteral("Ondalyx  v1 -  two.csv"));
        QVERIFY(w.option(2)->isChecked());
        QCOMPARE(w.checkedBoxes(), QList<int>({2, 4, 8, 9}));
        QVERIFY(menu->actions()[1]->isChecked() && !menu->actions()[0]->isChecked());

        w.openLog(Diesel, 4); // a file of one session hides the menu again
        QVERIFY(!menu->menuAction()->isVisible());
    }

    // "Borrar Grafica" and a cancelled open dialog empty the chart view and keep the table.
    void resetAndCancelledOpenKeepTable()
    {
        for (const bool cancelledOpen : {false, true}) {
            Window w;
            w.openLog(Diesel, 6);
            if (cancelledOpen)
                w.open(QString());
            else
                w.button("CmdReset")->click();
            QVERIFY(w.checkedBoxes().isEmpty());
            QVERIFY(w.option(3)->isChecked());
            for (const char *name : {"LbMaxPico", "LbTimeCarga", "Label1", "LbMaxN75", "LbMEGR"})
                QVERIFY2(w.find<QLabel>(QLatin1String(name))->text().isEmpty(), name);
            QCOMPARE(w.graphCount(), 0);
            QCOMPARE(w.form.listDatos()->model()->rowCount(), 6);
        }
    }

    // "Borrar Linea" removes the selected row and the main chart follows the rows, while the
    // full-screen chart and table, snapshots of the old rows, go on showing them; a colour change
    // and an untick reach the main chart alone. (Under the sanitizer this also shows that nothing
    // the snapshots read is freed early.) The colour dialog starts at the box's colour, later at
    // the last colour chosen, and a cancelled one changes nothing.
    void deleteAndChangesLeaveTheSnapshots()
    {
        Window w;
        w.openLog(Diesel, 6); // boxes 2, 3, 7 and 8: cell 2 "r.5", cell 3 "xr", cell k 10 r + k
        QTableView *list = w.form.listDatos();
        w.button("CmdDelete")->click(); // no selection: nothing happens
        QCOMPARE(list->model()->rowCount(), 6);
        w.button("CmdFull")->click();
        w.button("CmdFullList")->click();
        ChartView *full = topLevels<Form3>().first()->chart2();
        QAbstractItemModel *fullList = topLevels<Form4>().first()->listDatos()->model();
        const QStringList before = {"1.5 2.5 3.5 4.5 5.5 6.5", "- - - - - -", "17 27 37 47 57 67",
                                    "18 28 38 48 58 68"};
        QCOMPARE(drawn(full), before);

        list->selectRow(1);
        w.button("CmdDelete")->click();
        QCOMPARE(list->model()->rowCount(), 5);
        QCOMPARE(list->model()->index(1, 1).data().toString(), QStringLiteral("1300"));
        QCOMPARE(drawn(w.form.chart1()), QStringList({"1.5 3.5 4.5 5.5 6.5", "- - - - -",
                                                      "17 37 47 57 67", "18 38 48 58 68"}));
        QCOMPARE(drawn(full), before);
        QCOMPARE(fullList->rowCount(), 6);
        QCOMPARE(fullList->index(1, 1).data().toString(), QStringLiteral("1200"));
        QCOMPARE(fullList->index(1, 2).data().toString(), QStringLiteral("2,5"));

        w.box(3)->click();
        QList<QColor> offered;
        w.form.setColorChooser([&](const QColor &initial) {
            offered << initial;
            return offered.size() == 1 ? QColor(10, 20, 30) : QColor(); // then cancelled
        });
        w.colorButton(7)->click(); // box 7 comes back last, in its new colour
        w.colorButton(8)->click();
        QCOMPARE(offered, QList<QColor>({QColor(0, 0, 192), QColor(10, 20, 30)}));
        QCOMPARE(w.box(7)->palette().color(QPalette::WindowText), QColor(10, 20, 30));
        QCOMPARE(drawn(w.form.chart1()),
                 QStringList({"1.5 3.5 4.5 5.5 6.5", "18 38 48 58 68", "17 37 47 57 67"}));
        QCOMPARE(colours(w.form.chart1()),
                 QList<QColor>({QColor(192, 0, 0), QColor(192, 0, 192), QColor(10, 20, 30)}));
        QCOMPARE(drawn(full), before);
        QCOMPARE(colours(full), QList<QColor>({QColor(192, 0, 0), QColor(255, 128, 0),
                                               QColor(0, 0, 192), QColor(192, 0, 192)}));
    }

    // Regression: a handler that puts a choice back must show it, not the button the user clicked.
    void refusedChoicesShowAsRefused()
    {
        Window w;
        w.openLog({"'003", "'120"}, 4); // no group 011: not a diesel log
        w.option(1)->click();
        QVERIFY(w.option(3)->isChecked() && !w.option(1)->isChecked());
        QCOMPARE(w.form.state().engine(), EngineType::Ninguno);

        auto *chcv = w.find<QCheckBox>("ChCV"); // the power curve wants exactly three boxes
        w.box(1)->click();
        w.box(2)->click();
        chcv->click();
        QCOMPARE(w.messages.size(), 1); // the power curve's own message
        QVERIFY(!chcv->isChecked());
        QVERIFY(w.checkedBoxes().isEmpty());
    }

    // A click on a point shows its read-out; a click between the rows picks nothing.
    void pickedPointShowsReadout()
    {
        Window w;
        w.openLog(Diesel, 5);
        w.tabs()->setCurrentIndex(0);
        ChartView *view = w.form.chart1();
        view->updateNow();
        QCustomPlot *plot = view->plot();
        plot->replot();
        const auto at = [&](double x) { // series 1 is C2, which holds "4.5" in row 4
            return QPoint(int(plot->xAxis->coordToPixel(x)), int(plot->yAxis->coordToPixel(4.5)));
        };
        QSignalSpy picked(view, &ChartView::pointPicked);
        QSignalSpy clicked(view, &ChartView::clicked);
        QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, at(4));
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.first(), QList<QVariant>({1, 4}));
        QCOMPARE(view->toolTip(), QStringLiteral("C2: 4,5    RPM: 1400"));
        QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, at(2.5));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(picked.count(), 1);
    }

    // A chart save puts the chart's picture on the clipboard, also when the file cannot be
    // written: the main window's saves and opens the picture, the full-screen chart's, with
    // nowhere to write, names the folder in its message.
    void chartSavesGoToTheClipboard()
    {
        for (const bool full : {false, true}) {
            Window w;
            w.openLog(Diesel, 12);
            // Root writes anywhere: the folders that cannot be written lie under a file.
            TestSupport::writeFile(w.dir, "file", "a file, no folder");
            const QString base = w.dir.filePath(full ? "file" : "home");
            w.form.setImageFolders(base + "/bin", base + "/pictures");
            w.tabs()->setCurrentIndex(0);
            if (full)
                w.button("CmdFull")->click();
            QWidget *window = full ? static_cast<QWidget *>(topLevels<Form3>().first()) : &w.form;
            ChartView *chart = full ? topLevels<Form3>().first()->chart2() : w.form.chart1();
            QVERIFY(QTest::qWaitForWindowExposed(window));

            QGuiApplication::clipboard()->clear();
            GuiSupport::UrlCatcher opened;
            QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
            GuiSupport::DialogCatcher message;
            message.arm();
            QTest::mouseClick(window->findChild<QPushButton *>("CmdSave"), Qt::LeftButton);
            QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

            const QImage picture = GuiSupport::rgb(chart->render(chart->size()));
            QCOMPARE(GuiSupport::rgb(QGuiApplication::clipboard()->image()), picture);
            const QString folder = ImageFiles::folder(base + "/bin", base + "/pictures");
            const QString path = folder + "/" + w.form.state().LogTitle + ".jpg";
            QCOMPARE(QImage(path).size(), full ? QImage().size() : picture.size());
            QCOMPARE(opened.urls, full ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(path)});
            QCOMPARE(message.className, full ? QStringLiteral("QMessageBox") : QString());
            const QString texts = message.texts.join('\n');
            QVERIFY2(texts.contains(QDir::toNativeSeparators(folder)) == full, qPrintable(texts));
        }
    }

    void closingClosesOtherWindows()
    {
        Window w;
        w.openLog(Diesel, 30);
        w.button("CmdFull")->click();
        w.button("CmdFullList")->click();
        w.find<QAction>(QStringLiteral("Acerca"))->trigger();
        QStringList shown;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isVisible())
                shown << window->objectName();
        shown.sort();
        QCOMPARE(shown, (QStringList{"Form1", "Form2", "Form3", "Form4"}));
        QSignalSpy closing(&w.form, &Form1::closing);
        w.form.close();
        QCOMPARE(closing.count(), 1);
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }
};

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
