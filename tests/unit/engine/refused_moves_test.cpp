// Windows of programs running as administrator: Windows refuses their placement with
// "access denied". Each is logged once; the user is told once per run, however many
// windows, passes, snaps, keyboard moves and engine restarts there are.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/base/log.h"
#include "core/engine/engine.h"
#include "core/engine/keyboard_move.h"
#include "core/model/settings.h"
#include "support/fake_desktop.h"
#include "support/recording_engine_shell.h"

namespace tw {
namespace {

using test::FakeClock;
using test::FakeDesktop;
using test::RecordingEngineShell;

const Rect kMon{0, 0, 1920, 1080};
const Rect kLeft{0, 0, 960, 1080};
const Rect kRight{960, 0, 1920, 1080};

struct Rig {
    FakeDesktop d;
    FakeClock clock;
    RecordingEngineShell shell;
    Engine e{d, clock, shell, [] {}};
    Settings settings;
    LogCapture cap;

    Rig() {
        d.monitors = {{kMon, kMon}};
        d.add_window(1, {200, 200, 800, 700}, "TilewrightMain").pid = d.own_pid;
        shell.table = {{"MON1", {kLeft, kRight}, kMon, kMon}};
        e.set_main_window(1);
        e.start();
    }
    void add(WindowId w, bool denied) {
        d.add_window(w, {100, 100, 700, 600}, "Win" + std::to_string(w)).access_denied = denied;
    }
    // The window comes to the front maximised and the confiner runs for two seconds.
    void maximise(WindowId w) {
        d.foreground = w;
        d.maximise(w);
        for (int i = 0; i < 16; ++i) {
            clock.advance(120);
            e.on_confine_trigger();
        }
    }
    void snap(WindowId w) {
        d.foreground = w;
        d.cursor = Point{500, 500};
        e.on_press();
        d.shift = true;
        d.cursor = Point{1500, 500};
        e.on_drag_poll();
        e.on_release();
        d.shift = false;
        e.on_resnap();
    }
    void move_left(WindowId w) {
        d.foreground = w;
        d.win(w).zoomed = false;
        handle_engine_hotkey(e, settings, kFirstEngineHotkeyId + 3);
    }
    size_t notices() const {
        return static_cast<size_t>(std::count(shell.calls.begin(), shell.calls.end(), "notify_refused_moves"));
    }
    std::vector<std::string> refusal_lines() const {
        std::vector<std::string> out;
        for (const std::string& l : cap.lines())
            if (l.find("access denied") != std::string::npos) out.push_back(l);
        return out;
    }
};

std::string line_for(WindowId w) {
    return "engine: hwnd=" + std::to_string(w) + " cls='Win" + std::to_string(w) +
           "' cannot be moved: access denied (its program runs as administrator)";
}

TEST(RefusedMoves, OneNoticePerRunAndOneLogLinePerWindow) {
    struct Case {
        const char* name;
        std::vector<WindowId> denied;
        std::function<void(Rig&)> act;
        size_t notices;
        std::vector<WindowId> logged;
    };
    const Case cases[] = {
        {"an ordinary window is confined", {},
         [](Rig& r) { r.maximise(10); }, 0, {}},
        {"a refused window retried by every pass", {10},
         [](Rig& r) { r.maximise(10); }, 1, {10}},
        {"refused again after an engine restart", {10},
         [](Rig& r) {
             r.maximise(10);
             r.e.stop();
             r.e.start();
             r.maximise(10);
         },
         1, {10}},
        {"two refused windows and an ordinary one", {10, 11},
         [](Rig& r) {
             r.maximise(10);
             r.maximise(12);
             r.maximise(11);
         },
         1, {10, 11}},
        {"a Shift-drag snap and its repeat", {10},
         [](Rig& r) { r.snap(10); }, 1, {10}},
        {"a keyboard move", {11},
         [](Rig& r) { r.move_left(11); }, 1, {11}},
        {"snap, keyboard move and confiner on two windows", {10, 11},
         [](Rig& r) {
             r.snap(11);
             r.move_left(10);
             r.maximise(11);
             r.maximise(10);
         },
         1, {11, 10}},
    };
    for (const Case& c : cases) {
        Rig r;
        for (WindowId w : {10, 11, 12})
            r.add(w, std::find(c.denied.begin(), c.denied.end(), w) != c.denied.end());
        r.cap.clear();
        c.act(r);
        EXPECT_EQ(r.notices(), c.notices) << c.name;
        std::vector<std::string> want;
        for (WindowId w : c.logged) want.push_back(line_for(w));
        EXPECT_EQ(r.refusal_lines(), want) << c.name;
        EXPECT_TRUE(r.d.refused.empty()) << c.name << ": every refusal is taken";
    }
}

}  // namespace
}  // namespace tw
