#pragma once

#include "core/NewerLayout.h"

#include <memory>
#include <string>
#include <string_view>

struct LogFile;

// The header block of the session read, and what its lines give the program:
//
//   1  Friday,14,March,2025,10:42:17:31845,KORVEX Version: ...   the header (kept with the session)
//   2  03G 906 021 KM,BKD,R4 2.0L EDC G000AG 0914,               nothing
//   3  (empty)                                                   nothing, or the newer layout's ids
//   4  ,,Group A:,'003,,,,Group B:,'011,,,,Group C:,'013,,,      the group marks
//   5  ,,Engine Speed,EGR Air Mass (Spec.),...,TIME,...          the columns and box captions
//   6  ,,/min,mg/H,mg/H,%,,/min,mbar,...                          nothing (newer layout: the names)
//   7  Marker,TIME,STAMP,STAMP,...                               nothing
//
// A block in the newer layout is read as the classic block it stands for (NewerLayout).
struct HeaderBlock {
    int lines = 0;       // lines of the block read, up to its seven
    std::string group;   // line 4
    std::string columns; // line 5
    std::string line6;
    std::string line7;
    std::unique_ptr<NewerLayout> newer; // set when line 3 holds the newer layout's ids

    bool has(int line) const { return lines >= line; }
    // Line `line` of the block (counted from 1) is `text`: kept when it is one of lines 3 to 7.
    void keep(int line, std::string_view text);
    // The groups, columns, box captions, layout and column lines of `log` from the lines read;
    // `utf8`: the file is UTF-8 (Windows-1252 otherwise). A block without line 4 marks no group,
    // one without line 5 gives no column and no box. Made after the data lines, which may add
    // slots to a block of the newer layout.
    void interpret(LogFile &log, bool utf8) const;
};
