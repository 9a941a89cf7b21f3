#pragma once
// Unicode scalar values and a renderer-free width estimate. View builders size their
// buttons with the estimate before any renderer exists; the text field edits scalar
// values, never bytes or UTF-16 units.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/utf8.h"

namespace tw {

// Decodes UTF-8 into scalar values. Every ill-formed sequence (stray continuation
// byte, truncated sequence, overlong form, encoded surrogate, value above U+10FFFF)
// becomes one U+FFFD per maximal ill-formed subpart, so broken text never throws
// and never swallows the valid characters that follow it.
std::u32string decode_utf8(std::string_view utf8);
// Encodes scalar values as UTF-8; surrogates and values above U+10FFFF (which a
// std::u32string can hold but are not scalar values) are written as U+FFFD.
std::string encode_utf8(std::u32string_view chars);

// Number of scalar values after decoding as above.
size_t count_scalars(std::string_view utf8);

// Scalar values times 7.5 DIPs, rounded up, saturated to the int32 range.
int32_t estimate_text_width(std::string_view utf8);
int32_t estimate_width_of_scalars(uint64_t count);

}  // namespace tw
