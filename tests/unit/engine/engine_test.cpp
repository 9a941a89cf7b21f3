#include <gtest/gtest.h>

#include <algorithm>

#include "support/engine_rig.h"
#include "support/print.h"

namespace tw {
namespace {

using test::FakeDesktop;
using namespace test::rig;

// One monitor with a two-column layout and a second one without zones; the program's
// main and highlight windows; an ordinary window 10 in the foreground.
struct Rig : EngineRig {
    Rig() : EngineRig({.main = true, .highlight = true}) {}
    void start() {
        ASSERT_TRUE(e.start());
        shell.calls.clear();
        cap.clear();
    }
};

TEST(Engine, StartWithoutZonesStaysStopped) {
    Rig r;
    r.shell.table.clear();
    EXPECT_FALSE(r.e.start());
    EXPECT_FALSE(r.e.running());
    EXPECT_EQ(r.shell.calls, (std::vector<std::string>{"refresh"}));
    r.e.on_confine_trigger();
    r.e.on_press();
    EXPECT_TRUE(r.shell.timers.empty());
}

TEST(Engine, StartInstallsEverythingAndFillsTheConfiner) {
    Rig r;
    r.e.confiner().record_hold(kWin, kLeft, kLeft);
    ASSERT_TRUE(r.e.start());
    EXPECT_EQ(r.shell.calls, (std::vector<std::string>{"install_hooks", "suspend_animation",
                                                        "destroy_overlays", "create_overlays 1 visible",
                                                        "set_timer 1 120", "refresh"}));
    EXPECT_TRUE(r.e.running());
    EXPECT_TRUE(r.e.zones_visible());
    EXPECT_FALSE(r.e.dragging());
    EXPECT_FALSE(r.e.target());
    EXPECT_EQ(r.e.confiner().hold_count(), 0u);
    EXPECT_EQ(r.e.confiner().monitor_table(), (std::vector<ConfinerRow>{{kMon, {kLeft, kRight}}}));
    EXPECT_EQ(r.e.confiner().ignore_list(), (std::vector<WindowId>{kMain, kHighlight, 900}));
    // Starting again while running must not install a second set of hooks.
    r.shell.calls.clear();
    EXPECT_TRUE(r.e.start());
    EXPECT_TRUE(r.shell.calls.empty());
}

TEST(Engine, FailedOverlayWindowsAreLeftOutOfTheIgnoreList) {
    Rig r;
    r.shell.overlay_creation_fails = true;
    ASSERT_TRUE(r.e.start());
    EXPECT_EQ(r.e.confiner().ignore_list(), (std::vector<WindowId>{kMain, kHighlight}));
    EXPECT_EQ(r.e.confiner().monitor_table().size(), 1u);  // its zones still work
}

TEST(Engine, StopUndoesStart) {
    Rig r;
    r.start();
    r.d.maximise(kWin);
    r.e.on_confine_trigger();
    ASSERT_TRUE(r.e.confiner().holds(kWin));
    r.e.on_press();
    r.shell.calls.clear();
    r.e.stop();
    EXPECT_EQ(r.shell.calls,
              (std::vector<std::string>{"destroy_overlays", "kill_timer 1", "kill_timer 3", "kill_timer 2",
                                        "remove_hooks", "hide_highlight", "restore_animation", "refresh"}));
    EXPECT_FALSE(r.e.running());
    EXPECT_TRUE(r.shell.timers.empty());
    EXPECT_FALSE(r.e.pending_resnap());
    EXPECT_EQ(r.e.confiner().hold_count(), 0u);
    EXPECT_TRUE(r.e.confiner().monitor_table().empty());
    EXPECT_TRUE(r.e.zone_table().empty());
    EXPECT_TRUE(r.e.own_windows().overlays.empty());
}

TEST(Engine, ControlsFollowTheState) {
    Rig r;
    EXPECT_FALSE(r.e.toggle_zones());  // stopped: nothing
    EXPECT_TRUE(r.shell.calls.empty());
    r.e.toggle_running();
    EXPECT_TRUE(r.e.running());
    EXPECT_TRUE(r.e.toggle_zones());
    EXPECT_FALSE(r.e.zones_visible());
    EXPECT_FALSE(r.shell.overlays_visible);
    // A rebuild while the zones are hidden keeps them hidden...
    r.shell.calls.clear();
    EXPECT_TRUE(r.e.refresh_zones());
    EXPECT_EQ(r.shell.calls, (std::vector<std::string>{"destroy_overlays", "create_overlays 1 hidden"}));
    // ...a stop and start shows them again.
    r.e.toggle_running();
    EXPECT_FALSE(r.e.running());
    r.e.toggle_running();
    EXPECT_TRUE(r.e.zones_visible());
    EXPECT_TRUE(r.shell.overlays_visible);
    // A display change that leaves no zones stops the engine.
    r.shell.table.clear();
    EXPECT_FALSE(r.e.refresh_zones());
    EXPECT_FALSE(r.e.running());
}

TEST(Engine, RefreshKeepsHoldsAndNewTablesReachTheConfiner) {
    Rig r;
    r.start();
    r.d.cursor = Point{1500, 500};
    r.d.maximise(kWin);
    r.e.on_confine_trigger();
    ASSERT_TRUE(r.e.confiner().holds(kWin));
    r.shell.table = {{"MON1", {kLeft, {960, 0, 1440, 1040}, {1440, 0, 1920, 1040}}, kMon, kWork}};
    r.e.refresh_zones();
    EXPECT_TRUE(r.e.confiner().holds(kWin));
    r.d.foreground = 0;
    r.e.on_confine_trigger();  // the held zone is gone now
    EXPECT_FALSE(r.e.confiner().holds(kWin));
    EXPECT_TRUE(r.cap.contains("confiner: drop hold hwnd=10 (its zone or monitor is gone)"));
}

TEST(Engine, ConfinementsAreCountedOncePerStayInAZone) {
    Rig r;
    r.start();
    r.d.cursor = Point{500, 500};
    r.d.maximise(kWin);
    r.e.on_confine_trigger();
    EXPECT_EQ(r.uses, 1);
    for (int i = 0; i < 3; ++i) {
        r.clock.advance(120);
        r.e.on_confine_trigger();
    }
    EXPECT_EQ(r.uses, 1);
    r.d.set_frame(kWin, {300, 300, 800, 700});  // the user drags it out: released
    r.e.on_confine_trigger();
    r.clock.advance(60);
    r.e.on_confine_trigger();
    ASSERT_FALSE(r.e.confiner().holds(kWin));
    r.clock.advance(120);
    r.d.maximise(kWin);
    r.e.on_confine_trigger();
    EXPECT_EQ(r.uses, 2);
    r.e.stop();
    r.e.on_confine_trigger();  // stopped: no pass at all
    EXPECT_EQ(r.uses, 2);
}

// Moving another application's window waits for it, and meanwhile the UI thread
// handles the messages sent to it: one of them may stop the engine (the end of the
// session, a display change that leaves no zones, the start/stop hotkey in a nested
// loop) or restart it. The pass that was moving the window then ends there.
TEST(Engine, StopOrRestartWhileAWindowIsBeingMoved) {
    constexpr WindowId kOther = 20;
    struct Case {
        const char* what;
        void (*arrange)(Rig&);  // window 10 is held in the left zone; the next pass moves it
    };
    const Case cases[] = {
        {"confinement of a maximised window", [](Rig& r) { r.e.confiner().drop_hold(kWin); r.d.maximise(kWin); }},
        {"confinement of a window covering the work area",
         [](Rig& r) { r.e.confiner().drop_hold(kWin); r.d.set_frame(kWin, kWork); }},
        {"re-confinement in the background", [](Rig& r) { r.d.foreground = kOther; r.d.maximise(kWin); }},
        {"re-confinement of a window placed back over the screen",
         [](Rig& r) { r.d.foreground = kOther; r.d.set_frame(kWin, kWork); }},
        {"settle placement in the background", [](Rig& r) { r.d.foreground = kOther; }},
        {"settle placement in the foreground", [](Rig&) {}},
        {"retry of an undone placement",
         [](Rig& r) { r.d.foreground = kOther; r.d.win(kWin).undo_plain_setpos = true; r.d.set_frame(kWin, kWork); }},
    };
    for (bool restart : {false, true}) {
        for (const auto& c : cases) {
            const std::string what = std::string(c.what) + (restart ? ", restarted" : ", stopped");
            Rig r;
            r.d.add_window(kOther, {300, 200, 800, 700});
            r.start();
            r.d.cursor = Point{500, 500};
            r.d.maximise(kWin);
            r.e.on_confine_trigger();
            ASSERT_TRUE(r.e.confiner().holds(kWin)) << what;
            r.clock.advance(120);  // past the settle placement and the streak's 10 ms
            c.arrange(r);
            size_t moves_when_stopped = 0;
            r.d.while_moving = [&](WindowId) {
                if (moves_when_stopped) return;
                moves_when_stopped = r.d.setpos_calls.size() + r.d.restore_calls.size();
                if (restart)
                    r.e.restart();
                else
                    r.e.stop();
            };
            r.e.on_confine_trigger();
            ASSERT_NE(moves_when_stopped, 0u) << what;
            EXPECT_EQ(r.d.setpos_calls.size() + r.d.restore_calls.size(), moves_when_stopped) << what;
            EXPECT_EQ(r.e.running(), restart) << what;
            EXPECT_EQ(r.e.confiner().hold_count(), 0u) << what;
            EXPECT_TRUE(r.e.confiner().take_events().empty()) << what;
        }
    }
}

// A snap whose placement is interrupted by a stop leaves no re-snap behind.
TEST(DragSnap, StopWhileTheWindowIsBeingSnapped) {
    Rig r;
    r.start();
    r.shift_drag({500, 500}, {1500, 500});
    r.d.while_moving = [&](WindowId) { r.e.stop(); };
    r.e.on_release();
    EXPECT_FALSE(r.e.running());
    EXPECT_FALSE(r.e.pending_resnap());
    EXPECT_TRUE(r.shell.timers.empty());
}

TEST(UsageTally, CountsEachStayOnce) {
    using K = ConfinerEventKind;
    struct Case {
        const char* name;
        std::vector<ConfinerEvent> events;
        std::vector<WindowId> vanish_before_last;
        size_t uses;
    };
    const Case cases[] = {
        {"same window twice", {{K::InZone, 5}, {K::InZone, 5}}, {}, 1},
        {"out of its zone in between", {{K::InZone, 5}, {K::NotInZone, 5}, {K::InZone, 5}}, {}, 2},
        {"never in a zone", {{K::NotInZone, 5}}, {}, 0},
        {"two windows", {{K::InZone, 5}, {K::InZone, 6}, {K::InZone, 5}}, {}, 2},
        {"handle reused after the window was destroyed", {{K::InZone, 5}, {K::InZone, 5}}, {5}, 2},
    };
    for (const auto& c : cases) {
        FakeDesktop d;
        for (WindowId w : {5, 6}) d.add_window(w, {0, 0, 10, 10});
        UsageTally tally;
        int calls = 0;
        std::vector<ConfinerEvent> first(c.events.begin(), c.events.end() - 1);
        size_t uses = tally.consume(first, d, [&] { ++calls; });
        for (WindowId w : c.vanish_before_last) d.vanish(w);
        uses += tally.consume({c.events.back()}, d, [&] { ++calls; });
        EXPECT_EQ(uses, c.uses) << c.name;
        EXPECT_EQ(calls, static_cast<int>(c.uses)) << c.name;
    }
}

TEST(UsageTally, PrunesDestroyedWindowsAboveSixtyFour) {
    struct Case { WindowId counted; size_t after; };
    // 64 counted: no pruning yet; 65 counted: the ten destroyed ones go first.
    for (auto [counted, after] : {Case{64, 65}, Case{65, 56}}) {
        FakeDesktop d;
        UsageTally tally;
        std::vector<ConfinerEvent> events;
        for (WindowId w = 1; w <= counted; ++w) {
            d.add_window(w, {0, 0, 10, 10});
            events.push_back({ConfinerEventKind::InZone, w});
        }
        tally.consume(events, d, nullptr);
        for (WindowId w = 1; w <= 10; ++w) d.vanish(w);
        d.add_window(500, {0, 0, 10, 10});
        EXPECT_EQ(tally.consume({{ConfinerEventKind::InZone, 500}}, d, nullptr), 1u);
        EXPECT_EQ(tally.size(), after) << counted;
        EXPECT_TRUE(tally.counted(500));
    }
}

// --- Shift-drag snapping ---

struct Poll {
    Point cursor;
    bool shift;
};

struct DragCase {
    const char* name;
    Point press;
    std::vector<Poll> polls;
    std::vector<std::string> lines;  // after the release
    std::optional<Rect> frame;       // where window 10 ends up; none: not moved
};

TEST(DragSnap, Scenarios) {
    const std::string snap_left = "SNAP hwnd=10 cls='AppWindow' -> [0,0,960,1040]";
    const std::string snap_right = "SNAP hwnd=10 cls='AppWindow' -> [960,0,1920,1040]";
    const DragCase cases[] = {
        {"click without movement", {500, 500}, {{{500, 500}, true}}, {"dragend: not a drag"}, std::nullopt},
        {"11 pixels is not a drag", {500, 500}, {{{511, 489}, true}}, {"dragend: not a drag"}, std::nullopt},
        {"12 pixels is a drag", {500, 500}, {{{512, 500}, true}}, {snap_left}, kLeft},
        {"12 pixels up is a drag", {500, 500}, {{{500, 488}, true}}, {snap_left}, kLeft},
        {"movement without Shift is not a drag", {500, 500}, {{{900, 500}, false}, {{1500, 500}, false}},
         {"dragend: not a drag"}, std::nullopt},
        {"Shift pressed after 20 pixels", {500, 500}, {{{520, 500}, false}, {{1500, 500}, true}},
         {snap_right}, kRight},
        {"Shift released before the button", {500, 500}, {{{1500, 500}, true}, {{1520, 500}, false}},
         {"dragend: no target zone"}, std::nullopt},
        {"Shift back down after a release", {500, 500},
         {{{1500, 500}, true}, {{1510, 500}, false}, {{1511, 500}, true}}, {snap_right}, kRight},
        {"over the monitor without zones", {500, 500}, {{{2500, 500}, true}}, {"dragend: no target zone"},
         std::nullopt},
        {"from one zone to the other", {500, 500}, {{{600, 500}, true}, {{1700, 300}, true}}, {snap_right},
         kRight},
        {"ends where the drag began", {500, 500}, {{{1500, 500}, true}, {{500, 500}, true}}, {snap_left},
         kLeft},
    };
    for (const auto& c : cases) {
        Rig r;
        r.start();
        r.d.cursor = c.press;
        r.e.on_press();
        EXPECT_TRUE(r.shell.timer_running(EngineTimer::DragPoll)) << c.name;
        for (const Poll& p : c.polls) {
            r.d.cursor = p.cursor;
            r.d.shift = p.shift;
            r.e.on_drag_poll();
        }
        r.e.on_release();
        EXPECT_FALSE(r.shell.timer_running(EngineTimer::DragPoll)) << c.name;
        EXPECT_FALSE(r.shell.highlight_visible) << c.name;
        EXPECT_EQ(r.cap.lines(), c.lines) << c.name;
        if (c.frame) {
            EXPECT_EQ(r.d.frame_of(kWin), *c.frame) << c.name;
            EXPECT_EQ(r.uses, 1) << c.name;
            EXPECT_TRUE(r.shell.timer_running(EngineTimer::Resnap)) << c.name;
        } else {
            EXPECT_TRUE(r.d.setpos_calls.empty()) << c.name;
            EXPECT_FALSE(r.e.pending_resnap()) << c.name;
        }
    }
}

// The hook's button-up can be missed (the engine stopped mid-press, a switch to the
// secure desktop, a hook time-out); mouse moves still arrive as if the button were
// down. The poll asks for the button itself and ends such a press without a snap.
// The button found up by the drag poll before the hook's release arrived: a move posted
// just before the release and handled after it, or a release the hook never saw. A drag
// ends as the release would (with the target it had while the button was down); a press
// that was not yet a drag ends quietly; the hook's late release changes nothing more.
TEST(DragSnap, ButtonFoundUpBeforeItsReleaseArrived) {
    const std::string found_up = "dragend: button found up before its release arrived";
    struct Case { const char* what; bool dragging_when_found; bool late_release; std::optional<Rect> snapped_to; std::vector<std::string> lines; };
    const Case cases[] = {
        {"found up during a drag, release follows", true, true, kRight,
         {found_up, "SNAP hwnd=10 cls='AppWindow' -> [960,0,1920,1040]"}},
        {"found up during a drag, release never comes", true, false, kRight,
         {found_up, "SNAP hwnd=10 cls='AppWindow' -> [960,0,1920,1040]"}},
        {"found up before the press became a drag", false, true, std::nullopt, {"dragend: not a drag"}},
    };
    for (const auto& c : cases) {
        Rig r;
        r.start();
        const Rect before = r.d.frame_of(kWin);
        r.d.cursor = Point{500, 500};
        r.e.on_press();
        r.d.shift = true;
        if (c.dragging_when_found) {
            r.d.cursor = Point{1500, 500};
            r.e.on_drag_poll();
            ASSERT_TRUE(r.shell.highlight_visible) << c.what;
        }
        r.d.left_button = false;
        // Moves after the button went up neither pick another target nor highlight.
        for (Point p : {Point{600, 500}, Point{1700, 800}}) {
            r.d.cursor = p;
            r.e.on_drag_poll();
            EXPECT_FALSE(r.shell.highlight_visible) << c.what;
        }
        if (c.late_release) r.e.on_release();
        EXPECT_FALSE(r.e.dragging()) << c.what;
        EXPECT_FALSE(r.e.target()) << c.what;
        EXPECT_FALSE(r.shell.timer_running(EngineTimer::DragPoll)) << c.what;
        EXPECT_EQ(r.cap.lines(), c.lines) << c.what;
        EXPECT_EQ(r.d.frame_of(kWin), c.snapped_to.value_or(before)) << c.what;
        // A real press afterwards is a drag as usual, and its release snaps.
        r.d.left_button = true;
        r.d.cursor = Point{500, 500};
        r.e.on_press();
        r.d.cursor = Point{100, 500};
        r.e.on_drag_poll();
        r.e.on_release();
        EXPECT_EQ(r.d.frame_of(kWin), kLeft) << c.what;
    }
}

TEST(DragSnap, HighlightFollowsTheTargetZone) {
    Rig r;
    r.start();
    r.d.cursor = Point{500, 500};
    r.e.on_press();
    r.d.shift = true;
    for (Point p : {Point{520, 500}, Point{700, 600}, Point{1000, 600}, Point{2500, 600},
                    Point{1800, 100}}) {
        r.d.cursor = p;
        r.e.on_drag_poll();
    }
    r.d.shift = false;
    r.e.on_drag_poll();
    EXPECT_EQ(r.shell.calls, (std::vector<std::string>{"set_timer 3 30", "show_highlight [0,0,960,1040]",
                                                        "show_highlight [960,0,1920,1040]", "hide_highlight",
                                                        "show_highlight [960,0,1920,1040]", "hide_highlight"}));
    EXPECT_TRUE(r.e.dragging());  // Shift up keeps the drag, drops the target
    EXPECT_FALSE(r.e.target());
}

TEST(DragSnap, GapBetweenZonesSnapsToTheNearestCentre) {
    Rig r;
    r.shell.table = {{"MON1", {{0, 0, 900, 1040}, {1000, 0, 1920, 1040}}, kMon, kWork}};
    r.start();
    r.d.cursor = Point{500, 500};
    r.e.on_press();
    r.d.shift = true;
    r.d.cursor = Point{960, 500};  // 510 from the left centre, 500 from the right one
    r.e.on_drag_poll();
    r.e.on_release();
    EXPECT_EQ(r.d.frame_of(kWin), (Rect{1000, 0, 1920, 1040}));
}

TEST(DragSnap, ResnapEightyMillisecondsLater) {
    Rig r;
    r.start();
    r.shift_drag({500, 500}, {1500, 500});
    r.e.on_release();
    EXPECT_EQ(r.e.pending_resnap(), (PendingResnap{kWin, kRight}));
    EXPECT_TRUE(r.shell.timer_running(EngineTimer::Resnap));
    r.d.set_frame(kWin, {1000, 40, 1800, 900});  // the application adjusted itself
    r.e.on_resnap();
    EXPECT_FALSE(r.shell.timer_running(EngineTimer::Resnap));
    EXPECT_EQ(r.cap.lines().back(), "re-snap hwnd=10 -> [960,0,1920,1040]");
    EXPECT_EQ(r.d.frame_of(kWin), kRight);
    EXPECT_EQ(r.uses, 1);  // the repeat is not a new use
    EXPECT_EQ(r.d.setpos_count(kWin), 2u);
    r.e.on_resnap();  // a second tick finds nothing to do
    EXPECT_EQ(r.d.setpos_count(kWin), 2u);
}

TEST(DragSnap, ForegroundWindowsThatAreNotSnapped) {
    struct Case { const char* name; WindowId fg; const char* cls; };
    const Case cases[] = {
        {"no foreground", 0, nullptr},
        {"main window", kMain, nullptr},
        {"taskbar", 30, "Shell_TrayWnd"},
        {"desktop", 30, "Progman"},
    };
    for (const auto& c : cases) {
        Rig r;
        if (c.cls) r.d.add_window(c.fg, {0, 0, 1920, 40}, c.cls);
        r.d.foreground = c.fg;
        r.start();
        r.shift_drag({500, 500}, {1500, 500});
        r.e.on_release();
        EXPECT_EQ(r.cap.lines(), (std::vector<std::string>{"dragend: skip own/none/shell hwnd=" +
                                                           std::to_string(c.fg)}))
            << c.name;
        EXPECT_TRUE(r.d.setpos_calls.empty()) << c.name;
        EXPECT_FALSE(r.e.pending_resnap()) << c.name;
    }
}

TEST(DragSnap, SnapMovesTheHoldAndRestoresMaximisedWindows) {
    Rig r;
    r.start();
    r.d.cursor = Point{500, 500};
    r.d.maximise(kWin);
    r.e.on_confine_trigger();
    ASSERT_EQ(r.e.confiner().hold(kWin)->zone, kLeft);
    r.d.maximise(kWin);  // maximised again before the drag
    r.e.on_press();
    r.d.shift = true;
    r.d.cursor = Point{1500, 500};
    r.e.on_drag_poll();
    r.e.on_release();
    EXPECT_EQ(r.e.confiner().hold(kWin)->zone, kRight);
    EXPECT_EQ(r.e.confiner().hold(kWin)->rect, kRight);
    EXPECT_FALSE(r.d.win(kWin).zoomed);
    EXPECT_EQ(r.d.frame_of(kWin), kRight);
}

TEST(DragSnap, FailedPlacementIsNotAUseButIsRepeated) {
    Rig r;
    r.start();
    r.d.win(kWin).setpos_fails = true;
    r.shift_drag({500, 500}, {1500, 500});
    r.e.on_release();
    EXPECT_EQ(r.uses, 0);
    EXPECT_TRUE(r.e.pending_resnap());
}

TEST(DragSnap, CursorFailures) {
    Rig r;
    r.start();
    r.d.cursor = std::nullopt;
    r.e.on_press();
    EXPECT_EQ(r.e.press_point(), (Point{0, 0}));
    r.d.shift = true;
    r.e.on_drag_poll();  // falls back to the press point: no movement
    EXPECT_FALSE(r.e.dragging());
}

TEST(DragSnap, PressWhileStoppedStartsNoTimer) {
    Rig r;
    r.e.on_press();
    r.e.on_drag_poll();
    EXPECT_TRUE(r.shell.calls.empty());
}

}  // namespace
}  // namespace tw
