#include "core/DataTable.h"

#include "core/ByteScan.h"
#include "core/NumberRules.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// A fresh block starts small and doubles with every block up to BlockSize, so that a table of a
// few rows stays small and a big log lives in 4 MiB blocks.
constexpr size_t FirstBlockSize = size_t(64) << 10;

void showDotsAsCommas(std::string &text)
{
    std::replace(text.begin(), text.end(), '.', ',');
}

// Whether the text is a plain decimal: an optional "-", digits, optionally "." and digits.
bool isPlainDecimal(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    const size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    if (i == digits)
        return false;
    if (i == text.size())
        return true;
    if (text[i] != '.')
        return false;
    const size_t fraction = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    return i == text.size() && i > fraction;
}

// Reads the cell that starts at `p` (it ends at the next "," or at `end`): its leading value and
// whether it is a plain decimal of finite value. Returns where the cell ends. A plain decimal of
// at most 15 digits is exact in a double, and dividing it by an exact power of ten rounds
// correctly, so it gives the very number LeadingValue gives; anything else goes to LeadingValue.
const char *readNumber(const char *p, const char *end, double &leading, uint8_t &plain)
{
    static const double PowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char *const cell = p;
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    uint64_t mantissa = 0;
    int digits = 0;
    int fraction = 0;
    const char *const start = p;
    while (p < end && unsigned(*p - '0') < 10 && digits <= 15) {
        mantissa = mantissa * 10 + unsigned(*p - '0');
        ++digits;
        ++p;
    }
    bool quick = p > start && digits <= 15;
    if (quick && p < end && *p == '.') {
        ++p;
        const char *fractionStart = p;
        while (p < end && unsigned(*p - '0') < 10 && digits <= 15) {
            mantissa = mantissa * 10 + unsigned(*p - '0');
            ++digits;
            ++p;
        }
        fraction = int(p - fractionStart);
        quick = fraction > 0 && digits <= 15; // "5." is not plain
    }
    if (quick && (p == end || *p == ',')) {
        // A whole number needs no division (by 1), which costs as much as the rest of the cell.
        const double value = fraction ? double(mantissa) / PowersOfTen[fraction] : double(mantissa);
        leading = negative ? -value : value;
        plain = 1;
        return p;
    }
    const char *comma = static_cast<const char *>(std::memchr(p, ',', size_t(end - p)));
    const char *cellEnd = comma ? comma : end;
    const std::string_view raw(cell, size_t(cellEnd - cell));
    leading = NumberRules::LeadingValue(raw);
    plain = std::isfinite(leading) && isPlainDecimal(raw);
    return cellEnd;
}

// The cells of `cells` whose numbers `cache` (indexed by cell) does not hold yet, in ascending
// order and each once.
std::vector<int> unreadCells(const std::vector<int> &cells,
                             const std::vector<std::shared_ptr<DataTable::NumberColumn>> &cache)
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
// the row does not have reads as NaN.
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
        double leading;
        uint8_t plain;
        const char *cellEnd = readNumber(p, end, leading, plain);
        columns[next]->append(leading, plain);
        ++next;
        if (cellEnd == end)
            break;
        p = cellEnd + 1;
        ++field;
    }
    for (; next < wanted.size(); ++next) // the row has no such cells
        columns[next]->append(std::nan(""), false);
}

} // namespace

// The mark of the value just appended, once some row is not a plain decimal.
void DataTable::NumberColumn::appendMark(bool isPlainValue)
{
    if (allPlain) { // the first row that is not: every earlier row was
        plain.reserve(leading.capacity());
        plain.assign(leading.size() - 1, 1);
        allPlain = false;
    }
    plain.push_back(isPlainValue);
}

void DataTable::clearRows()
{
    // An index of its own keeps its room (the reader may have made room for the rows to come).
    if (m_rows && m_rows.use_count() == 1) {
        m_rows->refs.clear();
        m_rows->id = 0;
    } else
        m_rows.reset();
    m_blocks.clear();
    m_numbers.reset();
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
    // A fresh registry of numbers, made before any copy is taken, so that copies share it; one
    // that a copy holds is left to it, as its rows are no longer these.
    if (!m_numbers || m_numbers.use_count() > 1 || !m_numbers->empty())
        m_numbers = std::make_shared<NumberCache>();

    // A block that a copy of the table also holds is left alone.
    Block *block = m_blocks.empty() ? nullptr : m_blocks.back().get();
    if (!block || m_blocks.back().use_count() > 1 || block->capacity - block->size < bytes.size()) {
        size_t size = FirstBlockSize;
        if (block)
            size = std::min(BlockSize, std::max(FirstBlockSize, block->capacity * 2));
        size = std::max(size, bytes.size());
        m_blocks.push_back(std::make_shared<Block>(size));
        block = m_blocks.back().get();
    }

    RowRef ref;
    ref.block = uint32_t(m_blocks.size() - 1);
    ref.offset = uint32_t(block->size);
    ref.length = uint32_t(bytes.size());
    std::memcpy(block->data + block->size, bytes.data(), bytes.size());
    block->size += bytes.size();
    ownRows().push_back(ref);
    return true;
}

void DataTable::reserveRows(size_t rows)
{
    // A row index of more than 2^31 rows cannot be numbered anyway.
    ownRows().reserve(std::min(rows, size_t(std::numeric_limits<int>::max())));
}

BigMemory::Vector<DataTable::RowRef> &DataTable::ownRows()
{
    if (!m_rows)
        m_rows = std::make_shared<Rows>();
    else if (m_rows.use_count() > 1)
        m_rows = std::make_shared<Rows>(Rows{m_rows->refs, 0});
    m_rows->id = 0; // the rows are about to change
    return m_rows->refs;
}

uint64_t DataTable::rowsId() const
{
    static std::atomic<uint64_t> lastId{0};
    if (!m_rows || m_rows->refs.empty())
        return 0;
    if (m_rows->id == 0)
        m_rows->id = ++lastId;
    return m_rows->id;
}

void DataTable::removeRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    BigMemory::Vector<RowRef> &rows = ownRows();
    rows.erase(rows.begin() + (row - 1));
    // The numbers already read follow the rows (what is shared with a copy is copied first).
    if (!m_numbers)
        return;
    if (m_numbers.use_count() > 1)
        m_numbers = std::make_shared<NumberCache>(*m_numbers);
    for (std::shared_ptr<NumberColumn> &column : *m_numbers) {
        if (!column)
            continue;
        if (column.use_count() > 1)
            column = std::make_shared<NumberColumn>(*column);
        column->leading.erase(column->leading.begin() + (row - 1));
        if (!column->plain.empty())
            column->plain.erase(column->plain.begin() + (row - 1));
    }
}

std::string_view DataTable::rowBytes(int row) const
{
    if (row < 1 || row > rowCount())
        return {};
    const RowRef &ref = m_rows->refs[size_t(row - 1)];
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

void DataTable::textNumbers(int cell, std::vector<double> &values, int rows) const
{
    rows = std::min({rows, int(values.size()), rowCount()});
    if (rows <= 0)
        return;
    const NumberColumn &column = numbers(cell);
    if (column.allPlain) { // the usual log: every cell a plain number
        std::copy(column.leading.begin(), column.leading.begin() + rows, values.begin());
        return;
    }
    for (int row = 1; row <= rows; ++row) {
        const size_t i = size_t(row - 1);
        if (column.isPlain(i))
            values[i] = column.leading[i];
        else if (!std::isnan(column.leading[i]))
            NumberRules::TextNumber(cellText(row, cell), values[i]);
    }
}

std::vector<double> DataTable::textNumberColumn(int cell, int rows, int size) const
{
    std::vector<double> values(size_t(std::max(size, 0)), std::nan(""));
    textNumbers(cell, values, rows);
    return values;
}

const DataTable::NumberColumn &DataTable::numbers(int cell) const
{
    static const NumberColumn none;
    if (cell < 0)
        return none;
    if (!m_numbers || size_t(cell) >= m_numbers->size() || !(*m_numbers)[size_t(cell)])
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

    // A fresh column per wanted cell, all filled in one walk over the rows.
    const int rows = rowCount();
    std::vector<NumberColumn *> columns;
    for (int cell : wanted) {
        auto column = std::make_shared<NumberColumn>();
        column->leading.reserve(size_t(rows));
        columns.push_back(column.get());
        cache[size_t(cell)] = std::move(column);
    }
    for (int r = 1; r <= rows; ++r)
        appendRowNumbers(rowBytes(r), wanted, columns);
}

bool DataTable::textNumber(int row, int cell, double &out) const
{
    if (row < 1 || row > rowCount() || cell < 0)
        return false;
    const NumberColumn &column = numbers(cell);
    const size_t i = size_t(row - 1);
    if (column.isPlain(i)) {
        out = column.leading[i];
        return true;
    }
    if (std::isnan(column.leading[i]))
        return false;
    const std::string text = cellText(row, cell);
    return NumberRules::TextNumber(text, out);
}

std::string DataTable::cellText(int row, int cell, bool *exists) const
{
    std::string_view raw;
    const bool found = rawCell(row, cell, raw);
    if (exists)
        *exists = found;
    std::string text(raw);
    showDotsAsCommas(text);
    return text;
}

QString DataTable::cell(int row, int cell) const
{
    const std::string text = cellText(row, cell);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
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

size_t DataTable::memoryUsed() const
{
    size_t bytes = m_rows ? m_rows->refs.capacity() * sizeof(RowRef) : 0;
    for (const auto &block : m_blocks)
        bytes += block->capacity;
    for (const auto &column : m_numbers ? *m_numbers : NumberCache())
        if (column)
            bytes += column->leading.capacity() * sizeof(double) + column->plain.capacity();
    return bytes;
}
