#pragma once

#include "core/LogLayout.h"

#include <QString>

#include <vector>

// The unit and the full name of every table column, from lines 5, 6 and 7 of the log's header
// block. Logs from the field write the units on line 7 and continue long names on line 6:
//
//   line 5   ,,Boost Pressure,Boost Pressure,Engine Speed,Lambdasonden-,TIME,...
//   line 6   ,,(specified),(actual),(G28),spannung,,...
//   line 7   Marker,STAMP, mbar, mbar, /min, V,STAMP,...
//
// (German tools write MARKE, Polish ones ZAPISU where these write STAMP). Other logs write the
// units on line 6 and only STAMP words at the value positions of line 7:
//
//   line 6   ,,/min,mbar,mbar,%,,...
//   line 7   Marker,TIME,STAMP,STAMP,STAMP,STAMP,TIME,...
//
// The newer layout (see NewerLayout) writes each slot's name on line 6 and its unit on line 7,
// both at the slot's value position (field 2 s for slot s); the name is the table's header.
namespace UnitsAndNames {

// The texts of one table column's field on lines 5, 6 and 7 (LogLayout::columnLines).
using ColumnText = LogLayout::ColumnLines;

// A STAMP word: a text whose words (runs of letters and digits) are all among those the tool
// writes for a time stamp or a marker, in any case: STAMP, MARKE, MARKER, ZAPISU, ZNACZNIK,
// STEMPEL, ZEITSTEMPEL, TIMESTAMP.
bool isStampWord(const QString &text);
// A time word: a text whose words are all STAMP words or TIME, ZEIT, CZAS (in any case).
bool isTimeWord(const QString &text);
// A range of numbers, with whatever follows it: "861-945", "1900-2300 mbar", "5-8°Ck.", "0...5 V"
// (a number, "-", "–" or "..", a number; each number with an optional sign and decimals).
bool isNumberRange(const QString &text);

struct Labels {
    std::vector<QString> units; // one per table column, trimmed; "" for none and time columns
    std::vector<QString> names; // one per table column
    bool unitsOnLine6 = false;  // line 6 held the units (and so nothing of the names)
};

// The units and full names of the table columns headed by `headers`, from their texts (one per
// column; a column beyond `texts` has its header as its line-5 text and no line 6 or 7).
//
// Units come from line 7, unless line 7 holds nothing but STAMP words or nothing at every value
// position: then from line 6 (the newer layout always has them on line 7). A STAMP word where a
// unit would be is no unit.
//
// A name is the line-5 text, trimmed. When line 6 is not the units line and holds a text that has
// a letter, is no range of numbers and no time word, that text is appended after a space (without
// one when the line-5 text ends in "-"); an empty line-5 text gives the line-6 text alone. In the
// newer layout the name is the header.
Labels read(const std::vector<ColumnText> &texts, const std::vector<QString> &headers,
            bool newerLayout);

} // namespace UnitsAndNames
