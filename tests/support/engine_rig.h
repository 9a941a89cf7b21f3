#pragma once
// The screens and the engine that engine tests start from: a 1920 x 1080 monitor (a
// 40-pixel taskbar) whose layout has two columns, a second one to its right without
// zones; window 10 of 600 x 500 with invisible borders in the foreground; the program's
// own main and highlight windows when asked for.
#include "core/base/log.h"
#include "core/engine/engine.h"
#include "support/fake_desktop.h"
#include "support/recording_engine_shell.h"

namespace tw::test::rig {

inline constexpr Rect kMon{0, 0, 1920, 1080};
inline constexpr Rect kWork{0, 0, 1920, 1040};
inline constexpr Rect kLeft{0, 0, 960, 1040};
inline constexpr Rect kRight{960, 0, 1920, 1040};
// The three columns of a layout of thirds on the same work area.
inline constexpr Rect kC1{0, 0, 640, 1040};
inline constexpr Rect kC2{640, 0, 1280, 1040};
inline constexpr Rect kC3{1280, 0, 1920, 1040};
inline constexpr Rect kMon2{1920, 0, 3840, 1080};
inline constexpr Rect kWork2{1920, 0, 3840, 1040};
inline constexpr WindowId kMain = 1;
inline constexpr WindowId kHighlight = 2;
inline constexpr WindowId kWin = 10;

// The program's own windows the rig adds and hands to the engine.
struct OwnWindows {
    bool main = false;       // window 1, "TilewrightMain"
    bool highlight = false;  // window 2, "TilewrightHighlight"
};

struct EngineRig {
    FakeDesktop d;
    FakeClock clock;
    RecordingEngineShell shell;
    int uses = 0;
    Engine e{d, clock, shell, [this] { ++uses; }};
    LogCapture cap;

    explicit EngineRig(OwnWindows own = {}) {
        d.monitors = {{kMon, kWork}, {kMon2, kWork2}};
        if (own.main) d.add_window(kMain, {200, 200, 800, 700}, "TilewrightMain").pid = d.own_pid;
        if (own.highlight)
            d.add_window(kHighlight, {0, 0, 100, 100}, "TilewrightHighlight").pid = d.own_pid;
        d.add_window(kWin, {100, 100, 700, 600}).borders = {7, 0, 7, 7};
        d.foreground = kWin;
        shell.table = {{"MON1", {kLeft, kRight}, kMon, kWork}};
        if (own.main) e.set_main_window(kMain);
        if (own.highlight) e.set_highlight_window(kHighlight);
    }
    // Press at `from`, hold Shift and move to `to`: a drag with its target, not released.
    void shift_drag(Point from, Point to) {
        d.cursor = from;
        e.on_press();
        d.shift = true;
        d.cursor = to;
        e.on_drag_poll();
    }
};

}  // namespace tw::test::rig
