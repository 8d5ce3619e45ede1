#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The scans that run over every byte of a log: where a line ends (and whether it holds a byte of
// 0x80 or above), where a row's n-th comma is, and whether a text holds a byte of 0x80 or above.
//
// On x86 processors with SSE2 (every x86-64 one) line ends and commas are looked for sixteen bytes
// at a time; elsewhere, and in a build with ONDALYX_PORTABLE, byte by byte. Both ways give the
// same results; the last bytes of a range always go byte by byte.

#if !defined(ONDALYX_PORTABLE) &&                                                                  \
    (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define ONDALYX_SCAN_SSE2 1
#include <emmintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#endif

namespace ByteScan {

#ifdef ONDALYX_SCAN_SSE2
// The number of the lowest set bit of a mask that is not zero.
inline unsigned lowestBit(unsigned mask)
{
#if defined(__GNUC__) || defined(__clang__)
    return unsigned(__builtin_ctz(mask));
#else
    unsigned long at;
    _BitScanForward(&at, mask);
    return unsigned(at);
#endif
}
#endif

// The first byte of [p, end) that ends a line: a CR, and with `AtLF` an LF too; `end` when there
// is none. `high` tells whether a byte before it is 0x80 or above.
template <bool AtLF> inline const char *findLineEnd(const char *p, const char *end, bool &high)
{
    unsigned highs = 0;
#ifdef ONDALYX_SCAN_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        __m128i ends = _mm_cmpeq_epi8(bytes, cr);
        if (AtLF)
            ends = _mm_or_si128(ends, _mm_cmpeq_epi8(bytes, lf));
        const unsigned endMask = unsigned(_mm_movemask_epi8(ends));
        const unsigned highMask = unsigned(_mm_movemask_epi8(bytes));
        if (endMask != 0) {
            const unsigned at = lowestBit(endMask);
            high = (highs | (highMask & ((1u << at) - 1))) != 0;
            return p + at;
        }
        highs |= highMask;
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '\r' || (AtLF && c == '\n'))
            break;
        highs |= c & 0x80u;
    }
    high = highs != 0;
    return p;
}

// The position of the comma that ends field `index` of [p, end) (fields numbered from 0), or
// nullptr when the bytes hold fewer commas.
inline const char *nthComma(const char *p, const char *end, int index)
{
#ifdef ONDALYX_SCAN_SSE2
    const __m128i comma = _mm_set1_epi8(',');
    while (end - p >= 16) {
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)), comma)));
        for (; mask != 0; mask &= mask - 1) {
            if (index-- == 0)
                return p + lowestBit(mask);
        }
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if (*p == ',' && index-- == 0)
            return p;
    }
    return nullptr;
}

// Whether any byte of the text is 0x80 or above, eight bytes at a time (in plain C++ everywhere).
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

} // namespace ByteScan
