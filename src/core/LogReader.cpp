#include "core/LogReader.h"

#include "core/LineSplitter.h"
#include "core/LogInput.h"
#include "core/LogRows.h"
#include "core/SessionLines.h"

#include <algorithm>
#include <limits>
#include <new>

// A log is read in one pass over the file, chunk by chunk (LogInput): LineSplitter cuts the
// chunks into lines, SessionLines tells which session each line belongs to and keeps the header
// block of the wanted one, and LogRows stores that session's data lines in the table as UTF-8.
// Nothing but the table grows with the size of the file. At the end HeaderBlock interprets the
// block kept.

namespace {

LogReadResult failure(const QString &message)
{
    LogReadResult result;
    result.ok = false;
    result.error = message;
    return result;
}

// The message of a log whose rows the table could not take whole.
QString rowsFailure(const QString &path, LogRows::Failure failure)
{
    switch (failure) {
    case LogRows::Failure::LineTooLong:
        return LogInput::cannotRead(path, QStringLiteral("una línea mide más de 4 GiB."));
    case LogRows::Failure::TooManyRows:
        return LogInput::cannotRead(path, QStringLiteral("tiene demasiadas líneas."));
    case LogRows::Failure::None:
        break;
    }
    return QString();
}

QString noSuchSession(const QString &path, int session, size_t count)
{
    const QString has =
        count == 1 ? QStringLiteral("una sola sesión") : QStringLiteral("%1 sesiones").arg(count);
    return QStringLiteral("El registro \"%1\" no tiene la sesión %2: tiene %3.")
        .arg(path)
        .arg(session)
        .arg(has);
}

// Every session of the file into `log`, the wanted one with the rows of the table.
void listSessions(const SessionLines &lines, const LogRows &rows, int wanted, LogFile &log)
{
    const std::vector<SessionLines::Session> &sessions = lines.sessions();
    for (size_t i = 0; i < sessions.size(); ++i) {
        const SessionLines::Session &session = sessions[i];
        const int rowCount = int(i) + 1 == wanted ? log.table.rowCount() : session.rows;
        log.sessions.push_back(
            {rows.decode(session.header), LogLayout::headerTime(session.header), rowCount});
    }
}

LogReadResult readFile(const QString &path, int session)
{
    std::filebuf file;
    uint64_t size = 0;
    if (const QString error = LogInput::open(path, file, size); !error.isEmpty())
        return failure(error);

    LogReadResult result;
    LogFile &log = result.log;
    // Room for the rows a log of this size usually holds (real lines are longer than 40 bytes):
    // the row index then never moves while it fills. Room not used is never touched.
    log.table.reserveRows(
        size_t(std::min<uint64_t>(size / 40, std::numeric_limits<size_t>::max())));
    LogRows rows(log.table, log.slotTimes);
    SessionLines lines(rows, session);
    LineSplitter splitter(lines, file);
    uint64_t total = 0;
    const std::error_code error = LogInput::readChunks(
        file, LogInput::chunkSizeFor(size), total, [&](const char *bytes, size_t count) {
            splitter.feed(bytes, count);
            return rows.failure() == LogRows::Failure::None;
        });
    if (error)
        return failure(LogInput::cannotRead(path, LogInput::reasonFor(error)));
    if (total == 0)
        return failure(LogInput::cannotOpen(path, QStringLiteral("el archivo está vacío.")));
    if (rows.failure() == LogRows::Failure::None)
        splitter.finish();
    if (rows.failure() != LogRows::Failure::None)
        return failure(rowsFailure(path, rows.failure()));

    listSessions(lines, rows, session, log);
    if (int(log.sessions.size()) < session)
        return failure(noSuchSession(path, session, log.sessions.size()));
    log.session = session;
    log.header = log.sessions[size_t(session - 1)].header;
    const HeaderBlock &block = lines.block();
    block.interpret(log, rows.utf8());
    if (block.newer && !block.newer->slotTimesFit())
        rows.fitSlotTimes(block.newer->sessionSlots());
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
        return failure(
            LogInput::cannotRead(path, LogInput::reasonFor(std::errc::not_enough_memory)));
    }
}

} // namespace LogReader
