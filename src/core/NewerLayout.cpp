#include "core/NewerLayout.h"

#include "core/LineSplitter.h"
#include "core/LogLayout.h"

#include <algorithm>

namespace {

constexpr int SlotsPerBlock = 4;
constexpr int Blocks = 3; // slots 1-12 take the three measuring groups' places of a classic log
static_assert(Blocks == LogLayout::MeasuringGroups);

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    LineSplitter::splitFields(line, out);
    return out;
}

std::string_view fieldAt(const std::vector<std::string_view> &fields, size_t i)
{
    return i < fields.size() ? fields[i] : std::string_view();
}

void append(std::string &out, std::string_view field)
{
    out += ',';
    out += field;
}

} // namespace

bool NewerLayout::isIdLine(std::string_view line3)
{
    const std::vector<std::string_view> f = fields(line3);
    if (f.size() < 4)
        return false;
    const std::string_view group = f[2];
    const std::string_view field = f[3];
    return group.size() == 4 && group[0] == 'G' && allDigits(group.substr(1)) &&
           field.size() >= 2 && field[0] == 'F' && allDigits(field.substr(1));
}

NewerLayout::NewerLayout(std::string_view idLine) : m_idLine(idLine)
{
    const std::vector<std::string_view> f = fields(m_idLine);
    for (size_t i = 2; i < f.size(); i += 2)
        m_slots.push_back({f[i], fieldAt(f, i + 1)});
    // Real lines end with a comma: the empty field after it is no slot.
    while (!m_slots.empty() && m_slots.back().group.empty())
        m_slots.pop_back();
}

// The group whose four fields fill block `block` of slots in order ("G003"); empty when none.
std::string_view NewerLayout::wholeGroup(int block) const
{
    const size_t first = size_t(block * SlotsPerBlock);
    if (first + SlotsPerBlock > m_slots.size())
        return {};
    const std::string_view group = m_slots[first].group;
    bool whole = group.size() == 4 && group[0] == 'G' && allDigits(group.substr(1));
    for (size_t k = 0; whole && k < SlotsPerBlock; ++k) {
        const Slot &slot = m_slots[first + k];
        whole = slot.group == group && slot.field == "F" + std::to_string(k);
    }
    return whole ? group : std::string_view();
}

std::string NewerLayout::groupLine() const
{
    using namespace LogLayout;
    // Fields 0 to 16, each block's mark where its measuring group's fields begin.
    std::vector<std::string> fields(size_t(FirstGroupField + MeasuringGroups * FieldsPerGroup));
    for (int block = 0; block < Blocks; ++block) {
        const std::string_view group = wholeGroup(block);
        if (!group.empty())
            fields[size_t(FirstGroupField + block * FieldsPerGroup)] =
                "'" + std::string(group.substr(1));
    }
    if (std::any_of(m_slots.begin(), m_slots.end(),
                    [](const Slot &slot) { return slot.group == "G120"; }))
        fields.push_back("'120");

    std::string line = fields[0];
    for (size_t i = 1; i < fields.size(); ++i)
        append(line, fields[i]);
    return line;
}

std::string NewerLayout::columnLine(std::string_view nameLine) const
{
    const std::vector<std::string_view> names = fields(nameLine);
    const auto name = [&](int slot) { return fieldAt(names, size_t(2 * slot)); };
    std::string line = ",";
    for (int slot = 1; slot <= Blocks * SlotsPerBlock; ++slot) {
        if (slot % SlotsPerBlock == 1)
            line += ','; // the time stamp's column
        if (slot > 1)
            line += ',';
        line += name(slot);
    }
    for (int slot = Blocks * SlotsPerBlock + 1; slot <= sessionSlots(); ++slot)
        append(line, name(slot));
    return line;
}

int NewerLayout::slotOfColumn(int column)
{
    constexpr int ClassicColumns = Blocks * (1 + SlotsPerBlock); // a time and four values each
    if (column <= 0)
        return 0;
    if (column >= ClassicColumns)
        return column - (Blocks - 1); // past the classic places, one slot per column
    if (column % (1 + SlotsPerBlock) == 0)
        return 0; // the "Tiempo" columns 5 and 10
    return column - column / (1 + SlotsPerBlock);
}

void NewerLayout::dataLine(std::string_view line, std::string &classic, std::string &times)
{
    classic.clear();
    times.clear();
    if (line.find(',') == std::string_view::npos) {
        classic.assign(line);
        return;
    }
    // The one list of fields serves every line: a data line makes no allocation of its own.
    LineSplitter::splitFields(line, m_fields);
    const int valued = int((m_fields.size() - 1) / 2);
    // The slots of line 3, and any further pairs the line holds, so that no value is lost.
    const int lineSlots = std::max(slotCount(), valued);
    classicLine(lineSlots, classic);
    slotTimes(lineSlots, times);
    for (int slot = valued; slot > m_lastValueSlot; --slot) {
        if (!value(slot).empty()) {
            m_lastValueSlot = slot;
            break;
        }
    }
}

std::string_view NewerLayout::time(int slot) const
{
    return fieldAt(m_fields, size_t(2 * slot - 1));
}

std::string_view NewerLayout::value(int slot) const
{
    return fieldAt(m_fields, size_t(2 * slot));
}

// f0,t1,v1,v2,v3,v4,t5,v5,...,v8,t9,v9,...,v12 and the values of slots 13 to `lineSlots`.
void NewerLayout::classicLine(int lineSlots, std::string &out) const
{
    out.assign(m_fields[0]);
    for (int slot = 1; slot <= Blocks * SlotsPerBlock; ++slot) {
        if (slot % SlotsPerBlock == 1)
            append(out, time(slot));
        append(out, value(slot));
    }
    for (int slot = Blocks * SlotsPerBlock + 1; slot <= lineSlots; ++slot)
        append(out, value(slot));
}

// ,t1,t2,...,t<lineSlots>
void NewerLayout::slotTimes(int lineSlots, std::string &out)
{
    for (int slot = 1; slot <= lineSlots; ++slot)
        append(out, time(slot));
    m_fewestTimes = std::min(m_fewestTimes, lineSlots);
    m_mostTimes = std::max(m_mostTimes, lineSlots);
}
