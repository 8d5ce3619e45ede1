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
class LogRows {
public:
    explicit LogRows(DataTable &table) : m_table(table) {}

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
    // Drops every row stored.
    void clear();

private:
    bool append(DataTable &table, std::string_view line, bool high);
    void convertStoredRows();

    DataTable &m_table;
    bool m_utf8 = true;
    bool m_storedHigh = false; // a row in the table holds a byte of 0x80 or above
    Failure m_failure = Failure::None;
    std::string m_scratch;
};
