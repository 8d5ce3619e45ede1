#include "core/SessionLines.h"

#include "core/LogRows.h"

void SessionLines::header(std::string_view text, bool high)
{
    if (high)
        m_rows.checkText(text);
    start(text);
}

void SessionLines::line(std::string_view text, bool high)
{
    if (high) {
        m_rows.checkText(text);
    } else if (m_reading && inData() && !m_block.newer && LogLayout::startsLikeData(text)) {
        // Nearly every data line: plain ASCII of a classic block that cannot be a header line.
        m_rows.add(text, false);
        return;
    }
    if (!inData()) {
        ++m_blockLines;
        if (m_reading)
            m_block.keep(m_blockLines, text);
    } else if (LogLayout::isHeaderLine(text)) {
        start(text);
    } else {
        dataLine(text, high);
    }
}

void SessionLines::restart(std::string_view line1)
{
    m_rows.clear();
    m_sessions.clear();
    m_block = HeaderBlock();
    start(line1);
}

void SessionLines::start(std::string_view header)
{
    m_sessions.push_back({std::string(header), 0});
    m_blockLines = 1;
    m_reading = int(m_sessions.size()) == m_wanted;
    if (m_reading)
        m_block.lines = 1;
}

// A data line: a row of the table in the wanted session (as the classic line it stands for, in
// the newer layout), only counted in the others.
void SessionLines::dataLine(std::string_view text, bool high)
{
    if (!m_reading) {
        if (text.find(',') != std::string_view::npos)
            ++m_sessions.back().rows;
        return;
    }
    if (m_block.newer) {
        m_block.newer->dataLine(text, m_classic, m_times);
        m_rows.add(m_classic, m_times, high);
    } else {
        m_rows.add(text, high);
    }
}
