#include "core/LogRows.h"

#include "core/LineSplitter.h"
#include "core/TextDecoding.h"

#include <limits>
#include <vector>

void LogRows::checkText(std::string_view text)
{
    if (!m_utf8 || m_failure != Failure::None || TextDecoding::isValidUtf8(text))
        return;
    m_utf8 = false;
    // Rows of plain ASCII need nothing; later rows are converted as they come.
    if (m_storedHigh && convert(m_table))
        convert(m_slotTimes);
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
    if (!added && line.find(',') != std::string_view::npos)
        failed(m_table);
}

void LogRows::add(std::string_view line, std::string_view times, bool high)
{
    const int rows = m_table.rowCount();
    add(line, high);
    if (m_failure == Failure::None && m_table.rowCount() > rows &&
        !append(m_slotTimes, times, high))
        failed(m_slotTimes);
}

void LogRows::clear()
{
    m_table.clearRows();
    m_slotTimes.clearRows();
    m_storedHigh = false;
}

void LogRows::fitSlotTimes(int cells)
{
    DataTable fitted;
    std::vector<std::string_view> times;
    for (int r = 1; r <= m_slotTimes.rowCount(); ++r) {
        LineSplitter::splitFields(m_slotTimes.rowBytes(r), times);
        m_scratch.clear();
        for (int k = 0; k < cells; ++k) {
            m_scratch += ',';
            if (size_t(k) < times.size())
                m_scratch += times[size_t(k)];
        }
        fitted.appendLine(m_scratch);
    }
    m_slotTimes = std::move(fitted);
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

void LogRows::failed(const DataTable &table)
{
    m_failure = table.rowCount() == std::numeric_limits<int>::max() ? Failure::TooManyRows
                                                                    : Failure::LineTooLong;
}

// The rows of `table` as Windows-1252 converted to UTF-8; false when one cannot be stored.
bool LogRows::convert(DataTable &table)
{
    DataTable converted;
    for (int r = 1; r <= table.rowCount(); ++r) {
        m_scratch.assign(1, ',');
        TextDecoding::appendCp1252AsUtf8(table.rowBytes(r), m_scratch);
        if (!converted.appendLine(m_scratch)) {
            m_failure = Failure::LineTooLong;
            return false;
        }
    }
    table = std::move(converted);
    return true;
}
