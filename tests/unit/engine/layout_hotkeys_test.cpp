// Apply layout 1 to 9: which screen they act on, what they choose, and the notice.
#include <gtest/gtest.h>

#include "core/base/log.h"
#include "core/engine/engine.h"
#include "core/engine/keyboard_move.h"
#include "core/engine/layout_hotkeys.h"
#include "core/model/settings.h"
#include "core/views/shortcuts_view.h"
#include "support/fake_desktop.h"
#include "support/recording_engine_shell.h"

namespace tw {
namespace {

using test::FakeClock;
using test::FakeDesktop;
using test::RecordingEngineShell;

const Rect kMonA{0, 0, 1920, 1080};
const Rect kMonB{1920, 0, 3840, 1080};

ScreenInfo screen(std::string id, Rect bounds) {
    ScreenInfo s;
    s.id = std::move(id);
    s.bounds = bounds;
    s.work = bounds;
    return s;
}

// Screen A with layouts A1..A3 (A1 active), screen B with B1 and B2 (B1 active); A is
// the selected screen. Window 10 lies on B.
struct Rig {
    FakeDesktop d;
    FakeClock clock;
    RecordingEngineShell shell;
    Engine e{d, clock, shell, [] {}};
    Settings s;
    std::vector<ScreenInfo> screens{screen("A", kMonA), screen("B", kMonB)};
    LogCapture cap;

    Rig() {
        d.monitors = {{kMonA, kMonA}, {kMonB, kMonB}};
        d.add_window(10, {2000, 100, 2600, 700});
        d.foreground = 10;
        d.cursor = Point{100, 100};
        for (const char* id : {"A", "B"}) {
            ScreenLayout entry;
            entry.id = id;
            const int count = id[0] == 'A' ? 3 : 2;
            for (int i = 1; i <= count; ++i)
                entry.layouts.push_back({id + std::to_string(i), {{0, 0, 1, 1}}});
            entry.active_layout = entry.layouts.front().name;
            s.screens.push_back(entry);
        }
        s.selected_screen = "A";
    }
    std::string active(std::string_view id) { return find_screen(s, id)->active_layout; }
};

TEST(LayoutHotkeys, ScreenOfTheForegroundWindowElseTheCursor) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> setup;
        const char* screen;  // null: none
    };
    const Case cases[] = {
        {"window on B", nullptr, "B"},
        {"no window in front: the cursor's screen", [](Rig& r) { r.d.foreground = 0; }, "A"},
        {"cloaked window in front", [](Rig& r) { r.d.win(10).cloaked = true; }, "A"},
        {"the desktop in front", [](Rig& r) { r.d.win(10).cls = "Progman"; }, "A"},
        {"window on no monitor", [](Rig& r) { r.d.win(10).rect = {9000, 0, 9100, 100}; }, "A"},
        {"cursor on B, nothing in front",
         [](Rig& r) { r.d.foreground = 0; r.d.cursor = Point{3000, 500}; }, "B"},
        {"nothing in front, cursor unknown",
         [](Rig& r) { r.d.foreground = 0; r.d.cursor.reset(); }, nullptr},
        {"cursor off every screen", [](Rig& r) { r.d.foreground = 0; r.d.cursor = Point{-5, -5}; }, nullptr},
    };
    for (const Case& c : cases) {
        Rig r;
        if (c.setup) c.setup(r);
        const ScreenInfo* got = layout_hotkey_screen(r.d, r.screens);
        EXPECT_EQ(got ? got->id : "none", c.screen ? c.screen : "none") << c.what;
    }
}

TEST(LayoutHotkeys, EachNumberOnEachScreen) {
    struct Case {
        int id;
        bool window_on_b;
        const char* active_a;
        const char* active_b;
        bool changed;
    };
    const Case cases[] = {
        {331, true, "A1", "B1", true},   // layout 1 of B, already active: applied again
        {332, true, "A1", "B2", true},
        {333, true, "A1", "B1", false},  // B has two layouts
        {332, false, "A2", "B1", true},  // the cursor's screen A
        {333, false, "A3", "B1", true},
        {339, false, "A1", "B1", false},
        {330, true, "A1", "B1", false},  // not a layout hotkey (reserved)
        {340, true, "A1", "B1", false},
    };
    for (const Case& c : cases) {
        Rig r;
        if (!c.window_on_b) r.d.foreground = 0;
        const HotkeyOutcome out = handle_engine_hotkey(r.e, r.s, c.id, r.screens);
        EXPECT_EQ(out.settings_changed, c.changed) << c.id;
        EXPECT_EQ(out.layout.has_value(), c.changed) << c.id;
        if (out.layout) {
            EXPECT_EQ(out.layout->layout, r.active(out.layout->screen_id)) << c.id;
        }
        EXPECT_EQ(r.active("A"), c.active_a) << c.id;
        EXPECT_EQ(r.active("B"), c.active_b) << c.id;
    }
}

TEST(LayoutHotkeys, NumberWithoutLayoutIsLogged) {
    Rig r;
    handle_engine_hotkey(r.e, r.s, 335, r.screens);
    EXPECT_TRUE(r.cap.contains("layout_hotkey: no layout 5 on screen 'B' (it has 2); nothing changed"));
    r.d.foreground = 0;
    r.d.cursor.reset();
    handle_engine_hotkey(r.e, r.s, 331, r.screens);
    EXPECT_TRUE(r.cap.contains("layout_hotkey: layout 1 pressed, but no screen is in front; nothing changed"));
    r.screens.clear();  // a screen that is attached but has no entry yet
    r.s.screens.clear();
    EXPECT_FALSE(apply_layout_number(r.s, "A", 1));
}

TEST(LayoutHotkeys, CycleReportsTheLayoutItChose) {
    Rig r;
    r.s.selected_screen = "B";
    const HotkeyOutcome out = handle_engine_hotkey(r.e, r.s, 322, r.screens);
    ASSERT_TRUE(out.layout);
    EXPECT_EQ(*out.layout, (AppliedLayout{"B", "B2"}));
}

// A layout change restarts the engine; zones the user hid stay hidden (the notice
// shows the new zones instead).
TEST(LayoutHotkeys, RestartKeepsZonesHidden) {
    Rig r;
    r.shell.table = {{"A", {kMonA}, kMonA, kMonA}};
    ASSERT_TRUE(r.e.start());
    ASSERT_TRUE(r.e.toggle_zones());
    r.shell.calls.clear();
    r.e.restart();
    EXPECT_FALSE(r.e.zones_visible());
    EXPECT_TRUE(std::find(r.shell.calls.begin(), r.shell.calls.end(), "create_overlays 1 hidden") !=
                r.shell.calls.end());
    r.e.toggle_zones();
    r.e.restart();
    EXPECT_TRUE(r.e.zones_visible());
    r.e.stop();
    r.e.restart();  // a stopped engine starts with its zones shown
    EXPECT_TRUE(r.e.zones_visible());
}

TEST(LayoutHotkeys, NoticeShape) {
    const Rect area{1920, 0, 3840, 1040};
    const std::vector<Rect> zones = {{1920, 0, 2880, 1040}, {2880, 0, 3840, 1040}};
    const LayoutNoticeShape shape = layout_notice_shape(area, zones, 200, 40);
    EXPECT_EQ(shape.window, area);
    EXPECT_EQ(shape.box, (Rect{832, 484, 1088, 556}));  // 200 + 2 x 28 by 40 + 2 x 16, centred
    const Point probes[] = {{0, 500}, {959, 10}, {960, 10}, {1000, 500}, {500, 500}};
    const bool inside[] = {true, true, true, true, false};
    for (size_t i = 0; i < std::size(probes); ++i)
        EXPECT_EQ(region_contains(shape.region, probes[i]), inside[i]) << i;
    // A name wider than the screen is cut to it; no zones leaves the name alone.
    const LayoutNoticeShape wide = layout_notice_shape({0, 0, 300, 200}, {}, 5000, 20);
    EXPECT_EQ(wide.box, (Rect{0, 74, 300, 126}));
    EXPECT_EQ(wide.region, (RegionOps{{wide.box, RegionMode::Or}}));
}

// The rows of the keyboard shortcuts window added after the first sixteen (Apply layout
// 1 to 9, Extend left to down): labelled, rebindable, and their settings keys written
// only when they differ from the defaults.
TEST(LayoutHotkeys, RowsAndSettingsKeys) {
    for (size_t n = 1; n <= 9; ++n)
        EXPECT_EQ(shortcut_row_label(15 + n), "Apply layout " + std::to_string(n));
    EXPECT_EQ(shortcut_row_label(kFirstExtendAction), "Extend left");
    EXPECT_EQ(shortcut_row_label(kFirstExtendAction + 3), "Extend down");
    Settings s;
    const std::string plain = serialize_settings(s);
    EXPECT_EQ(plain.find("HotkeyApplyLayout"), std::string::npos);
    EXPECT_EQ(plain.find("HotkeyExtend"), std::string::npos);
    ShortcutsState st = open_shortcuts(s);
    EXPECT_EQ(shortcuts_click(st, shortcuts_id::kChange[17]), ShortcutsEffect::Capture);
    EXPECT_EQ(shortcuts_key(st, 'L', kModControl | kModShift, nullptr), ShortcutsEffect::Rebuild);
    EXPECT_EQ(shortcuts_click(st, shortcuts_id::kClear[24]), ShortcutsEffect::Rebuild);
    EXPECT_EQ(shortcuts_click(st, shortcuts_id::kChange[25]), ShortcutsEffect::Capture);
    EXPECT_EQ(shortcuts_key(st, 'J', kModControl | kModAlt | kModShift, nullptr), ShortcutsEffect::Rebuild);
    EXPECT_EQ(shortcuts_click(st, shortcuts_id::kClear[28]), ShortcutsEffect::Rebuild);
    ASSERT_TRUE(save_shortcuts(st, s));
    const std::string text = serialize_settings(s);
    EXPECT_NE(text.find("  \"HotkeyApplyLayout2\": [6, 76],\n"), std::string::npos);
    EXPECT_NE(text.find("  \"HotkeyApplyLayout9\": [0, 0],\n"), std::string::npos);
    EXPECT_EQ(text.find("HotkeyApplyLayout1"), std::string::npos);
    EXPECT_NE(text.find("  \"HotkeyExtendLeft\": [7, 74],\n"), std::string::npos);
    EXPECT_NE(text.find("  \"HotkeyExtendDown\": [0, 0],\n"), std::string::npos);
    EXPECT_EQ(text.find("HotkeyExtendUp"), std::string::npos);
    const Settings back = parse_settings(text);
    EXPECT_EQ(back.hotkeys, s.hotkeys);
    EXPECT_TRUE(back.extra.empty());  // known keys, not kept twice
    EXPECT_EQ(serialize_settings(back), text);
    // The capture refuses a combination another Apply layout row holds.
    st = open_shortcuts(s);
    shortcuts_click(st, shortcuts_id::kChange[0]);
    shortcuts_key(st, 'L', kModControl | kModShift, nullptr);
    EXPECT_EQ(st.error, "Already used by Apply layout 2.");
}

}  // namespace
}  // namespace tw
