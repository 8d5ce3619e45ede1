// Thousands of random user actions on the main window (fixed seed), before and after loading each
// sample log, with the modal message boxes answered: the window must keep agreeing with itself.
#include "GuiSupport.h"

#include "gui/Form1.h"
#include "program/AppState.h"

#include <algorithm>

class TestMonkey : public QObject {
    Q_OBJECT
private slots:
    void randomActionsKeepTheWindowConsistent()
    {
        // The association and saved images go to folders of the test's own; no image editor.
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
        qputenv("PATH", home.path().toUtf8());
        QStringList logs;
        for (const char *name : {"diesel.csv", "petrol.csv", "power.csv"})
            logs << QDir(qEnvironmentVariable("ONDALYX_EXAMPLES")).filePath(QLatin1String(name));
        for (const QString &log : logs)
            QVERIFY2(QFile::exists(log), qPrintable(log));

        Form1 form;
        form.setColorChooser([](const QColor &) { return QColor(40, 90, 160); });
        form.setFileChooser([] { return QString(); }); // the open dialog is cancelled
        form.show();
        form.start(QString());
        QTimer answer; // message boxes are modal: close each as soon as it shows
        int answered = 0;
        connect(&answer, &QTimer::timeout, [&answered] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                modal->close();
                ++answered;
            }
        });
        answer.start(0);

        const QList<QAbstractButton *> buttons = form.findChildren<QAbstractButton *>();
        QList<QAction *> actions;
        for (const char *name : {"AbrirCSV", "Acerca", "Asociar"})
            actions << form.findChild<QAction *>(QLatin1String(name));
        auto *atmo = form.findChild<QLineEdit *>(QStringLiteral("TxtAtmo"));
        QTableView *list = form.listDatos();
        QVERIFY(atmo && buttons.size() > 30);
        QRandomGenerator random(20261206);
        const AppState &state = form.state();
        int events = 0;
        for (int round = 0; round <= logs.size(); ++round) {
            if (round > 0)
                form.openFile(logs[round - 1]);
            for (int i = 0; i < 1200; ++i, ++events) {
                const int kind = int(random.bounded(10));
                if (kind < 6) {
                    QAbstractButton *b = buttons[int(random.bounded(int(buttons.size())))];
                    // Saving opens the image with the desktop: left to the image tests.
                    if (b->isEnabled() && b->isVisible() && b->objectName() != "CmdSave")
                        b->click();
                } else if (kind == 6) {
                    actions[int(random.bounded(int(actions.size())))]->trigger();
                } else if (kind == 7) {
                    atmo->setFocus();
                    QTest::keyClick(atmo, random.bounded(2) ? Qt::Key_Backspace : Qt::Key_5);
                } else {
                    if (list->model()->rowCount() > 0)
                        list->selectRow(int(random.bounded(list->model()->rowCount())));
                    if (kind == 9)
                        form.findChild<QPushButton *>(QStringLiteral("CmdDelete"))->click();
                }
                QCoreApplication::processEvents();

                // The widgets agree with the state, and the chart's series with the ticked boxes.
                QList<int> ticked, series;
                for (int k = 0; k < AppState::BoxCount; ++k) {
                    auto *box = form.findChild<QCheckBox *>(QStringLiteral("Check1_%1").arg(k));
                    QCOMPARE(box->isChecked(), state.box(k).ticked);
                    if (state.box(k).ticked)
                        ticked << k;
                }
                QCOMPARE(atmo->text(), state.txtAtmo());
                QCOMPARE(list->model()->rowCount(), state.table.rowCount());
                if (state.chcvTicked()) {
                    QCOMPARE(state.chart.seriesCount(), 2);
                    QCOMPARE(state.chart.seriesLabel(1), QStringLiteral("NM - Par"));
                    continue;
                }
                for (int s = 1; s <= state.chart.seriesCount(); ++s)
                    series << state.chart.seriesBox(s);
                std::sort(series.begin(), series.end());
                QCOMPARE(series, ticked);
                QCOMPARE(state.SeriesCount, state.chart.seriesCount());
            }
        }
        QVERIFY(events >= 4000);
        QVERIFY(answered > 0); // the power curve's message came up and was answered
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &form)
                window->close();
        form.close();
    }
};

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
