#include "core/base/utf16.h"

#include <array>

#include "core/base/utf8.h"

namespace tw {

namespace {

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// UTF-8 forms of the non-ASCII white-space code points.
constexpr std::array<std::string_view, 17> kWideSpaces = {
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81",
    "\xE2\x80\x82", "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86",
    "\xE2\x80\x87", "\xE2\x80\x88", "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8",
    "\xE2\x80\xA9", "\xE2\x80\xAF"};
constexpr std::array<std::string_view, 2> kMoreSpaces = {"\xE2\x81\x9F", "\xE3\x80\x80"};

bool ascii_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Length of the white space that `s` starts with (front) or ends with (back), 0 if none.
size_t space_at(std::string_view s, bool front) {
    if (s.empty()) return 0;
    if (ascii_space(front ? s.front() : s.back())) return 1;
    auto check = [&](std::string_view sp) {
        return front ? s.starts_with(sp) : s.ends_with(sp);
    };
    for (auto sp : kWideSpaces)
        if (check(sp)) return sp.size();
    for (auto sp : kMoreSpaces)
        if (check(sp)) return sp.size();
    return 0;
}

}  // namespace

std::string utf16_to_utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (is_high_surrogate(u) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
            char32_t cp = 0x10000 + ((char32_t{u} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            append_utf8(out, cp);
            ++i;
        } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
            append_utf8(out, 0xFFFD);
        } else {
            append_utf8(out, u);
        }
    }
    return out;
}

std::u16string_view utf16_until_nul(const char16_t* buffer, size_t capacity) {
    if (!buffer) return {};
    size_t n = 0;
    while (n < capacity && buffer[n] != u'\0') ++n;
    return {buffer, n};
}

std::string trim_unicode_space(std::string_view s) {
    while (size_t n = space_at(s, true)) s.remove_prefix(n);
    while (size_t n = space_at(s, false)) s.remove_suffix(n);
    return std::string(s);
}

size_t utf16_fit(std::u16string_view text, size_t capacity) {
    if (text.size() <= capacity) return text.size();
    // Cutting between the halves of a pair would leave a lone high surrogate.
    if (capacity > 0 && is_high_surrogate(text[capacity - 1]) && is_low_surrogate(text[capacity]))
        return capacity - 1;
    return capacity;
}

std::string name_from_utf16(const char16_t* buffer, size_t capacity) {
    return trim_unicode_space(utf16_to_utf8(utf16_until_nul(buffer, capacity)));
}

}  // namespace tw
