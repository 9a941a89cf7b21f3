#include "core/ui/text_metrics.h"

#include <cmath>
#include <limits>

namespace tw {

namespace {

bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes the sequence starting at `i`; advances `i` past what was consumed. On an
// ill-formed sequence only the maximal subpart is consumed (at least one byte) and
// U+FFFD is returned, so decoding resumes at the first byte that cannot continue it.
char32_t decode_one(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t value = 0;
    // The valid range of the second byte narrows for E0, ED, F0 and F4 so that
    // overlong forms, surrogates and values beyond U+10FFFF are rejected up front.
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        value = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        value = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        value = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        ++i;
        return kReplacementChar;
    }
    ++i;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size()) return kReplacementChar;
        const auto b = static_cast<unsigned char>(s[i]);
        if (k == 0 ? (b < lo || b > hi) : !is_continuation(b)) return kReplacementChar;
        value = (value << 6) | (b & 0x3F);
        ++i;
    }
    return value;
}

bool is_scalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

std::u32string decode_utf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) out.push_back(decode_one(utf8, i));
    return out;
}

void append_utf8(std::string& out, char32_t c) {
    if (!is_scalar(c)) c = kReplacementChar;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string encode_utf8(std::u32string_view chars) {
    std::string out;
    out.reserve(chars.size());
    for (char32_t c : chars) append_utf8(out, c);
    return out;
}

size_t count_scalars(std::string_view utf8) {
    size_t n = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        decode_one(utf8, i);
        ++n;
    }
    return n;
}

int32_t estimate_text_width(std::string_view utf8) {
    return estimate_width_of_scalars(count_scalars(utf8));
}

int32_t estimate_width_of_scalars(uint64_t count) {
    const double width = std::ceil(static_cast<double>(count) * 7.5);
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return width >= kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(width);
}

}  // namespace tw
