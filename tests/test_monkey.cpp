// Random clicks on the main window's buttons and menu commands (fixed seed) with each sample log
// loaded in turn and the modal message boxes answered: the check boxes must keep agreeing with the
// state, and the chart's series with the ticked boxes.
#include "GuiSupport.h"

#include <algorithm>

class TestMonkey : public QObject {
    Q_OBJECT
private slots:
    void randomClicksKeepTheWindowConsistent()
    {
        // The association goes to folders of the test's own; no image editor.
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
        qputenv("PATH", home.path().toUtf8());
        const QDir examples(qEnvironmentVariable("ONDALYX_EXAMPLES"));
        const QStringList logs = examples.entryList({QStringLiteral("*.csv")});
        QVERIFY2(logs.size() >= 3, qPrintable(examples.path()));

        Form1 form;
        form.setColorChooser([](const QColor &) { return QColor(40, 90, 160); });
        form.setFileChooser([] { return QString(); }); // the open dialog is cancelled
        form.show();
        form.start(QString());
        QTimer answer; // message boxes are modal: close each as soon as it shows
        connect(&answer, &QTimer::timeout, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        answer.start(0);

        const QList<QAbstractButton *> buttons = form.findChildren<QAbstractButton *>();
        QList<QAction *> actions;
        for (const char *name : {"AbrirCSV", "Acerca", "Asociar"})
            actions << form.findChild<QAction *>(QLatin1String(name));
        QRandomGenerator random(20261206);
        const AppState &state = form.state();
        for (const QString &log : logs) {
            form.openFile(examples.filePath(log));
            for (int i = 0; i < 500; ++i) {
                const int pick = int(random.bounded(int(buttons.size() + actions.size())));
                if (pick >= buttons.size())
                    actions[pick - buttons.size()]->trigger();
                else if (QAbstractButton *b = buttons[pick];
                         b->isEnabled() && b->isVisible() && b->objectName() != "CmdSave")
                    b->click(); // saving opens the image with the desktop: left to other tests
                QCoreApplication::processEvents();

                QList<int> ticked, series;
                for (int k = 0; k < AppState::BoxCount; ++k) {
                    auto *box = form.findChild<QCheckBox *>(QStringLiteral("Check1_%1").arg(k));
                    QCOMPARE(box->isChecked(), state.box(k).ticked);
                    if (state.box(k).ticked)
                        ticked << k;
                }
                for (int s = 1; s <= state.chart.seriesCount(); ++s)
                    series << state.chart.seriesBox(s);
                std::sort(series.begin(), series.end());
                if (!state.chcvTicked()) // the power curve shows torque and power instead
                    QCOMPARE(series, ticked);
            }
        }
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &form)
                window->close();
        form.close();
    }
};

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
