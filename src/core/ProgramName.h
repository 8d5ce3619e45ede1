#pragma once

#include <QString>

// The program's name, as its captions, message boxes, file association and pictures folder show
// it.
inline QString programName()
{
    return QStringLiteral("Ondalyx");
}
