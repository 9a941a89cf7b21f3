#pragma once
// UTF-8 one scalar value at a time, and text received from elsewhere made valid.
#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the sequence starting at `pos` (which must be inside `text`) and advances
// `pos` past what was consumed. An ill-formed sequence (stray continuation byte,
// truncated sequence, overlong form, encoded surrogate, value above U+10FFFF) yields
// U+FFFD and consumes only its maximal subpart (at least one byte), so decoding
// resumes at the first byte that cannot continue it.
char32_t decode_utf8_at(std::string_view text, size_t& pos);

// Appends the UTF-8 form of `c`; surrogates and values above U+10FFFF are written as
// U+FFFD.
void append_utf8(std::string& out, char32_t c);

// Bytes received from elsewhere as text: every ill-formed sequence becomes U+FFFD as
// above, so the result is always valid UTF-8.
std::string utf8_with_replacement(std::string_view bytes);

}  // namespace tw
