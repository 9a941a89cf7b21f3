#include <gtest/gtest.h>

#include <string>

#include "core/base/color.h"
#include "core/ui/program_icon.h"

namespace tw {
namespace {

uint32_t at(const std::vector<uint32_t>& px, int size, int x, int y) {
    return px[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)];
}

TEST(ProgramIcon, BlocksAt16And32Pixels) {
    const uint32_t accent = 0xA855F7;
    struct Case { int size; int g; int c; };
    for (auto [size, g, c] : {Case{16, 1, 6}, Case{32, 3, 11}}) {
        for (bool active : {true, false}) {
            auto px = program_icon_pixels(size, active, accent);
            ASSERT_EQ(px.size(), static_cast<size_t>(size * size));
            EXPECT_EQ(at(px, size, 0, 0), 0u) << "corner is transparent";
            EXPECT_EQ(at(px, size, g, g), 0xFF000000u | lighten_half(accent));
            EXPECT_EQ(at(px, size, g + c - 1, g + c - 1), 0xFF000000u | lighten_half(accent));
            EXPECT_EQ(at(px, size, g + c, g), 0u) << "gap between the squares";
            EXPECT_EQ(at(px, size, 2 * g + c, g), 0xFF000000u | (active ? accent : 0xEF4444u));
            EXPECT_EQ(at(px, size, g, 2 * g + c), 0xFF000000u | darker_accent(accent));
            EXPECT_EQ(at(px, size, 2 * g + 2 * c - 1, 2 * g + 2 * c - 1), 0xFF000000u | darker_accent(accent));
            EXPECT_EQ(at(px, size, 2 * g + 2 * c, 2 * g + 2 * c), 0u);
        }
    }
}

// Every pixel of the image against the block rectangles written out by hand.
TEST(ProgramIcon, WholeImagesPixelByPixel) {
    struct Block { int x0, y0, x1, y1; };
    struct Case {
        int size;
        bool active;
        uint32_t accent;
        Block light, right, band;
        uint32_t light_rgb, right_rgb, band_rgb;
    };
    const Case cases[] = {
        {16, true, 0xA855F7, {1, 1, 7, 7}, {8, 1, 14, 7}, {1, 8, 14, 14}, 0xD4AAFB, 0xA855F7, 0x793DB2},
        {16, false, 0xA855F7, {1, 1, 7, 7}, {8, 1, 14, 7}, {1, 8, 14, 14}, 0xD4AAFB, 0xEF4444, 0x793DB2},
        {32, true, 0xA855F7, {3, 3, 14, 14}, {17, 3, 28, 14}, {3, 17, 28, 28}, 0xD4AAFB, 0xA855F7, 0x793DB2},
        {32, false, 0xA855F7, {3, 3, 14, 14}, {17, 3, 28, 14}, {3, 17, 28, 28}, 0xD4AAFB, 0xEF4444, 0x793DB2},
        {16, true, 0xFFFFFF, {1, 1, 7, 7}, {8, 1, 14, 7}, {1, 8, 14, 14}, 0xFFFFFF, 0xFFFFFF, 0xB8B8B8},
        {16, false, 0xFFFFFF, {1, 1, 7, 7}, {8, 1, 14, 7}, {1, 8, 14, 14}, 0xFFFFFF, 0xEF4444, 0xB8B8B8},
        {32, true, 0x000000, {3, 3, 14, 14}, {17, 3, 28, 14}, {3, 17, 28, 28}, 0x808080, 0x000000, 0x000000},
    };
    for (const Case& c : cases) {
        const auto px = program_icon_pixels(c.size, c.active, c.accent);
        ASSERT_EQ(px.size(), static_cast<size_t>(c.size * c.size));
        auto in = [](const Block& b, int x, int y) { return x >= b.x0 && x < b.x1 && y >= b.y0 && y < b.y1; };
        int wrong = 0;
        for (int y = 0; y < c.size; ++y)
            for (int x = 0; x < c.size; ++x) {
                uint32_t want = 0;
                if (in(c.light, x, y)) want = 0xFF000000u | c.light_rgb;
                if (in(c.right, x, y)) want = 0xFF000000u | c.right_rgb;
                if (in(c.band, x, y)) want = 0xFF000000u | c.band_rgb;
                wrong += at(px, c.size, x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << c.size << " active=" << c.active << " accent=" << std::hex << c.accent;
    }
}

TEST(ProgramIcon, WhiteAccentLightensToWhiteAndDarkensTo184) {
    EXPECT_EQ(lighten_half(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(darker_accent(0xFFFFFF), 0xB8B8B8u);
    EXPECT_EQ(lighten_half(0x000000), 0x808080u);  // 127.5 rounds away from zero
}

std::string ico_with(const std::vector<std::pair<int, size_t>>& entries, size_t payload) {
    std::string f;
    auto put16 = [&](uint32_t v) { f += static_cast<char>(v & 0xFF); f += static_cast<char>(v >> 8); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    put16(0); put16(1); put16(static_cast<uint32_t>(entries.size()));
    size_t offset = 6 + 16 * entries.size();
    for (auto [size, len] : entries) {
        f += static_cast<char>(size % 256); f += static_cast<char>(size % 256);
        f += '\0'; f += '\0'; put16(1); put16(32);
        put32(static_cast<uint32_t>(len)); put32(static_cast<uint32_t>(offset));
        offset += len;
    }
    f.append(payload, 'x');
    return f;
}

TEST(ProgramIcon, ChoosesLargestNotLargerElseSmallest) {
    auto file = ico_with({{16, 10}, {32, 10}, {256, 10}}, 30);
    auto entries = ico_entries(file);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].size, 256);
    struct Case { int requested; int chosen; };
    for (auto [requested, chosen] : {Case{16, 16}, Case{20, 16}, Case{32, 32}, Case{300, 256}, Case{8, 16}})
        EXPECT_EQ(choose_ico_entry(entries, requested)->size, chosen) << requested;
}

TEST(ProgramIcon, EntriesOutsideTheFileAreSkipped) {
    auto file = ico_with({{16, 10}, {32, 1000}}, 10);
    auto entries = ico_entries(file);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 16);
    EXPECT_TRUE(ico_entries("").empty());
    EXPECT_TRUE(ico_entries(std::string("\0\0\2\0\1\0", 6)).empty());  // a cursor file
    EXPECT_FALSE(choose_ico_entry({}, 32).has_value());
}

}  // namespace
}  // namespace tw
