#include "core/base/utf8.h"

namespace tw {

namespace {

bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

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

char32_t decode_utf8_at(std::string_view text, size_t& pos) { return decode_one(text, pos); }

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

std::string utf8_with_replacement(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) append_utf8(out, decode_one(bytes, i));
    return out;
}

}  // namespace tw
