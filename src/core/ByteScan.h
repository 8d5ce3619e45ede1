#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The scans that run over every byte of a log: where a line ends (and whether it holds a byte of
// 0x80 or above), where a row's n-th comma is, and whether a text holds a byte of 0x80 or above.
// They lean on the C library's memchr, which looks at many bytes at a time on every system.
namespace ByteScan {

// Whether any byte of the text is 0x80 or above, eight bytes at a time.
inline bool hasHighByte(std::string_view text)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    uint64_t high = 0;
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        high |= word;
    }
    for (; p < end; ++p)
        high |= uint8_t(*p);
    return (high & 0x8080808080808080ULL) != 0;
}

// The first byte of [p, end) that ends a line: a CR, and with `AtLF` an LF too; `end` when there
// is none. `high` tells whether a byte before it is 0x80 or above.
template <bool AtLF> inline const char *findLineEnd(const char *p, const char *end, bool &high)
{
    const char *stop = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
    if (!stop)
        stop = end;
    if (AtLF) {
        if (const void *lf = std::memchr(p, '\n', size_t(stop - p)))
            stop = static_cast<const char *>(lf);
    }
    high = hasHighByte(std::string_view(p, size_t(stop - p)));
    return stop;
}

// The position of the comma that ends field `index` of [p, end) (fields numbered from 0), or
// nullptr when the bytes hold fewer commas.
inline const char *nthComma(const char *p, const char *end, int index)
{
    for (;;) {
        const char *comma = static_cast<const char *>(std::memchr(p, ',', size_t(end - p)));
        if (!comma || index-- == 0)
            return comma;
        p = comma + 1;
    }
}

} // namespace ByteScan
