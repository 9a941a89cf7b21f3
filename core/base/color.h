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

// The hue wheel: the colour of hue `degrees` (any value, reduced modulo 360; a value
// that is not finite counts as 0) at saturation 0.85 and value 0.95.
uint32_t hue_to_color(double degrees);
// The hue in [0, 360) of a colour by the max/min formula; greys give 0.
double color_to_hue(uint32_t rgb);
// The far end of the accent gradient: each channel times 0.72, rounded.
uint32_t darker_accent(uint32_t rgb);
// Whether text over this colour reads better in black than in white
// (0.299 R + 0.587 G + 0.114 B above 150).
bool prefers_black_text(uint32_t rgb);

}  // namespace tw
