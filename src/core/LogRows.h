#pragma once

#include "core/DataTable.h"

#include <QString>

#include <string>
#include <string_view>

// The data lines of the session read, stored in the table as UTF-8:
//
//   ,0.10,904,290.0,272.1    plain ASCII: stored as it stands (it reads the same either way)
//   ,0.35,\xC2\xB0,968       valid UTF-8: stored as it stands
//   ,0.61,\xB0,967           not UTF-8: the file is Windows-1252 from here on; this row, and every
//                            row stored before it that holds a byte of 0x80 or above, are
//                            converted to UTF-8
//
// Only a line that holds a byte of 0x80 or above is looked at, and only until one of them turns
// out not to be UTF-8. The table stores the bytes of the file otherwise.
//
// A data line of the newer layout also gives the time stamps of its slots, ,t1,t2,...,tN: they go
// to a second table, one row for each row of the first.
class LogRows {
public:
    LogRows(DataTable &table, DataTable &slotTimes) : m_table(table), m_slotTimes(slotTimes) {}

    enum class Failure { None, LineTooLong, TooManyRows };
    Failure failure() const { return m_failure; }

    // A line (of any role) that holds a byte of 0x80 or above, as it is read.
    void checkText(std::string_view text);
    // Whether the file read so far is UTF-8; it is Windows-1252 otherwise.
    bool utf8() const { return m_utf8; }
    QString decode(std::string_view bytes) const;

    // Appends the row of a data line (`high`: it holds a byte of 0x80 or above). A line with a
    // comma is always stored unless the table cannot take it: that is a failure.
    void add(std::string_view line, bool high);
    // The same for a line of the newer layout, with the time stamps of its slots.
    void add(std::string_view line, std::string_view times, bool high);
    // Drops every row stored.
    void clear();
    // Makes every row of time stamps hold `cells` of them: empty ones added, further ones dropped.
    void fitSlotTimes(int cells);

private:
    bool append(DataTable &table, std::string_view line, bool high);
    void failed(const DataTable &table);
    bool convert(DataTable &table);

    DataTable &m_table;
    DataTable &m_slotTimes;
    bool m_utf8 = true;
    bool m_storedHigh = false; // a row stored holds a byte of 0x80 or above
    Failure m_failure = Failure::None;
    std::string m_scratch;
};
