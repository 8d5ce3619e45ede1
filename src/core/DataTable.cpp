#include "core/DataTable.h"

#include "core/ByteScan.h"
#include "core/NumberRules.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// A fresh block starts small and doubles with every block up to BlockSize, so that a table of a
// few rows stays small and a big log lives in 4 MiB blocks.
constexpr size_t FirstBlockSize = size_t(64) << 10;

// The cells of `cells` that `cache` does not hold yet, in ascending order and each once.
template <class Cache>
std::vector<int> unreadCells(const std::vector<int> &cells, const Cache &cache)
{
    std::vector<int> wanted;
    for (int cell : cells) {
        if (cell >= 0 && (size_t(cell) >= cache.size() || !cache[size_t(cell)]))
            wanted.push_back(cell);
    }
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    return wanted;
}

// Reads cells `wanted` (ascending) of one row's bytes onto the ends of `columns`, the column of
// wanted[i] at columns[i]: the row is walked once, skipping to each wanted cell in one go. A cell
// the row does not have reads as NaN, no number.
void appendRowNumbers(std::string_view bytes, const std::vector<int> &wanted,
                      const std::vector<DataTable::NumberColumn *> &columns)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    int field = 0;
    size_t next = 0;
    while (next < wanted.size()) {
        if (field < wanted[next]) {
            const char *comma = ByteScan::nthComma(p, end, wanted[next] - field - 1);
            if (!comma)
                break;
            p = comma + 1;
            field = wanted[next];
        }
        NumberRules::CellNumber cell;
        const char *cellEnd = NumberRules::ReadCellAt(p, end, cell);
        columns[next]->append(cell);
        ++next;
        if (cellEnd == end)
            break;
        p = cellEnd + 1;
        ++field;
    }
    for (; next < wanted.size(); ++next) // the row has no such cells
        columns[next]->append({std::nan(""), false});
}

} // namespace

DataTable::DataTable(const DataTable &other)
    : m_columns(other.m_columns), m_rows(other.m_rows), m_blocks(other.m_blocks)
{
    // The copy and the original share what either of them reads from now on.
    if (!other.m_numbers)
        other.m_numbers = std::make_shared<NumberCache>();
    m_numbers = other.m_numbers;
}

DataTable &DataTable::operator=(const DataTable &other)
{
    if (this != &other)
        *this = DataTable(other);
    return *this;
}

DataTable::Block::Block(size_t wanted) : capacity(wanted)
{
    data = static_cast<char *>(BigMemory::allocate(capacity));
    if (!data)
        throw std::bad_alloc();
}

DataTable::Block::~Block()
{
    BigMemory::release(data);
}

void DataTable::clearRows()
{
    // An index of its own keeps its room: the reader makes room for a file's rows before it knows
    // whether the first line it cut was a line or an LF piece.
    if (m_rows && m_rows.use_count() == 1)
        m_rows->clear();
    else
        m_rows.reset();
    m_blocks.clear();
    m_numbers.reset();
}

void DataTable::reserveRows(size_t rows)
{
    // A row index of more than 2^31 rows cannot be numbered anyway.
    ownRows().reserve(std::min(rows, size_t(std::numeric_limits<int>::max())));
}

DataTable::RowIndex &DataTable::ownRows()
{
    if (!m_rows)
        m_rows = std::make_shared<RowIndex>();
    else if (m_rows.use_count() > 1)
        m_rows = std::make_shared<RowIndex>(*m_rows);
    return *m_rows;
}

bool DataTable::appendLine(std::string_view line)
{
    const void *comma = std::memchr(line.data(), ',', line.size());
    if (!comma)
        return false;
    const size_t start = size_t(static_cast<const char *>(comma) - line.data()) + 1;
    const std::string_view bytes = line.substr(start);
    if (bytes.size() > std::numeric_limits<uint32_t>::max())
        return false;
    if (rowCount() >= std::numeric_limits<int>::max())
        return false; // rows are numbered with int

    // A copy may share the last block: the bytes go after all that it holds, where it never looks.
    Block *block = m_blocks.empty() ? nullptr : m_blocks.back().get();
    if (!block || block->capacity - block->size < bytes.size()) {
        size_t size = FirstBlockSize;
        if (block)
            size = std::min(BlockSize, std::max(FirstBlockSize, block->capacity * 2));
        size = std::max(size, bytes.size());
        m_blocks.push_back(std::make_shared<Block>(size));
        block = m_blocks.back().get();
    }
    const RowRef ref{uint32_t(m_blocks.size() - 1), uint32_t(block->size), uint32_t(bytes.size())};
    std::memcpy(block->data + block->size, bytes.data(), bytes.size());
    block->size += bytes.size();
    ownRows().push_back(ref);
    m_numbers.reset();
    return true;
}

void DataTable::removeRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    RowIndex &rows = ownRows();
    rows.erase(rows.begin() + (row - 1));
    // The numbers read so far follow the rows, in a registry of this table's own.
    if (!m_numbers)
        return;
    auto trimmed = std::make_shared<NumberCache>(m_numbers->size());
    for (size_t cell = 0; cell < m_numbers->size(); ++cell) {
        if (!(*m_numbers)[cell])
            continue;
        auto column = std::make_shared<NumberColumn>(*(*m_numbers)[cell]);
        column->removeAt(size_t(row - 1));
        (*trimmed)[cell] = std::move(column);
    }
    m_numbers = std::move(trimmed);
}

std::string_view DataTable::rowBytes(int row) const
{
    if (row < 1 || row > rowCount())
        return {};
    const RowRef &ref = (*m_rows)[size_t(row - 1)];
    return std::string_view(m_blocks[ref.block]->data + ref.offset, ref.length);
}

int DataTable::cellCount(int row) const
{
    if (row < 1 || row > rowCount())
        return 0;
    const std::string_view bytes = rowBytes(row);
    return int(std::count(bytes.begin(), bytes.end(), ',')) + 1;
}

bool DataTable::rawCell(int row, int cell, std::string_view &out) const
{
    if (row < 1 || row > rowCount() || cell < 0)
        return false;
    const std::string_view bytes = rowBytes(row);
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    if (cell > 0) {
        const char *comma = ByteScan::nthComma(p, end, cell - 1);
        if (!comma)
            return false;
        p = comma + 1;
    }
    const void *comma = std::memchr(p, ',', size_t(end - p));
    const char *cellEnd = comma ? static_cast<const char *>(comma) : end;
    out = std::string_view(p, size_t(cellEnd - p));
    return true;
}

std::string DataTable::cellText(int row, int cell, bool *exists) const
{
    std::string_view raw;
    const bool found = rawCell(row, cell, raw);
    if (exists)
        *exists = found;
    std::string text(raw);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

QString DataTable::cell(int row, int cell) const
{
    const std::string text = cellText(row, cell);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

const DataTable::NumberColumn &DataTable::numbers(int cell) const
{
    static const NumberColumn none;
    if (cell < 0)
        return none;
    readNumbers({cell});
    return *(*m_numbers)[size_t(cell)];
}

void DataTable::readNumbers(const std::vector<int> &cells) const
{
    if (!m_numbers)
        m_numbers = std::make_shared<NumberCache>();
    NumberCache &cache = *m_numbers;
    const std::vector<int> wanted = unreadCells(cells, cache);
    if (wanted.empty())
        return;
    if (size_t(wanted.back()) >= cache.size())
        cache.resize(size_t(wanted.back()) + 1);

    // A column per wanted cell, all filled in one walk over the rows.
    const int rows = rowCount();
    std::vector<std::shared_ptr<NumberColumn>> made;
    std::vector<NumberColumn *> columns;
    for (size_t i = 0; i < wanted.size(); ++i) {
        made.push_back(std::make_shared<NumberColumn>());
        made.back()->values.reserve(size_t(rows));
        columns.push_back(made.back().get());
    }
    for (int r = 1; r <= rows; ++r)
        appendRowNumbers(rowBytes(r), wanted, columns);
    for (size_t i = 0; i < wanted.size(); ++i)
        cache[size_t(wanted[i])] = std::move(made[i]);
}

void DataTable::forgetNumbers(int cell) const
{
    if (m_numbers && cell >= 0 && size_t(cell) < m_numbers->size())
        (*m_numbers)[size_t(cell)].reset();
}

bool DataTable::textNumber(int row, int cell, double &out) const
{
    if (row < 1 || row > rowCount() || cell < 0)
        return false;
    const double value = numbers(cell).number(size_t(row - 1));
    if (std::isnan(value))
        return false;
    out = value;
    return true;
}

void DataTable::NumberColumn::append(NumberRules::CellNumber cell)
{
    if (cell.isNumber) {
        values.push_back(cell.leading);
        lowest = std::min(lowest, cell.leading);
        highest = std::max(highest, cell.leading);
        return;
    }
    if (!(cell.leading == 0)) // NaN too: a missing cell
        otherLeading.emplace_back(values.size(), cell.leading);
    values.push_back(std::nan(""));
}

double DataTable::NumberColumn::leading(size_t i) const
{
    const double value = values[i];
    if (!std::isnan(value))
        return value;
    const auto listed =
        std::lower_bound(otherLeading.begin(), otherLeading.end(), std::make_pair(i, -HUGE_VAL));
    return listed != otherLeading.end() && listed->first == i ? listed->second : 0;
}

void DataTable::NumberColumn::removeAt(size_t i)
{
    const double gone = values[i];
    values.erase(values.begin() + std::ptrdiff_t(i));
    auto listed =
        std::lower_bound(otherLeading.begin(), otherLeading.end(), std::make_pair(i, -HUGE_VAL));
    if (listed != otherLeading.end() && listed->first == i)
        listed = otherLeading.erase(listed);
    for (; listed != otherLeading.end(); ++listed)
        --listed->first;
    if (gone == lowest || gone == highest) { // the least or the greatest number went with the row
        lowest = HUGE_VAL;
        highest = -HUGE_VAL;
        for (const double value : values) {
            lowest = value < lowest ? value : lowest; // NaN compares false: skipped
            highest = value > highest ? value : highest;
        }
    }
}

QColor DataTable::cellColor(int /*row*/, int cell) const
{
    if (cell < 0 || cell >= columnCount())
        return QColor(Qt::black);
    return m_columns[size_t(cell)].color;
}

void DataTable::setColumnColor(int column, const QColor &color)
{
    if (column < 0 || column >= columnCount())
        return;
    m_columns[size_t(column)].color = color;
}
