#pragma once

// `ondalyx --report ...`: the log loaded as at start-up, written out as JSON, with no window.
// Exit codes: 0 done, 2 wrong arguments or a log that cannot be read (one line on stderr), 1 a
// chart image (--chart) that cannot be written.
int runReport(int argc, char **argv);
