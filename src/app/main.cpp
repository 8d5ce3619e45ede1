#include "app/AppState.h"
#include "app/Form1.h"
#include "app/Report.h"
#include "app/Twips.h"
#include "chart/ChartView.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace {

const char *const ApplicationName = "Ondalyx";

void printError(const QString &text)
{
    std::fprintf(stderr, "ondalyx: %s\n", text.toLocal8Bit().constData());
}

// Saves the main chart as the window draws it, at the window's chart size.
bool saveChart(AppState &state, const QString &path, QString &error)
{
    ChartView view(&state.chart);
    const QImage image = view.render(Twips::size(11535, 7215));
    const bool png =
        QFileInfo(path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
    if (image.save(path, png ? "PNG" : "JPG"))
        return true;
    error = QStringLiteral("no se pudo guardar %1").arg(path);
    return false;
}

// In the report, stderr carries only the report's own error line: Qt's notes stay quiet.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// `ondalyx --report ...`: the log loaded as at start-up, written out as JSON, with no window.
int runReport(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    Report::Options options;
    QString error;
    if (!Report::parseArguments(args, options, error)) {
        printError(error);
        return 2;
    }

    qInstallMessageHandler(quietMessages);
    // Drawing the chart needs a GUI application, but never a display.
    std::unique_ptr<QCoreApplication> app;
    if (options.chartFile.isEmpty()) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QString::fromLatin1(ApplicationName));

    AppState state;
    if (!Report::load(state, options, error)) {
        printError(error);
        return 2;
    }
    // The chart is drawn as start-up leaves it, before the report's power steps change it.
    if (!options.chartFile.isEmpty() && !saveChart(state, options.chartFile, error)) {
        printError(error);
        return 1;
    }
    Report::write(state, options, stdout);
    std::fflush(stdout);
    return 0;
}

} // namespace

// A big log fills a few hundred megabytes of fresh memory at once; with huge pages the system
// hands it out hundreds of times faster. The C library takes that setting only when a program
// starts, so the program starts itself once more with it, and then forgets it again so that the
// programs it starts (the image editor) run as usual. Where anything of this fails, the program
// simply runs as it is.
void useHugePages(char **argv)
{
#ifdef __linux__
    static const char Setting[] = "glibc.malloc.hugetlb=1";
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strcmp(tunables, Setting) == 0) {
        unsetenv("GLIBC_TUNABLES"); // the second start: the setting has been taken
        return;
    }
    if (tunables || std::getenv("ONDALYX_NO_HUGE_PAGES"))
        return; // the user's own settings stay as they are
    if (setenv("GLIBC_TUNABLES", Setting, 1) == 0)
        execv("/proc/self/exe", argv);
    unsetenv("GLIBC_TUNABLES");
#else
    (void)argv;
#endif
}

int main(int argc, char **argv)
{
    useHugePages(argv);
    if (argc > 1 && std::strcmp(argv[1], "--report") == 0)
        return runReport(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ApplicationName));
    Q_INIT_RESOURCE(ondalyx); // the pictures live in the window library
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ondalyx.png")));

    Form1 form;
    QObject::connect(&form, &Form1::closing, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // The log path given by the system (or the user) arrives whole, spaces and all.
    form.start(QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')));

    form.adjustSize();
    Twips::centre(&form, form.size());
    form.show();
    return app.exec();
}
