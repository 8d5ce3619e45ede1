// The main window, driven in-process as a user would.
#include "GuiSupport.h"

#include "core/ImageFiles.h"
#include "gui/ChartView.h"
#include "gui/Form3.h"
#include "gui/Form4.h"
#include "gui/Twips.h"

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
    QLabel *label(const char *name) { return find<QLabel>(QLatin1String(name)); }
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
    // Controls on each tab, the rows and columns of the series boxes among them, in twips from
    // SSTab1's corner.
    void controlsAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QRect>("twips"); // left, top, width, height

        const auto row = [](const char *name, const char *caption, int tab, const QRect &twips) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) << tab
                                << twips;
        };
        row("Chart1", "", 0, QRect(120, 360, 11535, 7215));
        row("CmdSave", "Guardar Grafica", 0, QRect(10320, 7200, 1455, 495));
        row("CmdFullList", "Pantalla  FULL", 1, QRect(120, 6600, 1335, 375));
        row("Frame1", "Presion Turbo", 1, QRect(1560, 6480, 1455, 975));
        row("Check1_0", "Check1", 1, QRect(3840, 6480, 2055, 255));
        row("Check1_9", "Check1", 1, QRect(6720, 7440, 2175, 255));
        row("Check1_12", "Check1", 1, QRect(9720, 6960, 1695, 255));
        row("CmdColor_14", "Color", 1, QRect(9000, 7440, 615, 255));
        row("TxtAtmo", "950", 2, QRect(10320, 720, 495, 300));
        row("CmdSavePant", "Guardar  Estadistica", 2, QRect(120, 7080, 1575, 615));
    }
    void controlsAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, tab);
        QFETCH(QRect, twips);
        Window w;
        w.tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QWidget *widget = w.find<QWidget>(name);
        QVERIFY(widget);
        const bool group = qobject_cast<QGroupBox *>(widget);
        QCOMPARE(widget->property(group ? "title" : "text").toString(), caption);
        QCOMPARE(QRect(widget->mapTo(w.tabs(), QPoint(0, 0)), widget->size()),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    }

    void startsEmptyAtItsSize()
    {
        Window w;
        QStringList tabs;
        for (int k = 0; k < w.tabs()->count(); ++k)
            tabs << w.tabs()->tabText(k);
        QCOMPARE(tabs, QStringList({"Grafica", "Datos", "Estadisticas", "Análisis"}));
        QStringList captions; // of the menu commands and of the controls not placed above
        for (const char *name : {"AbrirCSV", "Asociar", "Acerca"})
            captions << w.find<QAction>(QLatin1String(name))->text();
        for (const char *name : {"CmdFull", "CmdReset", "CmdDelete", "Option1", "ChCV", "Label3"})
            captions << w.find<QWidget>(QLatin1String(name))->property("text").toString();
        QCOMPARE(captions.join('|'), "Abrir CSV|Asociar Extension|Acerca de ODX|Pantalla Completa|"
                                     "Borrar Grafica|Borrar Linea|Diesel|Grafica Potencia|mbar");
        QCOMPARE(w.tabs()->currentIndex(), 1);
        QVERIFY(!w.find<QCheckBox>("ChCV")->isEnabled());
        for (int k = 0; k < AppState::BoxCount; ++k)
            QVERIFY(w.box(k)->isHidden() && w.colorButton(k)->isHidden());
        const QSize size = w.form.size(); // the window keeps its size
        w.form.resize(size + QSize(200, 100));
        QCoreApplication::processEvents();
        QCOMPARE(w.form.size(), size);
        QCOMPARE(w.form.centralWidget()->size(), QSize(795, 522));
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
        QCOMPARE(w.checkedBoxes(), QList<int>({2, 3, 7, 8}));
        QVERIFY(w.option(1)->isChecked());
        QCOMPARE(w.box(2)->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        QVERIFY(!w.label("LbMaxPico")->text().isEmpty());
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
        QVERIFY(w.label("LbMaxPico")->text().isEmpty()); // the diesel figures are gone
        QVERIFY(menu->actions()[1]->isChecked() && !menu->actions()[0]->isChecked());

        w.openLog(Diesel, 4); // a file of one session hides the menu again
        QVERIFY(!menu->menuAction()->isVisible());

        // A session of a file that has gone: the message, and the menu hidden.
        w.open(path);
        QVERIFY(QFile::remove(path));
        menu->actions()[1]->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(w.messages, QStringList{"No se puede abrir el registro \"" + path +
                                         "\": el archivo no existe."});
        QVERIFY(!menu->menuAction()->isVisible());
    }

    // Regression: a column-name line of 100,000 fields froze the window while each column was
    // sized.
    void wideColumnLineOpensAtOnce()
    {
        Window w;
        const QByteArray names = TestSupport::Columns + QByteArray(100000 - 16, ',');
        w.openBytes(TestSupport::standardLog(Diesel, TestSupport::rampLines(3))
                        .replace(TestSupport::Columns, names));
        QTableView *list = w.form.listDatos();
        QCOMPARE(list->model()->columnCount(), 100000 - 1);
        QCOMPARE(list->columnWidth(0), 60);
        QCOMPARE(list->columnWidth(99998), 96);
        QVERIFY(list->isColumnHidden(5) && list->isColumnHidden(10));
        QVERIFY(!list->isColumnHidden(11));
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
                QVERIFY2(w.label(name)->text().isEmpty(), name);
            QCOMPARE(w.graphCount(), 0);
            QCOMPARE(w.form.listDatos()->model()->rowCount(), 6);
        }
    }

    // The colour dialog starts at the box's colour, later at the last colour chosen; the box's
    // text takes the colour, and a cancelled dialog changes nothing (the series order is the
    // chart tests' business).
    void colorButtonRecolours()
    {
        Window w;
        w.openLog(Diesel, 6);
        QList<QColor> offered;
        QColor answer(10, 20, 30);
        w.form.setColorChooser([&](const QColor &initial) {
            offered << initial;
            return answer;
        });
        w.colorButton(2)->click();
        QCOMPARE(w.box(2)->palette().color(QPalette::WindowText), answer);
        answer = QColor(); // cancelled
        w.colorButton(3)->click();
        QCOMPARE(offered, QList<QColor>({QColor(192, 0, 0), QColor(10, 20, 30)}));
        QCOMPARE(w.form.state().chart.seriesCount(), 4);
        QCOMPARE(w.box(3)->palette().color(QPalette::WindowText), QColor(255, 128, 0));
    }

    // "Borrar Linea" removes the selected row and the main chart follows the rows, while the
    // full-screen chart and table, snapshots of the old rows, go on showing them; a colour change
    // and an untick reach the main chart alone. (Under the sanitizer this also shows that nothing
    // the snapshots read is freed early.)
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
        w.form.setColorChooser([](const QColor &) { return QColor(10, 20, 30); });
        w.colorButton(7)->click(); // box 7 comes back last, in its new colour
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
        QCOMPARE(w.messages,
                 QStringList({"Debe seleccionar los 3 campos correctos para realizar la grafica"}));
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

    // Every chart save, of the main window and of the full-screen chart, puts the chart's picture
    // on the clipboard, also when the file cannot be written.
    void chartSavesGoToTheClipboard_data()
    {
        QTest::addColumn<bool>("full");     // the full-screen chart's save, else the main window's
        QTest::addColumn<bool>("writable"); // the images folder can be written
        QTest::newRow("Guardar Grafica") << false << true;
        QTest::newRow("Guardar grafica pantalla completa, nowhere to write") << true << false;
    }
    void chartSavesGoToTheClipboard()
    {
        QFETCH(bool, full);
        QFETCH(bool, writable);
        Window w;
        w.openLog(Diesel, 12);
        // Root writes anywhere: the folders that cannot be written lie under a file.
        TestSupport::writeFile(w.dir, "file", "a file, no folder");
        const QString base = w.dir.filePath(writable ? "home" : "file");
        const QString programDir = base + "/bin", pictures = base + "/pictures";
        w.form.setImageFolders(programDir, pictures);
        QWidget *window = &w.form;
        ChartView *chart = w.form.chart1();
        w.tabs()->setCurrentIndex(0);
        if (full) {
            w.button("CmdFull")->click();
            window = topLevels<Form3>().first();
            chart = topLevels<Form3>().first()->chart2();
        }
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QGuiApplication::clipboard()->clear();
        GuiSupport::UrlCatcher opened;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        GuiSupport::DialogCatcher message;
        message.arm();
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("CmdSave")),
                          Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        const QImage picture = GuiSupport::rgb(chart->render(chart->size()));
        QCOMPARE(GuiSupport::rgb(QGuiApplication::clipboard()->image()), picture);
        const QString folder = ImageFiles::folder(programDir, pictures);
        const QString path = folder + "/" + w.form.state().LogTitle + ".jpg";
        if (writable) {
            QCOMPARE(message.className, QString());
            QCOMPARE(QImage(path).size(), picture.size());
            QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});
        } else {
            QCOMPARE(message.className, QStringLiteral("QMessageBox"));
            const QString texts = message.texts.join('\n');
            QVERIFY2(texts.contains(QDir::toNativeSeparators(folder)), qPrintable(texts));
            QVERIFY(opened.urls.isEmpty());
            QVERIFY(!QFileInfo::exists(path));
        }
    }

    // "Pantalla Completa" makes a new full-screen chart every time: no read-out, zoom or
    // hidden state of the earlier one is left, and one still open is replaced.
    void fullChartStartsAfresh()
    {
        // What became of the first window before the second press.
        for (const char *before : {"closed", "hidden by a click beside the points", "still open"}) {
            Window w;
            w.openLog(Diesel, 30);
            w.button("CmdFull")->click();
            QPointer<Form3> first = topLevels<Form3>().first();
            emit first->chart2()->pointPicked(1, 4);
            QVERIFY(!first->chartModel().hintText().isEmpty());
            first->chart2()->updateNow();
            first->chart2()->plot()->xAxis->setRange(3, 8);
            first->resize(300, 200);
            if (before == QLatin1String("closed"))
                first->close();
            else if (before[0] == 'h')
                emit first->chart2()->clicked();

            w.button("CmdFull")->click();
            QVERIFY2(first.isNull(), before);
            QCOMPARE(topLevels<Form3>().size(), 1);
            Form3 *second = topLevels<Form3>().first();
            QVERIFY(second->isVisible());
            QCOMPARE(second->size(), Twips::size(8010, 5265));
            QCOMPARE(second->chartModel().hintText(), QString());
            QCOMPARE(second->chart2()->toolTip(), QString());
            second->chart2()->updateNow();
            QCOMPARE(second->chart2()->plot()->xAxis->range(), QCPRange(0.5, 30.5));
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
