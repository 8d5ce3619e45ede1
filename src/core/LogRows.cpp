#include "core/LogRows.h"

#include "core/TextDecoding.h"

#include <limits>

void LogRows::checkText(std::string_view text)
{
    if (!m_utf8 || m_failure != Failure::None || TextDecoding::isValidUtf8(text))
        return;
    m_utf8 = false;
    // Rows of plain ASCII need nothing; later rows are converted as they come.
    if (m_storedHigh)
        convertStoredRows();
}

QString LogRows::decode(std::string_view bytes) const
{
    return TextDecoding::toQString(bytes, m_utf8);
}

void LogRows::add(std::string_view line, bool high)
{
    if (m_failure != Failure::None)
        return;
    const bool added = append(m_table, line, high);
    m_storedHigh = m_storedHigh || (added && high);
    if (!added && line.find(',') != std::string_view::npos) {
        m_failure = m_table.rowCount() == std::numeric_limits<int>::max() ? Failure::TooManyRows
                                                                          : Failure::LineTooLong;
    }
}

void LogRows::clear()
{
    m_table.clearRows();
    m_storedHigh = false;
}

// Appends the line's row to `table`, converted when the file is Windows-1252.
bool LogRows::append(DataTable &table, std::string_view line, bool high)
{
    if (m_utf8 || !high)
        return table.appendLine(line);
    m_scratch.clear();
    TextDecoding::appendCp1252AsUtf8(line, m_scratch);
    return table.appendLine(m_scratch);
}

void LogRows::convertStoredRows()
{
    DataTable converted;
    for (int r = 1; r <= m_table.rowCount(); ++r) {
        m_scratch.assign(1, ',');
        TextDecoding::appendCp1252AsUtf8(m_table.rowBytes(r), m_scratch);
        if (!converted.appendLine(m_scratch)) {
            m_failure = Failure::LineTooLong;
            return;
        }
    }
    m_table = std::move(converted);
}
