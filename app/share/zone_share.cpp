#include "app/share/zone_share.h"

#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/engine/hotkeys_win.h"
#include "app/engine/screens_win.h"
#include "app/share/mirror_window.h"
#include "app/windows/user_notice.h"
#include "core/base/log.h"
#include "core/engine/overlay_geometry.h"
#include "core/engine/share_geometry.h"
#include "core/engine/share_state.h"
#include "core/views/refusals.h"

namespace tw::app {

namespace {

// The mirrors of running shares (a mirror leaves the list as its window is destroyed).
LiveShares live_shares() {
    LiveShares live;
    for (HWND mirror : active_mirrors())
        if (IsWindow(mirror)) live.push_back(to_window_id(mirror));
    return live;
}

int64_t monitor_value(HMONITOR m) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(m)); }

std::string zone_text(const std::string& screen_id, size_t zone) {
    return "zone " + std::to_string(zone + 1) + " of " + screen_id;
}

// Each frame leaves out the borders it shares with frames of lower zone numbers.
void refresh_share_frames(AppState& state) {
    const LiveShares live = live_shares();
    for (const std::string& screen : state.share_map.shared_screens(live)) {
        const std::vector<Rect> zones = share_zone_rects(state.settings, state.screens, screen);
        for (const ShareFrameShape& f : share_frame_shapes(zones, state.share_map.shared_zones(screen, live))) {
            const auto mirror = state.share_map.live_window(screen, f.zone_index, live);
            HWND frame = mirror ? share_frame(to_hwnd(*mirror)) : nullptr;
            if (!frame) continue;
            if (HRGN region = region_from_ops(f.region))
                if (!SetWindowRgn(frame, region, TRUE)) DeleteObject(region);
        }
    }
}

// The zone overlays leave the shared zones' edges to the frames.
void shares_changed(AppState& state) {
    if (state.shell) state.shell->cut_share_frames();
    refresh_share_frames(state);
    if (state.main && !active_mirrors().empty()) SetTimer(state.main, kTimerShareTopmost, 1000, nullptr);
}

}  // namespace

void toggle_share(AppState& state, const std::string& screen_id, size_t zone) {
    const auto zones = share_zone_rects(state.settings, state.screens, screen_id);
    const ShareToggle toggle = decide_share_toggle(state.share_map, screen_id, zone, zones, live_shares());
    switch (toggle.kind) {
    case ShareToggle::Kind::Nothing:
        log("zone_share: there is no " + zone_text(screen_id, zone) + " to share");
        tell_user(state, share_refusal_text(zone, screen_id, state.screens));
        return;
    case ShareToggle::Kind::Stop:
        log("zone_share: stopping the share of " + zone_text(screen_id, zone));
        state.share_map.erase(screen_id, zone);
        DestroyWindow(to_hwnd(toggle.mirror));  // the mirror window ends its share
        break;
    case ShareToggle::Kind::Start:
        log("zone_share: sharing " + zone_text(screen_id, zone) + " " + rect_text(toggle.zone));
        if (HWND mirror = create_mirror_window(toggle.zone, share_title(zone))) {
            state.share_map.put(screen_id, zone, to_window_id(mirror));
            state.usage.count_use();
        } else {
            state.share_map.erase(screen_id, zone);
        }
        break;
    }
    shares_changed(state);
}

bool share_exists(const AppState& state, const std::string& screen_id, size_t zone) {
    return state.share_map.live_window(screen_id, zone, live_shares()).has_value();
}

std::vector<size_t> shared_zone_indexes(const AppState& state, const std::string& screen_id) {
    return state.share_map.shared_zones(screen_id, live_shares());
}

std::optional<std::string> working_screen(const AppState& state) {
    std::optional<int64_t> foreground, cursor;
    // The program's own windows do not choose: their monitor is not where the user works.
    if (HWND fg = GetForegroundWindow()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(fg, &pid);
        if (pid != GetCurrentProcessId())
            if (HMONITOR m = MonitorFromWindow(fg, MONITOR_DEFAULTTONEAREST)) foreground = monitor_value(m);
    }
    if (POINT p{}; GetCursorPos(&p))
        if (HMONITOR m = MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST)) cursor = monitor_value(m);
    return share_hotkey_screen(state.screens, state.settings, foreground, cursor);
}

void on_share_hotkey(AppState& state, int id) {
    if (id < kFirstShareHotkeyId || id > kLastShareHotkeyId) return;
    const auto zone = static_cast<size_t>(id - kFirstShareHotkeyId);
    const auto screen = working_screen(state);
    if (!screen) {
        log("zone_share: no attached screen for Share Zone " + std::to_string(zone + 1));
        return;
    }
    toggle_share(state, *screen, zone);
}

void close_all_shares(AppState& state) {
    state.share_map.clear();
    const std::vector<HWND> mirrors = active_mirrors();
    request_capture_stop(mirrors);
    for (HWND mirror : mirrors)
        if (IsWindow(mirror)) DestroyWindow(mirror);
    if (!mirrors.empty()) shares_changed(state);
}

void close_outdated_shares(AppState& state) {
    const LiveShares live = live_shares();
    std::vector<std::pair<WindowId, Rect>> rects;
    for (WindowId mirror : live) {
        RECT r{};
        if (GetWindowRect(to_hwnd(mirror), &r)) rects.push_back({mirror, {r.left, r.top, r.right, r.bottom}});
    }
    const std::vector<WindowId> outdated = state.share_map.outdated(state.settings, state.screens, live, rects);
    std::vector<HWND> stopping;
    for (WindowId mirror : outdated) stopping.push_back(to_hwnd(mirror));
    request_capture_stop(stopping);
    for (WindowId mirror : outdated) {
        log("zone_share: closing a share whose zone went away or moved with the display change");
        DestroyWindow(to_hwnd(mirror));
    }
    if (!outdated.empty()) shares_changed(state);
}

void keep_shares_on_top(AppState& state) {
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    const std::vector<HWND> mirrors = active_mirrors();
    // Nothing to keep on top: no wake-up every second while the program is idle.
    if (mirrors.empty() && state.main) KillTimer(state.main, kTimerShareTopmost);
    for (HWND mirror : mirrors) {
        SetWindowPos(mirror, HWND_TOPMOST, 0, 0, 0, 0, flags);
        if (HWND frame = share_frame(mirror)) SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, flags);
    }
}

void after_share_closed() {
    if (AppState* state = app_state_if_any()) shares_changed(*state);
}

int run_test_mirror() {
    const Rect zone = test_mirror_zone(primary_work_area());
    if (!create_mirror_window(zone, "Zone Share Test", {.quit_when_closed = true})) {
        log("test-mirror: create_mirror_window returned None (see log above for why)");
        return 0;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace tw::app
