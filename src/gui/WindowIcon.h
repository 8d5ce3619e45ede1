#pragma once

#include <QIcon>

// The program's window icon, made from the icon's pixels compiled into the program (written from
// resources/ondalyx.png at build time by make_icons): no image plugin is looked up and no picture
// is decoded while the program starts. The picture itself stays in the resources for the about
// box and the desktop entry.
namespace WindowIcon {

QIcon make();

} // namespace WindowIcon
