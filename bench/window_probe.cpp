// The program's window run, as `ondalyx LOG` starts it, ended when its main window has been drawn
// for the first time (see FirstPaint.h): the benchmark times it as a whole process.

#include "FirstPaint.h"

#include "gui/Form1.h"
#include "gui/WindowRun.h"

int main(int argc, char **argv)
{
    return runWindow(argc, argv, [](Form1 &form) { FirstPaint::watch(&form); });
}
