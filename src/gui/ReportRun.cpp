#include "gui/ReportRun.h"

#include "core/ProgramName.h"
#include "gui/ChartView.h"
#include "gui/Form1.h"
#include "gui/Spanish.h"
#include "program/AppState.h"
#include "program/Report.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>

#include <cstdio>
#include <memory>

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "ondalyx: %s\n", text.toLocal8Bit().constData());
}

// Saves the main chart as the window draws it, at the window's chart size.
bool saveChart(AppState &state, const QString &path, QString &error)
{
    ChartView view(&state.chart);
    const QImage image = view.render(Form1::chartSize());
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

} // namespace

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
        // The chart in the window's Spanish setting. Its stderr is kept for the report's own
        // error line, so a missing translation is not reported here.
        Spanish::install();
    }
    QCoreApplication::setApplicationName(programName());

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
