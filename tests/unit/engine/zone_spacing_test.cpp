#include <gtest/gtest.h>

#include "core/engine/monitors.h"
#include "core/engine/share_state.h"
#include "core/engine/zone_spacing.h"
#include "core/model/settings.h"

namespace tw {
namespace {

constexpr Rect kWork{0, 0, 1000, 800};

ScreenInfo screen(uint32_t dpi) { return {"D1", "One", {0, 0, 1000, 840}, kWork, 0, true, dpi}; }

ScreenLayout entry(Layout layout) {
    ScreenLayout s;
    s.id = "D1";
    s.enabled = true;
    s.active_layout = layout.name;
    s.layouts = {std::move(layout)};
    return s;
}

TEST(ZoneSpacing, GapFollowsTheMonitorScaling) {
    struct Case {
        int spacing;
        uint32_t dpi;
        int32_t gap;
    };
    const Case cases[] = {{8, 96, 8},  {8, 144, 12},  {8, 192, 16}, {3, 144, 5},  // 4.5 rounds up
                          {1, 120, 1}, {64, 0, 64},   {100, 96, 64}, {-5, 96, 0}, {0, 192, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(spacing_pixels(c.spacing, c.dpi), c.gap) << c.spacing << " at " << c.dpi;
}

TEST(ZoneSpacing, ZonesShrinkByTheWholeGapAtTheEdgeAndHalfOfItInside) {
    const Layout columns{"Columns", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}, 8};
    Layout grid{"Grid", {{0, 0, 0.5, 0.5}, {0.5, 0, 1, 0.5}, {0, 0.5, 0.5, 1}, {0.5, 0.5, 1, 1}}, 3};
    const Layout margin{"Margin", {{0.1, 0.1, 0.9, 0.9}}, 8};
    const Layout tiny{"Tiny", {{0, 0, 0.01, 1}, {0.01, 0, 1, 1}}, 8};
    struct Case {
        Layout layout;
        uint32_t dpi;
        std::vector<Rect> zones;
    };
    const Case cases[] = {
        {columns, 96, {{8, 8, 496, 792}, {504, 8, 992, 792}}},
        {columns, 144, {{12, 12, 494, 788}, {506, 12, 988, 788}}},
        {columns, 192, {{16, 16, 492, 784}, {508, 16, 984, 784}}},
        // An odd gap: the left or upper neighbour gives up the smaller half.
        {grid, 144, {{5, 5, 498, 398}, {503, 5, 995, 398}, {5, 403, 498, 795}, {503, 403, 995, 795}}},
        {margin, 96, {{104, 84, 896, 716}}},
        // Ten pixels cannot take 16 + 8: the gap takes half of them, in proportion.
        {tiny, 192, {{3, 16, 8, 784}, {18, 16, 984, 784}}},
        {{"None", columns.zones, 0}, 192, {{0, 0, 500, 800}, {500, 0, 1000, 800}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zone_rects(entry(c.layout), screen(c.dpi)), c.zones) << c.layout.name << " at " << c.dpi;
        const auto rows = build_monitor_zones({entry(c.layout)}, {screen(c.dpi)});
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].zones, c.zones) << c.layout.name << " at " << c.dpi;
        Layout plain = c.layout;
        plain.spacing = 0;
        const auto before = build_monitor_zones({entry(plain)}, {screen(c.dpi)});
        // Without spacing the row is exactly what it always was; with it the row keeps
        // the zones as they were for the overlay.
        EXPECT_TRUE(before[0].unspaced.empty());
        EXPECT_EQ(rows[0].unspaced, c.layout.spacing ? before[0].zones : std::vector<Rect>{}) << c.layout.name;
        // A share captures the zone as windows fill it.
        Settings settings;
        settings.screens = {entry(c.layout)};
        EXPECT_EQ(share_zone_rects(settings, {screen(c.dpi)}, "D1"), c.zones) << c.layout.name;
    }
}

}  // namespace
}  // namespace tw
