#pragma once
// Colours as 24-bit integers 0xRRGGBB: the hex text form used by the settings file
// and the colour dialog, and the hue wheel of the colour dialog.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

inline constexpr uint32_t kDefaultAccent = 0xA855F7;

// An optional "#" followed by exactly six hexadecimal digits of either case.
std::optional<uint32_t> parse_hex_color(std::string_view text);
// "#rrggbb" in lower case.
std::string format_hex_color(uint32_t rgb);

}  // namespace tw
