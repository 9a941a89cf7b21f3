#include "core/base/color.h"

#include "core/base/text_util.h"

#include <algorithm>
#include <cmath>

namespace tw {

namespace {
uint32_t channel_byte(double unit) {
    const double scaled = std::round(unit * 255.0);
    return static_cast<uint32_t>(std::clamp(scaled, 0.0, 255.0));
}

uint32_t red(uint32_t rgb) { return (rgb >> 16) & 0xFF; }
uint32_t green(uint32_t rgb) { return (rgb >> 8) & 0xFF; }
uint32_t blue(uint32_t rgb) { return rgb & 0xFF; }
}  // namespace

std::optional<uint32_t> parse_hex_color(std::string_view text) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    uint32_t v = 0;
    for (char c : text) {
        int d = hex_digit_value(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    return v;
}

std::string format_hex_color(uint32_t rgb) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "#";
    for (int shift = 20; shift >= 0; shift -= 4) out += kDigits[(rgb >> shift) & 0xF];
    return out;
}

uint32_t hue_to_color(double degrees) {
    constexpr double kChroma = 0.8075;  // value 0.95 times saturation 0.85
    constexpr double kFloor = 0.1425;   // value minus chroma
    double h = std::isfinite(degrees) ? std::fmod(degrees, 360.0) : 0.0;
    if (h < 0) h += 360.0;
    if (h >= 360.0) h = 0.0;  // -tiny + 360 rounds up to 360, which is hue 0
    const double sector_pos = h / 60.0;
    const double x = kChroma * (1.0 - std::fabs(std::fmod(sector_pos, 2.0) - 1.0));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(sector_pos)) {
        case 0: r = kChroma; g = x; break;
        case 1: r = x; g = kChroma; break;
        case 2: g = kChroma; b = x; break;
        case 3: g = x; b = kChroma; break;
        case 4: r = x; b = kChroma; break;
        default: r = kChroma; b = x; break;
    }
    return channel_byte(r + kFloor) << 16 | channel_byte(g + kFloor) << 8 | channel_byte(b + kFloor);
}

double color_to_hue(uint32_t rgb) {
    const double r = red(rgb), g = green(rgb), b = blue(rgb);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double d = max - min;
    if (d == 0) return 0.0;
    double h;
    if (max == r)
        h = 60.0 * std::fmod((g - b) / d, 6.0);
    else if (max == g)
        h = 60.0 * ((b - r) / d + 2.0);
    else
        h = 60.0 * ((r - g) / d + 4.0);
    if (h < 0) h += 360.0;
    return h;
}

uint32_t darker_accent(uint32_t rgb) {
    auto dark = [](uint32_t c) { return std::min<uint32_t>(255, static_cast<uint32_t>(std::lround(c * 0.72))); };
    return dark(red(rgb)) << 16 | dark(green(rgb)) << 8 | dark(blue(rgb));
}

bool prefers_black_text(uint32_t rgb) {
    return 0.299 * red(rgb) + 0.587 * green(rgb) + 0.114 * blue(rgb) > 150.0;
}

}  // namespace tw
