#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/base/color.h"

namespace tw {
namespace {

TEST(Color, ParseHex) {
    struct Case {
        const char* text;
        std::optional<uint32_t> expected;
    };
    const Case cases[] = {
        {"#a855f7", 0xA855F7u}, {"a855f7", 0xA855F7u}, {"#A855F7", 0xA855F7u}, {"A855f7", 0xA855F7u},
        {"#000000", 0x000000u}, {"ffffff", 0xFFFFFFu}, {"#a855f", std::nullopt}, {"a855f", std::nullopt},
        {"#a855f70", std::nullopt}, {"a855f70", std::nullopt}, {"##a855f7", std::nullopt}, {"#a855g7", std::nullopt},
        {"a855f ", std::nullopt}, {" a855f7", std::nullopt}, {"0xa855", std::nullopt}, {"", std::nullopt},
        {"#", std::nullopt}, {"+12345", std::nullopt}, {"a855f7#", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parse_hex_color(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Color, FormatHexRoundTrips) {
    for (uint32_t rgb : {0x000000u, 0xA855F7u, 0x0A0B0Cu, 0xFFFFFFu}) {
        EXPECT_EQ(parse_hex_color(format_hex_color(rgb)), rgb);
    }
    EXPECT_EQ(format_hex_color(0x0A0BFFu), "#0a0bff");
}

TEST(Color, HueToColor) {
    struct Case {
        double hue;
        uint32_t rgb;
    };
    const Case cases[] = {
        {0, 0xF22424},    {60, 0xF2F224},   {120, 0x24F224},  {180, 0x24F2F2}, {240, 0x2424F2},
        {300, 0xF224F2},  {360, 0xF22424},  {-60, 0xF224F2},  {720, 0xF22424}, {-720, 0xF22424},
        {30, 0xF28B24},   {90, 0x8BF224},   {45, 0xF2BF24},   {200, 0x24AEF2}, {359.9, 0xF22425},
        {-1e-20, 0xF22424},  // wraps to 360, which is hue 0
        {std::numeric_limits<double>::quiet_NaN(), 0xF22424},
        {std::numeric_limits<double>::infinity(), 0xF22424},
    };
    for (const Case& c : cases) EXPECT_EQ(hue_to_color(c.hue), c.rgb) << c.hue;
}

TEST(Color, ColorToHue) {
    struct Case {
        uint32_t rgb;
        double hue;
    };
    const Case cases[] = {
        {0xFF0000, 0},   {0xFFFF00, 60},  {0x00FF00, 120}, {0x00FFFF, 180}, {0x0000FF, 240},
        {0xFF00FF, 300}, {0x000000, 0},   {0xFFFFFF, 0},   {0x808080, 0},   {0xFF0080, 329.88235294117646},
        {0x80FF00, 89.88235294117646},
    };
    for (const Case& c : cases) EXPECT_NEAR(color_to_hue(c.rgb), c.hue, 1e-9) << std::hex << c.rgb;
}

TEST(Color, HueRoundTrips) {
    // Channels are whole numbers, so the hue comes back within a fraction of a degree.
    for (double h = 0; h < 360; h += 0.5) {
        const double back = color_to_hue(hue_to_color(h));
        double diff = std::fabs(back - h);
        diff = std::min(diff, 360 - diff);
        EXPECT_LT(diff, 0.3) << h;
        EXPECT_GE(back, 0.0);
        EXPECT_LT(back, 360.0);
    }
}

TEST(Color, DarkerAccent) {
    struct Case {
        uint32_t rgb, expected;
    };
    const Case cases[] = {
        {0xA855F7, 0x793DB2},  // 168 -> 120.96, 85 -> 61.2, 247 -> 177.84
        {0xFFFFFF, 0xB8B8B8},  // 183.6
        {0x000000, 0x000000},
        {0x010203, 0x010102},  // 0.72, 1.44, 2.16
        {0x040506, 0x030404},  // 2.88, 3.6, 4.32
    };
    for (const Case& c : cases) EXPECT_EQ(darker_accent(c.rgb), c.expected) << std::hex << c.rgb;
}

TEST(Color, BlackTextOnLightColours) {
    struct Case {
        uint32_t rgb;
        bool black;
    };
    const Case cases[] = {
        {0xFFFFFF, true}, {0x000000, false}, {0xA855F7, false},  // 119.8
        {0xFFFF00, true},                                        // 225.9
        {0x00FF00, false},                                       // 149.685: not above 150
        {0x01FF00, false},                                       // 149.984
        {0x02FF00, true},                                        // 150.283
        {0x969696, false},                                       // exactly 150 is not above
        {0x979797, true},
    };
    for (const Case& c : cases) EXPECT_EQ(prefers_black_text(c.rgb), c.black) << std::hex << c.rgb;
}

}  // namespace
}  // namespace tw
