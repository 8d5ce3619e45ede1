// The floor of a window program's start-up: what Qt itself costs to show one window holding an
// empty QCustomPlot, at a given size, ended by the same rule as the window probe (FirstPaint.h).
//
//   minimal_window WIDTH HEIGHT

#include "FirstPaint.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

#include <qcustomplot.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    const int width = argc > 2 ? std::atoi(argv[1]) : 800;
    const int height = argc > 2 ? std::atoi(argv[2]) : 600;
    QApplication app(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QCustomPlot);
    window.resize(width, height);
    window.show();
    FirstPaint::watch(&window);
    return app.exec();
}
