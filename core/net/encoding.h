#pragma once
// The encodings of the update service: percent-encoding of request values, the
// hexadecimal digest and the Base64 signature of the manifest.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/text_util.h"  // percent_encode

namespace tw {

// Two lower-case hexadecimal digits per byte.
std::string hex_lower(std::span<const uint8_t> bytes);

// An even number of hexadecimal digits (either case, nothing else) as bytes.
std::optional<std::vector<uint8_t>> decode_hex(std::string_view text);

// Standard Base64 (A-Z, a-z, 0-9, "+", "/"). Spaces, tabs, line ends and "=" are
// skipped wherever they occur; a final group of two or three characters yields one
// or two bytes, a final group of one fails, and so does any other character.
std::optional<std::vector<uint8_t>> decode_base64(std::string_view text);

// Equal when compared byte by byte with ASCII letters folded to one case.
bool equals_ignoring_ascii_case(std::string_view a, std::string_view b);

}  // namespace tw
