#pragma once

#include "core/DataTable.h"
#include "core/LogLayout.h"

#include <QString>

#include <array>

// Reads one measuring-block log file and interprets its lines.
//
// Lines end at CR LF or at a lone CR; a file that arrives as a single line is read again and
// split at every LF (logs with LF line ends). Spaces (only the space character) are trimmed from
// both ends of every line; in the LF case from the whole text once. Fields are split at every
// ",", with no quoting. The lines play the roles LogLayout gives them.
//
// The bytes are decoded as UTF-8 when the whole file is valid UTF-8, otherwise as Windows-1252;
// the table then holds UTF-8.

// A log as the program takes it over. Nothing of an earlier log is in it: a file without a group
// line marks no group, one without a column-name line has no columns and names no box.
struct LogFile {
    QString header;            // line 1, trimmed
    LogLayout::Groups groups;  // the marks of line 4
    std::array<QString, LogLayout::BoxCount> boxCaptions; // from line 5; empty: box hidden
    DataTable table;           // the columns of line 5 and one row per data line of 2+ fields
};

struct LogReadResult {
    bool ok = false;
    QString error; // when !ok: a Spanish sentence naming the file and the reason
    LogFile log;
};

namespace LogReader {

// Reads the log at `path`. A file that cannot be opened or read, a folder, or a file of zero
// bytes gives ok = false and an error; nothing else is ever refused.
LogReadResult read(const QString &path);

} // namespace LogReader
