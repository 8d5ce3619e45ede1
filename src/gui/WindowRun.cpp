#include "gui/WindowRun.h"

#include "core/ProgramName.h"
#include "gui/Form1.h"
#include "gui/Spanish.h"
#include "gui/Twips.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int runWindow(int argc, char **argv, const std::function<void(Form1 &)> &shown)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(programName());
    if (const QString problem = Spanish::install(); !problem.isEmpty())
        std::fprintf(stderr, "ondalyx: %s\n", problem.toLocal8Bit().constData());
    Q_INIT_RESOURCE(ondalyx); // the pictures live in the window library
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ondalyx.png")));

    Form1 form;
    QObject::connect(&form, &Form1::closing, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // The log path given by the system (or the user) arrives whole, spaces and all.
    form.start(QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')));

    form.adjustSize();
    Twips::centre(&form, form.size());
    form.show();
    if (shown)
        shown(form);
    return app.exec();
}
