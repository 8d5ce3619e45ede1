// The program's window run, as `ondalyx LOG` starts it, ended when its main window has been drawn
// for the first time (see FirstPaint.h): the benchmark times it as a whole process.
//
//   ondalyx_window_probe [--grafica] LOG
//
// With --grafica the "Grafica" tab is brought to the front of the shown window before its first
// drawing, so that drawing holds the chart ("Datos" is in front otherwise).

#include "FirstPaint.h"

#include "gui/Form1.h"
#include "gui/WindowRun.h"

#include <QTabWidget>

#include <cstring>

int main(int argc, char **argv)
{
    const bool grafica = argc > 1 && std::strcmp(argv[1], "--grafica") == 0;
    if (grafica) { // the window run takes every argument after the program's name as the log path
        argv[1] = argv[0];
        ++argv;
        --argc;
    }
    return runWindow(argc, argv, [grafica](Form1 &form) {
        if (grafica)
            form.findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(0);
        FirstPaint::watch(&form);
    });
}
