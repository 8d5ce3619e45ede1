#pragma once

#include <QStringList>

#include <cstdio>

class AppState;

// The headless report: `ondalyx --report [--cells] [--power A,B,C] LOG` runs what start-up with
// LOG on the command line does, with no window, and prints one JSON object.
namespace Report {

struct Options {
    QString logPath;
    bool cells = false;
    bool power = false;
    int powerBoxes[3] = {0, 0, 0};
    QString chartFile; // --chart FILE: also save the main chart as an image
};

// Parses the arguments after the program's name. Returns false (with a message) on a usage error.
bool parseArguments(const QStringList &args, Options &options, QString &error);

// Loads the log as start-up does; returns false with the reader's message when it cannot be read.
bool load(AppState &state, const Options &options, QString &error);

// Writes the JSON object for a loaded state to `out` (runs the --power steps when asked; they
// come after every other key has been taken).
void write(AppState &state, const Options &options, FILE *out);

} // namespace Report
