#include "gui/WindowIcon.h"

#include <QImage>
#include <QPixmap>

#include <cstdint>

// In WindowIconPixels.cpp, written at build time.
extern const int OndalyxIconWidth;
extern const int OndalyxIconHeight;
extern const uint32_t OndalyxIconPixels[];

namespace WindowIcon {

QIcon make()
{
    const QImage image(reinterpret_cast<const uchar *>(OndalyxIconPixels), OndalyxIconWidth,
                       OndalyxIconHeight, QImage::Format_ARGB32_Premultiplied);
    return QIcon(QPixmap::fromImage(image));
}

} // namespace WindowIcon
