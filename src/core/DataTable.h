#pragma once

#include "core/BigMemory.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The data table: the single store of a loaded log.
//
// Rows are numbered from 1, cells from 0. A row holds the fields after the first comma of its
// data line: cell k is field k + 1 (field 0 of a data line never becomes a cell). Every cell is text; the table shows a "." of
// the log as ",". Rows are kept compactly: each row's fields 1..N are stored once, as the UTF-8
// bytes of the line after its first comma, in large shared blocks; a cell is found by scanning
// its row for commas.
//
// Columns are numbered from 0 and column k shows cell k of every row. A row may hold fewer or
// more cells than there are columns. Text colours are kept per column (the program only ever
// colours whole columns, and rows are only added while a log is read).
//
// Copying a table costs next to nothing: the copy shares the row bytes and the row index until
// one side changes its rows, so a copy is a snapshot.
class DataTable {
public:
    static constexpr int FirstColumnWidth = 900; // twips, the visible "Tiempo" column
    static constexpr int DefaultWidth = -1;      // the list's default width

    struct Column {
        QString header;
        int width = DefaultWidth; // twips; 0 hides the column
        QColor color = Qt::black; // text colour of every cell of the column
    };

    // ---- columns ----
    int columnCount() const { return int(m_columns.size()); }
    const Column &column(int k) const { return m_columns[size_t(k)]; }
    void setColumns(std::vector<Column> columns) { m_columns = std::move(columns); }

    // ---- rows ----
    int rowCount() const { return m_rows ? int(m_rows->refs.size()) : 0; }
    void clearRows();
    // Makes room in the row index for `rows` rows (a hint: more can always be added).
    void reserveRows(size_t rows);
    // Appends the row of one data line given as its raw UTF-8 bytes (without line end). A line
    // with fewer than two fields (no comma) adds nothing; returns whether a row was added.
    bool appendLine(std::string_view line);
    // Removes row `row` (1-based); the rows after it move up. Out of range does nothing.
    void removeRow(int row);
    // Number of cells of row `row` (1-based).
    int cellCount(int row) const;

    // ---- cells ----
    // The raw bytes of cell k of row r as the log had them ("." not yet shown as ","). Returns
    // false when the row or the cell does not exist.
    bool rawCell(int row, int cell, std::string_view &out) const;
    // The cell's text as the table holds it: UTF-8 bytes with every "." shown as ",". Empty when
    // the cell does not exist (`exists` tells, when given).
    std::string cellText(int row, int cell, bool *exists = nullptr) const;
    // The same text as a QString, for display.
    QString cell(int row, int cell) const;

    // ---- numbers ----
    // The numbers of one cell of every row, read once and kept until the rows change.
    // `leading[r - 1]` is LeadingValue of the cell's text with "," taken as "." (the log's own
    // bytes), NaN when row r has no such cell. isPlain(r - 1) when the cell is a plain decimal
    // (an optional "-", digits, optionally "." and digits) of finite value: its TextNumber (the
    // table's text, decimal comma) is then the same number.
    struct NumberColumn {
        BigMemory::Vector<double> leading;
        bool allPlain = true; // every row holds the cell as a plain decimal
        // Whether each row holds a plain decimal, kept only once a row does not (empty while
        // allPlain, as in the usual log).
        BigMemory::Vector<uint8_t> plain;
        bool isPlain(size_t i) const { return allPlain || plain[i]; }
        void append(double value, bool isPlainValue)
        {
            leading.push_back(value);
            if (!allPlain || !isPlainValue)
                appendMark(isPlainValue);
        }

    private:
        void appendMark(bool isPlainValue);
    };
    const NumberColumn &numbers(int cell) const;
    // Reads the numbers of several cells in one walk over the rows (those not read yet).
    void readNumbers(const std::vector<int> &cells) const;
    // Whether `other` holds the very same rows (a copy whose rows have not changed since).
    bool sameRows(const DataTable &other) const { return m_rows == other.m_rows; }
    // A number that stands for the rows as they are now, in this program run: tables (copies or
    // not) with the same number hold the very same rows; every change of rows gives a new number.
    // 0 for a table without rows.
    uint64_t rowsId() const;
    // TextNumber of the table text of cell (row, cell); false when the cell does not exist or
    // is not a number.
    bool textNumber(int row, int cell, double &out) const;
    // TextNumber of cell `cell` of rows 1..min(rows, values.size()); an entry whose cell is
    // missing or not a number keeps its value.
    void textNumbers(int cell, std::vector<double> &values, int rows) const;
    // The same for a series that has no values yet: `size` entries, NaN where nothing is read.
    std::vector<double> textNumberColumn(int cell, int rows, int size) const;

    // ---- colours ----
    QColor cellColor(int row, int cell) const;
    void setColumnColor(int column, const QColor &color);

    // Bytes held by the rows (text and index), for memory figures.
    size_t memoryUsed() const;

    // The stored bytes of row `row` (1-based): fields 1..N of its data line with their commas.
    // Empty when the row does not exist.
    std::string_view rowBytes(int row) const;

private:
    struct RowRef {
        uint32_t block;
        uint32_t offset;
        uint32_t length;
    };
    // A block of row bytes. It never grows past the capacity it was made with, so views into it
    // stay valid; big blocks are backed by huge pages where the system offers them.
    struct Block {
        char *data = nullptr;
        size_t size = 0;
        size_t capacity = 0;
        explicit Block(size_t capacity);
        ~Block();
        Block(const Block &) = delete;
        Block &operator=(const Block &) = delete;
    };
    static constexpr size_t BlockSize = size_t(4) << 20;

    std::vector<Column> m_columns;
    // The row index, shared with copies of the table until one of them changes its rows; its
    // number (rowsId) is given when first asked for, and taken away by every change.
    struct Rows {
        BigMemory::Vector<RowRef> refs;
        uint64_t id = 0;
    };
    std::shared_ptr<Rows> m_rows;
    BigMemory::Vector<RowRef> &ownRows();
    std::vector<std::shared_ptr<Block>> m_blocks; // shared with copies of the table
    // Numbers read from the cells, by cell number: shared by the copies that have the same rows,
    // so a column read through any of them serves all; dropped or trimmed (after parting from
    // the copies) when the rows change.
    using NumberCache = std::vector<std::shared_ptr<NumberColumn>>;
    mutable std::shared_ptr<NumberCache> m_numbers;
};
