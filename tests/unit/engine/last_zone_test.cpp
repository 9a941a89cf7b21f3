#include <gtest/gtest.h>

#include "core/base/log.h"
#include "core/engine/engine.h"
#include "core/engine/keyboard_move.h"
#include "support/counting_desktop.h"
#include "support/fake_desktop.h"
#include "support/recording_engine_shell.h"

namespace tw {
namespace {

using test::FakeClock;
using test::FakeDesktop;
using test::FakeWindow;
using test::RecordingEngineShell;

const Rect kMon{0, 0, 1920, 1080};
const Rect kWork{0, 0, 1920, 1040};
const Rect kLeft{0, 0, 960, 1040};
const Rect kRight{960, 0, 1920, 1040};
constexpr WindowId kMain = 1, kHighlight = 2, kA = 10, kB = 11, kNew = 20;
const char* const kEdit = "C:\\Apps\\Edit.exe";

// One monitor with the two-column layout "Halves"; the program's windows; editor A.
struct Rig {
    FakeDesktop d;
    FakeClock clock;
    RecordingEngineShell shell;
    Engine e{d, clock, shell, [] {}};
    std::vector<std::string> writes;  // the memory, as written after each change
    LogCapture cap;

    Rig(bool open_in_last_zone = true, std::vector<std::string> excluded = {}) {
        d.monitors = {{kMon, kWork}};
        d.add_window(kMain, {200, 200, 800, 700}, "TilewrightMain").pid = d.own_pid;
        d.add_window(kHighlight, {0, 0, 100, 100}, "TilewrightHighlight").pid = d.own_pid;
        editor(kA, {100, 100, 700, 600});
        d.foreground = kA;
        shell.table = {{"MON1", {kLeft, kRight}, kMon, kWork, "Halves"}};
        e.set_main_window(kMain);
        e.set_highlight_window(kHighlight);
        e.last_zones().set_persist([this](const LastZones& z) { writes.push_back(serialize_last_zones(z)); });
        e.set_app_rules(std::move(excluded), open_in_last_zone);
        EXPECT_TRUE(e.start());
        pass();
    }
    FakeWindow& editor(WindowId id, Rect r, const char* exe = kEdit) {
        FakeWindow& w = d.add_window(id, r, "EditWnd");
        w.exe_path = exe;
        return w;
    }
    void pass() {
        clock.advance(120);
        e.on_confine_trigger();
    }
    void snap(WindowId w, Point to) {
        d.foreground = w;
        d.cursor = {500, 500};
        e.on_press();
        d.shift = true;
        d.cursor = to;
        e.on_drag_poll();
        e.on_release();
        d.shift = false;
    }
    const ZonePlace* remembered(const char* exe = kEdit) { return e.last_zones().memory().find({exe, "EditWnd"}); }
};

TEST(LastZone, ANewWindowOpensInTheZoneItsApplicationWasLastPutIn) {
    const struct {
        const char* how;
        uint32_t zone;
    } ways[] = {{"snap", 2}, {"keyboard", 1}, {"confine", 2}};
    for (const auto& way : ways) {
        Rig r;
        if (std::string(way.how) == "snap") r.snap(kA, {1500, 500});
        if (std::string(way.how) == "keyboard") move_active_window(r.e, Direction::Left);
        if (std::string(way.how) == "confine") {
            r.d.cursor = {1500, 500};
            r.d.maximise(kA);
            r.pass();
        }
        ASSERT_NE(r.remembered(), nullptr) << way.how;
        EXPECT_EQ(*r.remembered(), (ZonePlace{"MON1", "Halves", way.zone})) << way.how;
        ASSERT_EQ(r.writes.size(), 1u) << way.how;
        r.pass();
        EXPECT_EQ(r.writes.size(), 1u) << "written once, not on every pass: " << way.how;

        r.editor(kNew, {300, 300, 900, 800});
        r.d.foreground = kNew;
        r.cap.clear();
        r.pass();
        EXPECT_EQ(r.d.win(kNew).rect, way.zone == 2 ? kRight : kLeft) << way.how;
        EXPECT_TRUE(r.cap.contains("last_zone: opening hwnd=20 'C:\\Apps\\Edit.exe' cls='EditWnd' in zone " +
                                   std::to_string(way.zone) + " of 'Halves' on MON1 " +
                                   rect_text(way.zone == 2 ? kRight : kLeft)))
            << way.how;
        // Once, at its first showing: moved away later, it stays where the user put it.
        r.d.set_frame(kNew, {50, 50, 400, 400});
        r.pass();
        r.pass();
        EXPECT_EQ(r.d.win(kNew).rect, (Rect{50, 50, 400, 400})) << way.how;
    }
}

TEST(LastZone, LatestPlacementWinsAcrossInstancesAndMovingAwayForgets) {
    Rig r;
    r.editor(kB, {150, 150, 650, 650});
    r.pass();
    r.snap(kA, {200, 500});   // A into zone 1
    r.snap(kB, {1500, 500});  // then B into zone 2: the latest wins
    EXPECT_EQ(r.remembered()->zone, 2u);
    // A, moved to a free position, does not undo B's placement.
    r.d.foreground = kA;
    r.d.set_frame(kA, {100, 100, 500, 500});
    r.pass();
    EXPECT_EQ(r.remembered()->zone, 2u);
    // B moved away without Shift: the application forgets its zone.
    r.d.foreground = kB;
    r.d.set_frame(kB, {300, 100, 700, 500});
    r.pass();
    EXPECT_EQ(r.remembered(), nullptr);
    EXPECT_TRUE(r.cap.contains("last_zone: hwnd=11 'C:\\Apps\\Edit.exe' cls='EditWnd' was moved out of its "
                               "zone; its application's zone is forgotten"));
    r.editor(kNew, {300, 300, 900, 800});
    r.d.foreground = kNew;
    r.pass();
    EXPECT_EQ(r.d.win(kNew).rect, (Rect{300, 300, 900, 800}));
}

TEST(LastZone, WindowsThatCannotOrMustNotGoToTheirZoneAreLeftWhereTheyOpened) {
    const struct {
        const char* name;
        void (*change)(Rig&, FakeWindow&);
        const char* line;  // none: left alone silently
    } cases[] = {
        {"layout no longer active", [](Rig& r, FakeWindow&) { r.shell.table[0].layout = "Thirds"; r.e.refresh_zones(); },
         "last_zone: hwnd=20 'C:\\Apps\\Edit.exe' cls='EditWnd' left where it opened: layout 'Halves' is not "
         "active on MON1"},
        {"screen gone", [](Rig& r, FakeWindow&) { r.shell.table[0].screen_id = "MON2"; r.e.refresh_zones(); },
         "last_zone: hwnd=20 'C:\\Apps\\Edit.exe' cls='EditWnd' left where it opened: screen MON1 is not "
         "attached or has no zones"},
        {"maximised", [](Rig&, FakeWindow& w) { w.zoomed = true; }, nullptr},
        {"minimised", [](Rig&, FakeWindow& w) { w.iconic = true; }, nullptr},
        {"owned", [](Rig&, FakeWindow& w) { w.owner = kA; }, nullptr},
        {"dialog", [](Rig&, FakeWindow& w) { w.cls = "#32770"; }, nullptr},
        {"tool window", [](Rig&, FakeWindow& w) { w.ex_style = kWsExToolWindow; }, nullptr},
        {"modal frame", [](Rig&, FakeWindow& w) { w.ex_style = kWsExDlgModalFrame; }, nullptr},
        {"another application", [](Rig&, FakeWindow& w) { w.exe_path = "C:\\Apps\\Other.exe"; }, nullptr},
        {"another kind of window", [](Rig&, FakeWindow& w) { w.cls = "EditFind"; }, nullptr},
        {"excluded", [](Rig& r, FakeWindow&) { r.e.set_app_rules({"edit.exe"}, true); }, nullptr},
        {"preference off", [](Rig& r, FakeWindow&) { r.e.set_app_rules({}, false); }, nullptr},
    };
    for (const auto& c : cases) {
        Rig r;
        r.snap(kA, {1500, 500});
        FakeWindow& w = r.editor(kNew, {300, 300, 900, 800});
        w.visible = false;  // created hidden, changed, then shown
        r.pass();
        c.change(r, r.d.win(kNew));
        r.d.win(kNew).visible = true;
        const Rect before = r.d.win(kNew).rect;
        r.cap.clear();
        r.clock.advance(NewWindowWatch::kListEveryMs);
        r.pass();
        EXPECT_EQ(r.d.win(kNew).rect, before) << c.name;
        if (c.line) {
            EXPECT_TRUE(r.cap.contains(c.line)) << c.name;
        }
        for (const auto& line : r.cap.lines()) EXPECT_EQ(line.find("last_zone: opening"), std::string::npos) << c.name;
    }
    // The same steps with nothing changed: created hidden, shown in the background, it
    // goes to its zone when the next list finds it.
    Rig r;
    r.snap(kA, {1500, 500});
    r.editor(kNew, {300, 300, 900, 800}).visible = false;
    r.pass();
    r.d.win(kNew).visible = true;
    r.clock.advance(NewWindowWatch::kListEveryMs);
    r.pass();
    EXPECT_EQ(r.d.win(kNew).rect, kRight);
}

TEST(LastZone, NothingIsRememberedWhileThePreferenceIsOff) {
    Rig r(false);
    r.snap(kA, {1500, 500});
    EXPECT_EQ(r.remembered(), nullptr);
    EXPECT_TRUE(r.writes.empty());
    EXPECT_EQ(r.d.enumerations, 0);  // no new-window watch either
}

TEST(LastZone, IdlePassesAskNothingAndTheWindowListOnceASecond) {
    Rig r;
    test::CountingDesktop counting(r.d);
    LastZoneKeeper keeper(counting, r.e.window_apps());
    keeper.set_enabled(true);
    for (uint64_t t = 0; t <= 3000; t += 120) keeper.take_openings(r.e.zone_table(), {}, 1, t, kA);
    EXPECT_EQ(counting.text(), "top_level_windows x3");
    // A new window in the foreground is found at once, a new one in the background
    // with the next list.
    r.editor(kNew, {300, 300, 900, 800});
    r.editor(kB, {300, 300, 900, 800});
    counting.calls.clear();
    keeper.take_openings(r.e.zone_table(), {}, 1, 3100, kNew);
    EXPECT_EQ(counting.calls["is_visible"], 1);
    EXPECT_EQ(counting.calls["top_level_windows"], 0);
}

TEST(ExcludedApps, EveryEnginePathLeavesTheirWindowsAlone) {
    Rig r(true, {"EDIT.EXE"});
    const Rect at = r.d.win(kA).rect;
    // Confiner: maximised, it stays maximised.
    r.d.cursor = {1500, 500};
    r.d.maximise(kA);
    r.pass();
    r.pass();
    EXPECT_TRUE(r.d.win(kA).zoomed);
    EXPECT_FALSE(r.e.confiner().holds(kA));
    r.d.set_frame(kA, {100, 100, 700, 600});
    // Shift-drag and keyboard moves.
    r.snap(kA, {1500, 500});
    EXPECT_TRUE(r.cap.contains("dragend: skip hwnd=10 of excluded application 'C:\\Apps\\Edit.exe'"));
    move_active_window(r.e, Direction::Right);
    EXPECT_TRUE(r.cap.contains("move_active_window: skip, hwnd=10 of excluded application 'C:\\Apps\\Edit.exe'"));
    EXPECT_EQ(r.d.setpos_count(kA), 0u);
    EXPECT_EQ(r.d.win(kA).rect, at);

    // A window held before its application was excluded is let go at once, so that
    // no background pass or display change moves it again.
    Rig held;
    held.d.cursor = {1500, 500};
    held.d.maximise(kA);
    held.pass();
    ASSERT_TRUE(held.e.confiner().holds(kA));
    held.e.set_app_rules({"C:\\apps\\edit.exe"}, true);
    EXPECT_FALSE(held.e.confiner().holds(kA));
    EXPECT_TRUE(held.cap.contains("confiner: drop hold hwnd=10 (its application is excluded)"));
    held.d.foreground = kMain;
    held.d.maximise(kA);
    held.pass();
    EXPECT_TRUE(held.d.win(kA).zoomed);
}

}  // namespace
}  // namespace tw
