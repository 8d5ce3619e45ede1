#pragma once

#include "core/BigMemory.h"
#include "core/NumberRules.h"

#include <QColor>
#include <QString>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The data table: the single store of a loaded log.
//
// Rows are numbered from 1, cells from 0. A row holds the fields after the first comma of its
// data line: cell k is field k + 1 (field 0 of a data line never becomes a cell). Every cell is
// text; the table shows a "." of the log as ",". Each row's fields 1..N are stored once, as the
// UTF-8 bytes of the line after its first comma, in large blocks; a cell is found by scanning its
// row for commas.
//
// Columns are numbered from 0 and column k shows cell k of every row. A row may hold fewer or
// more cells than there are columns. Text colours are kept per column (the program only ever
// colours whole columns, and rows are only added while a log is read).
//
// The numbers of a cell (both readings of NumberRules::ReadCell) are read for every row at once,
// when first asked for, and kept until the rows change.
//
// A copy is a snapshot that costs next to nothing: it shares the row bytes, the row index and the
// numbers read so far until one side changes its rows.
class DataTable {
public:
    static constexpr int FirstColumnWidth = 900; // twips, the visible "Tiempo" column
    static constexpr int DefaultWidth = -1;      // the list's default width

    struct Column {
        QString header;
        int width = DefaultWidth; // twips; 0 hides the column
        QColor color = Qt::black; // text colour of every cell of the column
    };

    DataTable() = default;
    DataTable(const DataTable &other);
    DataTable &operator=(const DataTable &other);
    DataTable(DataTable &&) = default;
    DataTable &operator=(DataTable &&) = default;

    // ---- columns ----
    int columnCount() const { return int(m_columns.size()); }
    const Column &column(int k) const { return m_columns[size_t(k)]; }
    void setColumns(std::vector<Column> columns) { m_columns = std::move(columns); }

    // ---- rows ----
    int rowCount() const { return m_rows ? int(m_rows->size()) : 0; }
    // Whether `other` holds the very same rows: one is a copy of the other and neither has changed
    // its rows since (they then share the numbers read).
    bool sharesRows(const DataTable &other) const { return m_rows && m_rows == other.m_rows; }
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
    // The stored bytes of row `row` (1-based): fields 1..N of its data line with their commas.
    // Empty when the row does not exist.
    std::string_view rowBytes(int row) const;

    // ---- numbers ----
    // The numbers of one cell of every row; entry r - 1 is row r's. Both readings of
    // NumberRules::ReadCell are kept in one double a row: the cell's number, and for the few cells
    // that are no number (empty, missing, a word) their leading value beside, where it is not 0.
    struct NumberColumn {
        // TextNumber of the table's text of the cell; NaN when it is no number or the row has
        // no such cell. A drawing or a sum reads these where they lie.
        BigMemory::Vector<double> values;
        // LeadingValue of the cells that are no number, where it is not 0 ("1e5", "12 V"; NaN for
        // a row without the cell), by row index, ascending.
        std::vector<std::pair<size_t, double>> otherLeading;
        // The least and the greatest number; lowest > highest when there is none.
        double lowest = HUGE_VAL;
        double highest = -HUGE_VAL;

        size_t size() const { return values.size(); }
        double number(size_t i) const { return values[i]; }
        bool isNumber(size_t i) const { return !std::isnan(values[i]); }
        // LeadingValue of the cell's text with "," taken as "." (the log's own bytes), what the
        // statistics compare: the number, else the value listed, else 0; NaN for a row without
        // the cell.
        double leading(size_t i) const;
        void append(NumberRules::CellNumber cell);
        void removeAt(size_t i);
    };
    const NumberColumn &numbers(int cell) const;
    // Lets go of the numbers of a cell (for this table and the copies that share them); they are
    // read again when next asked for.
    void forgetNumbers(int cell) const;
    // Reads the numbers of several cells in one walk over the rows (those not read yet).
    void readNumbers(const std::vector<int> &cells) const;
    // TextNumber of the table text of cell (row, cell); false when the cell does not exist or
    // is not a number.
    bool textNumber(int row, int cell, double &out) const;

    // ---- colours ----
    QColor cellColor(int row, int cell) const;
    void setColumnColor(int column, const QColor &color);

private:
    struct RowRef {
        uint32_t block;
        uint32_t offset;
        uint32_t length;
    };
    // A block of row bytes. It never grows past the capacity it was made with, so views into it
    // stay valid.
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
    using RowIndex = BigMemory::Vector<RowRef>;
    // The numbers read so far, by cell number.
    using NumberCache = std::vector<std::shared_ptr<const NumberColumn>>;

    RowIndex &ownRows();

    std::vector<Column> m_columns;
    std::shared_ptr<RowIndex> m_rows;             // shared with copies until one side changes it
    std::vector<std::shared_ptr<Block>> m_blocks; // shared with copies; never written under them
    // Shared with the copies of the same rows, so that a cell read through one serves all; a
    // change of rows leaves it to the copies and starts another.
    mutable std::shared_ptr<NumberCache> m_numbers;
};
