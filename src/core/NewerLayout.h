#pragma once

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// The newer field-by-field layout of a header block. Recent versions of the diagnostic tool log up
// to twelve single fields taken from any groups, each with a time stamp of its own:
//
//   line 3  ,,G003,F0,G003,F1,G003,F2,G003,F3,G011,F0,...,G000,F0,   ids: group and field 0-3 of
//                                                                     each slot (G000 unused)
//   line 4  (empty)
//   line 5  Marker,TIME,003-0,TIME,003-1,...,TIME,,
//   line 6  ,STAMP,Engine Speed,STAMP,EGR Air Mass (Spec.),...,STAMP,,  the names, in the user's
//                                                                        language
//   line 7  ,,/min,,mg/H,...,,,                                       the units
//   data    ,0.10,896,0.11,290.0,0.12,283.9,...,,,                    time stamp and value of each
//                                                                     slot (empty when unused)
//
// Slot s is fields 2s (group) and 2s + 1 (field) of line 3, and field 2s of lines 5 to 7 (id text,
// name, unit) and of the data lines (value); field 2s - 1 of a data line is its time stamp.
//
// Such a block is read as the classic block it stands for, line by line: the groups whose four
// fields fill one block of four slots (1-4, 5-8, 9-12) in order are marked on the group line, as
// is group 120 when any slot holds one of its fields; the names make the column-name line; and
// every data line keeps its marker (field 0), the time stamps of slots 1, 5 and 9 and every value.
// Slots beyond twelve add their values after the twelfth. The time stamps of every slot are
// handed out apart, line by line.
//
// Real lines end with a comma, as above: the slots of line 3 are its id pairs up to the last one
// with a group field, so the empty field after the last comma makes none. Data lines may hold
// values past the slots of line 3: such a slot makes a column only when some data line of the
// session holds a value there. Slots 1 to 12 always have their columns, as the classic block's
// places.
class NewerLayout {
public:
    // Whether line 3 of a header block is in the newer layout: field 2 is "G" and three digits,
    // field 3 "F" and one or more digits.
    static bool isIdLine(std::string_view line3);

    // The slots named by line 3: its id pairs from field 2 on, up to the last one whose group
    // field is not empty (a "G" without its "F" still takes a slot).
    explicit NewerLayout(std::string_view idLine);
    int slotCount() const { return int(m_slots.size()); }
    // The slots of the session: those of line 3, and any later one that a data line read so far
    // holds a value in (not empty).
    int sessionSlots() const { return std::max(slotCount(), m_lastValueSlot); }

    // The classic group line: the mark "'nnn" of each group filling a block of four slots, at the
    // first field of that block's measuring group (2, 7 or 12), then "'120" after field 16 when any
    // slot is of group 120; fields separated by ",".
    std::string groupLine() const;
    // The classic column-name line from line 6: ,,n1,n2,n3,n4,,n5,...,n8,,n9,...,n12 and the names
    // of any further slots of the session (so it is made after the data lines).
    std::string columnLine(std::string_view nameLine) const;
    // Of a data line, the classic data line f0,t1,v1,v2,v3,v4,t5,v5,...,v8,t9,v9,...,v12 and the
    // values of any further slots; and the time stamps of its slots, ,t1,t2,...,tN (N: the
    // slots of line 3, or the pairs the line holds when more). A line without a comma gives no row
    // either way: it is kept as the classic line, and gives no time stamps.
    void dataLine(std::string_view line, std::string &classic, std::string &times);
    // Whether every line of time stamps made so far holds sessionSlots() of them (only lines
    // holding pairs past the slots of line 3 can make them differ).
    bool slotTimesFit() const
    {
        const bool none = m_fewestTimes > m_mostTimes;
        return none || (m_fewestTimes == sessionSlots() && m_mostTimes == sessionSlots());
    }

    // The slot (from 1) whose values a table column shows in this layout: columns 1-4 show slots
    // 1-4, columns 6-9 slots 5-8, columns 11-14 slots 9-12 and columns 15 on slots 13 on. The
    // "Tiempo" columns 0, 5 and 10 show none: 0.
    static int slotOfColumn(int column);

private:
    std::string_view wholeGroup(int block) const;
    std::string_view time(int slot) const;
    std::string_view value(int slot) const;
    void classicLine(int lineSlots, std::string &out) const;
    void slotTimes(int lineSlots, std::string &out);

    struct Slot {
        std::string_view group; // "G003", held in m_idLine
        std::string_view field; // "F0"
    };
    std::string m_idLine;
    std::vector<Slot> m_slots;
    std::vector<std::string_view> m_fields; // the fields of the data line being built
    int m_lastValueSlot = 0;                // the last slot that a data line holds a value in
    int m_fewestTimes = std::numeric_limits<int>::max(); // of the lines of time stamps made
    int m_mostTimes = 0;
};
