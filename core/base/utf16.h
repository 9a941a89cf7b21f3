#pragma once
// Text coming from the system as UTF-16 (monitor names, device ids): conversion to
// the UTF-8 the rest of the program works in, and the trimming those names get.
#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD instead of failing the whole
// text: a monitor name with one broken unit is still worth showing.
std::string utf16_to_utf8(std::u16string_view text);

// The text of a fixed-size UTF-16 buffer: everything up to the first NUL, or the
// whole buffer when it holds none (the system fills such buffers to the brim).
std::u16string_view utf16_until_nul(const char16_t* buffer, size_t capacity);

// Removes Unicode white space (the White_Space property: ASCII tab to carriage return
// and space, U+0085, U+00A0, U+1680, U+2000-U+200A, U+2028, U+2029, U+202F, U+205F,
// U+3000) from both ends of a UTF-8 text. Other bytes, valid or not, are kept.
std::string trim_unicode_space(std::string_view utf8);

// How many units of `text` fit `capacity` units (a fixed buffer without its NUL)
// without splitting a surrogate pair.
size_t utf16_fit(std::u16string_view text, size_t capacity);

// A name read from a fixed-size UTF-16 buffer: up to the first NUL, converted, trimmed.
std::string name_from_utf16(const char16_t* buffer, size_t capacity);

}  // namespace tw
