#pragma once

#include "core/HeaderBlock.h"
#include "core/LineSplitter.h"
#include "core/LogLayout.h"

#include <string>
#include <string_view>
#include <vector>

class LogRows;

// Which session a line belongs to and what is kept of it:
//
//   Sunday,06,December,2026,14:57:28:15476,KORVEX   line 1 of a header block: a session starts
//   03L 906 018 JL,ADVMB,R4 2.0L EDC                lines 2-7: the rest of its block; of the
//   ...                                             wanted session lines 3-7 are kept
//   ,0.10,904,290.0,272.1,63.0,...                  data lines: rows of the wanted session,
//   ,0.35,900,290.0,284.7,61.9,...                  only counted in the others
//   Sunday,06,December,2026,15:02:09:5,KORVEX       a header line among the data lines starts
//                                                   the next session
//
// Lines 1 to 7 of the file are always the first block, whatever they hold. A data line is told
// from a header line at its first byte nearly always (LogLayout::startsLikeData).
class SessionLines : public LineSink {
public:
    // Keeps session `wanted` (1-based) and stores its data lines in `rows`.
    SessionLines(LogRows &rows, int wanted) : m_rows(rows), m_wanted(wanted) {}

    void header(std::string_view text, bool high) override;
    void line(std::string_view text, bool high) override;
    void restart(std::string_view line1) override;

    struct Session {
        std::string header; // its line 1, trimmed
        int rows = 0;       // lines that give a row (counted for the sessions not read)
    };
    const std::vector<Session> &sessions() const { return m_sessions; }

    // The header block of the wanted session, as far as it was read.
    const HeaderBlock &block() const { return m_block; }

private:
    void start(std::string_view header);
    bool inData() const { return m_blockLines == LogLayout::FirstDataLine - 1; }
    void dataLine(std::string_view text, bool high);

    LogRows &m_rows;
    const int m_wanted;
    std::vector<Session> m_sessions;
    int m_blockLines = 0;   // lines of the current block read, up to its seven
    bool m_reading = false; // the current session is the wanted one
    HeaderBlock m_block;
    // A data line of the newer layout as the classic line it stands for, and its time stamps.
    std::string m_classic;
    std::string m_times;
};
