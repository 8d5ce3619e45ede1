#include "core/HeaderBlock.h"

#include "core/LineSplitter.h"
#include "core/LogLayout.h"
#include "core/LogReader.h"
#include "core/TextDecoding.h"

#include <vector>

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

    log.columnLines = LogLayout::columnLines(decode(columns), decode(line6), decode(line7),
                                             log.table.columnCount(), log.newerLayout);
}
