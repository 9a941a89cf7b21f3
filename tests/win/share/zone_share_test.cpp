// Toggling shares on a screen of the program's state: the share map, the frames of two
// adjacent shares drawing their common border once, zones beyond the layout, and
// closing every share.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/share/mirror_window.h"
#include "app/share/zone_share.h"
#include "core/base/log.h"

#include <gtest/gtest.h>

namespace tw::app {
namespace {

HWND mirror_of(const AppState& state, size_t zone) {
    LiveShares live;
    for (HWND m : active_mirrors()) live.push_back(to_window_id(m));
    const auto w = state.share_map.live_window("S", zone, live);
    return w ? to_hwnd(*w) : nullptr;
}

bool frame_covers(HWND mirror, int x, int y) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool in = GetWindowRgn(share_frame(mirror), rgn) != ERROR && PtInRegion(rgn, x, y);
    DeleteObject(rgn);
    return in;
}

// Whether the main window's timer `id` is set (it is set again when it was).
bool timer_set(HWND w, UINT_PTR id) {
    if (!KillTimer(w, id)) return false;
    SetTimer(w, id, 1000, nullptr);
    return true;
}

TEST(ZoneShare, TogglesAndDrawsACommonBorderOnce) {
    AppState state;
    state.main = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(state.main, nullptr);
    EXPECT_FALSE(timer_set(state.main, kTimerShareTopmost));  // no share, no wake-ups
    state.screens = {{"S", "Screen", {2000, 100, 2400, 400}, {2000, 100, 2400, 400}, 1, false}};
    ScreenLayout entry;
    entry.id = "S";
    entry.enabled = true;
    entry.active_layout = "Halves";
    entry.layouts = {{"Halves", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}};
    state.settings.screens = {entry};
    LogCapture logs;

    toggle_share(state, "S", 1);
    EXPECT_TRUE(timer_set(state.main, kTimerShareTopmost));  // kept on top every second
    toggle_share(state, "S", 0);
    ASSERT_TRUE(share_exists(state, "S", 0));
    ASSERT_TRUE(share_exists(state, "S", 1));
    EXPECT_EQ(shared_zone_indexes(state, "S"), (std::vector<size_t>{0, 1}));
    EXPECT_EQ(state.usage.count(), 2u);
    const HWND left = mirror_of(state, 0), right = mirror_of(state, 1);
    ASSERT_TRUE(left && right);
    RECT wr{};
    GetWindowRect(right, &wr);
    EXPECT_EQ(to_rect(wr), (Rect{2200, 100, 2400, 400}));
    // Zone 1 keeps the dashes of its right edge; zone 2 leaves out its left edge there.
    EXPECT_TRUE(frame_covers(left, 199, 10));
    EXPECT_FALSE(frame_covers(right, 0, 10));
    EXPECT_TRUE(frame_covers(right, 199, 10));

    // Stopping zone 1 gives zone 2 its whole border back.
    toggle_share(state, "S", 0);
    EXPECT_FALSE(share_exists(state, "S", 0));
    EXPECT_FALSE(IsWindow(left));
    EXPECT_TRUE(frame_covers(right, 0, 10));

    // A zone the layout does not have, and a screen that is not attached.
    toggle_share(state, "S", 2);
    toggle_share(state, "gone", 0);
    EXPECT_EQ(active_mirrors().size(), 1u);
    EXPECT_TRUE(logs.contains("zone_share: there is no zone 3 of S to share"));

    // A mirror closed by the user counts as not shared: the next toggle starts again.
    DestroyWindow(right);
    EXPECT_FALSE(share_exists(state, "S", 1));
    toggle_share(state, "S", 1);
    EXPECT_TRUE(share_exists(state, "S", 1));

    keep_shares_on_top(state);
    EXPECT_TRUE(timer_set(state.main, kTimerShareTopmost));
    close_all_shares(state);
    EXPECT_TRUE(active_mirrors().empty());
    EXPECT_FALSE(share_exists(state, "S", 1));
    keep_shares_on_top(state);  // the first tick with no share left ends the timer
    EXPECT_FALSE(timer_set(state.main, kTimerShareTopmost));
    DestroyWindow(state.main);
}

}  // namespace
}  // namespace tw::app
