#pragma once

#include "core/Vehicle.h"

#include <QString>
#include <QStringList>

#include <cstdio>

class AppState;

// The headless report: `ondalyx --report [--cells] [--power A,B,C] [--session N] [--chart FILE]
// [--analysis] [--analysis-all-rows] [--vehicle M,Q,CD,A,CRR,LOSS%,RHO] [--compare OTHER]
// [--compare-session N] LOG` runs what start-up with LOG on the command line does (with session N
// of the file instead of the first), with no window, and prints one JSON object.
namespace Report {

struct Options {
    QString logPath;
    bool cells = false;
    bool power = false;
    int powerBoxes[3] = {0, 0, 0};
    int session = 1;              // --session N: the session of the file to load
    QString chartFile;            // --chart FILE: also save the main chart as an image
    bool analysis = false;        // --analysis: the "analysis" key
    bool analysisAllRows = false; // --analysis-all-rows: its bins over every row (implies it)
    // --vehicle: the vehicle of the power of the pulls; the defaults without it (never the saved
    // settings, so that a report can be made again).
    Vehicle vehicle;
    QString comparePath;    // --compare OTHER: the "compare" key, OTHER's analysis
    int compareSession = 1; // --compare-session N: the session of OTHER
};

// Parses the arguments after the program's name. Returns false (with a message) on a usage error.
bool parseArguments(const QStringList &args, Options &options, QString &error);

// Loads the log as start-up does, then the log to compare with, if any; returns false with the
// reader's message when either cannot be read.
bool load(AppState &state, const Options &options, QString &error);

// The whole report of a loaded state to `out`: every key of the loaded log, then, with --power,
// the power steps and their result.
void write(AppState &state, const Options &options, FILE *out);

} // namespace Report
