#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/engine/confiner.h"
#include "core/base/log.h"
#include "support/fake_desktop.h"
#include "support/print.h"

namespace tw {
namespace {

using test::FakeClock;
using test::FakeDesktop;

const Rect kMon{0, 0, 1920, 1080};
const Rect kWork{0, 0, 1920, 1040};
const Rect kLeft{0, 0, 960, 1040};
const Rect kRight{960, 0, 1920, 1040};
const Rect kMon2{1920, 0, 3840, 1080};
const Rect kWork2{1920, 0, 3840, 1040};
constexpr WindowId kWin = 10;
constexpr WindowId kOther = 20;

// Two monitors side by side; the left one has a two-column layout, the right one has
// no zones. Window 10 has Windows 10 style invisible borders (7 px left, right and
// bottom) and starts restored at [100,100,700,600]; window 20 is an ordinary window
// that is not in any zone.
struct Rig {
    FakeDesktop d;
    FakeClock clock;
    std::unique_ptr<Confiner> c;
    LogCapture cap;

    Rig() {
        clock.t = 1'000'000;
        d.monitors = {{kMon, kWork}, {kMon2, kWork2}};
        auto& w = d.add_window(kWin, {100, 100, 700, 600});
        w.borders = {7, 0, 7, 7};
        d.add_window(kOther, {300, 200, 800, 700});
        d.foreground = kWin;
        d.cursor = Point{1500, 500};
        c = std::make_unique<Confiner>(d, clock);
        c->set_monitor_table({{kMon, {kLeft, kRight}}});
    }
    void pass() { c->confine_tick(); }
    int count(std::string_view prefix) const {
        return static_cast<int>(std::count_if(cap.lines().begin(), cap.lines().end(),
                                              [&](const std::string& l) { return l.starts_with(prefix); }));
    }
    // Holds window 10 in `zone` with its frame on it, via an ordinary confinement.
    void hold_in(const Rect& zone) {
        d.cursor = centre(zone);
        d.maximise(kWin);
        pass();
        ASSERT_TRUE(c->holds(kWin));
        ASSERT_EQ(c->hold(kWin)->zone, zone);
        ASSERT_EQ(d.frame_of(kWin), zone);
        c->take_events();
        cap.clear();
    }
};

TEST(ConfinerJudge, Verdicts) {
    const std::vector<Rect> zones{kLeft, kRight};
    const Rect held_rect{-7, 0, 967, 1047};
    struct Case {
        const char* name;
        Rect wr, vis;
        bool zoomed;
        Verdict verdict;
        Rect zone;
    };
    const Case cases[] = {
        {"frame on zone", {-7, 0, 967, 1047}, kLeft, false, Verdict::InPlace, {}},
        {"frame 2 px off", {-5, 2, 969, 1049}, {2, 2, 962, 1042}, false, Verdict::InPlace, {}},
        {"window rect on zone", kLeft, {7, 0, 953, 1033}, false, Verdict::InPlace, {}},
        {"window rect on held rect", held_rect, {50, 50, 60, 60}, false, Verdict::InPlace, {}},
        {"in place wins over zoomed", {-7, 0, 967, 1047}, kLeft, true, Verdict::InPlace, {}},
        {"zoomed", {-7, 0, 1927, 1047}, kWork, true, Verdict::Reconfine, {}},
        {"covers work", {-7, 0, 1927, 1047}, kWork, false, Verdict::Reconfine, {}},
        {"covers monitor", kMon, kMon, false, Verdict::Reconfine, {}},
        {"moved to right", {953, 0, 1927, 1047}, kRight, false, Verdict::MovedTo, kRight},
        {"moved, window rect on right", kRight, {967, 0, 1913, 1033}, false, Verdict::MovedTo, kRight},
        {"frame 3 px off the zone", {956, 3, 1930, 1050}, {963, 3, 1923, 1043}, false,
         Verdict::Release, {}},
        {"free position", {300, 300, 800, 700}, {307, 300, 793, 693}, false, Verdict::Release, {}},
    };
    for (const auto& c : cases) {
        const Judgement j = judge(c.wr, c.vis, c.zoomed, kLeft, held_rect, zones, kMon, kWork);
        EXPECT_EQ(j.verdict, c.verdict) << c.name;
        if (c.verdict == Verdict::MovedTo) {
            EXPECT_EQ(j.zone, c.zone) << c.name;
        }
    }
}

TEST(ConfinerTakeover, PointChoice) {
    const std::vector<Rect> zones{kLeft, kRight};
    const Rect wr{-7, 0, 1927, 1047};
    const Point wr_centre{960, 523};
    struct Case {
        const char* name;
        std::optional<Point> cursor;
        std::optional<Rect> normal;
        Point expected;
    };
    const Case cases[] = {
        {"cursor over the zones", Point{1500, 500}, Rect{100, 100, 700, 600}, {1500, 500}},
        {"cursor on the top-left pixel", Point{0, 0}, std::nullopt, {0, 0}},
        {"cursor below the zones (taskbar)", Point{500, 1050}, Rect{100, 100, 700, 600}, {400, 350}},
        {"cursor on the right edge is outside", Point{1920, 10}, Rect{100, 100, 700, 600}, {400, 350}},
        {"no cursor", std::nullopt, Rect{1000, 100, 1600, 600}, {1300, 350}},
        {"no placement", Point{2500, 10}, std::nullopt, wr_centre},
        {"empty restored rect", Point{2500, 10}, Rect{100, 100, 100, 600}, wr_centre},
        {"restored width at 90 %", Point{2500, 10}, Rect{0, 0, 1728, 500}, wr_centre},
        {"restored width under 90 %", Point{2500, 10}, Rect{0, 0, 1727, 500}, {863, 250}},
        {"restored height at 90 %", Point{2500, 10}, Rect{0, 0, 500, 936}, wr_centre},
        {"restored height under 90 %", Point{2500, 10}, Rect{0, 0, 500, 935}, {250, 467}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(takeover_point(zones, c.cursor, c.normal, wr), c.expected) << c.name;
}

TEST(Confiner, MaximisedWindowGoesToTheZoneUnderTheCursor) {
    Rig r;
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.cap.lines(),
              (std::vector<std::string>{
                  "confiner: takeover hwnd=10 cls='AppWindow' wr=[-7,0,1927,1047] mon=[0,0,1920,1080] "
                  "work=[0,0,1920,1040] covers_mon=false covers_work=true zoomed=true",
                  "confiner: CONFINE hwnd=10 cls='AppWindow' -> [953,0,1927,1047] (was zoomed=true, held=false)",
              }));
    EXPECT_EQ(r.d.restore_calls, (std::vector<WindowId>{kWin}));
    EXPECT_EQ(r.d.frame_of(kWin), kRight);
    ASSERT_EQ(r.d.setpos_calls.size(), 1u);
    EXPECT_EQ(r.d.setpos_calls[0].flags, kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder);
    ASSERT_TRUE(r.c->holds(kWin));
    const HeldWindow* hw = r.c->hold(kWin);
    EXPECT_EQ(hw->zone, kRight);
    EXPECT_EQ(hw->rect, (Rect{953, 0, 1927, 1047}));
    EXPECT_TRUE(hw->settle_pending);
    EXPECT_EQ(hw->settle_at, r.c->now_ms() + 40);
    EXPECT_EQ(hw->budget, 8u);
    EXPECT_EQ(hw->budget_window, 3500u);
    EXPECT_EQ(hw->release_delay, 50u);
    EXPECT_EQ(r.c->take_events(), (std::vector<ConfinerEvent>{{ConfinerEventKind::InZone, kWin}}));
    EXPECT_TRUE(r.c->take_events().empty());
}

TEST(Confiner, ZoneChoiceWhenTheCursorIsElsewhere) {
    struct Case {
        const char* name;
        Rect restored;
        Rect expected;
    };
    const Case cases[] = {
        {"restored rect centre on the left", {100, 100, 700, 600}, kLeft},
        {"restored rect centre on the right", {1100, 100, 1700, 600}, kRight},
        // Too large to say anything: the maximised rectangle's centre (960, 523) lies
        // in the right column.
        {"restored rect wider than 90 %", {0, 100, 1800, 600}, kRight},
        {"restored rect taller than 90 %", {100, 0, 700, 1000}, kRight},
    };
    for (const auto& c : cases) {
        Rig r;
        r.d.cursor = Point{2500, 500};  // on the monitor without zones
        r.d.win(kWin).rect = c.restored;
        r.d.maximise(kWin);
        r.pass();
        EXPECT_EQ(r.d.frame_of(kWin), c.expected) << c.name;
    }
}

TEST(Confiner, SettlePlacementFortyMillisecondsLater) {
    Rig r;
    r.d.maximise(kWin);
    r.pass();
    r.cap.clear();
    r.clock.advance(39);
    r.pass();
    EXPECT_EQ(r.d.setpos_calls.size(), 1u);
    r.clock.advance(1);
    r.pass();
    EXPECT_EQ(r.cap.lines(), (std::vector<std::string>{"confiner: settle hwnd=10 at [953,0,1927,1047]"}));
    ASSERT_EQ(r.d.setpos_calls.size(), 2u);
    EXPECT_EQ(r.d.setpos_calls[1].x, 953);
    r.clock.advance(100);
    r.pass();
    EXPECT_EQ(r.d.setpos_calls.size(), 2u);  // once only
}

TEST(Confiner, HeldWindowReMaximisedReturnsToItsOwnZone) {
    Rig r;
    r.hold_in(kLeft);
    r.d.cursor = Point{1500, 500};  // over the other zone
    r.clock.advance(120);
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.d.frame_of(kWin), kLeft);
    EXPECT_EQ(r.count("confiner: CONFINE hwnd=10 cls='AppWindow' -> [-7,0,967,1047] (was zoomed=true, held=true)"), 1);
}

TEST(Confiner, FrameAlreadyInPlaceIsHeldWithoutAMove) {
    Rig r;
    r.c->set_monitor_table({{kMon, {kWork}}});  // a single zone as large as the work area
    r.d.maximise(kWin);
    r.pass();
    r.pass();
    EXPECT_TRUE(r.d.setpos_calls.empty());
    EXPECT_TRUE(r.d.restore_calls.empty());
    EXPECT_EQ(r.count("confiner: takeover hwnd=10"), 1);  // not repeated while nothing in it changes
    EXPECT_EQ(r.count("confiner: CONFINE"), 0);
    ASSERT_TRUE(r.c->holds(kWin));
    EXPECT_EQ(r.c->hold(kWin)->rect, (Rect{-7, 0, 1927, 1047}));
    EXPECT_FALSE(r.c->hold(kWin)->settle_pending);
    EXPECT_EQ(r.c->take_events().size(), 2u);
}

TEST(Confiner, ForegroundMovesBetweenZonesAndRelease) {
    Rig r;
    r.hold_in(kLeft);
    // Dragged into the right zone: the hold follows, nothing is moved.
    r.d.set_frame(kWin, kRight);
    const size_t moves = r.d.setpos_calls.size();
    r.pass();
    EXPECT_EQ(r.c->hold(kWin)->zone, kRight);
    EXPECT_EQ(r.c->hold(kWin)->rect, r.d.win(kWin).rect);
    EXPECT_EQ(r.d.setpos_calls.size(), moves);
    // Dragged to a free position: released once the condition has lasted 50 ms.
    r.d.set_frame(kWin, {300, 300, 800, 700});
    r.pass();
    r.clock.advance(49);
    r.pass();
    EXPECT_TRUE(r.c->holds(kWin));
    EXPECT_TRUE(r.c->take_events().empty());
    r.clock.advance(1);
    r.pass();
    EXPECT_FALSE(r.c->holds(kWin));
    EXPECT_EQ(r.cap.lines(),
              (std::vector<std::string>{"confiner: release hold hwnd=10 (foreground) wr=[293,300,807,707] "
                                        "vis=[300,300,800,700]"}));
    EXPECT_EQ(r.c->take_events(), (std::vector<ConfinerEvent>{{ConfinerEventKind::NotInZone, kWin}}));
    EXPECT_EQ(r.d.setpos_calls.size(), moves);
}

TEST(Confiner, ReturningToTheZoneCancelsAPendingRelease) {
    Rig r;
    r.hold_in(kLeft);
    r.d.set_frame(kWin, {300, 300, 800, 700});
    r.pass();
    r.d.set_frame(kWin, kLeft);
    r.clock.advance(30);
    r.pass();
    EXPECT_FALSE(r.c->hold(kWin)->release_pending);
    r.d.set_frame(kWin, {300, 300, 800, 700});
    r.clock.advance(30);
    r.pass();  // a new release condition starts counting afresh
    r.clock.advance(30);
    r.pass();
    EXPECT_TRUE(r.c->holds(kWin));
    r.clock.advance(20);
    r.pass();
    EXPECT_FALSE(r.c->holds(kWin));
}

TEST(Confiner, UnheldForegroundWindowOutsideTheZonesIsReported) {
    struct Case { Rect frame; bool reported; };
    for (auto [frame, reported] : {Case{{300, 300, 800, 700}, true}, Case{kRight, false},
                                   Case{{962, 2, 1918, 1038}, false}}) {
        Rig r;
        r.d.set_frame(kWin, frame);
        r.pass();
        EXPECT_EQ(r.c->take_events().size(), reported ? 1u : 0u) << rect_text(frame);
        EXPECT_FALSE(r.c->holds(kWin));
    }
}

TEST(Confiner, BackgroundReMaximiseBudget) {
    Rig r;
    r.hold_in(kLeft);
    r.d.foreground = kOther;
    for (int i = 0; i < 10; ++i) {
        r.d.maximise(kWin);
        r.pass();
        r.clock.advance(200);
    }
    EXPECT_EQ(r.count("confiner: RE-CONFINE hwnd=10 wr=[100,100,700,600] -> [-7,0,967,1047] (background)"), 0);
    EXPECT_EQ(r.count("confiner: RE-CONFINE hwnd=10 wr=[-7,0,967,1047] -> [-7,0,967,1047] (background)"), 8);
    EXPECT_EQ(r.count("confiner: give up hold hwnd=10 (re-confine budget spent)"), 1);
    EXPECT_EQ(r.cap.lines().size(), 9u);
    EXPECT_FALSE(r.c->holds(kWin));
    EXPECT_TRUE(r.d.win(kWin).zoomed);  // the tenth maximise is left alone
}

TEST(Confiner, BackgroundBudgetRenewsAfterItsWindow) {
    Rig r;
    r.hold_in(kLeft);
    r.d.foreground = kOther;
    for (int i = 0; i < 8; ++i) {
        r.d.maximise(kWin);
        r.pass();
        r.clock.advance(100);
    }
    r.clock.advance(3500);
    for (int i = 0; i < 3; ++i) {
        r.d.maximise(kWin);
        r.pass();
        r.clock.advance(100);
    }
    EXPECT_EQ(r.count("confiner: RE-CONFINE"), 11);
    EXPECT_EQ(r.count("confiner: give up"), 0);
    EXPECT_EQ(r.c->hold(kWin)->reconfines, 3u);
}

TEST(Confiner, ForegroundFighterIsSurrendered) {
    Rig r;
    r.d.cursor = Point{500, 500};
    r.d.win(kWin).remaximise_after_place = 1'000'000;
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.count("confiner: CONFINE"), 1);
    // At most one placement per 10 ms.
    r.clock.advance(5);
    r.pass();
    EXPECT_EQ(r.count("confiner: CONFINE"), 1);
    r.clock.advance(5);
    r.pass();
    EXPECT_EQ(r.count("confiner: CONFINE"), 2);
    // Retried on every pass until 3.5 s after the first attempt.
    for (uint64_t t = 10; t + 120 <= 3500; t += 120) {
        r.clock.advance(120);
        r.pass();
    }
    EXPECT_EQ(r.count("confiner: surrender"), 0);
    const int confines = r.count("confiner: CONFINE");
    EXPECT_EQ(confines, 2 + 29);
    r.clock.advance(120);
    r.pass();
    const uint32_t rounds = static_cast<uint32_t>(confines) + 2;  // the rate-limited pass counts
    EXPECT_EQ(r.cap.lines().back(),
              "confiner: surrender hwnd=10 after " + std::to_string(rounds) + " rounds (hold dropped)");
    EXPECT_FALSE(r.c->holds(kWin));
    EXPECT_TRUE(r.c->is_surrendered(kWin));
    const size_t moves = r.d.setpos_calls.size();
    for (int i = 0; i < 20; ++i) {
        r.clock.advance(120);
        r.pass();
    }
    EXPECT_EQ(r.d.setpos_calls.size(), moves);
    EXPECT_EQ(r.count("confiner: CONFINE"), confines);
    EXPECT_EQ(r.count("confiner: surrender"), 1);
    // Seen as a normal window again, it is free and is confined once more next time.
    r.d.win(kWin).remaximise_after_place = 0;
    r.d.set_frame(kWin, {300, 300, 800, 700});
    r.pass();
    EXPECT_FALSE(r.c->is_surrendered(kWin));
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.d.frame_of(kWin), kLeft);
}

TEST(Confiner, WindowMaximisedAgainAfterTurningAwayIsConfinedNotSurrendered) {
    Rig r;
    r.d.cursor = Point{500, 500};
    r.d.maximise(kWin);
    r.pass();
    ASSERT_EQ(r.count("confiner: CONFINE"), 1);
    // No pass sees it in its zone before the user turns to another window.
    r.d.foreground = kOther;
    r.pass();
    r.clock.advance(10000);
    r.d.foreground = kWin;
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.count("confiner: surrender"), 0);
    EXPECT_EQ(r.count("confiner: CONFINE"), 2);
    EXPECT_FALSE(r.c->is_surrendered(kWin));
    EXPECT_EQ(r.d.frame_of(kWin), kLeft);
}

TEST(Confiner, PlainPlacementUndoneIsRetriedOnceWithNoSendChanging) {
    Rig r;
    r.d.win(kWin).undo_plain_setpos = true;
    r.d.maximise(kWin);
    r.pass();
    ASSERT_EQ(r.d.setpos_calls.size(), 2u);
    EXPECT_EQ(r.d.setpos_calls[0].flags & kSwpNoSendChanging, 0u);
    EXPECT_EQ(r.d.setpos_calls[1].flags,
              kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder | kSwpNoSendChanging);
    EXPECT_EQ(r.count("confiner: plain placement of hwnd=10 was undone, retrying with NOSENDCHANGING"), 1);
    EXPECT_EQ(r.d.frame_of(kWin), kRight);
}

TEST(Confiner, WindowThatResistsEvenTheRetryGetsOneRetryPerPlacement) {
    Rig r;
    r.d.win(kWin).remaximise_after_place = 2;  // undoes both calls of the first placement
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.d.setpos_calls.size(), 2u);
    EXPECT_EQ(r.count("confiner: plain placement"), 1);
    r.clock.advance(120);
    r.pass();
    EXPECT_EQ(r.d.setpos_calls.size(), 3u);
    EXPECT_EQ(r.count("confiner: plain placement"), 1);
    EXPECT_EQ(r.d.frame_of(kWin), kRight);
}

TEST(Confiner, BackgroundHoldEndings) {
    struct Case {
        const char* name;
        void (*change)(Rig&);
        bool still_held;
        const char* line;  // the only line expected, or null for none
    };
    const Case cases[] = {
        {"window destroyed", [](Rig& r) { r.d.vanish(kWin); }, false, nullptr},
        {"minimised while maximised", [](Rig& r) { r.d.maximise(kWin); r.d.minimise(kWin); }, true, nullptr},
        {"hidden", [](Rig& r) { r.d.win(kWin).visible = false; r.d.maximise(kWin); }, true, nullptr},
        {"zone gone", [](Rig& r) { r.c->set_monitor_table({{kMon, {{0, 0, 640, 1040}, {640, 0, 1920, 1040}}}}); },
         false, "confiner: drop hold hwnd=10 (its zone or monitor is gone)"},
        {"monitor gone", [](Rig& r) { r.c->set_monitor_table({{kMon2, {kWork2}}}); }, false,
         "confiner: drop hold hwnd=10 (its zone or monitor is gone)"},
        {"moved to the other monitor",
         [](Rig& r) { r.d.set_frame(kWin, {2000, 100, 2600, 600}); }, false,
         "confiner: drop hold hwnd=10 (its zone or monitor is gone)"},
        {"window rectangle unreadable", [](Rig& r) { r.d.win(kWin).rect_query_fails = true; }, true, nullptr},
        {"moved into the other zone", [](Rig& r) { r.d.set_frame(kWin, kRight); }, true, nullptr},
        {"still in place", [](Rig&) {}, true, nullptr},
    };
    for (const auto& c : cases) {
        Rig r;
        r.hold_in(kLeft);
        r.d.foreground = kOther;
        c.change(r);
        const size_t moves = r.d.setpos_calls.size();
        r.clock.advance(1);  // before the settle placement is due
        r.pass();
        EXPECT_EQ(r.c->holds(kWin), c.still_held) << c.name;
        EXPECT_EQ(r.d.setpos_calls.size(), moves) << c.name;
        if (c.line) {
            EXPECT_EQ(r.cap.lines(), (std::vector<std::string>{c.line})) << c.name;
        } else {
            EXPECT_TRUE(r.cap.lines().empty()) << c.name;
        }
    }
}

TEST(Confiner, MinimisedHeldWindowIsTouchedOnlyWhenShownAgain) {
    Rig r;
    r.hold_in(kLeft);
    r.d.foreground = kOther;
    r.d.maximise(kWin);
    r.d.minimise(kWin);
    for (int i = 0; i < 5; ++i) {
        r.clock.advance(120);
        r.pass();
    }
    EXPECT_TRUE(r.c->holds(kWin));
    EXPECT_TRUE(r.cap.lines().empty());
    r.d.unminimise(kWin);
    r.pass();
    EXPECT_EQ(r.count("confiner: RE-CONFINE hwnd=10"), 1);
    EXPECT_EQ(r.d.frame_of(kWin), kLeft);
}

// A held window minimised while it stays the foreground window is parked far
// off-screen; it keeps its hold and is not touched until it is shown again.
TEST(Confiner, MinimisedForegroundWindowKeepsItsHold) {
    struct Case { const char* what; bool maximised; };
    for (const auto& c : {Case{"minimised from its zone", false}, Case{"minimised while maximised", true}}) {
        Rig r;
        r.hold_in(kLeft);
        r.d.cursor = Point{1500, 500};  // over the other zone
        if (c.maximised) r.d.maximise(kWin);
        r.d.minimise(kWin);  // still the foreground window
        const size_t moves = r.d.setpos_calls.size();
        for (int i = 0; i < 5; ++i) {
            r.clock.advance(120);
            r.pass();
        }
        EXPECT_TRUE(r.cap.lines().empty()) << c.what;
        EXPECT_TRUE(r.c->take_events().empty()) << c.what;
        ASSERT_TRUE(r.c->holds(kWin)) << c.what;
        EXPECT_EQ(r.c->hold(kWin)->zone, kLeft) << c.what;
        EXPECT_EQ(r.d.setpos_calls.size(), moves) << c.what;
        r.d.unminimise(kWin);
        r.pass();
        EXPECT_EQ(r.d.frame_of(kWin), kLeft) << c.what;  // back to its own zone
        EXPECT_EQ(r.count("confiner: release"), 0) << c.what;
    }
}

// Moving a window whose application does not answer would block the whole program
// until it does: such a window is left alone, reported once, and tried again on the
// following passes.
TEST(Confiner, WindowThatDoesNotRespondIsLeftAlone) {
    struct Case { const char* what; bool background; const char* placed; };
    const Case cases[] = {
        {"maximised in the foreground", false, "confiner: CONFINE hwnd=10"},
        {"re-maximised in the background", true, "confiner: RE-CONFINE hwnd=10"},
    };
    for (const auto& c : cases) {
        Rig r;
        r.d.cursor = Point{500, 500};
        if (c.background) {
            r.hold_in(kLeft);
            r.d.foreground = kOther;
        }
        r.d.maximise(kWin);
        r.d.win(kWin).hung = true;
        const size_t moves = r.d.setpos_calls.size();
        for (int i = 0; i < 3; ++i) {
            r.clock.advance(120);
            r.pass();
        }
        EXPECT_EQ(r.d.setpos_calls.size(), moves) << c.what;
        EXPECT_TRUE(r.d.restore_calls.empty() || c.background) << c.what;
        EXPECT_EQ(r.cap.lines(),
                  (std::vector<std::string>{"confiner: skip hwnd=10 (not responding); tried again on the next pass"}))
            << c.what;
        EXPECT_EQ(r.c->holds(kWin), c.background) << c.what;
        r.d.win(kWin).hung = false;
        r.clock.advance(120);
        r.pass();
        EXPECT_EQ(r.count(c.placed), 1) << c.what;
        EXPECT_EQ(r.d.frame_of(kWin), kLeft) << c.what;
    }
}

// A window that already fills its zone (a one-zone layout) is seen as maximised on
// every pass; its takeover line is written again only when something in it changed.
TEST(Confiner, RepeatedTakeoverLineIsWrittenOnce) {
    Rig r;
    r.c->set_monitor_table({{kMon, {kWork}}});
    r.d.maximise(kWin);
    for (int i = 0; i < 10; ++i) {
        r.clock.advance(120);
        r.pass();
    }
    EXPECT_EQ(r.count("confiner: takeover hwnd=10"), 1);
    EXPECT_TRUE(r.d.setpos_calls.empty());
    r.d.set_frame(kWin, {300, 300, 800, 700});  // restored, then maximised again
    r.pass();
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.count("confiner: takeover hwnd=10"), 2);
    r.d.win(kWin).zoomed = false;  // same rectangle, no longer zoomed: the line differs
    r.pass();
    EXPECT_EQ(r.count("confiner: takeover hwnd=10"), 3);
}

TEST(Confiner, SurrenderedWindowsAreForgottenOnceDestroyed) {
    Rig r;
    r.d.cursor = Point{500, 500};
    r.d.win(kWin).remaximise_after_place = 1'000'000;
    r.d.maximise(kWin);
    for (int i = 0; i < 40 && !r.c->is_surrendered(kWin); ++i) {
        r.clock.advance(120);
        r.pass();
    }
    ASSERT_TRUE(r.c->is_surrendered(kWin));
    r.c->set_monitor_table({{kMon, {kLeft, kRight}}});  // still there: kept
    EXPECT_EQ(r.c->surrendered_count(), 1u);
    r.d.vanish(kWin);
    r.c->set_monitor_table({{kMon, {kLeft, kRight}}});
    EXPECT_EQ(r.c->surrendered_count(), 0u);
}

TEST(Confiner, BackgroundReleaseAndMove) {
    Rig r;
    r.hold_in(kLeft);
    r.d.foreground = kOther;
    r.d.set_frame(kWin, kRight);
    r.pass();
    EXPECT_EQ(r.c->hold(kWin)->zone, kRight);
    r.d.set_frame(kWin, {300, 300, 800, 700});
    r.pass();
    r.clock.advance(50);
    r.pass();
    EXPECT_FALSE(r.c->holds(kWin));
    EXPECT_EQ(r.cap.lines(),
              (std::vector<std::string>{"confiner: release hold hwnd=10 (background) wr=[293,300,807,707] "
                                        "vis=[300,300,800,700]"}));
    for (const ConfinerEvent& e : r.c->take_events())  // no event from the background
        EXPECT_NE(e.window, kWin);
}

TEST(Confiner, HeldForegroundWindowOnAMonitorWithoutZonesKeepsItsHold) {
    // The window passed every filter but the zone-table one, so the background half
    // leaves it to a later pass in which it is no longer the foreground window.
    Rig r;
    r.hold_in(kLeft);
    r.d.set_frame(kWin, {2000, 100, 2600, 600});
    r.pass();
    EXPECT_TRUE(r.c->holds(kWin));
    r.d.foreground = kOther;
    r.pass();
    EXPECT_FALSE(r.c->holds(kWin));
}

TEST(Confiner, TopmostFullscreenWindowIsNeverConfined) {
    Rig r;
    r.d.win(kWin).ex_style = kWsExTopmost;
    r.d.maximise(kWin);
    for (int i = 0; i < 3; ++i) r.pass();
    EXPECT_TRUE(r.d.setpos_calls.empty());
    EXPECT_EQ(r.cap.lines(),
              (std::vector<std::string>{"confiner: skip overlay-style hwnd=10 cls='AppWindow' ex_style=0x8"}));
}

TEST(Confiner, IgnoredShellAndOwnWindowsAreNeverConfined) {
    struct Case { const char* name; void (*setup)(Rig&); };
    const Case cases[] = {
        {"shell", [](Rig& r) { r.d.win(kWin).cls = "Shell_TrayWnd"; }},
        {"own process", [](Rig& r) { r.d.win(kWin).pid = r.d.own_pid; }},
        {"ignore list", [](Rig& r) { r.c->set_ignore_list({kWin}); }},
        {"monitor without zones", [](Rig& r) { r.d.win(kWin).rect = {2000, 100, 2600, 600}; }},
        {"empty table", [](Rig& r) { r.c->set_monitor_table({}); }},
    };
    for (const auto& c : cases) {
        Rig r;
        c.setup(r);
        r.d.maximise(kWin);
        r.pass();
        EXPECT_TRUE(r.d.setpos_calls.empty()) << c.name;
        EXPECT_TRUE(r.cap.lines().empty()) << c.name;
        EXPECT_FALSE(r.c->holds(kWin)) << c.name;
    }
    Rig r;  // a shell class differing only in case is an ordinary window
    r.d.win(kWin).cls = "shell_traywnd";
    r.d.maximise(kWin);
    r.pass();
    EXPECT_EQ(r.d.frame_of(kWin), kRight);
}

TEST(Confiner, TargetOffTheWindowsMonitorIsSkipped) {
    Rig r;
    r.c->set_monitor_table({{kMon, {{2000, 0, 2500, 500}}}});
    r.d.maximise(kWin);
    r.pass();
    EXPECT_TRUE(r.d.setpos_calls.empty());
    EXPECT_EQ(r.cap.lines().back(),
              "confiner: skip, target not on this window's monitor. target=[2000,0,2500,500]");
}

TEST(Confiner, ResetAndClear) {
    Rig r;
    r.hold_in(kLeft);
    r.c->reset();
    EXPECT_EQ(r.c->hold_count(), 0u);
    EXPECT_FALSE(r.c->monitor_table().empty());
    r.c->set_ignore_list({5});
    r.c->clear();
    EXPECT_TRUE(r.c->monitor_table().empty());
    EXPECT_TRUE(r.c->ignore_list().empty());
    EXPECT_EQ(r.c->now_ms(), 0u);
    r.d.maximise(kWin);
    r.pass();  // idle: an empty table ends the pass at once
    EXPECT_TRUE(r.cap.lines().empty());
}

TEST(Confiner, RecordHoldKeepsBudgetAndSettle) {
    Rig r;
    r.c->record_hold(kWin, kLeft, kLeft);
    HeldWindow expected;
    expected.zone = kLeft;
    expected.rect = kLeft;
    EXPECT_EQ(*r.c->hold(kWin), expected);
    r.d.foreground = kOther;
    r.d.maximise(kWin);
    r.pass();  // one re-confine: budget counting and a settle are under way
    r.c->record_hold(kWin, kRight, kRight);
    const HeldWindow* hw = r.c->hold(kWin);
    EXPECT_EQ(hw->zone, kRight);
    EXPECT_EQ(hw->reconfines, 1u);
    EXPECT_TRUE(hw->settle_pending);
    r.c->move_hold(kWin, kLeft);
    EXPECT_EQ(r.c->hold(kWin)->rect, kLeft);
    r.c->move_hold(kOther, kLeft);  // not held: nothing to move
    EXPECT_FALSE(r.c->holds(kOther));
}

}  // namespace
}  // namespace tw
