#pragma once

#include <QString>

#include <string>
#include <string_view>

// The text of a log as UTF-8. A file is UTF-8 when the whole of it is valid UTF-8, otherwise
// Windows-1252, whose bytes of 0x80 and above become UTF-8 here:
//
//   ,,°C,mbar     bytes 2C 2C C2 B0 43 ...   valid UTF-8: the degree sign stays as it is
//   ,,°C,mbar     bytes 2C 2C B0 43 ...      not UTF-8: B0 is the Windows-1252 degree sign
//   ,12.5 €       bytes ... 80               not UTF-8: 80 is the euro sign, E2 82 AC in UTF-8
//
// A line of plain ASCII reads the same either way, so only lines holding a byte of 0x80 or above
// need a look.
namespace TextDecoding {

// Whether the bytes are valid UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool isValidUtf8(std::string_view text);

// Appends the Windows-1252 bytes `text` to `out` as UTF-8.
void appendCp1252AsUtf8(std::string_view text, std::string &out);

// The bytes as text: read as UTF-8 when `utf8`, otherwise as Windows-1252.
QString toQString(std::string_view bytes, bool utf8);

} // namespace TextDecoding
