// Windows keep what is theirs across the engine's placements: held windows follow a
// layout change, a window dragged out of its zone gets its own size back, and a
// window that cannot be resized is centred in a zone instead of stretched.
#include <gtest/gtest.h>

#include "core/engine/engine_placement.h"
#include "core/engine/keyboard_move.h"
#include "core/engine/layout_follow.h"
#include "core/engine/own_size.h"
#include "core/engine/stranded_windows.h"
#include "support/engine_rig.h"
#include "support/print.h"

namespace tw {
namespace {

using namespace test::rig;

const std::vector<Rect> kThirds{{0, 0, 640, 1040}, {640, 0, 1280, 1040}, {1280, 0, 1920, 1040}};
constexpr WindowId kOther = 11;

int32_t w_of(const Rect& r) { return r.right - r.left; }
int32_t h_of(const Rect& r) { return r.bottom - r.top; }

// One monitor with two columns (a second one with a single zone when asked), window
// 10 of 600 x 500 with invisible borders in the foreground, the left button up.
struct Rig : EngineRig {
    explicit Rig(bool two_monitors = false) {
        d.left_button = false;
        if (two_monitors) shell.table.push_back({"MON2", {kWork2}, kMon2, kWork2});
        e.start();
    }
    // The user maximises the window with the cursor at `at`: confined there.
    void confine(WindowId w, Point at) {
        d.foreground = w;
        d.cursor = at;
        d.maximise(w);
        e.on_confine_trigger();
        ASSERT_TRUE(e.confiner().holds(w));
    }
    void pass() {
        clock.advance(120);
        e.on_confine_trigger();
    }
};

TEST(LayoutFollow, TheZoneWithTheSameNumberOrTheNearest) {
    const Rect half_l{0, 0, 960, 1040}, half_r{960, 0, 1920, 1040}, whole{0, 0, 1920, 1040};
    struct Case {
        const char* what;
        Rect held;
        std::vector<Rect> before, after;
        std::optional<Rect> want;
    } cases[] = {
        {"zone 2 of two becomes zone 2 of three", half_r, {half_l, half_r}, kThirds, kThirds[1]},
        {"zone 3 of three, two left: the nearest", kThirds[2], kThirds, {half_l, half_r}, half_r},
        {"zone 2 of two, one left: the nearest", half_r, {half_l, half_r}, {whole}, whole},
        {"zone 2 now lies off the screen: the nearest", half_r, {half_l, half_r},
         {half_l, Rect{}, half_r}, half_r},
        {"not one of the old zones: where its centre is", {1300, 0, 1900, 500}, {half_l},
         kThirds, kThirds[2]},
        {"no zones any more", half_l, {half_l, half_r}, {}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(following_zone(c.held, c.before, c.after), c.want) << c.what;
}

TEST(LayoutFollow, HeldWindowsGoIntoTheNewLayoutAndStayHeld) {
    Rig r;
    r.confine(kWin, {1500, 500});  // zone 2 of two
    r.shell.table[0].zones = kThirds;
    ASSERT_TRUE(r.e.follow_layout_change());
    EXPECT_EQ(r.d.frame_of(kWin), kThirds[1]);
    ASSERT_TRUE(r.e.confiner().holds(kWin));
    EXPECT_EQ(r.e.confiner().hold(kWin)->zone, kThirds[1]);
    for (int i = 0; i < 3; ++i) r.pass();  // settled and still held, not released
    EXPECT_EQ(r.d.frame_of(kWin), kThirds[1]);
    EXPECT_TRUE(r.e.confiner().holds(kWin));
    // A one-zone layout has no zone 2: the nearest zone, the whole work area.
    r.shell.table[0].zones = {kWork};
    r.e.follow_layout_change();
    EXPECT_EQ(r.d.frame_of(kWin), kWork);
    EXPECT_TRUE(r.e.confiner().holds(kWin));
    EXPECT_TRUE(r.e.running());
}

TEST(LayoutFollow, OnlyWindowsOfAScreenSwitchedOffAreLetGo) {
    Rig r(true);
    r.d.add_window(kOther, {2000, 100, 2600, 600});
    r.confine(kWin, {200, 500});
    r.confine(kOther, {2500, 500});
    const size_t moves = r.d.setpos_calls.size();
    r.shell.table.pop_back();  // the second screen's zones switched off
    ASSERT_TRUE(r.e.follow_layout_change());
    EXPECT_TRUE(r.e.confiner().holds(kWin));
    EXPECT_FALSE(r.e.confiner().holds(kOther));
    EXPECT_EQ(r.d.setpos_calls.size(), moves);  // nothing moved: zones of screen 1 unchanged
    EXPECT_TRUE(r.cap.contains("layout_follow: let go hwnd=11 (its screen has no zones now)"));
    r.shell.table.clear();  // no screen has zones: the engine stops
    EXPECT_FALSE(r.e.follow_layout_change());
    EXPECT_FALSE(r.e.running());
}

TEST(LayoutFollow, AMinimisedWindowIsNotShownButItsHoldFollows) {
    Rig r;
    r.confine(kWin, {1500, 500});
    r.d.minimise(kWin);
    r.d.foreground = 0;
    const size_t moves = r.d.setpos_calls.size();
    r.shell.table[0].zones = kThirds;
    r.e.follow_layout_change();
    EXPECT_EQ(r.d.setpos_calls.size(), moves);
    EXPECT_TRUE(r.d.win(kWin).iconic);
    ASSERT_TRUE(r.e.confiner().holds(kWin));
    EXPECT_EQ(r.e.confiner().hold(kWin)->zone, kThirds[1]);
}

TEST(OwnSize, WhereTheWindowGoesWhenItGetsItsSizeBack) {
    const Rect dropped{1000, 300, 1960, 1340};  // 960 x 1040, partly off the work area
    struct Case {
        const char* what;
        Rect dropped;
        std::optional<Point> cursor;
        Rect want;
    } cases[] = {
        {"cursor a quarter across keeps its place in the window", {500, 300, 1460, 700},
         Point{740, 310}, {590, 300, 1190, 800}},
        {"no cursor: the top-left stays", {500, 300, 1460, 700}, std::nullopt, {500, 300, 1100, 800}},
        {"cursor off the window: the top-left stays", {500, 300, 1460, 700}, Point{10, 10},
         {500, 300, 1100, 800}},
        {"dropped partly off the work area: pulled back in", dropped, std::nullopt,
         {1000, 300, 1600, 800}},
        {"dropped low: pulled up", {100, 900, 1060, 1200}, std::nullopt, {100, 540, 700, 1040}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(own_size_rect(c.dropped, 600, 500, c.cursor, kWork), c.want) << c.what;
}

// Each way the engine puts a window into a zone.
enum class Placed { Confined, Snapped, MovedByKey };

void place(Rig& r, Placed how) {
    switch (how) {
    case Placed::Confined: r.confine(kWin, {1500, 500}); break;
    case Placed::Snapped:
        r.d.cursor = Point{300, 105};
        r.e.on_press();
        r.d.left_button = true;
        r.d.shift = true;
        r.d.cursor = Point{1500, 500};
        r.e.on_drag_poll();
        r.d.left_button = false;
        r.d.shift = false;
        r.e.on_release();
        break;
    case Placed::MovedByKey: move_active_window(r.e, Direction::Right); break;
    }
}

TEST(OwnSize, AWindowDraggedOutOfItsZoneGetsItsOwnSizeBackWhereItIsDropped) {
    for (Placed how : {Placed::Confined, Placed::Snapped, Placed::MovedByKey}) {
        SCOPED_TRACE(static_cast<int>(how));
        Rig r;
        place(r, how);
        ASSERT_EQ(r.d.frame_of(kWin), kRight);
        move_active_window(r.e, Direction::Left);  // a second placement keeps the first size
        ASSERT_EQ(r.d.frame_of(kWin), kLeft);
        // The user drags it by its title bar; nothing happens while the button is down.
        r.d.left_button = true;
        r.d.set_frame(kWin, {300, 200, 1260, 1240});
        r.d.cursor = Point{293 + 244, 210};  // a quarter across the 974-pixel window
        r.pass();
        EXPECT_EQ(w_of(r.d.win(kWin).rect), 974);
        r.d.left_button = false;
        r.pass();
        const Rect now = r.d.win(kWin).rect;
        EXPECT_EQ(w_of(now), 600);
        EXPECT_EQ(h_of(now), 500);
        EXPECT_EQ(now.top, 200);
        EXPECT_EQ(now.left, 537 - 150);  // the cursor is still a quarter across
        r.pass();  // given back once only
        EXPECT_EQ(r.d.win(kWin).rect, now);
        EXPECT_EQ(r.e.confiner().own_sizes().size(), 0u);
    }
}

TEST(OwnSize, AWindowInAZoneOrResizedByTheUserKeepsItsSize) {
    Rig r;
    place(r, Placed::Confined);
    r.d.set_frame(kWin, kLeft);  // dragged into the other zone: still in a zone
    r.pass();
    EXPECT_EQ(r.d.frame_of(kWin), kLeft);
    EXPECT_NE(r.e.confiner().own_sizes().find(kWin), nullptr);
    r.d.set_frame(kWin, {300, 300, 900, 700});  // resized by the user: its size now
    const size_t moves = r.d.setpos_calls.size();
    r.pass();
    r.pass();
    EXPECT_EQ(r.d.setpos_calls.size(), moves);
    EXPECT_EQ(r.e.confiner().own_sizes().find(kWin), nullptr);
}

TEST(FixedSize, CentredInTheZoneNeverLarger) {
    struct Case {
        const char* what;
        Rect wr, vis, zone, want;
    } cases[] = {
        {"smaller than the zone: centred at its size", {0, 0, 300, 200}, {0, 0, 300, 200},
         {0, 0, 960, 1040}, {330, 420, 630, 620}},
        {"invisible borders: the frame is centred", {-7, 0, 307, 207}, {0, 0, 300, 200},
         {960, 0, 1920, 1040}, {1283, 420, 1597, 627}},
        {"wider than the zone: cut to its width", {0, 0, 1200, 200}, {0, 0, 1200, 200},
         {0, 0, 960, 1040}, {0, 420, 960, 620}},
        {"larger both ways: the zone", {0, 0, 2000, 2000}, {0, 0, 2000, 2000}, {0, 0, 960, 1040},
         {0, 0, 960, 1040}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fixed_size_target_rect(c.zone, c.wr, c.vis), c.want) << c.what;
}

TEST(FixedSize, EveryEnginePathMovesItWithoutStretchingIt) {
    auto centred_in = [](const Rect& frame, const Rect& zone) {
        return w_of(frame) == 300 && h_of(frame) == 200 && centre(frame) == centre(zone);
    };
    for (int path = 0; path < 5; ++path) {
        SCOPED_TRACE(path);
        Rig r;
        r.d.win(kWin).fixed_size = true;
        r.d.set_frame(kWin, {100, 100, 400, 300});
        Rect zone = kRight;
        switch (path) {
        case 0: r.confine(kWin, {1500, 500}); break;
        case 1: place(r, Placed::Snapped); break;
        case 2: move_active_window(r.e, Direction::Right); break;
        case 3:  // follows a layout change
            r.confine(kWin, {1500, 500});
            r.shell.table[0].zones = kThirds;
            r.e.follow_layout_change();
            zone = kThirds[1];
            break;
        case 4:  // brought back from a monitor that is gone
            r.e.confiner().record_hold(kWin, {1920, 0, 3840, 1040}, {1920, 0, 3840, 1040});
            r.d.set_frame(kWin, {4000, 100, 4300, 300});
            bring_back_stranded(r.e.confiner(), r.d);  // the zone nearest its centre
            break;
        }
        EXPECT_TRUE(centred_in(r.d.frame_of(kWin), zone)) << rect_text(r.d.frame_of(kWin));
        // Held, it stays: the next passes neither release nor stretch it.
        r.pass();
        r.pass();
        EXPECT_TRUE(centred_in(r.d.frame_of(kWin), zone)) << rect_text(r.d.frame_of(kWin));
        if (path != 1 && path != 2) {  // a snap or key move only moves a hold
            EXPECT_TRUE(r.e.confiner().holds(kWin));
        }
    }
}

}  // namespace
}  // namespace tw
