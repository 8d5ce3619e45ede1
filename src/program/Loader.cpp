// Start-up, the open command, reading a log into the program and row deletion.

#include "program/AppState.h"

#include "core/LogReader.h"

#include <QFileInfo>

#include <algorithm>

bool AppState::FormLoad(const QString &argumentText, int session)
{
    SeriesCount = 3; // kept as the program always did: the count the first reset clears
    ResetChart();
    if (argumentText.isEmpty())
        return true;
    clearRows();
    File(argumentText);
    const bool ok = Loader(argumentText, session);
    CalcStats();
    return ok;
}

bool AppState::OpenChosen(const QString &path, const QString &fileName, int session)
{
    ResetChart();
    if (path.isEmpty())
        return true;
    clearRows();
    LogTitle = fileName;
    const bool ok = Loader(path, session);
    CalcStats();
    return ok;
}

void AppState::File(const QString &path)
{
    // The title is the last piece of the path, whichever separator it uses.
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    LogTitle = path.mid(cut + 1);
    LogTitle.replace(QLatin1Char('.'), QLatin1Char(' '));
}

bool AppState::OpenSession(int session)
{
    return OpenChosen(m_logPath, LogTitle, session);
}

bool AppState::Loader(const QString &path, int session)
{
    setCaption(captionPrefix() + LogTitle);
    comparison.clear();
    LogReadResult read = LogReader::read(path, session);
    if (!read.ok) {
        m_logPath.clear();
        m_sessions.clear();
        m_session = 0;
        emit sessionsChanged();
        message(read.error, MessageKind::Warning);
        return false;
    }
    m_logPath = path;
    m_sessions = std::move(read.log.sessions);
    m_session = read.log.session;
    emit sessionsChanged();
    takeLog(read.log);
    chooseEngine();
    if (!HasGroup002 && !HasGroup003 && !HasGroup011 && !HasGroup115 && !groupPlaces.g120 &&
        table.columnCount() <= 1 && table.rowCount() == 0)
        message(QStringLiteral("El archivo \"%1\" no parece un registro de bloques de medida: no "
                               "tiene grupos ni filas de datos.")
                    .arg(QFileInfo(path).fileName()),
                MessageKind::Warning);
    return true;
}

// Every load starts clean: nothing of the previous log (its groups, columns or series boxes)
// survives into this one, whatever lines this file has. Kept as the program always did: group 120
// enables the power curve box for the rest of the run.
void AppState::takeLog(LogFile &log)
{
    LogHeader = log.header;
    HasGroup003 = log.groups.g003;
    HasGroup011 = log.groups.g011;
    HasGroup002 = log.groups.g002;
    HasGroup115 = log.groups.g115;
    groupPlaces = log.groups;
    if (log.groups.g120)
        setChCVEnabled(true);
    for (int k = 0; k < BoxCount; ++k) {
        const QString &caption = log.boxCaptions[size_t(k)];
        setBoxCaption(k, caption.isEmpty() ? QStringLiteral("Check1") : caption);
        setBoxVisible(k, !caption.isEmpty());
    }
    columnLines = std::move(log.columnLines);
    slotTimes = std::move(log.slotTimes);
    newerLayout = log.newerLayout;
    replaceTable(std::move(log.table));
}

// The engine type from the group flags, first match wins; selecting it runs its handling.
void AppState::chooseEngine()
{
    if (HasGroup003 && HasGroup011)
        selectEngine(EngineType::Diesel);
    else if (HasGroup002 && HasGroup115)
        selectEngine(EngineType::Gasolina);
    else
        selectEngine(EngineType::Ninguno);
}

void AppState::DeleteRow(int row)
{
    if (row < 1 || row > table.rowCount())
        return;
    emit rowAboutToBeRemoved(row);
    table.removeRow(row);
    slotTimes.removeRow(row); // a classic log has none
    m_stats.valid = false;
    emit rowRemoved(row);
    for (int k = 0; k < BoxCount; ++k) {
        if (m_boxes[size_t(k)].ticked) {
            setBoxTicked(k, false);
            setBoxTicked(k, true);
        }
    }
    CalcStats();
}

void AppState::clearRows()
{
    chart.detachRowLabels();
    emit tableAboutToReset();
    table.clearRows();
    slotTimes.clearRows();
    m_stats.valid = false;
    emit tableReset();
}

void AppState::replaceTable(DataTable replacement)
{
    chart.detachRowLabels();
    emit tableAboutToReset();
    table = std::move(replacement);
    m_stats.valid = false;
    emit tableReset();
}
