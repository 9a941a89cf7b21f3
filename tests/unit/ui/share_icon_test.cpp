#include <gtest/gtest.h>

#include <string>

#include "core/ui/share_icon.h"

namespace tw {
namespace {

std::string picture(const std::vector<uint32_t>& px, int size, uint32_t on) {
    std::string out;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const uint32_t p = px[static_cast<size_t>(y * size + x)];
            out += p == on ? '#' : p == 0 ? '.' : '?';
        }
        out += '\n';
    }
    return out;
}

TEST(ShareIcon, DashedRingAt16Pixels) {
    const uint32_t accent = 0xA855F7;
    const auto px = share_icon_pixels(16, accent);
    ASSERT_EQ(px.size(), 256u);
    EXPECT_EQ(picture(px, 16, 0xFF000000u | accent),
              "................\n"
              "................\n"
              "..##..##..####..\n"
              "..##..##..####..\n"
              "................\n"
              "................\n"
              "..##........##..\n"
              "..##........##..\n"
              "................\n"
              "................\n"
              "..##........##..\n"
              "..##........##..\n"
              "..##..##..####..\n"
              "..##..##..####..\n"
              "................\n"
              "................\n");
}

TEST(ShareIcon, DashesScaleWithTheSize) {
    const auto px = share_icon_pixels(32, 0x123456);
    ASSERT_EQ(px.size(), 1024u);
    auto at = [&](int x, int y) { return px[static_cast<size_t>(y * 32 + x)]; };
    const uint32_t on = 0xFF123456u;
    struct Probe { int x, y; bool painted; };
    const Probe probes[] = {
        {3, 3, false},  {4, 4, true},   {7, 7, true},   {8, 4, false},  {11, 7, false}, {12, 4, true},
        {15, 7, true},  {16, 4, false}, {24, 4, true},  {27, 7, true},  {4, 8, false},  {4, 12, true},
        {27, 12, true}, {16, 16, false}, {8, 8, false}, {28, 28, false}, {27, 27, true}, {12, 27, true},
    };
    for (const Probe& p : probes) EXPECT_EQ(at(p.x, p.y), p.painted ? on : 0u) << p.x << "," << p.y;
    // The picture is the same seen from the other side: symmetric about the diagonal.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(at(x, y), at(y, x)) << x << "," << y;
}

TEST(ShareIcon, SizesWithoutARingAreEmpty) {
    for (int size : {-16, 0, 1, 7}) EXPECT_TRUE(share_icon_pixels(size, 0xFFFFFF).empty()) << size;
    EXPECT_EQ(share_icon_pixels(8, 0xFFFFFF).size(), 64u);
}

}  // namespace
}  // namespace tw
