#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/engine/engine.h"
#include "core/engine/stranded_windows.h"
#include "core/base/log.h"
#include "support/fake_desktop.h"
#include "support/print.h"
#include "support/recording_engine_shell.h"

namespace tw {
namespace {

using test::FakeClock;
using test::FakeDesktop;
using test::FakeWindow;
using test::RecordingEngineShell;

// Three monitors: one left of the primary at negative coordinates, the primary, and a
// smaller one on the right.
const Rect kLeftMon{-1920, 0, 0, 1080};
const Rect kPrimary{0, 0, 1920, 1080};
const Rect kRightMon{1920, 0, 3200, 1024};
const Rect kL1{-1920, 0, -960, 1080};
const Rect kP1{0, 0, 640, 1080}, kP2{640, 0, 1280, 1080}, kP3{1280, 0, 1920, 1080};
const Rect kR1{1920, 0, 2560, 1024}, kR2{2560, 0, 3200, 1024};

TEST(StrandedWindows, NearestRow) {
    const std::vector<ConfinerRow> rows{{kPrimary, {kP1}}, {kRightMon, {kR1}}};
    const struct {
        Point p;
        const ConfinerRow* want;
    } cases[] = {
        {{100, 100}, &rows[0]},    // inside
        {{3000, 1050}, &rows[1]},  // just below the smaller monitor
        {{5000, 500}, &rows[1]},   // far right
        {{-500, 500}, &rows[0]},   // where a left monitor used to be
        {{1920, 2000}, &rows[0]},  // below both: the primary's corner is nearer
    };
    for (const auto& c : cases) EXPECT_EQ(nearest_row(rows, c.p), c.want) << c.p.x << "," << c.p.y;
    EXPECT_EQ(nearest_row({}, {0, 0}), nullptr);
}

// The left and right monitors are switched off while windows are held there; the
// system leaves the windows where they were, on no monitor.
TEST(StrandedWindows, DisplayChangeBringsHeldWindowsOntoTheRemainingMonitor) {
    FakeDesktop d;
    FakeClock clock;
    RecordingEngineShell shell;
    Engine e{d, clock, shell, [] {}};
    LogCapture cap;
    d.monitors = {{kPrimary, kPrimary}, {kLeftMon, kLeftMon}, {kRightMon, kRightMon}};
    shell.table = {{"P", {kP1, kP2, kP3}, kPrimary, kPrimary},
                   {"L", {kL1}, kLeftMon, kLeftMon},
                   {"R", {kR1, kR2}, kRightMon, kRightMon}};
    ASSERT_TRUE(e.start());
    d.add_window(10, {}).borders = {7, 0, 7, 7};
    d.set_frame(10, kR2);
    e.confiner().record_hold(10, kR2, d.win(10).rect);
    FakeWindow& zoomed = d.add_window(20, kLeftMon);  // re-maximised on the left monitor
    zoomed.zoomed = true;
    zoomed.normal_rect = {-1800, 100, -1000, 700};
    e.confiner().record_hold(20, kL1, kL1);

    d.monitors = {{kPrimary, kPrimary}};
    shell.table = {shell.table[0]};
    ASSERT_TRUE(e.refresh_zones());
    EXPECT_EQ(d.frame_of(10), kP3);
    EXPECT_EQ(e.confiner().hold(10)->zone, kP3);
    EXPECT_EQ(d.restore_calls, std::vector<WindowId>{20});
    EXPECT_EQ(d.frame_of(20), kP1);
    EXPECT_EQ(e.confiner().hold(20)->zone, kP1);
    EXPECT_TRUE(cap.contains("confiner: bring back hwnd=10 from a monitor that is gone -> [1273,0,1927,1087]"));
    EXPECT_TRUE(cap.contains("confiner: bring back hwnd=20 from a monitor that is gone -> [0,0,640,1080]"));
    d.setpos_calls.clear();
    e.refresh_zones();  // a second display change: nothing is stranded any more
    EXPECT_TRUE(d.setpos_calls.empty());
}

TEST(StrandedWindows, WindowsThatAreNotStrandedStayWhereTheyAre) {
    const struct {
        const char* what;
        Rect rect;
        Rect zone;
        std::function<void(FakeWindow&)> tweak;
    } cases[] = {
        {"moved onto the primary by the system", {100, 100, 500, 500}, kR2, nullptr},
        {"minimised", kR2, kR2, [](FakeWindow& w) { w.iconic = true; }},
        {"hidden", kR2, kR2, [](FakeWindow& w) { w.visible = false; }},
        {"destroyed", kR2, kR2, [](FakeWindow& w) { w.exists = false; }},
        {"off screen while its zone is still there", {5000, 0, 5500, 500}, kP1, nullptr},
        {"its rectangle cannot be read", kR2, kR2, [](FakeWindow& w) { w.rect_query_fails = true; }},
    };
    for (const auto& c : cases) {
        FakeDesktop d;
        FakeClock clock;
        Confiner confiner{d, clock};
        d.monitors = {{kPrimary, kPrimary}};
        confiner.set_monitor_table({{kPrimary, {kP1, kP2, kP3}}});
        FakeWindow& w = d.add_window(30, c.rect);
        if (c.tweak) c.tweak(w);
        confiner.record_hold(30, c.zone, c.rect);
        EXPECT_EQ(bring_back_stranded(confiner, d), 0u) << c.what;
        EXPECT_TRUE(d.setpos_calls.empty()) << c.what;
        EXPECT_EQ(confiner.hold(30)->zone, c.zone) << c.what;
    }
}

}  // namespace
}  // namespace tw
