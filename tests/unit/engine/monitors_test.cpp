#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "core/base/log.h"
#include "core/engine/engine_placement.h"
#include "core/engine/monitors.h"
#include "support/fake_desktop.h"

namespace tw {
namespace {

RawMonitor raw(int64_t handle, Rect bounds, bool primary, std::string device_string = {},
               std::string device_id = {}, std::string gdi = {}) {
    RawMonitor m;
    m.handle = handle;
    m.gdi_name = gdi.empty() ? "\\\\.\\DISPLAY" + std::to_string(handle) : gdi;
    m.bounds = bounds;
    m.work = {bounds.left, bounds.top, bounds.right, bounds.bottom - 40};
    m.primary = primary;
    m.device_string = std::move(device_string);
    m.device_id = std::move(device_id);
    return m;
}

struct Listed {
    int64_t handle;
    std::string id;
    std::string name;
};

TEST(Screens, OrderIdsAndNames) {
    const Rect left{-1920, 0, 0, 1080}, main{0, 0, 2560, 1440}, right{2560, 0, 4480, 1080};
    const Rect above{0, -1080, 1920, 0};
    struct Case {
        const char* what;
        std::vector<RawMonitor> monitors;
        std::vector<FriendlyName> friendly;
        std::vector<Listed> expected;
    };
    const Case cases[] = {
        {"primary on the right is listed first; a secondary without a name is Display 2",
         {raw(1, left, false), raw(2, main, true, "", "MONITOR\\ABC\\1")},
         {},
         {{2, "MONITOR\\ABC\\1", "Display 1"}, {1, "\\\\.\\DISPLAY1", "Display 2"}}},
        {"generic device strings in any letter case name nothing",
         {raw(1, main, true, "generic pnp MONITOR"), raw(2, right, false, "GENERIC NON-PNP MONITOR"),
          raw(3, left, false, "Default Monitor"), raw(4, above, false, "Generic PnP Monitor 2")},
         {},
         {{1, "\\\\.\\DISPLAY1", "Display 1"}, {3, "\\\\.\\DISPLAY3", "Display 2"},
          {4, "\\\\.\\DISPLAY4", "Generic PnP Monitor 2"}, {2, "\\\\.\\DISPLAY2", "Display 4"}}},
        {"friendly name wins, trimmed; blank friendly names fall back to the device string",
         {raw(1, main, true, "Dell U2720Q (DisplayPort)"), raw(2, right, false, "  LG Ultra  ")},
         {{"\\\\.\\DISPLAY1", "  DELL U2720Q \t"}, {"\\\\.\\DISPLAY2", " \xE3\x80\x80 "},
          {"\\\\.\\DISPLAY1", "Second pair"}},
         {{1, "\\\\.\\DISPLAY1", "DELL U2720Q"}, {2, "\\\\.\\DISPLAY2", "LG Ultra"}}},
        {"GDI names are compared exactly",
         {raw(1, main, true, "Panel")},
         {{"\\\\.\\display1", "Wrong"}},
         {{1, "\\\\.\\DISPLAY1", "Panel"}}},
        {"id is the trimmed device id, else the trimmed GDI name",
         {raw(1, main, true, "", "  MONITOR\\X\\{4d36}\\0001 \r\n"),
          raw(2, right, false, "", " \t ", " \\\\.\\DISPLAY9 ")},
         {},
         {{1, "MONITOR\\X\\{4d36}\\0001", "Display 1"}, {2, "\\\\.\\DISPLAY9", "Display 2"}}},
        {"left edge, then top edge; equal positions keep the enumeration order",
         {raw(1, right, false), raw(2, {0, 1080, 1920, 2160}, false), raw(3, above, false),
          raw(4, right, false), raw(5, main, true)},
         {},
         {{5, "\\\\.\\DISPLAY5", "Display 1"}, {3, "\\\\.\\DISPLAY3", "Display 2"},
          {2, "\\\\.\\DISPLAY2", "Display 3"}, {1, "\\\\.\\DISPLAY1", "Display 4"},
          {4, "\\\\.\\DISPLAY4", "Display 5"}}},
        {"no monitors", {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto screens = screens_from_monitors(c.monitors, c.friendly);
        ASSERT_EQ(screens.size(), c.expected.size());
        for (size_t i = 0; i < screens.size(); ++i) {
            EXPECT_EQ(screens[i].monitor, c.expected[i].handle) << i;
            EXPECT_EQ(screens[i].id, c.expected[i].id) << i;
            EXPECT_EQ(screens[i].name, c.expected[i].name) << i;
        }
    }
}

TEST(Screens, FriendlyNamePairs) {
    struct Case {
        std::string gdi, friendly;
        bool recorded;
        std::string kept;
    };
    const Case cases[] = {
        {"\\\\.\\DISPLAY1", " DELL U2720Q ", true, "DELL U2720Q"},
        {"", "DELL U2720Q", false, ""},
        {"\\\\.\\DISPLAY1", " \t\xC2\xA0", false, ""},
        {"\\\\.\\DISPLAY1", "", false, ""},
    };
    for (const auto& c : cases) {
        auto pair = friendly_name_pair(c.gdi, c.friendly);
        ASSERT_EQ(pair.has_value(), c.recorded) << c.friendly;
        if (pair) {
            EXPECT_EQ(pair->gdi_name, c.gdi);
            EXPECT_EQ(pair->friendly_name, c.kept);
        }
    }
}

TEST(Screens, KeepRectanglesAndPrimaryFlag) {
    RawMonitor m = raw(7, {100, 200, 300, 400}, true);
    m.work = {100, 200, 300, 360};
    auto s = screens_from_monitors({m}, {});
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].bounds, (Rect{100, 200, 300, 400}));
    EXPECT_EQ(s[0].work, (Rect{100, 200, 300, 360}));
    EXPECT_TRUE(s[0].primary);
}

TEST(Screens, ListMonitorsLine) {
    ScreenInfo a{"MONITOR\\GSM\\1", "LG Ultra", {-1920, -200, 0, 880}, {-1920, -200, 0, 840}, 5, false};
    ScreenInfo b{"\\\\.\\DISPLAY1", "Display 1", {0, 0, 2560, 1440}, {0, 0, 2560, 1400}, 6, true};
    EXPECT_EQ(list_monitors_line(1, a),
              "monitor[1] name=LG Ultra primary=false bounds=1920x1080 @(-1920,-200) work=1920x1040 "
              "id=MONITOR\\GSM\\1");
    EXPECT_EQ(list_monitors_line(0, b),
              "monitor[0] name=Display 1 primary=true bounds=2560x1440 @(0,0) work=2560x1400 id=\\\\.\\DISPLAY1");
    ScreenInfo huge{"x", "x", {std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max(), 1}, {}, 0, false};
    EXPECT_NE(list_monitors_line(0, huge).find("bounds=4294967295x1 "), std::string::npos);
}

TEST(FitWindow, SizesAndKeepsInsideWorkArea) {
    const Rect work{0, 0, 1920, 1040};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        Rect current;
        double w, h, scale;
        Rect work;
        Rect expected;
    };
    const Case cases[] = {
        {"centred on the current centre", {100, 100, 500, 400}, 400, 300, 1.0, work, {100, 100, 500, 400}},
        {"scaled, nearest pixel", {0, 0, 1000, 1000}, 401, 301, 1.25, work, {250, 312, 751, 688}},
        {"halves round away from zero", {0, 0, 100, 100}, 1, 1, 2.5, work, {49, 49, 52, 52}},
        {"pulled left before the right edge", {1800, 0, 1900, 100}, 400, 100, 1.0, work, {1520, 0, 1920, 100}},
        {"pushed right past the left edge", {-300, -300, -100, -100}, 400, 300, 1.0, work, {0, 0, 400, 300}},
        {"reduced to the work area", {0, 0, 10, 10}, 4000, 3000, 1.5, work, {0, 0, 1920, 1040}},
        {"NaN is 0", {100, 100, 200, 200}, nan, 50, 1.0, work, {150, 125, 150, 175}},
        {"infinite is as large as the work area", {0, 0, 10, 10}, inf, inf, 1.0, work, {0, 0, 1920, 1040}},
        {"negative sizes are empty", {100, 100, 200, 200}, -50, 50, 1.0, work, {150, 125, 150, 175}},
        {"secondary work area", {2000, 50, 2100, 150}, 800, 600, 1.0, {1920, 0, 3840, 1040},
         {1920, 0, 2720, 600}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fit_window(c.current, c.w, c.h, c.scale, c.work), c.expected);
    }
}

TEST(FitWindow, PrimaryWorkAreaFallsBackToFullHd) {
    EXPECT_EQ(primary_work_area(std::nullopt), (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(primary_work_area(MonitorRects{{0, 0, 2560, 1440}, {0, 0, 2560, 1400}}), (Rect{0, 0, 2560, 1400}));
}

// A window closed while minimised is remembered where it comes back to, never at the
// parking place of minimised windows.
TEST(FitWindow, PositionToStoreIsTheRestoredOne) {
    const Rect parked{-32000, -32000, -31840, -31973};
    const Rect normal{300, 200, 880, 934};
    struct Case {
        const char* what;
        bool minimised;
        std::optional<Rect> window, normal;
        Point offset;
        std::optional<Point> stored;
    };
    const Case cases[] = {
        {"shown", false, normal, std::nullopt, {}, Point{300, 200}},
        {"shown, placement ignored", false, normal, Rect{1, 2, 3, 4}, {}, Point{300, 200}},
        {"minimised", true, parked, normal, {}, Point{300, 200}},
        {"minimised, taskbar on the left", true, parked, normal, {48, 0}, Point{348, 200}},
        {"minimised, placement unknown", true, parked, std::nullopt, {}, std::nullopt},
        {"rectangle unknown", false, std::nullopt, std::nullopt, {}, std::nullopt},
        {"saturated", true, parked, Rect{2147483600, 0, 2147483647, 10}, {100, 0},
         Point{2147483647, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(window_position_to_store(c.minimised, c.window, c.normal, c.offset), c.stored)
            << c.what;
}

TEST(PlaceInZone, VisibleFrameLandsOnTheZone) {
    const Rect zone{853, 0, 1707, 1400};
    struct Case {
        const char* what;
        test::Borders borders;
        bool zoomed;
        bool dwm_fails;
        Rect expected_frame;
    };
    const Case cases[] = {
        {"7-pixel invisible borders", {7, 0, 7, 7}, false, false, zone},
        {"no borders", {}, false, false, zone},
        {"maximised window is restored first", {7, 0, 7, 7}, true, false, zone},
        // Without the DWM frame the window rectangle is taken as the frame.
        {"DWM frame unavailable", {7, 0, 7, 7}, false, true, {860, 0, 1700, 1393}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeDesktop d;
        d.monitors.push_back({{0, 0, 2560, 1440}, {0, 0, 2560, 1400}});
        auto& w = d.add_window(42, {300, 200, 900, 700});
        w.borders = c.borders;
        w.dwm_fails = c.dwm_fails;
        if (c.zoomed) d.maximise(42);
        EXPECT_TRUE(place_in_zone(d, 42, zone));
        EXPECT_EQ(d.restore_calls.size(), c.zoomed ? 1u : 0u);
        ASSERT_EQ(d.setpos_calls.size(), 1u);
        EXPECT_EQ(d.setpos_calls[0].flags, uint32_t{kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder});
        EXPECT_EQ(d.frame_of(42), c.expected_frame);
        EXPECT_FALSE(d.win(42).zoomed);
    }
}

TEST(PlaceInZone, FailuresReportFalse) {
    test::FakeDesktop d;
    d.add_window(1, {0, 0, 100, 100}).rect_query_fails = true;
    EXPECT_FALSE(place_in_zone(d, 1, {0, 0, 50, 50}));
    EXPECT_TRUE(d.setpos_calls.empty());
    EXPECT_FALSE(place_in_zone(d, 99, {0, 0, 50, 50}));  // no such window
    EXPECT_TRUE(d.setpos_calls.empty());
    // A window whose application does not answer would block the program.
    d.add_window(2, {0, 0, 100, 100}).hung = true;
    d.maximise(2);
    LogCapture log;
    EXPECT_FALSE(place_in_zone(d, 2, {0, 0, 50, 50}));
    EXPECT_TRUE(d.setpos_calls.empty() && d.restore_calls.empty());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"place: skip hwnd=2 (not responding)"});
}

}  // namespace
}  // namespace tw
