#pragma once

#include "core/DataTable.h"
#include "core/LogLayout.h"

#include <QString>

#include <array>
#include <vector>

// Reads one measuring-block log file and interprets its lines.
//
// Lines end at CR LF or at a lone CR. The file is read once: line 1 is also split at every LF as
// it is read, and while it is the only line its LF pieces play the lines (logs with LF line
// ends). When a second line starts after a line 1 that held an LF, line 1 alone is read again
// from the file, as the header. Spaces (only the space character) are trimmed from both ends of
// every line; in the LF case from the whole text once. Fields are split at every ",", with no
// quoting. The lines play the roles LogLayout gives them.
//
// The bytes are decoded as UTF-8 when the whole file is valid UTF-8, otherwise as Windows-1252;
// the table then holds UTF-8.
//
// The stages, in the order a byte meets them: LogInput (opening, chunks), LineSplitter (lines),
// SessionLines (sessions), LogRows (rows, decoding) and HeaderBlock (what lines 3 to 7 give).

// One logging session of a file: a header block and its data lines.
struct LogSession {
    QString header; // its line 1, trimmed
    QString time;   // the hh:mm:ss its line 1 begins field 4 with; empty when it has none
    int rows = 0;   // the table rows its data lines give
};

// A session of a log as the program takes it over. Nothing of an earlier log is in it: a session
// without a group line marks no group, one without a column-name line has no columns and names no
// box. Lines are counted from the session's own line 1.
struct LogFile {
    QString header;                                       // line 1, trimmed
    LogLayout::Groups groups;                             // the marks of line 4
    std::array<QString, LogLayout::BoxCount> boxCaptions; // from line 5; empty: box hidden
    DataTable table; // the columns of line 5 and one row per data line of 2+ fields
    std::vector<LogSession> sessions; // every session of the file, in file order
    int session = 1;                  // the one read (1-based)

    // What the header block and the data lines say beyond the classic table, as read.
    bool newerLayout = false; // the block is in the newer layout (NewerLayout)
    std::vector<LogLayout::ColumnLines> columnLines; // one for each table column, in column order
    // Newer layout only (empty otherwise): one row for each row of `table`, in the same order,
    // holding the time stamps of every slot of its data line: cell s - 1 is slot s's. Every row
    // has one cell for each slot of the session (NewerLayout::sessionSlots), empty where the line
    // gives none. Table column k shows slot NewerLayout::slotOfColumn(k).
    DataTable slotTimes;
};

struct LogReadResult {
    bool ok = false;
    QString error; // when !ok: a Spanish sentence naming the file and the reason
    LogFile log;
};

namespace LogReader {

// Reads session `session` (1-based) of the log at `path`. A file that cannot be opened or read,
// a folder, a file of zero bytes, or a session the file does not have gives ok = false and an
// error; nothing else is ever refused.
LogReadResult read(const QString &path, int session = 1);

} // namespace LogReader
