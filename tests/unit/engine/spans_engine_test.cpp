#include <gtest/gtest.h>

#include "core/base/log.h"
#include "core/engine/engine.h"
#include "core/engine/extend_window.h"
#include "core/model/settings.h"
#include "support/engine_rig.h"
#include "support/fake_desktop.h"
#include "support/print.h"
#include "support/recording_engine_shell.h"

namespace tw {
namespace {

using D = Direction;
using namespace test::rig;  // the screens, window 10 and the thirds

const Rect kC12{0, 0, 1280, 1040};
const Rect kC23{640, 0, 1920, 1040};
// The second monitor, to the right: two rows.
const Rect kMonB = test::rig::kMon2;
const Rect kB1{1920, 0, 3840, 520};
const Rect kB2{1920, 520, 3840, 1040};
constexpr WindowId kNew = 20;

// Thirds on the first monitor, two rows on the second, the engine running.
struct Rig : test::rig::EngineRig {
    Rig() : EngineRig({.main = true, .highlight = true}) {
        shell.table = {{"A", {kC1, kC2, kC3}, kMon, kWork, "Thirds"}, {"B", {kB1, kB2}, kMonB, kMonB, "Rows"}};
        e.start();
        cap.clear();
    }
    void pass() {
        clock.advance(120);
        e.on_confine_trigger();
    }
    // A Shift-drag from (500, 500) through `polls` (cursor, Ctrl down), released; the
    // highlight shown last before the release.
    Rect drag(const std::vector<std::pair<Point, bool>>& polls) {
        d.cursor = {500, 500};
        e.on_press();
        d.shift = true;
        for (const auto& [at, ctrl] : polls) {
            d.cursor = at;
            d.ctrl = ctrl;
            e.on_drag_poll();
        }
        const Rect shown = shell.highlight_at;
        e.on_release();
        d.shift = d.ctrl = false;
        return shown;
    }
};

TEST(SpanDrag, CtrlSpansTheAnchorAndTheZoneUnderTheCursor) {
    struct Case {
        const char* name;
        std::vector<std::pair<Point, bool>> polls;
        Rect frame;        // highlighted, then where the window goes
        std::string line;  // what the snap names
    };
    const std::string snap = "SNAP hwnd=10 cls='AppWindow' -> ";
    const Case cases[] = {
        {"Ctrl over zone 1, released over zone 3", {{{600, 500}, true}, {{1500, 500}, true}},
         {0, 0, 1920, 1040}, snap + "[0,0,1920,1040] (span of zones 1, 2, 3)"},
        {"the anchor is the first zone under the cursor with Ctrl",
         {{{1500, 500}, false}, {{1000, 500}, true}, {{300, 500}, true}}, kC12,
         snap + "[0,0,1280,1040] (span of zones 1, 2)"},
        {"anchor and cursor on the same zone", {{{600, 500}, true}, {{620, 300}, true}}, kC1,
         snap + "[0,0,640,1040]"},
        {"Ctrl released drops the anchor", {{{600, 500}, true}, {{1000, 500}, true}, {{1500, 500}, false}},
         kC3, snap + "[1280,0,1920,1040]"},
        {"Ctrl pressed again takes a new anchor",
         {{{600, 500}, true}, {{1000, 500}, false}, {{1000, 500}, true}, {{1500, 500}, true}}, kC23,
         snap + "[640,0,1920,1040] (span of zones 2, 3)"},
        {"on the other monitor the anchor is taken anew", {{{600, 500}, true}, {{2500, 900}, true}}, kB2,
         snap + "[1920,520,3840,1040]"},
    };
    for (const Case& c : cases) {
        Rig r;
        EXPECT_EQ(r.drag(c.polls), c.frame) << c.name;
        EXPECT_EQ(r.d.frame_of(kWin), c.frame) << c.name;
        EXPECT_TRUE(r.cap.contains(c.line)) << c.name << "\n" << testing::PrintToString(r.cap.lines());
        EXPECT_FALSE(r.e.span_anchor()) << c.name;
    }
}

TEST(ExtendKeys, GrowTheWindowByTheNeighbouringZone) {
    const std::string pre = "extend_active_window: hwnd=10 ";
    struct Case { const char* name; Rect frame; D d; Rect want; std::string line; };
    const Case cases[] = {
        {"zone 2 right", kC2, D::Right, kC23, pre + "from zone 2 [640,0,1280,1040] to span of zones 2, 3 [640,0,1920,1040]"},
        {"a span at the monitor's edge stays, though another monitor is beside", kC23, D::Right, kC23,
         pre + "in span of zones 2, 3 [640,0,1920,1040]: no zone Right of it on this monitor, nothing changed"},
        {"on the second monitor", kB1, D::Down, {1920, 0, 3840, 1040}, pre + "from zone 1 [1920,0,3840,520] to span of zones 1, 2 [1920,0,3840,1040]"},
        {"within a few pixels of its zone", {642, 3, 1279, 1038}, D::Right, kC23, pre + "from zone 2 [640,0,1280,1040] to span of zones 2, 3 [640,0,1920,1040]"},
        {"in no zone: moved as by the plain move", {100, 100, 500, 400}, D::Right, kC2,
         pre + "is in no zone or span, moving it instead"},
    };
    for (const Case& c : cases) {
        Rig r;
        r.d.set_frame(kWin, c.frame);
        extend_active_window(r.e, c.d);
        EXPECT_EQ(r.d.frame_of(kWin), c.want) << c.name;
        EXPECT_TRUE(r.cap.contains(c.line)) << c.name << "\n" << testing::PrintToString(r.cap.lines());
        EXPECT_EQ(r.uses, c.want == c.frame ? 0 : 1) << c.name;
    }
    // Through the hotkey and its id, 328 being Extend right.
    Rig r;
    r.d.set_frame(kWin, kC1);
    Settings s;
    EXPECT_TRUE(handle_engine_hotkey(r.e, s, 328).handled);
    EXPECT_EQ(r.d.frame_of(kWin), kC12);
}

TEST(SpanHold, AMaximisedWindowGoesBackIntoItsSpan) {
    // Held in zone 2, extended: the hold follows into the span and keeps the window there.
    Rig held;
    held.d.cursor = {1000, 500};
    held.d.maximise(kWin);
    held.pass();
    ASSERT_EQ(held.e.confiner().hold(kWin)->zone, kC2);
    extend_active_window(held.e, D::Right);
    EXPECT_EQ(held.e.confiner().hold(kWin)->zone, kC23);
    held.d.cursor = {300, 500};
    held.d.maximise(kWin);
    held.pass();
    EXPECT_EQ(held.d.frame_of(kWin), kC23);
    for (int i = 0; i < 3; ++i) held.pass();  // settled, still held, no longer moved
    EXPECT_EQ(held.d.frame_of(kWin), kC23);
    EXPECT_TRUE(held.e.confiner().holds(kWin));

    // Snapped into a span and not held yet: maximised over zone 3, it goes back into the span.
    Rig snapped;
    snapped.drag({{{600, 500}, true}, {{1000, 500}, true}});
    snapped.pass();
    EXPECT_EQ(snapped.e.confiner().placed_span(kWin), kC12);
    snapped.d.cursor = {1500, 500};
    snapped.d.maximise(kWin);
    snapped.pass();
    EXPECT_EQ(snapped.d.frame_of(kWin), kC12);
    EXPECT_TRUE(snapped.cap.contains("confiner: hwnd=10 goes back into the span it was put in [0,0,1280,1040]"));
    EXPECT_EQ(snapped.e.confiner().hold(kWin)->zone, kC12);

    // Moved to a free position first: the span is forgotten, the zone under the cursor wins.
    Rig moved;
    moved.drag({{{600, 500}, true}, {{1000, 500}, true}});
    moved.d.set_frame(kWin, {100, 100, 500, 400});
    moved.pass();
    EXPECT_FALSE(moved.e.confiner().placed_span(kWin));
    moved.d.cursor = {1500, 500};
    moved.d.maximise(kWin);
    moved.pass();
    EXPECT_EQ(moved.d.frame_of(kWin), kC3);

    // A later snap into one zone replaces the span; a window that is gone is forgotten.
    Rig again;
    again.drag({{{600, 500}, true}, {{1000, 500}, true}});
    again.drag({{{1500, 500}, false}});
    EXPECT_FALSE(again.e.confiner().placed_span(kWin));
    again.drag({{{600, 500}, true}, {{1000, 500}, true}});
    again.d.vanish(kWin);
    again.e.refresh_zones();
    EXPECT_FALSE(again.e.confiner().placed_span(kWin));
}

TEST(SpanHold, FollowsALayoutChangeByItsCornerZones) {
    Rig r;
    r.d.cursor = {1000, 500};
    r.d.maximise(kWin);
    r.pass();
    extend_active_window(r.e, D::Right);
    ASSERT_EQ(r.e.confiner().hold(kWin)->zone, kC23);
    const std::vector<Rect> quarters{{0, 0, 480, 1040}, {480, 0, 960, 1040}, {960, 0, 1440, 1040}, {1440, 0, 1920, 1040}};
    r.shell.table[0].zones = quarters;
    r.e.follow_layout_change();
    EXPECT_EQ(r.d.frame_of(kWin), (Rect{480, 0, 1440, 1040}));
    ASSERT_TRUE(r.e.confiner().holds(kWin));
    EXPECT_EQ(r.e.confiner().hold(kWin)->zone, (Rect{480, 0, 1440, 1040}));
    // Fewer zones than its corner's number: the zone nearest its centre.
    r.shell.table[0].zones = {kC12, kC3};
    r.e.follow_layout_change();
    EXPECT_EQ(r.d.frame_of(kWin), kC12);
    EXPECT_EQ(r.e.confiner().hold(kWin)->zone, kC12);
}

TEST(SpanMemory, ASpanIsRememberedAndNewWindowsOpenInIt) {
    Rig r;
    std::vector<std::string> writes;
    r.e.last_zones().set_persist([&](const LastZones& z) { writes.push_back(serialize_last_zones(z)); });
    r.e.set_app_rules({}, true);
    r.pass();
    r.drag({{{1000, 500}, true}, {{1500, 500}, true}});
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes.back(), "Tilewright last zones 1\nC:\\\\Program Files\\\\App\\\\app.exe\tAppWindow\tA\tThirds\t2\t3\n");
    EXPECT_EQ(zone_of_place(r.e.zone_table(), {"A", "Thirds", 2, 3}).zone, kC23);
    EXPECT_EQ(place_of_zone(r.e.zone_table(), kC2), (ZonePlace{"A", "Thirds", 2}));

    r.d.add_window(kNew, {300, 300, 900, 800});
    r.d.foreground = kNew;
    r.pass();
    EXPECT_EQ(r.d.win(kNew).rect, kC23);
    EXPECT_TRUE(r.cap.contains("last_zone: opening hwnd=20 'C:\\Program Files\\App\\app.exe' cls='AppWindow' in "
                               "span of zones 2 to 3 of 'Thirds' on A [640,0,1920,1040]"));
    // Its span is kept as the engine placed it: maximised, it goes back there.
    r.d.cursor = {300, 500};
    r.d.maximise(kNew);
    r.pass();
    EXPECT_EQ(r.d.win(kNew).rect, kC23);
}

}  // namespace
}  // namespace tw
