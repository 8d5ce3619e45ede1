#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>

// Window and control sizes are given in twips (1/1440 inch): 15 twips make one pixel at 96 dpi.
namespace Twips {

constexpr int PerPixel = 15;

// Twips to pixels, to the nearest pixel.
constexpr int px(int twips)
{
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}

constexpr QSize size(int width, int height)
{
    return QSize(px(width), px(height));
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// Places `widget` at (left, top) with (width, height), all in twips, inside its parent.
inline void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(rect(left, top, width, height));
}

// Gives a top-level window `size` (its client area) and centres its frame on its screen.
inline void centre(QWidget *window, const QSize &size)
{
    window->resize(size);
    if (const QScreen *screen = window->screen()) {
        QRect frame(QPoint(), window->frameGeometry().size());
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace Twips
