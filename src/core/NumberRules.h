#pragma once

#include <QString>

#include <string_view>

// The number rules of the statistics and the charts. Table cells hold numbers with a decimal
// comma ("." of the log is shown as ","). All arithmetic is in double precision.
namespace NumberRules {

// The number that the text begins with. Spaces, tabs and line feeds anywhere are ignored; then
// the longest leading part that reads as a number (optional sign, digits, optionally "." and
// digits, optionally E or e with optional sign and digits) is taken. Only "." is a decimal point:
// "1,95" gives 1, "-3,5" gives -3, "" gives 0, "abc" gives 0. A value too large for a double
// gives +/- infinity.
double LeadingValue(std::string_view text);

// The whole text read as a number written with "," as the decimal separator and "." grouping
// thousands, with an optional leading sign and surrounding blanks (space, tab). "1,95" gives
// 1.95, "1.950" gives 1950. Returns false (and leaves `out` alone) for any other text, the empty
// text included, and for a value that is not finite.
bool TextNumber(std::string_view text, double &out);

// The text of the pattern "##,##": the value to the nearest whole number (halves away from zero),
// "." between groups of three digits, "-" when negative; a value that comes to zero gives "".
// 1949.6 -> "1.950", 950 -> "950", 12345 -> "12.345", 0.4 -> "". A value that is not finite
// gives "".
std::string FormatGrouped(double value);

// A text given where FormatGrouped wants a number: read with TextNumber; a text that cannot be
// read is returned unchanged.
std::string FormatGrouped(std::string_view text);

// A whole number as the labels show it: no group separators, "-" when negative.
std::string WholeNumber(double value);

// Both readings of one cell of the table, from the log's own bytes (where the table shows "," a
// log has "."): `leading` is LeadingValue of them, what the statistics compare; `isNumber` says
// whether TextNumber reads the table's text of the cell whole, and then its number is `leading`.
struct CellNumber {
    double leading = 0;
    bool isNumber = false;
};
// The cell whose log bytes are `raw`. A plain decimal ("-" optional, at most 15 digits, "." and
// digits optional), as nearly every cell of a log is, is read at once; any other text through
// LeadingValue and TextNumber.
CellNumber ReadCell(std::string_view raw);
// The quick reading of ReadCell alone: true, with the number, for a plain decimal it takes;
// false for every other text. Kept apart so that tests hold it to the general reading.
bool PlainDecimal(std::string_view raw, double &value);
// ReadCell of the cell that starts at `p` in a row's bytes and ends at the next "," or at `end`;
// returns where it ends. A plain decimal is read in the one look that finds its end.
const char *ReadCellAt(const char *p, const char *end, CellNumber &cell);

} // namespace NumberRules
