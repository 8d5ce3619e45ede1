#include "gui/WindowCapture.h"

#include "core/ImageFiles.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

namespace WindowCapture {

bool capture(QWidget *window)
{
    if (!window)
        return false;
    QGuiApplication::clipboard()->setImage(window->grab().toImage());
    return ImageFiles::startImageEditor();
}

} // namespace WindowCapture
