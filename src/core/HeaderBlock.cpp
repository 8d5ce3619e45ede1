#include "core/HeaderBlock.h"

#include "core/LineSplitter.h"
#include "core/LogLayout.h"
#include "core/LogReader.h"
#include "core/TextDecoding.h"

#include <vector>

namespace {

// The field of lines 5 to 7 that table column `column` shows; -1 for a "Tiempo" column.
int fieldOfColumn(int column, bool newerLayout)
{
    if (newerLayout) {
        const int slot = NewerLayout::slotOfColumn(column);
        return slot == 0 ? -1 : 2 * slot;
    }
    return column == 0 || LogLayout::isTimeField(column + 1) ? -1 : column + 1;
}

} // namespace

void HeaderBlock::keep(int line, std::string_view text)
{
    lines = line;
    switch (line) {
    case 3:
        if (NewerLayout::isIdLine(text))
            newer = std::make_unique<NewerLayout>(text);
        break;
    case LogLayout::GroupLine:
        group.assign(text);
        break;
    case LogLayout::ColumnLine:
        columns.assign(text);
        break;
    case 6:
        line6.assign(text);
        break;
    case 7:
        line7.assign(text);
        break;
    default:
        break;
    }
}

void HeaderBlock::interpret(LogFile &log, bool utf8) const
{
    const auto decode = [utf8](std::string_view bytes) {
        return TextDecoding::toQString(bytes, utf8);
    };
    if (has(LogLayout::GroupLine))
        log.groups = LogLayout::readGroupLine(decode(newer ? newer->groupLine() : group));
    if (has(LogLayout::ColumnLine)) {
        const QString columnLine = decode(newer ? newer->columnLine(line6) : columns);
        log.table.setColumns(LogLayout::columnsFor(columnLine));
        log.boxCaptions = LogLayout::boxCaptions(columnLine);
    }
    log.newerLayout = newer != nullptr;

    std::vector<std::string_view> fields[3];
    LineSplitter::splitFields(columns, fields[0]);
    LineSplitter::splitFields(line6, fields[1]);
    LineSplitter::splitFields(line7, fields[2]);
    const auto text = [&](const std::vector<std::string_view> &line, int field) {
        return field >= 0 && size_t(field) < line.size() ? decode(line[size_t(field)]) : QString();
    };
    for (int k = 0; k < log.table.columnCount(); ++k) {
        const int field = fieldOfColumn(k, log.newerLayout);
        log.columnLines.push_back(
            {text(fields[0], field), text(fields[1], field), text(fields[2], field)});
    }
}
