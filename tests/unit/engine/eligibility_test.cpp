#include <gtest/gtest.h>

#include "core/engine/eligibility.h"
#include "core/base/log.h"
#include "support/fake_desktop.h"
#include "support/print.h"

namespace tw {
namespace {

using test::FakeDesktop;

TEST(Eligibility, ShellClassesMatchExactly) {
    struct Case { const char* cls; bool shell; };
    const Case cases[] = {
        {"Shell_TrayWnd", true}, {"Shell_SecondaryTrayWnd", true}, {"WorkerW", true},
        {"Progman", true}, {"Windows.UI.Core.CoreWindow", true},
        {"XamlExplorerHostIslandWindow", true}, {"MultitaskingViewFrame", true},
        {"ForegroundStaging", true}, {"TaskSwitcherWnd", true},
        {"TopLevelWindowForOverflowXamlIsland", true}, {"ControlCenterWindow", true},
        {"NotifyIconOverflowWindow", true}, {"#32769", true},
        // Letter case, prefixes, suffixes and padding make an ordinary window.
        {"shell_traywnd", false}, {"SHELL_TRAYWND", false}, {"Shell_TrayWnd ", false},
        {"Shell_Tray", false}, {"ProgmanX", false}, {"", false}, {"Notepad", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_shell_window_class(c.cls), c.shell) << c.cls;
}

TEST(Eligibility, SnappableRulesInOrder) {
    FakeDesktop d;
    d.own_pid = 7;
    d.add_window(10, {0, 0, 100, 100});
    d.add_window(11, {0, 0, 100, 100}, "Shell_TrayWnd");
    d.add_window(12, {0, 0, 100, 100}, "shell_TrayWnd");
    d.add_window(13, {0, 0, 100, 100}).pid = 7;  // a dialog of our own process
    d.add_window(20, {0, 0, 100, 100});          // main
    d.add_window(21, {0, 0, 100, 100});          // highlight
    d.add_window(30, {0, 0, 100, 100});          // overlay
    const OwnWindows own{20, 21, {0, 30}};
    struct Case { WindowId w; bool snappable; };
    const Case cases[] = {{0, false},  {20, false}, {21, false}, {30, false},
                          {13, false}, {11, false}, {12, true},  {10, true}};
    for (const auto& c : cases) EXPECT_EQ(is_snappable(d, c.w, own), c.snappable) << c.w;
}

TEST(Eligibility, IgnoreListSkipsNullHandles) {
    const OwnWindows own{5, 0, {0, 8, 9}};
    EXPECT_EQ(own.ignore_list(), (std::vector<WindowId>{5, 8, 9}));
}

struct FilterCase {
    const char* name;
    void (*setup)(FakeDesktop&);
    bool passed;
    bool eligible;
};

TEST(Eligibility, ForegroundFilter) {
    const std::vector<ConfinerRow> table{{{0, 0, 1920, 1080}, {{0, 0, 960, 1040}, {960, 0, 1920, 1040}}}};
    const FilterCase cases[] = {
        {"ordinary window", [](FakeDesktop&) {}, true, true},
        {"no foreground", [](FakeDesktop& d) { d.foreground = 0; }, false, false},
        {"ignored", [](FakeDesktop& d) { d.foreground = 50; }, false, false},
        {"invisible", [](FakeDesktop& d) { d.win(10).visible = false; }, false, false},
        {"own process", [](FakeDesktop& d) { d.win(10).pid = d.own_pid; }, false, false},
        {"shell", [](FakeDesktop& d) { d.win(10).cls = "WorkerW"; }, false, false},
        {"topmost", [](FakeDesktop& d) { d.win(10).ex_style = kWsExTopmost; }, false, false},
        {"tool window", [](FakeDesktop& d) { d.win(10).ex_style = kWsExToolWindow; }, false, false},
        {"off every monitor", [](FakeDesktop& d) { d.win(10).rect = {5000, 0, 5100, 100}; },
         false, false},
        {"monitor without zones", [](FakeDesktop& d) { d.win(10).rect = {1920, 0, 2500, 500}; },
         true, false},
        {"vanished", [](FakeDesktop& d) { d.vanish(10); }, false, false},
    };
    for (const auto& c : cases) {
        FakeDesktop d;
        d.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                      {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1040}}};
        d.add_window(10, {100, 100, 500, 500});
        d.add_window(50, {100, 100, 500, 500});
        d.foreground = 10;
        c.setup(d);
        OverlayStyleLog overlay_log;
        const ForegroundWindow fg = filter_foreground(d, d.foreground_window(), {50}, d.own_pid, table, overlay_log);
        EXPECT_EQ(fg.passed_window_filters, c.passed) << c.name;
        EXPECT_EQ(fg.eligible, c.eligible) << c.name;
        if (c.eligible) {
            EXPECT_EQ(fg.zones, table[0].zones) << c.name;
            EXPECT_EQ(fg.monitor.work, (Rect{0, 0, 1920, 1040})) << c.name;
        }
    }
}

TEST(Eligibility, OverlayStyleWindowLoggedOnceThenOnChange) {
    FakeDesktop d;
    d.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
    d.add_window(-42, {0, 0, 1920, 1080}, "VideoPlayer").ex_style = 0x40008;
    d.foreground = -42;
    const std::vector<ConfinerRow> table{{{0, 0, 1920, 1080}, {{0, 0, 960, 1040}}}};
    OverlayStyleLog overlay_log;
    LogCapture cap;
    for (int i = 0; i < 3; ++i) filter_foreground(d, d.foreground_window(), {}, d.own_pid, table, overlay_log);
    d.win(-42).ex_style = 0x800A8;
    filter_foreground(d, d.foreground_window(), {}, d.own_pid, table, overlay_log);
    filter_foreground(d, d.foreground_window(), {}, d.own_pid, table, overlay_log);
    d.win(-42).cls = "VideoPlayer2";
    filter_foreground(d, d.foreground_window(), {}, d.own_pid, table, overlay_log);
    EXPECT_EQ(cap.lines(), (std::vector<std::string>{
                               "confiner: skip overlay-style hwnd=-42 cls='VideoPlayer' ex_style=0x40008",
                               "confiner: skip overlay-style hwnd=-42 cls='VideoPlayer' ex_style=0x800A8",
                               "confiner: skip overlay-style hwnd=-42 cls='VideoPlayer2' ex_style=0x800A8",
                           }));
    EXPECT_EQ(overlay_log.size(), 1u);
}

TEST(Eligibility, OverlayStyleLogEmptiesAtSixtyFour) {
    OverlayStyleLog overlay_log;
    LogCapture cap;
    for (WindowId w = 1; w <= 64; ++w) EXPECT_TRUE(overlay_log.note(w, "Tip", 0x8));
    EXPECT_EQ(overlay_log.size(), 64u);
    EXPECT_FALSE(overlay_log.note(1, "Tip", 0x8));  // unchanged: no line, no reset
    EXPECT_EQ(overlay_log.size(), 64u);
    EXPECT_TRUE(overlay_log.note(65, "Tip", 0x8));  // new: the set starts over
    EXPECT_EQ(overlay_log.size(), 1u);
    EXPECT_TRUE(overlay_log.note(1, "Tip", 0x8));  // forgotten, so logged once more
    EXPECT_FALSE(overlay_log.note(65, "Tip", 0x8));
    EXPECT_EQ(cap.lines().size(), 66u);
}

TEST(Eligibility, ChangedEntryAtTheLimitAlsoEmptiesTheSet) {
    OverlayStyleLog overlay_log;
    LogCapture cap;
    for (WindowId w = 1; w <= 64; ++w) overlay_log.note(w, "Tip", 0x8);
    EXPECT_TRUE(overlay_log.note(5, "Tip", 0x88));
    EXPECT_EQ(overlay_log.size(), 1u);
    EXPECT_FALSE(overlay_log.note(5, "Tip", 0x88));
}

}  // namespace
}  // namespace tw
