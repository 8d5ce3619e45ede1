#include "core/LineSplitter.h"

#include "core/ByteScan.h"
#include "core/LogInput.h"

using ByteScan::findLineEnd;
using ByteScan::hasHighByte;

std::string_view LineSplitter::trimSpaces(std::string_view text, bool leading, bool trailing)
{
    const char *begin = text.data();
    const char *end = begin + text.size();
    if (leading) {
        while (begin < end && *begin == ' ')
            ++begin;
    }
    if (trailing) {
        while (end > begin && end[-1] == ' ')
            --end;
    }
    return std::string_view(begin, size_t(end - begin));
}

void LineSplitter::splitFields(std::string_view line, std::vector<std::string_view> &out)
{
    out.clear();
    if (line.empty())
        return;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            out.push_back(line.substr(start));
            return;
        }
        out.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

void LineSplitter::feed(const char *p, size_t size)
{
    const char *const end = p + size;
    while (p < end) {
        if (m_skipLF) {
            m_skipLF = false;
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        if (m_inLine1) {
            p = feedFirstLine(p, end);
        } else {
            if (!m_secondLine)
                startSecondLine();
            p = feedLines(p, end);
        }
    }
}

// Line 1 up to its CR (or to the end of the chunk), cut into pieces at every LF.
const char *LineSplitter::feedFirstLine(const char *p, const char *end)
{
    const char *const start = p;
    for (;;) {
        bool high;
        const char *stop = findLineEnd<true>(p, end, high);
        if (stop == end) {
            m_line1Size += uint64_t(end - start);
            m_carry.append(p, size_t(end - p));
            return end;
        }
        if (*stop == '\r') {
            m_line1Size += uint64_t(stop - start);
            ended(p, stop, high, true);
            m_inLine1 = false;
            m_skipLF = true;
            return stop + 1;
        }
        m_line1HasLF = true;
        if (m_piece > 0 && !high && m_carry.empty()) {
            // Nearly every piece of an LF log: plain ASCII, not trimmed.
            m_sink.line(std::string_view(p, size_t(stop - p)), false);
            ++m_piece;
        } else {
            ended(p, stop, high);
        }
        p = stop + 1;
    }
}

// Every line that ends in this chunk, and the start of the one that goes on in the next.
const char *LineSplitter::feedLines(const char *p, const char *end)
{
    while (p < end) {
        bool high;
        const char *cr = findLineEnd<false>(p, end, high);
        if (cr == end) {
            m_carry.append(p, size_t(end - p));
            return end;
        }
        if (!high && m_carry.empty()) {
            // Nearly every line: plain ASCII that lies wholly in this chunk.
            m_sink.line(trimSpaces(std::string_view(p, size_t(cr - p)), true, true), false);
        } else {
            ended(p, cr, high);
        }
        p = cr + 1;
        if (p == end) {
            m_skipLF = true;
            return end;
        }
        if (*p == '\n')
            ++p;
    }
    return end;
}

// A piece of line 1 (`lastPiece`: the one its CR or the end of the file ends) or a later line,
// ending at `end`. Its bytes before `begin`, if any, came in earlier chunks and wait in m_carry.
void LineSplitter::ended(const char *begin, const char *end, bool high, bool lastPiece)
{
    std::string_view text(begin, size_t(end - begin));
    const bool carried = !m_carry.empty();
    if (carried) {
        m_carry.append(begin, size_t(end - begin));
        text = m_carry;
        high = hasHighByte(m_carry);
    }
    if (m_inLine1)
        pieceDone(text, high, lastPiece);
    else
        m_sink.line(trimSpaces(text, true, true), high);
    if (carried) {
        m_carry.clear();
        if (m_carry.capacity() > LogInput::ChunkSize)
            std::string().swap(m_carry);
    }
}

void LineSplitter::pieceDone(std::string_view text, bool high, bool last)
{
    // The whole first line is trimmed once: only piece 0 loses leading spaces and only the last
    // piece trailing ones.
    text = trimSpaces(text, m_piece == 0, last);
    if (m_piece == 0)
        m_sink.header(text, high);
    else
        m_sink.line(text, high);
    ++m_piece;
}

// A byte after line 1's terminator: the file has CR LF or CR line ends, and line 1 is the header
// as a whole, LFs and all: it is read again from the file (fewer bytes when the file has shrunk
// meanwhile). Without an LF its one piece was the header all along.
void LineSplitter::startSecondLine()
{
    m_secondLine = true;
    if (!m_line1HasLF)
        return;
    const std::string line1 = LogInput::readStart(m_file, size_t(m_line1Size));
    m_sink.restart(trimSpaces(line1, true, true));
}

void LineSplitter::finish()
{
    const char *const tail = m_carry.data() + m_carry.size();
    if (m_inLine1) {
        // The file ended inside line 1: its last piece ends here (it may be empty).
        ended(tail, tail, false, true);
    } else if (m_secondLine && !m_carry.empty()) {
        // A last line without a line end.
        ended(tail, tail, false);
    }
}
