#include <gtest/gtest.h>

#include "core/engine/engine.h"
#include "core/engine/keyboard_move.h"
#include "core/base/log.h"
#include "core/model/settings.h"
#include "support/engine_rig.h"
#include "support/fake_desktop.h"
#include "support/print.h"
#include "support/recording_engine_shell.h"

namespace tw {
namespace {

using test::Borders;
using D = Direction;

using namespace test::rig;  // the screens, window 10 and the thirds

// A second monitor to the right: three rows on the left half, one column on the right.
const Rect kMonB = test::rig::kMon2;
const Rect kB1{1920, 0, 2880, 347};
const Rect kB2{1920, 347, 2880, 693};
const Rect kB3{1920, 693, 2880, 1040};
const Rect kB4{2880, 0, 3840, 1040};

MonitorZones row_a() { return {"A", {kC1, kC2, kC3}, kMon, kWork}; }
MonitorZones row_b() { return {"B", {kB1, kB2, kB3, kB4}, kMonB, {1920, 0, 3840, 1040}}; }

// The program's own windows, the monitors of the moves (a third one below the first),
// and the engine running on `table`.
struct Rig : test::rig::EngineRig {
    explicit Rig(std::vector<MonitorZones> table = {row_a()}) : EngineRig({.main = true}) {
        d.monitors.push_back({{0, 1080, 1920, 2160}, {0, 1080, 1920, 2120}});
        shell.table = std::move(table);
        e.set_highlight_window(2);
        e.start();
        cap.clear();
    }
    void move(D d_) { move_active_window(e, d_); }
};

TEST(NeighbourZone, Table) {
    const std::vector<Rect> cols{kC1, kC2, kC3};
    const Rect tl{0, 0, 960, 520}, tr{960, 0, 1920, 520}, bl{0, 520, 960, 1040}, br{960, 520, 1920, 1040};
    const std::vector<Rect> grid{tl, tr, bl, br};
    struct Case {
        const char* name;
        Rect from;
        std::vector<Rect> zones;
        D d;
        std::optional<Rect> expected;
    };
    const Case cases[] = {
        {"middle column left", kC2, cols, D::Left, kC1},
        {"middle column right", kC2, cols, D::Right, kC3},
        {"left edge", kC1, cols, D::Left, std::nullopt},
        {"right edge", kC3, cols, D::Right, std::nullopt},
        {"no rows above", kC2, cols, D::Up, std::nullopt},
        {"no rows below", kC2, cols, D::Down, std::nullopt},
        {"grid right", tl, grid, D::Right, tr},
        {"grid down", tl, grid, D::Down, bl},
        {"grid up", br, grid, D::Up, tr},
        {"grid left", br, grid, D::Left, bl},
        {"equal distance: larger overlap", {500, 0, 1000, 600},
         {{0, 500, 500, 1000}, {0, 0, 500, 500}}, D::Left, Rect{0, 0, 500, 500}},
        {"full tie: earlier zone", {1000, 0, 2000, 1000},
         {{0, 600, 1000, 1000}, {0, 0, 1000, 400}}, D::Left, Rect{0, 600, 1000, 1000}},
        {"distance along the movement only", {1000, 0, 1500, 500},
         {{0, 0, 500, 500}, {600, 600, 900, 1000}}, D::Left, Rect{600, 600, 900, 1000}},
        {"empty list", kC2, {}, D::Left, std::nullopt},
        {"a zone left empty is skipped", kC3, {kC1, {960, 0, 960, 1040}, kC3}, D::Left, kC1},
        {"only empty zones", kC2, {{0, 0, 0, 1040}}, D::Left, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(neighbour_zone(c.from, c.zones, c.d), c.expected) << c.name;
}

TEST(CrossMonitorZone, Table) {
    const MonitorZones below{"C", {{0, 1080, 960, 2120}, {960, 1080, 1920, 2120}}, {0, 1080, 1920, 2160},
                             {0, 1080, 1920, 2120}};
    const MonitorZones far_right{"D", {{3840, 0, 5760, 1040}}, {3840, 0, 5760, 1080}, {3840, 0, 5760, 1040}};
    const MonitorZones corner{"E", {{1920, 1080, 3840, 2120}}, {1920, 1080, 3840, 2160}, {1920, 1080, 3840, 2120}};
    const MonitorZones offset{"F", {{1920, 500, 3840, 1540}}, {1920, 500, 3840, 1580}, {1920, 500, 3840, 1540}};
    const MonitorZones empty_b{"B", {}, kMonB, kMonB};
    struct Case {
        const char* name;
        D d;
        Rect mon;
        Point wc;
        std::vector<MonitorZones> rows;
        std::optional<Rect> expected;
    };
    const Case cases[] = {
        {"right: touching zone nearest the centre line", D::Right, kMon, {1600, 523}, {row_a(), row_b()}, kB2},
        {"right: nearer the top", D::Right, kMon, {1600, 100}, {row_a(), row_b()}, kB1},
        {"right: nearer the bottom", D::Right, kMon, {1600, 1000}, {row_a(), row_b()}, kB3},
        {"left: the touching column", D::Left, kMonB, {2400, 500}, {row_a(), row_b()}, kC3},
        {"nothing further right", D::Right, kMonB, {3000, 500}, {row_a(), row_b()}, std::nullopt},
        {"stacked monitors are not left/right neighbours", D::Right, kMon, {1600, 523}, {row_a(), below},
         std::nullopt},
        {"stacked monitors: down", D::Down, kMon, {1600, 523}, {row_a(), below}, Rect{960, 1080, 1920, 2120}},
        {"stacked monitors: up", D::Up, {0, 1080, 1920, 2160}, {300, 1500}, {row_a(), below}, kC1},
        {"smallest gap wins", D::Right, kMon, {1600, 523}, {far_right, row_b()}, kB2},
        {"corner contact is no overlap", D::Right, kMon, {1600, 523}, {corner}, std::nullopt},
        {"partly overlapping monitor", D::Right, kMon, {1600, 523}, {offset}, Rect{1920, 500, 3840, 1540}},
        {"rows without zones are skipped", D::Right, kMon, {1600, 523}, {empty_b, far_right},
         Rect{3840, 0, 5760, 1040}},
    };
    for (const auto& c : cases) EXPECT_EQ(cross_monitor_zone(c.d, c.mon, c.wc, c.rows), c.expected) << c.name;
}

TEST(MoveActiveWindow, ThreeColumnsLogLines) {
    Rig r;
    r.d.set_frame(kWin, kC2);
    r.move(D::Left);
    EXPECT_EQ(r.cap.lines(),
              (std::vector<std::string>{
                  "move_active_window: Left pressed",
                  "move_active_window: hwnd=10 center=(960,523) vis=RECT { left: 640, top: 0, right: 1280, bottom: "
                  "1040 } zones=[RECT { left: 0, top: 0, right: 640, bottom: 1040 }, RECT { left: 640, top: 0, "
                  "right: 1280, bottom: 1040 }, RECT { left: 1280, top: 0, right: 1920, bottom: 1040 }]",
                  "move_active_window: moving hwnd=10 to target_zone=RECT { left: 0, top: 0, right: 640, bottom: "
                  "1040 }",
              }));
    EXPECT_EQ(r.d.frame_of(kWin), kC1);
    EXPECT_EQ(r.uses, 1);
    r.cap.clear();
    r.move(D::Left);
    EXPECT_EQ(r.cap.lines().back(), "move_active_window: no destination Left (edge or no zones)");
    EXPECT_EQ(r.d.frame_of(kWin), kC1);
    EXPECT_EQ(r.uses, 1);
    r.move(D::Right);
    r.move(D::Right);
    EXPECT_EQ(r.d.frame_of(kWin), kC3);
    EXPECT_EQ(r.uses, 3);
}

TEST(MoveActiveWindow, WhichZoneTheWindowIsIn) {
    struct Case {
        const char* name;
        Rect frame;
        Borders borders;
        D d;
        std::optional<Rect> expected;  // none: no destination
    };
    const Case cases[] = {
        {"not in a zone: into its own column", {100, 100, 500, 600}, {7, 0, 7, 7}, D::Left, kC1},
        {"9 px off the left column: into it", {9, 9, 631, 1031}, {7, 0, 7, 7}, D::Left, kC1},
        {"8 px off the left column: in it, no destination", {8, 8, 632, 1032}, {7, 0, 7, 7}, D::Left,
         std::nullopt},
        {"not in a zone: to the neighbour of its column", {700, 100, 1200, 600}, {7, 0, 7, 7}, D::Right, kC3},
        // The frame is on the middle column though the window rectangle's centre is in
        // the right one: the frame decides.
        {"frame decides over centre", kC2, {0, 0, 700, 0}, D::Right, kC3},
        {"frame decides over centre (left)", kC2, {0, 0, 700, 0}, D::Left, kC1},
    };
    for (const auto& c : cases) {
        Rig r;
        r.d.win(kWin).borders = c.borders;
        r.d.set_frame(kWin, c.frame);
        r.move(c.d);
        if (c.expected) {
            EXPECT_EQ(r.d.frame_of(kWin), *c.expected) << c.name;
        } else {
            EXPECT_EQ(r.cap.lines().back(), "move_active_window: no destination Left (edge or no zones)") << c.name;
            EXPECT_EQ(r.d.frame_of(kWin), c.frame) << c.name;
        }
    }
}

TEST(MoveActiveWindow, AcrossMonitors) {
    Rig r({row_a(), row_b()});
    r.d.set_frame(kWin, kC3);
    r.move(D::Right);
    EXPECT_EQ(r.cap.lines().back(),
              "move_active_window: cross-monitor Right to RECT { left: 1920, top: 347, right: 2880, bottom: 693 }");
    EXPECT_EQ(r.d.frame_of(kWin), kB2);
    EXPECT_EQ(r.uses, 1);
    r.move(D::Left);  // back: the right-most zone of the left monitor
    EXPECT_EQ(r.d.frame_of(kWin), kC3);
}

TEST(MoveActiveWindow, StackedMonitorsAreNotSideNeighbours) {
    const MonitorZones below{"C", {{0, 1080, 1920, 2120}}, {0, 1080, 1920, 2160}, {0, 1080, 1920, 2120}};
    Rig r({row_a(), below});
    r.d.set_frame(kWin, kC3);
    r.move(D::Right);
    EXPECT_EQ(r.cap.lines().back(), "move_active_window: no destination Right (edge or no zones)");
    r.move(D::Down);
    EXPECT_EQ(r.d.frame_of(kWin), (Rect{0, 1080, 1920, 2120}));
}

TEST(MoveActiveWindow, Refusals) {
    struct Case {
        const char* name;
        void (*setup)(Rig&);
        std::string last_line;
    };
    const Case cases[] = {
        {"stopped", [](Rig& r) { r.e.stop(); }, "move_active_window: skip, not running"},
        {"no foreground", [](Rig& r) { r.d.foreground = 0; },
         "move_active_window: skip, hwnd=0 not snappable (own/shell/foreign-pid window)"},
        {"taskbar", [](Rig& r) { r.d.add_window(30, {0, 1040, 1920, 1080}, "Shell_TrayWnd"); r.d.foreground = 30; },
         "move_active_window: skip, hwnd=30 not snappable (own/shell/foreign-pid window)"},
        {"own dialog", [](Rig& r) { r.d.win(kWin).pid = r.d.own_pid; },
         "move_active_window: skip, hwnd=10 not snappable (own/shell/foreign-pid window)"},
        {"rectangle unreadable", [](Rig& r) { r.d.win(kWin).rect_query_fails = true; },
         "move_active_window: skip, GetWindowRect failed for hwnd=10"},
        {"monitor without zones", [](Rig& r) { r.d.set_frame(kWin, {2000, 100, 2600, 600}); },
         "move_active_window: no destination Up (edge or no zones)"},
        {"main window over no zones", [](Rig& r) { r.d.foreground = kMain; r.d.win(kMain).rect = {2000, 100, 2600, 600}; },
         "move_active_window: TW window, no zones on its monitor Up"},
    };
    for (const auto& c : cases) {
        Rig r;
        c.setup(r);
        r.cap.clear();
        r.move(D::Up);
        EXPECT_EQ(r.cap.lines().front(), "move_active_window: Up pressed") << c.name;
        EXPECT_EQ(r.cap.lines().back(), c.last_line) << c.name;
        EXPECT_TRUE(r.d.setpos_calls.empty()) << c.name;
        EXPECT_EQ(r.uses, 0) << c.name;
    }
}

TEST(MoveActiveWindow, OwnMainWindowIsCentredAndClamped) {
    struct Case {
        const char* name;
        std::vector<MonitorZones> table;
        Rect main_rect;
        D d;
        Point expected;
    };
    const Case cases[] = {
        {"into the neighbour", {row_a()}, {200, 200, 800, 700}, D::Right, {660, 270}},
        {"clamped to the top-left", {row_a()}, {700, 0, 1700, 1060}, D::Left, {0, 0}},
        {"no neighbour: centred in its own zone, clamped right", {row_a()}, {1300, 100, 2300, 600}, D::Right,
         {920, 270}},
        // Across to the right monitor and clamped inside it, not the one it left.
        {"across monitors", {row_a(), row_b()}, {1300, 100, 1900, 600}, D::Right, {2100, 270}},
    };
    for (const auto& c : cases) {
        Rig r(c.table);
        r.d.foreground = kMain;
        r.d.win(kMain).rect = c.main_rect;
        r.move(c.d);
        ASSERT_EQ(r.d.setpos_calls.size(), 1u) << c.name;
        const auto& call = r.d.setpos_calls[0];
        EXPECT_EQ(call.w, kMain) << c.name;
        EXPECT_EQ((Point{call.x, call.y}), c.expected) << c.name;
        EXPECT_EQ(call.flags, kSwpNoSize | kSwpNoZOrder | kSwpNoActivate) << c.name;
        EXPECT_EQ(r.d.win(kMain).rect.width(), c.main_rect.width()) << c.name;
        EXPECT_EQ(r.uses, 1) << c.name;
        EXPECT_TRUE(r.cap.lines().back().starts_with("move_active_window: centering TW window in target zone RECT {"))
            << c.name;
        EXPECT_TRUE(r.cap.lines().back().ends_with(" at (" + std::to_string(c.expected.x) + "," +
                                                   std::to_string(c.expected.y) + ")"))
            << c.name;
    }
}

TEST(MoveActiveWindow, HoldFollowsTheMove) {
    Rig r;
    r.d.cursor = Point{300, 300};
    r.d.maximise(kWin);
    r.e.on_confine_trigger();
    ASSERT_EQ(r.e.confiner().hold(kWin)->zone, kC1);
    r.move(D::Right);
    EXPECT_EQ(r.e.confiner().hold(kWin)->zone, kC2);
    EXPECT_EQ(r.e.confiner().hold(kWin)->rect, kC2);
    EXPECT_EQ(r.d.frame_of(kWin), kC2);
}

Settings three_layouts(std::string active) {
    Settings s;
    ScreenLayout a;
    a.id = "A";
    a.active_layout = "x";
    a.layouts = {{"x", {}}, {"y", {}}};
    ScreenLayout b;
    b.id = "B";
    b.active_layout = std::move(active);
    b.layouts = {{"A", {}}, {"B", {}}, {"C", {}}};
    s.screens = {a, b};
    s.selected_screen = "B";
    return s;
}

TEST(CycleLayout, Table) {
    struct Case {
        const char* name;
        Settings settings;
        bool changed;
        size_t screen;
        std::string active;
    };
    Settings unselected = three_layouts("A");
    unselected.selected_screen = "gone";
    Settings single;
    single.screens = {ScreenLayout{"A", "", true, false, "only", {{"only", {}}}}};
    Settings single_unknown = single;
    single_unknown.screens[0].active_layout = "old";
    Settings no_layouts;
    no_layouts.screens = {ScreenLayout{"A", "", true, false, "", {}}};
    const Case cases[] = {
        {"A to B", three_layouts("A"), true, 1, "B"},
        {"B to C", three_layouts("B"), true, 1, "C"},
        {"C wraps to A", three_layouts("C"), true, 1, "A"},
        {"unknown to the first", three_layouts("Z"), true, 1, "A"},
        {"no selected screen: the first entry", unselected, true, 0, "y"},
        {"single layout already active: chosen again", single, true, 0, "only"},
        {"single layout, unknown active", single_unknown, true, 0, "only"},
        {"no layouts", no_layouts, false, 0, ""},
        {"no screens", Settings{}, false, 0, ""},
    };
    for (auto c : cases) {
        const Settings before = c.settings;
        EXPECT_EQ(cycle_layout(c.settings), c.changed) << c.name;
        if (c.settings.screens.empty()) continue;
        EXPECT_EQ(c.settings.screens[c.screen].active_layout, c.active) << c.name;
        for (size_t i = 0; i < c.settings.screens.size(); ++i)
            if (i != c.screen) {
                EXPECT_EQ(c.settings.screens[i], before.screens[i]) << c.name;
            }
    }
}

TEST(EngineHotkeys, IdTable) {
    using A = HotkeyAction;
    struct Case { int id; std::optional<A> action; };
    const Case cases[] = {{319, std::nullopt}, {320, A::StartStop}, {321, A::ToggleZones},
                          {322, A::CycleLayout}, {323, A::MoveLeft}, {324, A::MoveRight},
                          {325, A::MoveUp}, {326, A::MoveDown}, {327, A::ExtendLeft},
                          {330, A::ExtendDown}, {331, std::nullopt},
                          {300, std::nullopt}, {999, std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(engine_hotkey_action(c.id), c.action) << c.id;
        if (c.action) {
            EXPECT_EQ(engine_hotkey_id(*c.action), c.id);
        }
    }
    EXPECT_EQ(engine_hotkey_id(A::ShareZone1), 0);
    EXPECT_EQ(move_direction(A::MoveUp), D::Up);
    EXPECT_EQ(move_direction(A::CycleLayout), std::nullopt);
    EXPECT_EQ(direction_name(D::Down), "Down");
}

TEST(EngineHotkeys, Dispatch) {
    Rig r;
    Settings s = three_layouts("A");
    EXPECT_EQ(handle_engine_hotkey(r.e, s, 300).handled, false);
    EXPECT_TRUE(handle_engine_hotkey(r.e, s, 321).handled);
    EXPECT_FALSE(r.e.zones_visible());
    const HotkeyOutcome cycled = handle_engine_hotkey(r.e, s, 322);
    EXPECT_TRUE(cycled.settings_changed);
    EXPECT_EQ(s.screens[1].active_layout, "B");
    handle_engine_hotkey(r.e, s, 326);
    EXPECT_EQ(r.cap.lines().front(), "move_active_window: Down pressed");
    handle_engine_hotkey(r.e, s, 320);
    EXPECT_FALSE(r.e.running());
    EXPECT_FALSE(handle_engine_hotkey(r.e, s, 321).settings_changed);  // stopped: nothing
    handle_engine_hotkey(r.e, s, 320);
    EXPECT_TRUE(r.e.running());
    EXPECT_TRUE(r.e.zones_visible());
}

}  // namespace
}  // namespace tw
