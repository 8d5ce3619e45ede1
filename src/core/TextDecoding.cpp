#include "core/TextDecoding.h"

#include <cstdint>
#include <cstring>

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves undefined keep their Latin-1
// value.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the UTF-8 sequence that lead byte `c` starts; 0 when `c` starts none.
size_t sequenceLength(unsigned c)
{
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 0;
}

// Whether `c1` may follow lead byte `c`: its range rules out overlong forms, surrogates and values
// past U+10FFFF.
bool validSecondByte(unsigned c, unsigned c1)
{
    unsigned low = 0x80, high = 0xBF;
    if (c == 0xE0)
        low = 0xA0;
    else if (c == 0xED)
        high = 0x9F;
    else if (c == 0xF0)
        low = 0x90;
    else if (c == 0xF4)
        high = 0x8F;
    return c1 >= low && c1 <= high;
}

} // namespace

namespace TextDecoding {

bool isValidUtf8(std::string_view text)
{
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        if (n - i >= 8) {
            uint64_t word;
            std::memcpy(&word, s + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const size_t length = sequenceLength(c);
        if (length == 0 || n - i < length || !validSecondByte(c, s[i + 1]))
            return false;
        for (size_t k = 2; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

void appendCp1252AsUtf8(std::string_view text, std::string &out)
{
    out.reserve(out.size() + text.size() + text.size() / 2);
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            out.push_back(byte);
            continue;
        }
        const unsigned u = c < 0xA0 ? unsigned(Cp1252High[c - 0x80]) : c;
        if (u < 0x800) {
            out.push_back(char(0xC0 | (u >> 6)));
            out.push_back(char(0x80 | (u & 0x3F)));
        } else {
            out.push_back(char(0xE0 | (u >> 12)));
            out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(char(0x80 | (u & 0x3F)));
        }
    }
}

QString toQString(std::string_view bytes, bool utf8)
{
    if (utf8)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    std::string converted;
    appendCp1252AsUtf8(bytes, converted);
    return QString::fromUtf8(converted.data(), qsizetype(converted.size()));
}

} // namespace TextDecoding
