#include "gui/Form1.h"
#include "gui/ReportRun.h"
#include "gui/Spanish.h"
#include "gui/Twips.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

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
    QApplication::setApplicationName(QStringLiteral("Ondalyx"));
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
    return app.exec();
}
