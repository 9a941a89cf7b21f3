#include "app/windows/main_window.h"

#include <dwmapi.h>
#include <windowsx.h>

#include "app/app_state.h"
#include "app/toolkit/drawn_window.h"
#include "app/command/command_receiver.h"
#include "app/engine/engine_shell_win.h"
#include "app/engine/hotkeys_win.h"
#include "app/platform/icons_win.h"
#include "app/net/language_service.h"
#include "app/net/update_service.h"
#include "app/platform/virtual_desktops.h"
#include "app/windows/layout_notice.h"
#include "app/windows/main_view_win.h"
#include "app/windows/theme_win.h"
#include "app/windows/tray.h"
#include "app/windows/user_notice.h"
#include "app/windows/window_position.h"
#include "app/engine/screens_win.h"
#include "app/platform/system_theme.h"
#include "app/platform/wide_text.h"
#include "app/share/zone_share.h"
#include "core/model/catalog.h"
#include "core/views/tooltips.h"
#include "core/engine/keyboard_move.h"
#include "core/base/log.h"
#include "core/model/handover.h"
#include "core/model/usage.h"

namespace tw::app {

namespace {

constexpr wchar_t kMainClass[] = L"TilewrightMain";

void refit(HWND hwnd) {
    if (!IsIconic(hwnd)) fit_window(hwnd, kMainWidth, kMainHeight, scale_for_window(hwnd));
}

// The screens changed: a display change (monitors, resolution), or a work area change
// (the taskbar moved, resized, set to hide). Zones, overlays and the confiner's table
// are all built from the screens, so all are rebuilt. A display change always saves;
// a work area change only when reconciling changed the settings.
void on_screens_changed(AppState& state, bool always_save) {
    // Reconciling changes the screen entries and the selected screen, nothing else.
    std::optional<std::pair<std::vector<ScreenLayout>, std::string>> before;
    if (!always_save) before.emplace(state.settings.screens, state.settings.selected_screen);
    state.screens = enumerate_screens();
    reconcile_screen_layouts(state.settings, state.screens);
    if (!before || before->first != state.settings.screens || before->second != state.settings.selected_screen)
        save_settings(state.settings);
    close_outdated_shares(state);
    Engine& engine = *state.engine;
    const bool zones_left = !state.shell->monitor_zone_table().empty();
    if (engine.running() && zones_left) engine.refresh_zones();  // overlays for the new screens
    refresh_views(state);
    refit(state.main);
    if (engine.running() && !zones_left) engine.stop();
}

// The current virtual desktop or the list of desktops changed (or the program just
// started): choices for desktops that are gone are dropped, and on another desktop
// every screen takes the layout chosen for it there.
void on_virtual_desktop(AppState& state) {
    const VirtualDesktops vd = read_virtual_desktops();
    bool save = prune_desktop_choices(state.settings, vd.ids) > 0;
    const std::string current = vd.current.value_or("");
    if (current != state.virtual_desktop) {
        log("virtual_desktop: current desktop " + (current.empty() ? std::string("unknown") : current));
        state.virtual_desktop = current;
        if (!apply_desktop_choices(state.settings, current).empty()) {
            after_layout_change(state);  // saves
            save = false;
        }
    }
    if (save) save_settings(state.settings);
}

void on_timer(AppState& state, UINT_PTR id) {
    Engine& engine = *state.engine;
    switch (id) {
    case static_cast<UINT_PTR>(EngineTimer::Resnap): engine.on_resnap(); break;
    case static_cast<UINT_PTR>(EngineTimer::DragPoll): engine.on_drag_poll(); break;
    case kTimerViewRefresh:
        refresh_views(state);
        request_update_check(state, false);
        break;
    case kTimerShareTopmost: keep_shares_on_top(state); break;
    default: engine.on_confine_trigger(); break;
    }
}

void on_hotkey(AppState& state, int id) {
    if (id >= kFirstShareHotkeyId && id <= kLastShareHotkeyId) return on_share_hotkey(state, id);
    if (engine_hotkey_action(id) == HotkeyAction::StartStop) return toggle_engine_or_say_why(state);
    const HotkeyOutcome outcome = handle_engine_hotkey(*state.engine, state.settings, id, state.screens);
    if (outcome.layout) {
        choose_layout(state, outcome.layout->screen_id);
        show_layout_notice(state, *outcome.layout);
    } else if (outcome.settings_changed) {
        after_layout_change(state);
    }
}

// Shutdown: the process ends only through the destruction of this window.
void on_destroy(AppState& state, HWND hwnd) {
    if (auto pos = position_to_store(hwnd)) {  // the restored position when minimised
        state.settings.window_pos = *pos;
        save_settings(state.settings);
    }
    if (state.tray_present) tray_remove(state);
    unregister_share_hotkeys(hwnd);
    unregister_engine_hotkeys(hwnd);
    stop_virtual_desktop_watch();
    close_all_shares(state);
    state.engine->stop();  // also restores the minimise animation
    main_view_window().drop_renderer();
    publish_main_window(nullptr);
    PostQuitMessage(0);
}

LRESULT CALLBACK main_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    AppState* state = app_state_if_any();
    if (!state || !state->engine) return DefWindowProcW(hwnd, msg, wp, lp);
    Engine& engine = *state->engine;
    if (msg == taskbar_created_message() && msg != 0) {
        tray_shell_restarted(*state);
        return 0;
    }
    switch (msg) {
    case WM_NCCALCSIZE:
        if (wp) return 0;  // the whole window is client area
        break;
    case WM_NCHITTEST: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(hwnd, &p);
        return main_view_window().is_caption(hwnd, p) ? HTCAPTION : HTCLIENT;
    }
    case WM_PAINT: main_view_window().paint(*state, hwnd); return 0;
    // Every pixel is the renderer's. An erase with the class brush would flash white
    // first, and under Wine it can land on top of the frame drawn when the window is
    // shown again.
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        main_view_window().size(*state, lp);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_MOUSEWHEEL:
        if (main_view_window().mouse(*state, hwnd, msg, wp, lp)) return 0;
        break;
    case WM_KEYDOWN:
        if (main_view_window().key(*state, hwnd, wp)) return 0;
        break;
    case WM_GETOBJECT:
        if (const auto answer = main_view_window().get_object(hwnd, wp, lp)) return *answer;
        break;
    case kMsgAccessibleAction: main_view_window().accessible_action(*state, hwnd, wp, lp); return 0;
    case kMsgConfine: engine.on_confine_trigger(); return 0;
    case kMsgButtonDown: engine.on_press(); return 0;
    case kMsgMouseMove: engine.on_drag_poll(); return 0;
    case kMsgButtonUp: engine.on_release(); return 0;
    case kMsgExit:
        // A newer instance (or the installer) replaces this one: it starts the way this
        // one ran. An exit the user asked for leaves nothing behind, as the tray's Exit.
        if (wp != kExitAsAsked)
            leave_handover({engine.running(), engine.zones_visible()}, unix_time_now());
        DestroyWindow(hwnd);
        return 0;
    case kMsgTray: tray_callback(*state, lp); return 0;
    case kMsgUpdateChecked: on_update_checked(*state); return 0;
    case kMsgUpdateDownloaded: on_update_downloaded(*state); return 0;
    case kMsgLanguageList: on_language_index(*state); return 0;
    case kMsgLanguageFile: on_language_file(*state); return 0;
    case kMsgVirtualDesktop: on_virtual_desktop(*state); return 0;
    case WM_TIMER: on_timer(*state, wp); return 0;
    case WM_HOTKEY: on_hotkey(*state, static_cast<int>(wp)); return 0;
    case WM_COPYDATA:
        return on_command_message(*state, reinterpret_cast<HWND>(wp), reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_DISPLAYCHANGE:
        on_screens_changed(*state, true);
        break;
    case WM_SETTINGCHANGE:
        // The system's app theme may have changed; the auto theme follows it at once.
        if (state->settings.theme == Theme::Auto) {
            apply_theme_settings(state->settings);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        if (wp == SPI_SETWORKAREA) on_screens_changed(*state, false);
        follow_system_colors(*state);
        break;
    case WM_SYSCOLORCHANGE: follow_system_colors(*state); break;
    case WM_DPICHANGED:
        // A monitor's scaling changed (or the window moved to a monitor with another):
        // the gaps between zones are scaled by the monitor's DPI, so a changed list of
        // screens is taken up as after a display change.
        if (enumerate_screens() != state->screens) on_screens_changed(*state, false);
        main_view_window().drop_renderer();
        fit_window(hwnd, kMainWidth, kMainHeight, std::max<UINT>(96, LOWORD(wp)) / 96.0);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_CLOSE:
        if (state->settings.hide_to_tray) {
            ShowWindow(hwnd, SW_HIDE);
            if (take_tray_notice(state->settings)) {
                save_settings(state->settings);
                tray_notify_hidden(*state);
            }
            main_view_window().drop_renderer();
            SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
        } else {
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        if (wp) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY: on_destroy(*state, hwnd); return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

bool register_main_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = main_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainClass;
    return RegisterClassExW(&wc) != 0;
}

HWND create_main_window(AppState& state) {
    const Rect primary = primary_work_area();
    int x = primary.left + (primary.width() - kMainWidth) / 2;
    int y = primary.top + (primary.height() - kMainHeight) / 2;
    // A saved position comes from a file: the probe points are computed in 64 bits and
    // saturated so that a hostile value cannot overflow.
    auto probe = [](int64_t px, int64_t py) {
        auto clamp32 = [](int64_t v) {
            return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        };
        return POINT{clamp32(px), clamp32(py)};
    };
    if (auto pos = state.settings.window_pos;
        pos && MonitorFromPoint(probe(int64_t{pos->first} + 50, int64_t{pos->second} + 10),
                                MONITOR_DEFAULTTONULL)) {
        x = pos->first;
        y = pos->second;
    }
    Rect work = primary;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromPoint(probe(int64_t{x} + 290, int64_t{y} + 20), MONITOR_DEFAULTTONEAREST), &mi))
        work = to_rect(mi.rcWork);
    const int h = std::min(kMainHeight, work.height());
    x = std::max(work.left, std::min(x, work.right - kMainWidth));
    y = std::max(work.top, std::min(y, work.bottom - h));

    HWND hwnd = CreateWindowExW(0, kMainClass, utf8_to_wide(tr("app.name")).c_str(),
                                WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, x, y, kMainWidth, h, nullptr,
                                nullptr, state.instance, nullptr);
    if (!hwnd) return nullptr;
    state.main = hwnd;
    publish_main_window(hwnd);

    const double scale = scale_for_window(hwnd);
    if (scale != 1.0) fit_window(hwnd, kMainWidth, h, scale);
    // A one-pixel frame extension gives the borderless window the system shadow.
    const MARGINS margins{1, 1, 1, 1};
    DwmExtendFrameIntoClientArea(hwnd, &margins);
    const DWORD round = 2;  // DWMWCP_ROUND
    DwmSetWindowAttribute(hwnd, 33 /* DWMWA_WINDOW_CORNER_PREFERENCE */, &round, sizeof round);

    state.icon_big = program_icon(state.instance, 32, state.settings.accent_color);
    state.icon_small = program_icon(state.instance, 16, state.settings.accent_color);
    if (state.icon_big) SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state.icon_big));
    if (state.icon_small) SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state.icon_small));

    state.ui_font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
    return hwnd;
}

void after_layout_change(AppState& state) {
    save_settings(state.settings);
    close_all_shares(state);  // their zone numbers now name other zones
    state.engine->follow_layout_change();  // held windows go into the new zones
    refresh_views(state);
}

void choose_layout(AppState& state, const std::string& screen_id) {
    record_desktop_choice(state.settings, screen_id, state.virtual_desktop);
    after_layout_change(state);
}

void show_main_window(AppState& state) {
    if (!state.main) return;
    // A minimised window would stay minimised with a plain SW_SHOW.
    ShowWindow(state.main, IsIconic(state.main) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(state.main);
    InvalidateRect(state.main, nullptr, FALSE);
}

void refresh_views(AppState& state) {
    if (state.main) main_view_window().rebuild(state);
}

}  // namespace tw::app
