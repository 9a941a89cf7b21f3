// Idle passes: a window that is left as it was on the last pass, and has not changed
// since, is not asked about again. What an idle pass costs, that every change is
// still noticed, and that the confiner does exactly what it does when it asks
// everything on every pass.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <random>

#include "core/base/log.h"
#include "core/engine/confiner.h"
#include "support/counting_desktop.h"
#include "support/fake_desktop.h"
#include "support/print.h"

namespace tw {
namespace {

using test::CountingDesktop;
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

// The left monitor has two zones, the right one none. Window 10 has invisible borders.
struct Rig {
    FakeDesktop d;
    CountingDesktop counted{d};
    FakeClock clock;
    std::unique_ptr<Confiner> c;
    LogCapture cap;

    Rig() {
        clock.t = 1'000'000;
        d.monitors = {{kMon, kWork}, {kMon2, kWork2}};
        d.add_window(kWin, {100, 100, 700, 600}).borders = {7, 0, 7, 7};
        d.add_window(kOther, {300, 200, 800, 700});
        d.foreground = kOther;
        d.cursor = Point{1500, 500};
        c = std::make_unique<Confiner>(counted, clock);
        c->set_monitor_table({{kMon, {kLeft, kRight}}});
    }
    void pass() {
        clock.advance(120);
        c->confine_tick();
    }
    void hold_in(const Rect& zone) {
        d.foreground = kWin;
        d.cursor = centre(zone);
        d.maximise(kWin);
        pass();
        ASSERT_TRUE(c->holds(kWin));
        pass();  // the settle placement
    }
    int count(std::string_view prefix) const {
        return static_cast<int>(std::count_if(cap.lines().begin(), cap.lines().end(),
                                              [&](const std::string& l) { return l.starts_with(prefix); }));
    }
};

// A window that maximises itself and is put back at once, again and again, until the
// confiner stops fighting it.
void surrender(Rig& r) {
    r.d.foreground = kWin;
    r.d.win(kWin).remaximise_after_place = 1000;
    r.d.maximise(kWin);
    for (int i = 0; i < 40 && !r.c->is_surrendered(kWin); ++i) r.pass();
    ASSERT_TRUE(r.c->is_surrendered(kWin));
}

TEST(ConfinerQuietPass, DesktopCallsPerIdlePass) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> setup;
        int idle_calls;
    };
    const Case cases[] = {
        {"no foreground window", [](Rig& r) { r.d.foreground = 0; }, 1},
        {"the program's own window in the foreground",
         [](Rig& r) { r.c->set_ignore_list({kOther}); }, 1},
        {"desktop window in the foreground",
         [](Rig& r) { r.d.add_window(5, kMon, "#32769"); r.d.foreground = 5; }, 2},
        {"ordinary window off the zones", [](Rig&) {}, 2},
        {"window on a monitor without zones",
         [](Rig& r) { r.d.win(kOther).rect = {2000, 100, 2600, 700}; }, 2},
        {"topmost player filling the screen",
         [](Rig& r) { r.d.win(kOther).ex_style = kWsExTopmost; r.d.maximise(kOther); }, 2},
        {"held window in the foreground", [](Rig& r) { r.hold_in(kLeft); }, 2},
        {"held window in the background",
         [](Rig& r) { r.hold_in(kLeft); r.d.foreground = kOther; }, 3},
        {"minimised held window",
         [](Rig& r) { r.hold_in(kRight); r.d.minimise(kWin); r.d.foreground = kOther; }, 3},
        {"window that fills a one-zone layout",
         [](Rig& r) { r.c->set_monitor_table({{kMon, {kWork}}}); r.hold_in(kWork); }, 2},
        {"surrendered window", [](Rig& r) { surrender(r); }, 2},
    };
    for (const auto& c : cases) {
        Rig r;
        c.setup(r);
        r.pass();  // whatever changed is looked at once
        r.counted.calls.clear();
        r.pass();
        EXPECT_EQ(r.counted.total(), c.idle_calls) << c.what << ": " << r.counted.text();
        r.counted.calls.clear();
        r.d.fresh_snapshots = true;  // as if something had changed: everything is asked
        r.pass();
        std::printf("  %-44s idle pass %d calls; asking everything %2d (%s)\n", c.what,
                    c.idle_calls, r.counted.total(), r.counted.text().c_str());
    }
}

// Each change is noticed on the next pass, however long the window was quiet before.
TEST(ConfinerQuietPass, ChangesAreNoticed) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> quiet;   // the state the passes settle in
        std::function<void(Rig&)> change;
        std::function<bool(Rig&)> noticed;
    };
    auto logged = [](const char* line) {
        return [line](Rig& r) { return r.count(line) == 1; };
    };
    const Case cases[] = {
        {"foreground window maximised", [](Rig& r) { r.d.foreground = kWin; },
         [](Rig& r) { r.d.maximise(kWin); }, logged("confiner: CONFINE hwnd=10")},
        {"maximised without moving", [](Rig& r) { r.d.foreground = kWin; },
         [](Rig& r) { r.d.win(kWin).zoomed = true; }, logged("confiner: CONFINE hwnd=10")},
        {"made topmost", [](Rig& r) { r.d.foreground = kWin; },
         [](Rig& r) { r.d.win(kWin).ex_style = kWsExTopmost; },
         logged("confiner: skip overlay-style hwnd=10")},
        {"held window dragged to a free position", [](Rig& r) { r.hold_in(kLeft); },
         [](Rig& r) { r.d.set_frame(kWin, {200, 200, 700, 700}); },
         logged("confiner: release hold hwnd=10 (foreground)")},
        {"held window re-maximised in the background",
         [](Rig& r) { r.hold_in(kLeft); r.d.foreground = kOther; },
         [](Rig& r) { r.d.maximise(kWin); }, logged("confiner: RE-CONFINE hwnd=10")},
        {"held window shown again, maximised",
         [](Rig& r) { r.hold_in(kLeft); r.d.minimise(kWin); r.d.foreground = kOther; },
         [](Rig& r) { r.d.unminimise(kWin); r.d.maximise(kWin); },
         logged("confiner: RE-CONFINE hwnd=10")},
        {"held zone gone from the layout",
         [](Rig& r) { r.hold_in(kLeft); r.d.foreground = kOther; },
         [](Rig& r) { r.c->set_monitor_table({{kMon, {kWork}}}); },
         logged("confiner: drop hold hwnd=10 (its zone or monitor is gone)")},
        {"held window closed", [](Rig& r) { r.hold_in(kLeft); r.d.foreground = kOther; },
         [](Rig& r) { r.d.vanish(kWin); }, [](Rig& r) { return !r.c->holds(kWin); }},
        {"hold moved by a snap without the window moving",
         [](Rig& r) { r.hold_in(kLeft); r.d.foreground = kOther; },
         [](Rig& r) { r.c->move_hold(kWin, kRight); },
         [](Rig& r) { return r.c->hold(kWin)->zone == kLeft; }},
        {"surrendered window restored by the user", [](Rig& r) { surrender(r); },
         [](Rig& r) {
             r.d.win(kWin).remaximise_after_place = 0;
             r.d.set_frame(kWin, {200, 200, 700, 700});
         },
         [](Rig& r) { return !r.c->is_surrendered(kWin); }},
    };
    for (const auto& c : cases) {
        Rig r;
        c.quiet(r);
        for (int i = 0; i < 5; ++i) r.pass();
        r.cap.clear();
        c.change(r);
        r.pass();
        r.pass();
        EXPECT_TRUE(c.noticed(r)) << c.what << "\n" << ::testing::PrintToString(r.cap.lines());
    }
}

// Everything the confiner does (log lines, moves, holds, events) over a long random
// run is the same whether it repeats quiet passes or asks everything on every pass.
TEST(ConfinerQuietPass, SameOutcomeAsAskingEverything) {
    auto run = [](bool ask_everything) {
        Rig r;
        r.d.fresh_snapshots = ask_everything;
        r.d.win(kOther).borders = {7, 0, 7, 7};
        std::mt19937 rng(20260101);
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        const WindowId windows[] = {kWin, kOther};
        const Rect places[] = {kLeft, kRight, {200, 200, 700, 700}, {2000, 100, 2600, 700}, kWork};
        std::vector<std::string> trace;
        for (int step = 0; step < 4000; ++step) {
            const WindowId w = windows[pick(2)];
            test::FakeWindow& fw = r.d.win(w);
            switch (pick(12)) {
            case 0: r.d.maximise(w); break;
            case 1: r.d.set_frame(w, places[pick(5)]); break;
            case 2: fw.iconic ? r.d.unminimise(w) : r.d.minimise(w); break;
            case 3: fw.ex_style = pick(4) == 0 ? uint64_t{kWsExTopmost} : uint64_t{0}; break;
            case 4: r.d.foreground = pick(5) == 0 ? 0 : windows[pick(2)]; break;
            case 5: r.d.cursor = Point{pick(3840), pick(1080)}; break;
            case 6: fw.remaximise_after_place = pick(3); break;
            case 7: fw.visible = pick(5) != 0; break;
            case 8: r.clock.advance(static_cast<uint64_t>(pick(150))); break;
            default: r.c->confine_tick(); break;  // passes also come from events
            }
            std::string s = "step " + std::to_string(step) + ":";
            for (const std::string& line : r.cap.lines()) s += " | " + line;
            r.cap.clear();
            for (const auto& call : r.d.setpos_calls)
                s += " setpos " + std::to_string(call.w) + " " + std::to_string(call.x) + "," +
                     std::to_string(call.y) + "," + std::to_string(call.cx) + "," +
                     std::to_string(call.cy) + " " + std::to_string(call.flags);
            r.d.setpos_calls.clear();
            for (WindowId restored : r.d.restore_calls) s += " restore " + std::to_string(restored);
            r.d.restore_calls.clear();
            for (const ConfinerEvent& e : r.c->take_events())
                s += " event " + std::to_string(int(e.kind)) + "," + std::to_string(e.window);
            for (WindowId held : r.c->held_windows()) {
                const HeldWindow& hw = *r.c->hold(held);
                s += " hold " + std::to_string(held) + " " + rect_text(hw.zone) + " " +
                     rect_text(hw.rect) + (hw.release_pending ? " release" : "") +
                     (hw.settle_pending ? " settle" : "") + " " + std::to_string(hw.reconfines);
            }
            if (r.c->is_surrendered(kWin)) s += " surrendered 10";
            if (r.c->is_surrendered(kOther)) s += " surrendered 20";
            trace.push_back(std::move(s));
        }
        return trace;
    };
    const std::vector<std::string> quiet = run(false);
    const std::vector<std::string> asking = run(true);
    ASSERT_EQ(quiet.size(), asking.size());
    for (size_t i = 0; i < quiet.size(); ++i) ASSERT_EQ(quiet[i], asking[i]);
}

}  // namespace
}  // namespace tw
