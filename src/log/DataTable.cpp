#include "log/DataTable.h"

#include <QStringList>

#include <algorithm>
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

} // namespace

void DataTable::addColumn(const QString &header, int width)
{
    Column column;
    column.header = header;
    column.width = width;
    m_columns.push_back(column);
}

void DataTable::buildColumns(const QString &columnNameLine)
{
    m_columns.clear();
    addColumn(QStringLiteral("Tiempo"), FirstColumnWidth);
    if (columnNameLine.isEmpty())
        return;
    const QStringList fields = columnNameLine.split(QLatin1Char(','));
    // Fields 0 and 1 name nothing: cell 0 holds field 1 and is the "Tiempo" column above. The
    // time fields of the second and third groups always become hidden "Tiempo" columns.
    for (qsizetype j = 2; j < fields.size(); ++j) {
        if (j == 6 || j == 11)
            addColumn(QStringLiteral("Tiempo"), 0);
        else
            addColumn(fields[j], DefaultWidth);
    }
}

void DataTable::clearRows()
{
    std::vector<RowRef>().swap(m_rows);
    m_blocks.clear();
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
    if (m_rows.size() >= size_t(std::numeric_limits<int>::max()))
        return false; // rows are numbered with int

    // Blocks never grow past the capacity they were made with (so views into them stay valid),
    // and a block that a copy of the table also holds is left alone.
    std::string *block = m_blocks.empty() ? nullptr : m_blocks.back().get();
    if (!block || m_blocks.back().use_count() > 1 ||
        block->capacity() - block->size() < bytes.size()) {
        size_t size = FirstBlockSize;
        if (block)
            size = std::min(BlockSize, std::max(FirstBlockSize, block->capacity() * 2));
        size = std::max(size, bytes.size());
        auto fresh = std::make_shared<std::string>();
        fresh->reserve(size);
        m_blocks.push_back(std::move(fresh));
        block = m_blocks.back().get();
    }

    RowRef ref;
    ref.block = uint32_t(m_blocks.size() - 1);
    ref.offset = uint32_t(block->size());
    ref.length = uint32_t(bytes.size());
    block->append(bytes.data(), bytes.size());
    m_rows.push_back(ref);
    return true;
}

void DataTable::removeRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    m_rows.erase(m_rows.begin() + (row - 1));
}

std::string_view DataTable::rowBytes(int row) const
{
    if (row < 1 || row > rowCount())
        return {};
    const RowRef &ref = m_rows[size_t(row - 1)];
    return std::string_view(m_blocks[ref.block]->data() + ref.offset, ref.length);
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
    for (int k = 0; k < cell; ++k) {
        const void *comma = std::memchr(p, ',', size_t(end - p));
        if (!comma)
            return false;
        p = static_cast<const char *>(comma) + 1;
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
    size_t bytes = m_rows.capacity() * sizeof(RowRef);
    for (const auto &block : m_blocks)
        bytes += block->capacity();
    return bytes;
}
