#pragma once

#include "log/DataTable.h"

#include <QString>

// Reads one measuring-block log file.
//
// Lines end at CR LF or at a lone CR; a file that arrives as a single line is read again and
// split at every LF (logs with LF line ends). Spaces (only the space character) are trimmed from
// both ends of every line; in the LF case from the whole text once. Fields are split at every
// ",", with no quoting. Line 1 is the log header, line 4 the group line, line 5 the column-name
// line, lines 8 on the data lines.
//
// The bytes are decoded as UTF-8 when the whole file is valid UTF-8, otherwise as Windows-1252;
// the table then holds UTF-8.
struct LogContent {
    bool hasHeader = false;     // line 1 exists
    QString header;             // line 1, trimmed
    bool hasGroupLine = false;  // line 4 exists
    QString groupLine;          // line 4 as read
    bool hasColumnLine = false; // line 5 exists
    QString columnLine;         // line 5 as read
    DataTable rows;             // one row per data line with two fields or more; no columns
};

struct LogReadResult {
    bool ok = false;
    QString error; // when !ok: a Spanish sentence naming the file and the reason
    LogContent content;
};

namespace LogReader {

// Reads the log at `path`. A file that cannot be opened or read, a folder, or a file of zero
// bytes gives ok = false and an error; nothing else is ever refused.
LogReadResult read(const QString &path);

// Splits a line at every "," (an empty line has no fields).
QStringList splitFields(const QString &line);

} // namespace LogReader
