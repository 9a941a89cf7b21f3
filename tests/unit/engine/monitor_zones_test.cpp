#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/engine/monitors.h"
#include "core/model/settings.h"

namespace tw {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

ScreenInfo screen(std::string id, Rect bounds, Rect work, bool primary = false) {
    return {id, "Name of " + id, bounds, work, 0, primary};
}

ScreenLayout entry(std::string id, std::vector<Layout> layouts, std::string active = {}) {
    ScreenLayout s;
    s.id = std::move(id);
    s.name = "stored";
    s.enabled = true;
    s.layouts = std::move(layouts);
    s.active_layout = active.empty() && !s.layouts.empty() ? s.layouts.front().name : active;
    return s;
}

const double kThird = 0.3333333333333333;
const double kTwoThirds = 0.6666666666666666;
const Layout kThirds{"33% | 33% | 33%", {{0, 0, kThird, 1}, {kThird, 0, kTwoThirds, 1}, {kTwoThirds, 0, 1, 1}}};
const Layout kHalves{"50% | 50%", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}};
const Layout kFull{"100%", {{0, 0, 1, 1}}};

TEST(ZonePixels, NearestHalvesAwayFromZeroSaturatedNanZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        int32_t origin;
        double fraction;
        int64_t extent;
        int32_t expected;
    };
    const Case cases[] = {
        {0, kThird, 2560, 853},    {0, kTwoThirds, 2560, 1707}, {0, 0.5, 3, 2},
        {0, -0.5, 3, -2},          {0, 0.5, 5, 3},              {0, 0.25, 10, 3},
        {0, 0.49, 1, 0},           {0, 1.0, 1040, 1040},        {-1920, 0.5, 1920, -960},
        {100, nan, 1920, 100},     {0, inf, 1920, kMax},        {0, -inf, 1920, kMin},
        {0, 1e300, 1920, kMax},    {0, -1e300, 1920, kMin},     {7, inf, 0, 7},  // inf * 0 is NaN
        {0, 1.0, int64_t{kMax} + 10, kMax},
        // The sum saturates too instead of wrapping around.
        {kMax - 10, 1.0, 100, kMax}, {kMin + 10, -1.0, 100, kMin}, {kMax - 10, -1e12, 10, kMin},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zone_edge(c.origin, c.fraction, c.extent), c.expected)
            << c.origin << " + " << c.fraction << " of " << c.extent;
}

TEST(ZonePixels, AdjacentThirdsShareTheEdgeColumn) {
    auto zones = zone_rects(entry("a", {kThirds}), screen("a", {0, 0, 2560, 1440}, {0, 0, 2560, 1400}));
    ASSERT_EQ(zones.size(), 3u);
    EXPECT_EQ(zones[0], (Rect{0, 0, 853, 1400}));
    EXPECT_EQ(zones[1], (Rect{853, 0, 1707, 1400}));
    EXPECT_EQ(zones[2], (Rect{1707, 0, 2560, 1400}));
}

// Over many work areas (odd sizes, negative origins of monitors left of or above the
// primary) every default layout's zones lie inside the area, cover it edge to edge,
// and each zone starts on the very pixel column where its left neighbour ends.
TEST(ZonePixels, DefaultLayoutsTileEveryArea) {
    const Rect areas[] = {{0, 0, 1920, 1040},     {0, 0, 2560, 1400},   {-1280, 0, 0, 1024},
                          {1920, -300, 5760, 1860}, {0, 0, 1366, 728},  {7, 3, 1008, 770},
                          {0, 0, 3440, 1400},     {-3841, -7, -1, 2153}, {0, 0, 1, 1}};
    for (const Rect& area : areas) {
        for (const Layout& layout : default_layouts()) {
            auto zones = zone_rects(entry("a", {layout}), screen("a", area, area));
            ASSERT_EQ(zones.size(), layout.zones.size()) << layout.name;
            EXPECT_EQ(zones.front().left, area.left) << layout.name;
            EXPECT_EQ(zones.back().right, area.right) << layout.name;
            for (size_t i = 0; i < zones.size(); ++i) {
                const Rect& z = zones[i];
                EXPECT_TRUE(z.left >= area.left && z.right <= area.right && z.top == area.top &&
                            z.bottom == area.bottom)
                    << layout.name << " zone " << i << " on " << area.left << "," << area.top;
                if (i > 0) {
                    EXPECT_EQ(z.left, zones[i - 1].right) << layout.name << " zone " << i;
                }
            }
        }
    }
}

TEST(ZonePixels, CoordinatesSaturateInsteadOfWrapping) {
    Layout wild{"wild", {{0, 0, 1e12, 1}, {-1e12, std::nan(""), 0, 1}}};
    auto zones = zone_rects(entry("a", {wild}), screen("a", {}, {kMax - 10, kMin + 10, kMax, kMin + 20}));
    ASSERT_EQ(zones.size(), 2u);
    EXPECT_EQ(zones[0], (Rect{kMax - 10, kMin + 10, kMax, kMin + 20}));
    // Saturated to kMin on the left, then kept inside the area: nothing is left.
    EXPECT_EQ(zones[1], (Rect{kMax - 10, kMin + 10, kMax - 10, kMin + 20}));
}

// Hand-edited zones reaching beyond the screen are cut to the zone area when the table
// is built, so no window is ever sent out of sight; a zone with nothing left keeps its
// number (an empty rectangle in its place) and a layout with nothing left gives no row.
TEST(MonitorZoneTable, ZonesAreKeptInsideTheArea) {
    const ScreenInfo s = screen("S", {1920, 0, 3840, 1080}, {1920, 0, 3840, 1040});
    const double huge = 1e308, inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::vector<Zone> zones;
        std::vector<Rect> expected;  // empty: no row
    };
    const Case cases[] = {
        {"the whole number range", {{-huge, -huge, huge, huge}}, {{1920, 0, 3840, 1040}}},
        {"infinities", {{-inf, -inf, inf, inf}}, {{1920, 0, 3840, 1040}}},
        {"partly outside", {{-0.5, 0.5, 0.5, 1.5}}, {{1920, 520, 2880, 1040}}},
        {"wholly outside keeps its number", {{0, 0, 0.5, 1}, {1.2, 0, 1.5, 1}, {0.5, 0, 1, 1}},
         {{1920, 0, 2880, 1040}, {3840, 0, 3840, 1040}, {2880, 0, 3840, 1040}}},
        {"inverted is empty", {{0.8, 0, 0.2, 1}, {0, 0, 1, 1}},
         {{3456, 0, 3456, 1040}, {1920, 0, 3840, 1040}}},
        {"above the screen", {{0, -2, 1, -1}, {0, 0, 1, 1}},
         {{1920, 0, 3840, 0}, {1920, 0, 3840, 1040}}},
        {"nothing inside: no row", {{2, 2, 3, 3}, {-1, 0, 0, 1}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto rows = build_monitor_zones({entry("S", {Layout{"hand-edited", c.zones}})}, {s});
        if (c.expected.empty()) {
            EXPECT_TRUE(rows.empty());
            continue;
        }
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].zones, c.expected);
        EXPECT_EQ(zone_rects(entry("S", {Layout{"hand-edited", c.zones}}), s), c.expected);
    }
}

TEST(MonitorZoneTable, Rows) {
    const ScreenInfo left = screen("L", {-1920, 0, 0, 1080}, {-1920, 0, 0, 1040});
    const ScreenInfo main = screen("P", {0, 0, 2560, 1440}, {0, 40, 2560, 1440}, true);
    const std::vector<ScreenInfo> screens{main, left};

    ScreenLayout cover = entry("P", {kHalves});
    cover.cover_taskbar = true;
    ScreenLayout disabled = entry("P", {kHalves});
    disabled.enabled = false;
    ScreenLayout empty_layout = entry("P", {Layout{"none", {}}, kHalves}, "none");

    struct Row {
        std::string id;
        std::vector<Rect> zones;
        Rect area;
    };
    struct Case {
        const char* what;
        std::vector<ScreenLayout> entries;
        std::vector<Row> expected;
    };
    const Case cases[] = {
        {"work area without CoverTaskbar", {entry("P", {kHalves})},
         {{"P", {{0, 40, 1280, 1440}, {1280, 40, 2560, 1440}}, main.work}}},
        {"the whole monitor with CoverTaskbar", {cover},
         {{"P", {{0, 0, 1280, 1440}, {1280, 0, 2560, 1440}}, main.bounds}}},
        {"active layout by name", {entry("L", {kHalves, kFull}, "100%")},
         {{"L", {{-1920, 0, 0, 1040}}, left.work}}},
        {"an ActiveLayout naming no layout uses the first", {entry("L", {kFull, kHalves}, "gone")},
         {{"L", {{-1920, 0, 0, 1040}}, left.work}}},
        {"rows follow the entries, not the screens", {entry("L", {kFull}), entry("P", {kFull})},
         {{"L", {{-1920, 0, 0, 1040}}, left.work}, {"P", {{0, 40, 2560, 1440}}, main.work}}},
        {"disabled, detached, layout-less and zone-less entries give no row",
         {disabled, entry("gone", {kFull}), entry("L", {}), empty_layout},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto rows = build_monitor_zones(c.entries, screens);
        ASSERT_EQ(rows.size(), c.expected.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].screen_id, c.expected[i].id);
            EXPECT_EQ(rows[i].zones, c.expected[i].zones);
            EXPECT_EQ(rows[i].area, c.expected[i].area);
            EXPECT_EQ(rows[i].monitor, find_screen_info(screens, rows[i].screen_id)->bounds);
        }
    }
}

TEST(MonitorZoneTable, FirstScreenWithTheIdCounts) {
    std::vector<ScreenInfo> screens{screen("X", {0, 0, 100, 100}, {0, 0, 100, 100}),
                                    screen("X", {100, 0, 200, 100}, {100, 0, 200, 100})};
    auto rows = build_monitor_zones({entry("X", {kFull})}, screens);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].zones, (std::vector<Rect>{{0, 0, 100, 100}}));
}

// Settings as the reconciliation sees them: only the screen entries and SelectedScreen.
struct ReconcileCase {
    const char* what;
    std::vector<ScreenLayout> before;
    std::string selected_before;
    std::vector<ScreenInfo> screens;
    std::vector<std::string> ids_after;
    std::string selected_after;
};

TEST(Reconcile, EntriesAndSelectedScreen) {
    const ScreenInfo p = screen("P", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true);
    const ScreenInfo s = screen("S", {-1920, 0, 0, 1080}, {-1920, 0, 0, 1040});
    const ScreenInfo t = screen("T", {1920, 0, 3840, 1080}, {1920, 0, 3840, 1040});
    const ScreenLayout legacy = entry(std::string(kLegacyPrimaryId), {kThirds});
    const ReconcileCase cases[] = {
        {"a migrated entry takes the primary's id; a second one is dropped",
         {legacy, entry("S", {kFull}), legacy}, "", {p, s}, {"P", "S"}, "P"},
        {"with an entry for the primary, migrated entries are dropped",
         {legacy, entry("P", {kFull})}, "P", {p}, {"P"}, "P"},
        {"no primary: SelectedScreen falls back to the first screen",
         {entry("T", {kFull})}, "gone", {s, t}, {"T", "S"}, "S"},
        {"new screens are appended in screen order; unplugged entries stay",
         {entry("gone", {kFull}), entry("S", {kFull})}, "gone", {p, s, t}, {"gone", "S", "P", "T"}, "P"},
        {"SelectedScreen stays while its screen is attached",
         {entry("P", {kFull}), entry("T", {kFull})}, "T", {p, t}, {"P", "T"}, "T"},
        {"no screens: every entry is kept and SelectedScreen is cleared",
         {entry("P", {kFull}), entry("S", {kFull})}, "P", {}, {"P", "S"}, ""},
        {"an empty SelectedScreen becomes the primary", {}, "", {s, p}, {"S", "P"}, "P"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Settings settings;
        settings.screens = c.before;
        settings.selected_screen = c.selected_before;
        reconcile_screen_layouts(settings, c.screens);
        std::vector<std::string> ids;
        for (const auto& e : settings.screens) ids.push_back(e.id);
        EXPECT_EQ(ids, c.ids_after);
        EXPECT_EQ(settings.selected_screen, c.selected_after);
    }
}

TEST(Reconcile, TakenOverEntryKeepsItsLayoutsAndFlags) {
    ScreenLayout legacy = entry(std::string(kLegacyPrimaryId), {kThirds, kHalves}, "50% | 50%");
    legacy.cover_taskbar = true;
    legacy.enabled = false;
    Settings settings;
    settings.screens = {legacy};
    // Two primaries cannot happen on Windows; if they did, the first one listed wins.
    reconcile_screen_layouts(settings, {screen("P1", {}, {}, true), screen("P2", {}, {}, true)});
    ASSERT_EQ(settings.screens.size(), 2u);
    const ScreenLayout& taken = settings.screens[0];
    EXPECT_EQ(taken.id, "P1");
    EXPECT_EQ(taken.name, "Name of P1");
    EXPECT_EQ(taken.layouts, (std::vector<Layout>{kThirds, kHalves}));
    EXPECT_EQ(taken.active_layout, "50% | 50%");
    EXPECT_TRUE(taken.cover_taskbar);
    EXPECT_FALSE(taken.enabled);
    EXPECT_EQ(settings.screens[1].id, "P2");
    EXPECT_EQ(settings.selected_screen, "P1");
}

TEST(Reconcile, NamesRefreshAndNewEntriesGetDefaults) {
    Settings settings;
    settings.screens = {entry("S", {kFull})};
    settings.screens[0].name = "Old name";
    reconcile_screen_layouts(settings, {screen("S", {}, {}), screen("N", {}, {})});
    ASSERT_EQ(settings.screens.size(), 2u);
    EXPECT_EQ(settings.screens[0].name, "Name of S");
    EXPECT_EQ(settings.screens[0].layouts, (std::vector<Layout>{kFull}));
    const ScreenLayout& added = settings.screens[1];
    EXPECT_EQ(added.id, "N");
    EXPECT_EQ(added.name, "Name of N");
    EXPECT_TRUE(added.enabled);
    EXPECT_FALSE(added.cover_taskbar);
    EXPECT_EQ(added.active_layout, "100%");
    EXPECT_EQ(added.layouts, default_layouts());
    EXPECT_EQ(settings.selected_screen, "S");
}

}  // namespace
}  // namespace tw
