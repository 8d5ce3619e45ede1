#include "core/NumberRules.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace NumberRules {

namespace {

// Collects the characters of a number for std::from_chars. Ordinary cells fit the buffer on the
// stack; only an unusually long number (hundreds of digits) moves to the heap.
class NumberBuffer {
public:
    void push(char c)
    {
        if (m_size < Capacity) {
            m_small[m_size++] = c;
            return;
        }
        if (m_large.empty())
            m_large.assign(m_small, Capacity);
        m_large.push_back(c);
        ++m_size;
    }
    size_t size() const { return m_size; }
    const char *data() const { return m_large.empty() ? m_small : m_large.data(); }

private:
    static constexpr size_t Capacity = 128;
    char m_small[Capacity];
    std::string m_large;
    size_t m_size = 0;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A magnitude that std::from_chars could not represent: true when it lies above the largest
// double (an overflow), false when it lies below the smallest (it comes to zero). `mantissa`
// holds digits with at most one ".", `exponent` the decimal exponent (already saturated).
bool isOverflow(std::string_view mantissa, int64_t exponent)
{
    bool beforePoint = true;
    int64_t leadingFractionZeros = 0;
    int64_t integerDigits = 0;
    bool seenNonZero = false;
    for (char c : mantissa) {
        if (c == '.') {
            beforePoint = false;
            continue;
        }
        if (beforePoint) {
            if (seenNonZero || c != '0') {
                seenNonZero = true;
                ++integerDigits;
            }
        } else if (!seenNonZero) {
            if (c != '0')
                seenNonZero = true;
            else
                ++leadingFractionZeros;
        }
    }
    // One more than the power of ten of the first non-zero digit.
    const int64_t position = integerDigits > 0 ? integerDigits : -leadingFractionZeros;
    return position + exponent > 0;
}

// Reads the unsigned "digits[.digits]" in [first, last). Returns false only on an overflow; a
// value too small for a double comes to 0.
bool plainMagnitude(const char *first, const char *last, double &out)
{
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        if (isOverflow(std::string_view(first, size_t(last - first)), 0))
            return false;
        value = 0;
    }
    out = value;
    return std::isfinite(value);
}

// The longest leading part of [p, end) that reads as [sign] digits [. digits] [E [sign] digits]
// (at least one digit before or after the point); 0 when there is none. No blanks inside.
double leadingNumber(const char *p, const char *end)
{
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    const char *const mantissa = p;
    bool digits = false;
    while (p < end && isDigit(*p)) {
        ++p;
        digits = true;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && isDigit(*p)) {
            ++p;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    const char *const mantissaEnd = p;

    int64_t exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char *q = p + 1;
        bool exponentNegative = false;
        if (q < end && (*q == '-' || *q == '+')) {
            exponentNegative = *q == '-';
            ++q;
        }
        const char *const exponentDigits = q;
        while (q < end && isDigit(*q)) {
            if (exponent < 1000000000)
                exponent = exponent * 10 + (*q - '0');
            ++q;
        }
        if (q > exponentDigits) {
            p = q;
            if (exponentNegative)
                exponent = -exponent;
        } else {
            exponent = 0;
        }
    }

    double magnitude = 0;
    const auto result = std::from_chars(mantissa, p, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view digitsPart(mantissa, size_t(mantissaEnd - mantissa));
        magnitude = isOverflow(digitsPart, exponent) ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        magnitude = 0;
    }
    return negative ? -magnitude : magnitude;
}

} // namespace

double LeadingValue(std::string_view text)
{
    // Blanks anywhere are ignored. A text without blanks (every ordinary cell) is read where it
    // lies; otherwise the characters that can belong to a number are first gathered without the
    // blanks, up to the first one that cannot.
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    bool blanks = false;
    for (char c : text) {
        if (isBlank(c)) {
            blanks = true;
            break;
        }
    }
    if (!blanks)
        return leadingNumber(text.data(), text.data() + text.size());

    NumberBuffer buf;
    for (char c : text) {
        if (isBlank(c))
            continue;
        if (!isDigit(c) && c != '.' && c != '+' && c != '-' && c != 'e' && c != 'E')
            break;
        buf.push(c);
    }
    return leadingNumber(buf.data(), buf.data() + buf.size());
}

bool TextNumber(std::string_view text, double &out)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    // Integer part: digits, with "." grouping thousands anywhere after the first digit; then an
    // optional "," and the fraction's digits. At least one digit somewhere.
    NumberBuffer buf;
    size_t i = 0;
    bool digits = false;
    if (i < text.size() && isDigit(text[i])) {
        for (; i < text.size() && (isDigit(text[i]) || text[i] == '.'); ++i) {
            if (text[i] != '.') {
                buf.push(text[i]);
                digits = true;
            }
        }
    }
    if (i < text.size() && text[i] == ',') {
        ++i;
        buf.push('.');
        for (; i < text.size() && isDigit(text[i]); ++i) {
            buf.push(text[i]);
            digits = true;
        }
    }
    if (!digits || i != text.size())
        return false;

    double magnitude = 0;
    if (!plainMagnitude(buf.data(), buf.data() + buf.size(), magnitude))
        return false;
    out = negative ? -magnitude : magnitude;
    return true;
}

std::string FormatGrouped(double value)
{
    if (!std::isfinite(value))
        return {};
    const double rounded = std::round(value); // halves away from zero
    if (rounded == 0)
        return {};

    // The largest double has 309 whole digits; "%.0f" writes them exactly.
    char digits[400];
    const int length = std::snprintf(digits, sizeof digits, "%.0f", std::fabs(rounded));
    if (length <= 0 || size_t(length) >= sizeof digits)
        return {};

    std::string out;
    out.reserve(size_t(length) + size_t(length) / 3 + 1);
    if (rounded < 0)
        out.push_back('-');
    for (int i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            out.push_back('.');
        out.push_back(digits[i]);
    }
    return out;
}

std::string FormatGrouped(std::string_view text)
{
    double value = 0;
    if (TextNumber(text, value))
        return FormatGrouped(value);
    return std::string(text);
}

namespace {

// The plain decimal that [p, end) begins with, read up to the first byte that cannot belong to
// one: where it stops (the caller looks at what stands there), or nullptr when the bytes do not
// begin with a plain decimal of at most 15 digits. At most 15 digits make a whole number that a
// double holds exactly, and dividing it by an exact power of ten rounds correctly: the very
// number that reading the text gives.
const char *plainDecimalAt(const char *p, const char *end, double &value)
{
    static const double PowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    uint64_t mantissa = 0;
    int digits = 0;
    const char *const start = p;
    for (; p < end && isDigit(*p); ++p, ++digits) {
        if (digits == 15)
            return nullptr;
        mantissa = mantissa * 10 + unsigned(*p - '0');
    }
    if (p == start)
        return nullptr;
    int fraction = 0;
    if (p < end && *p == '.') {
        ++p;
        for (; p < end && isDigit(*p); ++p, ++digits, ++fraction) {
            if (digits == 15)
                return nullptr;
            mantissa = mantissa * 10 + unsigned(*p - '0');
        }
        if (fraction == 0)
            return nullptr; // "5." goes the general way
    }
    const double magnitude = fraction ? double(mantissa) / PowersOfTen[fraction] : double(mantissa);
    value = negative ? -magnitude : magnitude;
    return p;
}

// Both readings of a cell that is no plain decimal.
CellNumber generalCell(std::string_view raw)
{
    CellNumber cell;
    cell.leading = LeadingValue(raw);
    // TextNumber of the table's text: the same bytes with "." shown as ",". What it reads whole
    // (blanks at the ends only, a sign, digits and one decimal mark) LeadingValue reads alike.
    std::string shown(raw);
    for (char &c : shown) {
        if (c == '.')
            c = ',';
    }
    double value = 0;
    cell.isNumber = TextNumber(shown, value) && value == cell.leading;
    return cell;
}

} // namespace

bool PlainDecimal(std::string_view raw, double &value)
{
    double read = 0;
    const char *end = raw.data() + raw.size();
    if (plainDecimalAt(raw.data(), end, read) != end)
        return false;
    value = read;
    return true;
}

CellNumber ReadCell(std::string_view raw)
{
    CellNumber cell;
    if (PlainDecimal(raw, cell.leading)) {
        cell.isNumber = true;
        return cell;
    }
    return generalCell(raw);
}

const char *ReadCellAt(const char *p, const char *end, CellNumber &cell)
{
    // Nearly every cell: a plain decimal that its comma (or the row's end) follows at once, read
    // in one look at its bytes.
    const char *stop = plainDecimalAt(p, end, cell.leading);
    if (stop && (stop == end || *stop == ',')) {
        cell.isNumber = true;
        return stop;
    }
    const void *comma = std::memchr(p, ',', size_t(end - p));
    const char *cellEnd = comma ? static_cast<const char *>(comma) : end;
    cell = generalCell(std::string_view(p, size_t(cellEnd - p)));
    return cellEnd;
}

std::string WholeNumber(double value)
{
    if (!std::isfinite(value))
        return {};
    const double whole = std::trunc(value);
    char digits[400];
    const int length = std::snprintf(digits, sizeof digits, "%.0f", whole == 0 ? 0.0 : whole);
    if (length <= 0 || size_t(length) >= sizeof digits)
        return {};
    return std::string(digits, size_t(length));
}

} // namespace NumberRules
