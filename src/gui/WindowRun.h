#pragma once

#include <functional>

class Form1;

// The program with its main window: the application, Qt's Spanish texts, the icon, Form1 started
// with the command-line argument text (the log path, spaces and all), centred and shown; returns
// when the window has closed. `shown`, when given, is called with the window right after it has
// been shown (before the event loop runs); whoever passes it may watch the window, e.g. to end
// the program at its first drawing.
int runWindow(int argc, char **argv, const std::function<void(Form1 &)> &shown = nullptr);
