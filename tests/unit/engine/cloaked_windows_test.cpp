// Windows on another virtual desktop, and the hidden frames of suspended apps, are
// cloaked: visible to IsWindowVisible, but not on the screen the user looks at. No
// engine path may move them.
#include <gtest/gtest.h>

#include <functional>

#include "core/engine/keyboard_move.h"
#include "support/engine_rig.h"

namespace tw {
namespace {

using namespace test::rig;

struct Rig : EngineRig {
    Rig() : EngineRig({.main = true}) {}
    void shift_drag_and_release(Point to) {
        shift_drag({300, 300}, to);
        e.on_release();
    }
};

TEST(CloakedWindows, EveryEnginePathLeavesThemAlone) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> before;  // while the window is still on this desktop
        std::function<void(Rig&)> act;
    };
    const Case cases[] = {
        {"confiner: maximised in the foreground",
         [](Rig& r) { r.d.maximise(kWin); }, [](Rig& r) { r.e.on_confine_trigger(); }},
        {"confiner: held window that re-maximised itself in the background",
         [](Rig& r) {
             r.d.foreground = 0;
             r.e.confiner().record_hold(kWin, kLeft, kLeft);
             r.d.maximise(kWin);
         },
         [](Rig& r) { r.e.on_confine_trigger(); }},
        {"Shift-drag released over a zone", nullptr,
         [](Rig& r) { r.shift_drag_and_release({1500, 500}); }},
        {"re-snap after a drag",
         [](Rig& r) {
             r.shift_drag_and_release({1500, 500});
             r.d.set_frame(kWin, {100, 100, 700, 600});  // the application moved it again
             r.d.setpos_calls.clear();
         },
         [](Rig& r) { r.e.on_resnap(); }},
        {"keyboard move", nullptr, [](Rig& r) { move_active_window(r.e, Direction::Right); }},
        {"display-change rescue of a window held on a monitor that is gone",
         [](Rig& r) {
             r.d.foreground = 0;
             r.d.set_frame(kWin, kLeft);
             r.e.confiner().record_hold(kWin, kLeft, r.d.win(kWin).rect);
             r.d.monitors = {{kMon2, kWork2}};
             r.shell.table = {{"MON2", {kWork2}, kMon2, kWork2}};
         },
         [](Rig& r) { r.e.refresh_zones(); }},
    };
    for (const Case& c : cases) {
        for (const bool cloaked : {false, true}) {
            Rig r;
            ASSERT_TRUE(r.e.start());
            if (c.before) c.before(r);
            r.d.win(kWin).cloaked = cloaked;
            c.act(r);
            // Uncloaked, the same steps move the window: the cloak alone keeps it still.
            EXPECT_EQ(r.d.setpos_count(kWin) == 0, cloaked)
                << c.what << (cloaked ? " (cloaked)" : " (on this desktop)");
            EXPECT_TRUE(r.d.restore_calls.empty() || !cloaked) << c.what;
        }
    }
}

// The cloak can go while nothing else about the window changes (the user switches
// back to its desktop): what the confiner saw while it was cloaked is not kept.
TEST(CloakedWindows, ConfinedOnceTheirDesktopIsShownAgain) {
    for (const bool foreground : {true, false}) {
        Rig r;
        ASSERT_TRUE(r.e.start());
        if (!foreground) {
            r.d.foreground = 0;
            r.e.confiner().record_hold(kWin, kLeft, kLeft);
        }
        r.d.maximise(kWin);
        r.d.win(kWin).cloaked = true;
        for (int i = 0; i < 3; ++i) r.e.on_confine_trigger();
        ASSERT_EQ(r.d.setpos_count(kWin), 0u) << foreground;
        r.d.win(kWin).cloaked = false;
        r.e.on_confine_trigger();
        EXPECT_GT(r.d.setpos_count(kWin), 0u) << foreground;
        EXPECT_FALSE(r.d.win(kWin).zoomed) << foreground;
    }
}

TEST(CloakedWindows, KeyboardMoveSaysWhyItDidNothing) {
    Rig r;
    ASSERT_TRUE(r.e.start());
    r.d.win(kWin).cloaked = true;
    move_active_window(r.e, Direction::Left);
    EXPECT_TRUE(r.cap.contains("move_active_window: skip, hwnd=10 cloaked (another virtual desktop)"));
}

}  // namespace
}  // namespace tw
