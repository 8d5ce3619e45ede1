#include "core/LogReader.h"

#include "core/ByteScan.h"
#include "core/NewerLayout.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ios>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <system_error>

// How a log is read, in one pass over the file in chunks:
//
// The file is cut into lines at CR LF and at a lone CR. While the first line is read, it is also
// cut at every LF into pieces, because a log with LF line ends arrives as one single line: its
// pieces play the roles of the lines (piece 0 the header, 3 the group line, 4 the column-name
// line, 7 on the data lines). If a second line turns up, the file has CR LF (or CR) line ends:
// whatever the pieces gave is dropped and the lines are used instead. Either way the file is
// read once and nothing but the table grows with its size.
//
// A header line among the data lines starts the next session of the file. Only the wanted
// session's block is kept and only its data lines become rows; the other sessions' lines are
// counted. A data line is told from a header line at its first byte nearly always. The look for a
// line end also tells whether the line holds a byte of 0x80 or above (ByteScan.h); a data line goes
// from the read buffer straight into the table.
//
// The table stores the bytes of the file. A line of plain ASCII reads the same in UTF-8 and in
// Windows-1252, so only a line holding a byte of 0x80 or above is looked at: it is checked as
// UTF-8, and the first one that is not valid UTF-8 means the file is Windows-1252. The rows stored
// so far are converted then (when any of them holds such a byte), and every later row that holds
// one is converted as it is stored.

namespace {

constexpr size_t ChunkSize = size_t(1) << 20;
// Line 1 is kept up to this size in case it turns out to be the header of a CR LF file while
// holding LFs; a longer one is read again from the file when that happens.
constexpr size_t Line1KeepLimit = size_t(1) << 20;

std::string_view trimSpaces(std::string_view text, bool leading, bool trailing)
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

using ByteScan::findLineEnd;
using ByteScan::hasHighByte;

bool isValidUtf8(std::string_view text)
{
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        if (n - i >= 8) {
            uint64_t word;
            std::memcpy(&word, s + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2;
        else if (c >= 0xE0 && c <= 0xEF)
            length = 3;
        else if (c >= 0xF0 && c <= 0xF4)
            length = 4;
        else
            return false;
        if (n - i < length)
            return false;
        const unsigned c1 = s[i + 1];
        // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
        unsigned low = 0x80, high = 0xBF;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
        else if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
        if (c1 < low || c1 > high)
            return false;
        for (size_t k = 2; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves undefined keep their Latin-1
// value.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendCp1252AsUtf8(std::string_view text, std::string &out)
{
    out.reserve(out.size() + text.size() + text.size() / 2);
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            out.push_back(byte);
            continue;
        }
        const unsigned u = c < 0xA0 ? unsigned(Cp1252High[c - 0x80]) : c;
        if (u < 0x800) {
            out.push_back(char(0xC0 | (u >> 6)));
            out.push_back(char(0x80 | (u & 0x3F)));
        } else {
            out.push_back(char(0xE0 | (u >> 12)));
            out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(char(0x80 | (u & 0x3F)));
        }
    }
}

// The reason for a failed open or read. The codes are those of <cerrno>, compared as portable
// conditions, so that a system's own codes for them (Windows') read the same.
QString reasonFor(const std::error_code &error)
{
    using std::errc;
    if (error == errc::no_such_file_or_directory || error == errc::not_a_directory)
        return QStringLiteral("el archivo no existe.");
    if (error == errc::permission_denied || error == errc::operation_not_permitted)
        return QStringLiteral("no hay permiso para leerlo.");
    if (error == errc::is_a_directory)
        return QStringLiteral("es una carpeta, no un archivo.");
    if (error == errc::too_many_symbolic_link_levels)
        return QStringLiteral("los enlaces simbólicos forman un bucle.");
    if (error == errc::filename_too_long)
        return QStringLiteral("el nombre es demasiado largo.");
    if (error == errc::too_many_files_open || error == errc::too_many_files_open_in_system)
        return QStringLiteral("hay demasiados archivos abiertos.");
    if (error == errc::not_enough_memory)
        return QStringLiteral("no hay memoria suficiente.");
    if (error == errc::io_error)
        return QStringLiteral("error de entrada/salida del disco.");
    return QStringLiteral("error del sistema número %1.").arg(error.value());
}

QString reasonFor(std::errc error)
{
    return reasonFor(std::make_error_code(error));
}

QString cannotOpen(const QString &path, const QString &reason)
{
    return QStringLiteral("No se puede abrir el registro \"%1\": %2").arg(path, reason);
}

QString sessionCount(size_t count)
{
    return count == 1 ? QStringLiteral("una sola sesión")
                      : QStringLiteral("%1 sesiones").arg(count);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return QStringLiteral("No se puede leer el registro \"%1\": %2").arg(path, reason);
}

// The first `size` bytes of `file` read again; the reading then goes on where it was. Fewer
// bytes when the file changed under us or the read fails: the caller keeps what is there.
std::string readStart(std::filebuf &file, size_t size)
{
    const std::streampos resume = file.pubseekoff(0, std::ios::cur, std::ios::in);
    if (resume == std::streampos(-1))
        return std::string();
    std::string bytes(size, '\0');
    std::streamsize got = 0;
    try {
        if (file.pubseekpos(0, std::ios::in) == std::streampos(0))
            got = file.sgetn(bytes.data(), std::streamsize(size));
    } catch (const std::ios_base::failure &) {
    }
    file.pubseekpos(resume, std::ios::in);
    bytes.resize(size_t(std::max<std::streamsize>(got, 0)));
    return bytes;
}

// Where the lines of one reading of the file (its LF pieces, or its lines) belong: the sessions
// found so far, and which line of the current session's header block is the last one read. Of
// the wanted session it keeps the block lines that carry something.
struct SessionLines {
    struct Session {
        std::string header; // its line 1, trimmed
        int rows = 0;       // lines that give a row (counted for the sessions not read)
    };
    std::vector<Session> sessions;
    int blockLines = 0; // lines of the current block read, up to its seven

    // The wanted session's block.
    std::string group;   // line 4
    std::string columns; // line 5
    std::string names;   // line 6: the names of the newer layout
    bool hasGroup = false;
    bool hasColumns = false;
    std::unique_ptr<NewerLayout> newer; // set when line 3 holds the newer layout's ids

    bool reading = false; // the current session is the wanted one

    void start(std::string_view header, int wanted)
    {
        sessions.push_back({std::string(header), 0});
        blockLines = 1;
        reading = int(sessions.size()) == wanted;
    }
    bool inData() const { return blockLines == LogLayout::FirstDataLine - 1; }
    // A line of the wanted session's data that goes to the table as it stands: a classic block
    // and a line that cannot be a header line (it starts with its empty field 0 or a number).
    bool plainRow(std::string_view text) const
    {
        return reading && inData() && !newer && LogLayout::startsLikeData(text);
    }
};

// Cuts the bytes of a log into lines (and the first line into LF pieces) and keeps what the lines
// of the wanted session give. Fed chunk by chunk; finish() after the last chunk.
class LogSplitter {
public:
    // `file` is the file the bytes come from: a long line 1 is read from it again.
    LogSplitter(DataTable &rows, std::filebuf &file, int wanted)
        : m_rows(rows), m_file(file), m_wanted(wanted)
    {
    }

    void feed(const char *p, size_t size);
    void finish();
    enum class Failure { None, LineTooLong, TooManyRows };
    Failure failure() const { return m_failure; }
    // Fills `log` from the lines read (its rows were added to the table given on construction).
    // Returns false, filling nothing but the sessions, when the file has no wanted session.
    bool result(LogFile &log) const;

private:
    const char *feedFirstLine(const char *p, const char *end);
    const char *feedLines(const char *p, const char *end);
    void keepFirstLine(const char *begin, const char *end);
    void ended(const char *begin, const char *end, bool high, bool lastPiece = false);
    void pieceDone(std::string_view text, bool high, bool last);
    void lineDone(std::string_view text, bool high);
    void takeLine(std::string_view text);
    void nextLine(std::string_view text, bool high);
    void keepBlockLine(std::string_view text);
    void dataLine(std::string_view text, bool high);
    void startSecondLine();
    void check(std::string_view text);
    void addRow(std::string_view text, bool high);
    QString decode(std::string_view bytes) const;

    DataTable &m_rows;
    std::filebuf &m_file;
    const int m_wanted;

    uint64_t m_line = 1;   // the line being read
    bool m_skipLF = false; // the last byte was a CR: an LF right after it belongs to it
    std::string m_carry;   // the bytes of the line (in line 1: the piece) read so far
    bool m_utf8 = true;
    bool m_storedHigh = false; // a row in the table holds a byte of 0x80 or above
    Failure m_failure = Failure::None;
    std::string m_scratch;
    std::string m_classic; // a data line of the newer layout as the classic line it stands for

    // Line 1 read as LF pieces.
    uint64_t m_piece = 0;
    bool m_firstLineHasLF = false;
    std::string m_firstLine; // line 1's bytes while they fit Line1KeepLimit
    uint64_t m_firstLineSize = 0;

    // The sessions of the pieces of line 1, then, once a second line has started, of the lines.
    bool m_manyLines = false;
    SessionLines m_lines;
};

void LogSplitter::feed(const char *p, size_t size)
{
    const char *const end = p + size;
    while (p < end && m_failure == Failure::None) {
        if (m_skipLF) {
            m_skipLF = false;
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        if (m_line == 1) {
            p = feedFirstLine(p, end);
        } else {
            if (!m_manyLines)
                startSecondLine();
            p = feedLines(p, end);
        }
    }
}

// Line 1 up to its CR (or to the end of the chunk), cut into pieces at every LF.
const char *LogSplitter::feedFirstLine(const char *p, const char *end)
{
    const char *const start = p;
    for (;;) {
        bool high;
        const char *stop = findLineEnd<true>(p, end, high);
        if (stop == end) {
            keepFirstLine(start, end);
            m_carry.append(p, size_t(end - p));
            return end;
        }
        if (*stop == '\r') {
            keepFirstLine(start, stop);
            ended(p, stop, high, true);
            m_line = 2;
            m_skipLF = true;
            return stop + 1;
        }
        m_firstLineHasLF = true;
        if (m_piece > 0 && !high && m_carry.empty()) {
            // Nearly every piece of an LF log: plain ASCII, not trimmed.
            takeLine(std::string_view(p, size_t(stop - p)));
            ++m_piece;
        } else {
            ended(p, stop, high);
        }
        p = stop + 1;
        if (m_failure != Failure::None)
            return end;
    }
}

// Every line that ends in this chunk, and the start of the one that goes on in the next.
const char *LogSplitter::feedLines(const char *p, const char *end)
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
            takeLine(trimSpaces(std::string_view(p, size_t(cr - p)), true, true));
        } else {
            ended(p, cr, high);
        }
        ++m_line;
        p = cr + 1;
        if (m_failure != Failure::None)
            return end;
        if (p == end) {
            m_skipLF = true;
            return end;
        }
        if (*p == '\n')
            ++p;
    }
    return end;
}

void LogSplitter::keepFirstLine(const char *begin, const char *end)
{
    const size_t size = size_t(end - begin);
    m_firstLineSize += size;
    if (m_firstLineSize <= Line1KeepLimit)
        m_firstLine.append(begin, size);
    else
        std::string().swap(m_firstLine);
}

// A piece of line 1 (`lastPiece`: the one its CR or the end of the file ends) or a later line,
// ending at `end`. Its bytes before `begin`, if any, came in earlier chunks and wait in m_carry.
void LogSplitter::ended(const char *begin, const char *end, bool high, bool lastPiece)
{
    std::string_view text(begin, size_t(end - begin));
    const bool carried = !m_carry.empty();
    if (carried) {
        m_carry.append(begin, size_t(end - begin));
        text = m_carry;
        high = hasHighByte(m_carry);
    }
    if (m_line == 1)
        pieceDone(text, high, lastPiece);
    else
        lineDone(text, high);
    if (carried) {
        m_carry.clear();
        if (m_carry.capacity() > ChunkSize)
            std::string().swap(m_carry);
    }
}

void LogSplitter::pieceDone(std::string_view text, bool high, bool last)
{
    if (high)
        check(text);
    // The whole first line is trimmed once: only piece 0 loses leading spaces and only the last
    // piece trailing ones.
    text = trimSpaces(text, m_piece == 0, last);
    if (m_piece == 0)
        m_lines.start(text, m_wanted);
    else
        nextLine(text, high);
    ++m_piece;
}

void LogSplitter::lineDone(std::string_view text, bool high)
{
    if (high)
        check(text);
    nextLine(trimSpaces(text, true, true), high);
}

// A plain-ASCII line or piece that lies wholly in its chunk: nearly every data line goes to the
// table at once.
void LogSplitter::takeLine(std::string_view text)
{
    if (m_lines.plainRow(text))
        addRow(text, false);
    else
        nextLine(text, false);
}

// A line after the first: a line of the current header block, a data line, or the header line
// that starts the next session. Lines 1 to 7 of the file are always the first block.
void LogSplitter::nextLine(std::string_view text, bool high)
{
    if (!m_lines.inData()) {
        ++m_lines.blockLines;
        if (m_lines.reading)
            keepBlockLine(text);
    } else if (LogLayout::isHeaderLine(text)) {
        m_lines.start(text, m_wanted);
    } else {
        dataLine(text, high);
    }
}

void LogSplitter::keepBlockLine(std::string_view text)
{
    switch (m_lines.blockLines) {
    case 3:
        if (NewerLayout::isIdLine(text))
            m_lines.newer = std::make_unique<NewerLayout>(text);
        break;
    case LogLayout::GroupLine:
        m_lines.group.assign(text);
        m_lines.hasGroup = true;
        break;
    case LogLayout::ColumnLine:
        m_lines.columns.assign(text);
        m_lines.hasColumns = true;
        break;
    case 6:
        m_lines.names.assign(text);
        break;
    default:
        break;
    }
}

// A data line: a row of the table in the wanted session (as the classic line it stands for, in
// the newer layout), only counted in the others.
void LogSplitter::dataLine(std::string_view text, bool high)
{
    if (!m_lines.reading) {
        if (text.find(',') != std::string_view::npos)
            ++m_lines.sessions.back().rows;
        return;
    }
    if (m_lines.newer) {
        m_lines.newer->dataLine(text, m_classic);
        addRow(m_classic, high);
    } else {
        addRow(text, high);
    }
}

// A byte after line 1's terminator: the file has CR LF or CR line ends, and line 1 is the header
// as a whole, LFs and all. What the pieces gave is dropped.
void LogSplitter::startSecondLine()
{
    m_manyLines = true;
    m_rows.clearRows();
    m_storedHigh = false;
    std::string header;
    if (!m_firstLineHasLF)
        header = std::move(m_lines.sessions.front().header); // line 1 was its one piece
    else if (m_firstLineSize <= Line1KeepLimit)
        header.assign(trimSpaces(m_firstLine, true, true));
    else
        header.assign(trimSpaces(readStart(m_file, size_t(m_firstLineSize)), true, true));
    m_lines = SessionLines();
    std::string().swap(m_firstLine);
    m_lines.start(header, m_wanted);
}

// A line holding a byte of 0x80 or above.
void LogSplitter::check(std::string_view text)
{
    if (!m_utf8 || isValidUtf8(text))
        return;
    m_utf8 = false;
    // Convert the rows stored so far (rows of plain ASCII need nothing); later rows are converted
    // as they come.
    if (!m_storedHigh)
        return;
    DataTable converted;
    for (int r = 1; r <= m_rows.rowCount(); ++r) {
        m_scratch.assign(1, ',');
        appendCp1252AsUtf8(m_rows.rowBytes(r), m_scratch);
        if (!converted.appendLine(m_scratch)) {
            m_failure = Failure::LineTooLong;
            return;
        }
    }
    m_rows = std::move(converted);
}

void LogSplitter::addRow(std::string_view text, bool high)
{
    if (m_failure != Failure::None)
        return;
    bool added;
    if (m_utf8 || !high) {
        added = m_rows.appendLine(text);
        m_storedHigh = m_storedHigh || (added && high);
    } else {
        m_scratch.clear();
        appendCp1252AsUtf8(text, m_scratch);
        added = m_rows.appendLine(m_scratch);
    }
    // A line with a comma is always stored unless the table cannot take it.
    if (!added && text.find(',') != std::string_view::npos) {
        m_failure = m_rows.rowCount() == std::numeric_limits<int>::max() ? Failure::TooManyRows
                                                                         : Failure::LineTooLong;
    }
}

void LogSplitter::finish()
{
    const char *const tail = m_carry.data() + m_carry.size();
    if (m_line == 1) {
        // The file ended inside line 1: its last piece ends here (it may be empty).
        ended(tail, tail, false, true);
    } else if (m_manyLines && !m_carry.empty()) {
        // A last line without a line end.
        ended(tail, tail, false);
    }
}

QString LogSplitter::decode(std::string_view bytes) const
{
    if (m_utf8)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    std::string utf8;
    appendCp1252AsUtf8(bytes, utf8);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

bool LogSplitter::result(LogFile &log) const
{
    // With a second line the file has CR LF (or CR) line ends; otherwise its LF pieces count.
    const SessionLines &lines = m_lines;
    for (size_t i = 0; i < lines.sessions.size(); ++i) {
        const SessionLines::Session &session = lines.sessions[i];
        const bool wanted = int(i) + 1 == m_wanted;
        log.sessions.push_back({decode(session.header), LogLayout::headerTime(session.header),
                                wanted ? m_rows.rowCount() : session.rows});
    }
    if (int(lines.sessions.size()) < m_wanted)
        return false;
    log.session = m_wanted;
    log.header = log.sessions[size_t(m_wanted - 1)].header;
    // A block in the newer layout is read as the classic block it stands for.
    if (lines.hasGroup)
        log.groups =
            LogLayout::readGroupLine(decode(lines.newer ? lines.newer->groupLine() : lines.group));
    if (lines.hasColumns) {
        const QString columnLine =
            decode(lines.newer ? lines.newer->columnLine(lines.names) : lines.columns);
        log.table.setColumns(LogLayout::columnsFor(columnLine));
        log.boxCaptions = LogLayout::boxCaptions(columnLine);
    }
    return true;
}

LogReadResult failure(const QString &message)
{
    LogReadResult result;
    result.ok = false;
    result.error = message;
    return result;
}

// The path as the file system takes it: UTF-16 on Windows, the 8-bit file name encoding elsewhere.
std::filesystem::path filePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Opens the log at `path` for reading into `file` and tells its size (0 when unknown). Returns an
// empty text, or the message of why it cannot be opened.
//
// Only a regular file is read: a FIFO or a device could block or never end. Its type is known
// before it is opened, so a FIFO at the path is refused without waiting for a writer; status()
// follows links, so a dangling link does not exist. What remains is the moment between that look
// and the opening: a path replaced by a FIFO just then makes the opening wait for a writer, and
// one replaced by a device is read as a file (standard C++ opens no file without waiting, nor
// tells the type of an open one).
QString openLog(const QString &path, std::filebuf &file, uint64_t &size)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return cannotOpen(path, reasonFor(std::errc::no_such_file_or_directory));
    const std::filesystem::path name = filePath(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (error)
        return cannotOpen(path, reasonFor(error));
    if (std::filesystem::is_directory(status))
        return cannotOpen(path, reasonFor(std::errc::is_a_directory));
    if (!std::filesystem::is_regular_file(status))
        return cannotOpen(path, QStringLiteral("no es un archivo normal."));
    size = std::filesystem::file_size(name, error);
    if (error)
        size = 0;

    // Unbuffered: the reads go straight into the reader's chunk. std::filebuf keeps no reason for
    // a failed open; the one the C library's open leaves in errno is taken.
    file.pubsetbuf(nullptr, 0);
    errno = 0;
    if (!file.open(name, std::ios::in | std::ios::binary))
        return cannotOpen(path, reasonFor(std::error_code(errno, std::generic_category())));
    return QString();
}

// Reads the whole of `file` into `splitter` in chunks of `chunkSize` bytes, until the end or
// until the splitter fails; `total` counts the bytes read. Returns the error of a failed read.
std::error_code feedFile(std::filebuf &file, LogSplitter &splitter, size_t chunkSize,
                         uint64_t &total)
{
    const std::unique_ptr<char[]> chunk(new char[chunkSize]);
    try {
        for (;;) {
            const std::streamsize n = file.sgetn(chunk.get(), std::streamsize(chunkSize));
            if (n > 0) {
                total += uint64_t(n);
                splitter.feed(chunk.get(), size_t(n));
            }
            // sgetn() stops short only at the end of the file.
            if (size_t(std::max<std::streamsize>(n, 0)) < chunkSize ||
                splitter.failure() != LogSplitter::Failure::None)
                return std::error_code();
        }
    } catch (const std::ios_base::failure &readFailed) {
        // The reason of the failed read; a library that reports none simply ends the file here.
        return readFailed.code();
    }
}

// The message of a log that the splitter could not take whole.
QString splitFailure(const QString &path, LogSplitter::Failure failure)
{
    switch (failure) {
    case LogSplitter::Failure::LineTooLong:
        return cannotRead(path, QStringLiteral("una línea mide más de 4 GiB."));
    case LogSplitter::Failure::TooManyRows:
        return cannotRead(path, QStringLiteral("tiene demasiadas líneas."));
    case LogSplitter::Failure::None:
        break;
    }
    return QString();
}

LogReadResult readFile(const QString &path, int session)
{
    std::filebuf file;
    uint64_t size = 0;
    if (const QString error = openLog(path, file, size); !error.isEmpty())
        return failure(error);

    LogReadResult result;
    // Room for the rows a log of this size usually holds (real lines are longer than 40 bytes):
    // the row index then never moves while it fills. Room not used is never touched.
    result.log.table.reserveRows(
        size_t(std::min<uint64_t>(size / 40, std::numeric_limits<size_t>::max())));
    LogSplitter splitter(result.log.table, file, session);
    // A small log gets a buffer of its own size (plus one byte, to see the end in one read); the
    // loop reads on whatever the size said, as files such as those of /proc report none.
    const size_t chunkSize =
        std::clamp<size_t>(size_t(std::min<uint64_t>(size, ChunkSize)) + 1, 4096, ChunkSize);
    uint64_t total = 0;
    if (const std::error_code error = feedFile(file, splitter, chunkSize, total))
        return failure(cannotRead(path, reasonFor(error)));
    if (total == 0)
        return failure(cannotOpen(path, QStringLiteral("el archivo está vacío.")));
    if (splitter.failure() == LogSplitter::Failure::None)
        splitter.finish();
    if (splitter.failure() != LogSplitter::Failure::None)
        return failure(splitFailure(path, splitter.failure()));
    if (!splitter.result(result.log))
        return failure(QStringLiteral("El registro \"%1\" no tiene la sesión %2: tiene %3.")
                           .arg(path)
                           .arg(session)
                           .arg(sessionCount(result.log.sessions.size())));
    result.ok = true;
    return result;
}

} // namespace

namespace LogReader {

LogReadResult read(const QString &path, int session)
{
    try {
        return readFile(path, session);
    } catch (const std::bad_alloc &) {
        return failure(cannotRead(path, reasonFor(std::errc::not_enough_memory)));
    }
}

} // namespace LogReader
