// A few thousand random user actions on the main window, before and after loading each sample
// log: every enabled button, box, option, menu command, the atmospheric box and row deletion,
// with the modal message boxes answered as they appear. After every action the window must
// still agree with itself: the ticked boxes are the series on the chart.
#include "TestSupport.h"

#include "app/AppState.h"
#include "app/Form1.h"
#include "chart/ChartModel.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>

namespace {

QList<int> sorted(QList<int> list)
{
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The association and saved images go to folders of the test's own.
        QVERIFY(m_home.isValid());
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("PATH", m_home.path().toUtf8()); // no image editor to start
    }

    void randomActionsKeepTheWindowConsistent()
    {
        const QString examples = qEnvironmentVariable("ONDALYX_EXAMPLES");
        QStringList logs;
        for (const char *name : {"diesel.csv", "petrol.csv", "power.csv"})
            logs << QDir(examples).filePath(QString::fromLatin1(name));
        for (const QString &log : logs)
            QVERIFY2(QFile::exists(log), qPrintable(log));

        Form1 form;
        form.setColorChooser([](const QColor &) { return QColor(40, 90, 160); });
        form.setFileChooser([] { return QString(); }); // the open dialog is cancelled
        form.show();
        form.start(QString());

        // Message boxes are modal: answer each as soon as it shows.
        QTimer answer;
        int answered = 0;
        connect(&answer, &QTimer::timeout, [&answered] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                modal->close();
                ++answered;
            }
        });
        answer.start(0);

        QList<QAbstractButton *> buttons = form.findChildren<QAbstractButton *>();
        QList<QAction *> actions;
        for (const char *name : {"AbrirCSV", "Acerca", "Asociar"})
            actions << form.findChild<QAction *>(QString::fromLatin1(name));
        QLineEdit *atmo = form.findChild<QLineEdit *>(QStringLiteral("TxtAtmo"));
        QTableView *list = form.listDatos();
        QVERIFY(atmo && list && buttons.size() > 30);

        QRandomGenerator random(20261206);
        AppState &state = form.state();
        int events = 0;
        for (int round = 0; round <= logs.size(); ++round) {
            if (round > 0)
                form.openFile(logs[round - 1]);
            for (int i = 0; i < 1200; ++i, ++events) {
                const int kind = int(random.bounded(10));
                if (kind < 6) {
                    QAbstractButton *button = buttons[int(random.bounded(int(buttons.size())))];
                    // Saving a chart opens it with the desktop: left to the image tests.
                    if (button->objectName() == QLatin1String("CmdSave"))
                        continue;
                    if (button->isEnabled() && button->isVisible())
                        button->click();
                } else if (kind == 6) {
                    actions[int(random.bounded(int(actions.size())))]->trigger();
                } else if (kind == 7) {
                    atmo->setFocus();
                    QTest::keyClick(atmo, random.bounded(2) ? Qt::Key_Backspace : Qt::Key_5);
                } else {
                    const int rows = list->model()->rowCount();
                    if (rows > 0)
                        list->selectRow(int(random.bounded(rows)));
                    if (kind == 9)
                        form.findChild<QPushButton *>(QStringLiteral("CmdDelete"))->click();
                }
                QCoreApplication::processEvents();

                // The window agrees with its state, and the chart with the boxes.
                QList<int> ticked;
                for (int k = 0; k < AppState::BoxCount; ++k) {
                    QCheckBox *box = form.findChild<QCheckBox *>(QStringLiteral("Check1_%1").arg(k));
                    QCOMPARE(box->isChecked(), state.box(k).ticked);
                    if (state.box(k).ticked)
                        ticked << k;
                }
                QCOMPARE(atmo->text(), state.txtAtmo());
                if (state.chcvTicked()) {
                    QCOMPARE(state.chart.seriesCount(), 2);
                    QCOMPARE(state.chart.seriesLabel(1), QStringLiteral("NM - Par"));
                } else {
                    QList<int> series;
                    for (int s = 1; s <= state.chart.seriesCount(); ++s)
                        series << state.chart.seriesBox(s);
                    QCOMPARE(sorted(series), ticked);
                    QCOMPARE(state.SeriesCount, state.chart.seriesCount());
                }
                QCOMPARE(list->model()->rowCount(), state.table.rowCount());
            }
        }
        QVERIFY(events >= 4000);
        QVERIFY(answered > 0); // the power curve's message came up and was answered
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &form)
                window->close();
        form.close();
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
