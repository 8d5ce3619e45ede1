#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// Cuts the bytes of a log into lines, and its first line into LF pieces:
//
//   Sunday,06,December,2026,14:57:28:15476,KORVEX<CR><LF>   a line ends at CR LF
//   03L 906 018 JL<CR>                                       or at a lone CR
//   Sunday,...,KORVEX<LF>03L 906 018 JL<LF><LF>,,'003<LF>    LF line ends: one single line 1,
//                                                            its pieces play the lines
//
// Spaces (the space character only) are trimmed from both ends of every line. Line 1 is trimmed
// as a whole: only its first piece loses leading spaces and only its last piece trailing ones.
// Fields are split at every ",", with no quoting; an empty line has no fields.
//
// Line 1 is cut at every LF while it is read, since a log with LF line ends arrives as a single
// line: its pieces go to the sink as the lines. If a second line starts, the file has CR LF (or
// CR) line ends after all: when line 1 held an LF, it is read again from the file (its bytes are
// never kept) and the sink starts again with it as its header. The file is otherwise read once.

// What receives the lines, in file order.
class LineSink {
public:
    virtual ~LineSink() = default;
    // Line 1, or its first piece. `high`: the text holds a byte of 0x80 or above.
    virtual void header(std::string_view text, bool high) = 0;
    // A later piece of line 1, or a later line.
    virtual void line(std::string_view text, bool high) = 0;
    // A second line starts after a line 1 that held LFs: what its pieces gave is dropped and
    // `line1`, the whole of line 1 trimmed, is the header.
    virtual void restart(std::string_view line1) = 0;
};

class LineSplitter {
public:
    // `file` is the file the bytes come from: line 1 may be read from it again.
    LineSplitter(LineSink &sink, std::filebuf &file) : m_sink(sink), m_file(file) {}

    // The next bytes of the file; finish() after the last ones.
    void feed(const char *p, size_t size);
    void finish();

    // The text without its leading and trailing spaces, as asked.
    static std::string_view trimSpaces(std::string_view text, bool leading, bool trailing);
    // The fields of a line into `out`, split at every ","; an empty line has none.
    static void splitFields(std::string_view line, std::vector<std::string_view> &out);

private:
    const char *feedFirstLine(const char *p, const char *end);
    const char *feedLines(const char *p, const char *end);
    void ended(const char *begin, const char *end, bool high, bool lastPiece = false);
    void pieceDone(std::string_view text, bool high, bool last);
    void startSecondLine();

    LineSink &m_sink;
    std::filebuf &m_file;

    bool m_inLine1 = true;
    bool m_skipLF = false; // the last byte was a CR: an LF right after it belongs to it
    std::string m_carry;   // the bytes of the line (in line 1: the piece) read so far

    // Line 1 read as LF pieces.
    uint64_t m_piece = 0;
    bool m_line1HasLF = false;
    uint64_t m_line1Size = 0;  // its bytes up to its CR, LFs included
    bool m_secondLine = false; // a second line has started
};
