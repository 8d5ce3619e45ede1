#pragma once

class QWidget;

// The screen capture of the "Guardar Pantallazo" and "Guardar  Estadistica" buttons.
namespace WindowCapture {

// Puts the picture of `window` on the clipboard and starts the image editor (the first one
// found), in which the user pastes and saves it. No editor: the picture stays on the clipboard
// and nothing else happens. Returns whether an editor was started.
bool capture(QWidget *window);

} // namespace WindowCapture
