#include "app/app.h"

// Core headers before <windows.h>: see the note on `near` in core/geometry.h.
#include "app/app_state.h"
#include "app/command/command_sender.h"
#include "app/platform/autostart.h"
#include "app/engine/engine_shell_win.h"
#include "app/platform/fatal_error.h"
#include "app/engine/hotkeys_win.h"
#include "app/windows/main_window.h"
#include "app/windows/tray.h"
#include "app/net/language_service.h"
#include "app/net/update_service.h"
#include "app/windows/update_dialog.h"
#include "app/windows/main_view_win.h"
#include "app/windows/user_notice.h"
#include "app/engine/screens_win.h"
#include "app/windows/excluded_apps_dialog.h"
#include "app/share/mirror_window.h"
#include "app/share/zone_share.h"
#include "app/platform/system_theme.h"
#include "app/platform/virtual_desktops.h"
#include "app/platform/wide_text.h"
#include "core/model/catalog.h"
#include "core/model/handover.h"
#include "core/model/language_folder.h"
#include "core/views/refusals.h"
#include "core/base/log.h"
#include "core/engine/monitors.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tw::app {

namespace {

thread_local AppState* t_state = nullptr;

std::vector<std::wstring> arguments() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> out;
    for (int i = 0; i < argc; ++i) out.emplace_back(argv[i]);
    LocalFree(argv);
    return out;
}

bool has_option(const std::vector<std::wstring>& args, std::wstring_view option) {
    for (const auto& a : args)
        if (a == option) return true;
    return false;
}

void list_monitors() {
    const auto screens = enumerate_screens();
    for (size_t i = 0; i < screens.size(); ++i) log(list_monitors_line(i, screens[i]));
}

// A newer instance replaces an older one: ask it to exit and wait (about 4 s at most)
// until its main window is gone.
void take_over_from_running_instance() {
    CreateMutexW(nullptr, FALSE, L"Tilewright-SingleInstance");  // lives as long as the process
    if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    HWND other = FindWindowW(L"TilewrightMain", nullptr);
    if (!other) return;
    PostMessageW(other, kMsgExit, 0, 0);
    for (int i = 0; i < 80 && FindWindowW(L"TilewrightMain", nullptr); ++i) Sleep(50);
}

void set_dpi_awareness() {
    // Windows 10 1703 and later; looked up so that the program still starts elsewhere.
    using Fn = BOOL(WINAPI*)(HANDLE);
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (fn) fn(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));  // per-monitor v2
}

WorkAreaSize primary_work_size() {
    const Rect r = primary_work_area();
    return {r.width(), r.height()};
}

void message_loop(const AppState& state) {
    MSG msg;
    while (true) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        // The program's own drawn windows handle their keys; other (dialog) windows get
        // dialog navigation, which only keys need (the timers that tick while nothing
        // happens are not made to ask for the active window).
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            HWND active = GetActiveWindow();
            if (active && active != state.main && IsDialogMessageW(active, &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

AppState& app_state() { return *t_state; }
AppState* app_state_if_any() { return t_state; }
void set_app_state(AppState* state) { t_state = state; }

int run() {
    install_fatal_error_hook();

    const auto args = arguments();
    // A command goes to the running copy; everything after "--command" is its arguments.
    if (auto at = std::find(args.begin(), args.end(), L"--command"); at != args.end())
        return send_command({std::next(at), args.end()});
    if (has_option(args, L"--uninstall-cleanup")) {
        remove_own_autostart();
        return 0;
    }
    if (has_option(args, L"--list-monitors")) {
        list_monitors();
        return 0;
    }
    if (has_option(args, L"--test-mirror-snapshots")) enable_mirror_snapshots();
    if (has_option(args, L"--test-mirror")) return run_test_mirror();

    take_over_from_running_instance();
    AppState state;
    set_app_state(&state);
    state.hidden_start = has_option(args, L"--tray");
    set_dpi_awareness();
    state.instance = GetModuleHandleW(nullptr);

    state.settings = load_settings(primary_work_size());
    state.settings_folder = settings_dir();
    if (state.settings_folder) remove_version_markers(*state.settings_folder / "lang");
    state.usage = UsageCounter::load(state.settings_folder, state.settings, unix_time_now());

    state.screens = enumerate_screens();
    reconcile_screen_layouts(state.settings, state.screens);
    save_settings(state.settings);

    apply_theme_settings(state.settings);
    apply_startup_language(state.settings.language, state.settings_folder);

    const uint32_t accent = theme_state().accent;  // the highlight colour in high contrast
    state.accent_brush = CreateSolidBrush(RGB((accent >> 16) & 0xFF, (accent >> 8) & 0xFF, accent & 0xFF));
    register_main_class(state.instance);
    register_overlay_classes(state.instance, state.accent_brush);
    state.highlight = create_highlight_window(state.instance);

    state.shell = std::make_unique<Win32EngineShell>(state);
    state.engine = std::make_unique<Engine>(state.desktop, state.clock, *state.shell,
                                            [&state] { state.usage.count_use(); });
    state.shell->on_refresh = [&state] {
        main_view_window().set_status_note({});  // the engine's state changed: the status shows it
        refresh_views(state);
        tray_refresh(state);
    };
    // The notice's advice (run Tilewright elevated too) is no help to an elevated copy.
    state.shell->on_refused_moves = [&state] {
        if (!running_elevated()) tray_notify_refused_moves(state);
    };
    state.shell->shared_zones = [&state](const std::string& id) { return shared_zone_indexes(state, id); };
    state.engine->set_highlight_window(to_window_id(state.highlight));
    start_app_rules(state);

    if (!create_main_window(state)) {
        log("app: CreateWindowExW failed " +
            hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        set_app_state(nullptr);
        return 0;
    }
    state.engine->set_main_window(to_window_id(state.main));

    migrate_former_autostart();
    register_share_hotkeys(state.main, state.settings);
    refresh_language_index(state);
    register_engine_hotkeys(state.main, state.settings);
    start_virtual_desktop_watch(state.main);  // its first message applies the current desktop's layouts

    // A hidden start always has a tray icon: it is the way back to the window.
    const bool hidden = state.hidden_start || state.settings.start_minimized;
    if (state.settings.hide_to_tray || hidden) tray_add(state);
    if (!hidden) {
        ShowWindow(state.main, SW_SHOWNORMAL);
        UpdateWindow(state.main);
    }
    SetTimer(state.main, kTimerViewRefresh, 60000, nullptr);
    tray_refresh(state);
    request_update_check(state, true);

    refresh_autostart();
    // The instance this one replaced decides how it starts; AutoStart otherwise.
    const StartPlan plan = plan_start(state.settings.auto_start, take_handover(unix_time_now()));
    if (plan.start_engine && start_engine_or_say_why(state)) {
        if (plan.hide_zones) state.engine->toggle_zones();
    } else {
        refresh_views(state);
    }
    if (auto twice = duplicate_shortcuts_text(state.settings.hotkeys)) tell_user(state, *twice);
    if (has_option(args, L"--test-update-dialog")) open_update_dialog(state, test_update_offer(), false);

    message_loop(state);

    // The main window's destruction already saved, unregistered and stopped everything.
    state.engine.reset();
    state.shell.reset();
    if (state.icon_big) DestroyIcon(state.icon_big);
    if (state.icon_small) DestroyIcon(state.icon_small);
    if (state.tray_icon) DestroyIcon(state.tray_icon);
    if (state.ui_font) DeleteObject(state.ui_font);
    if (state.accent_brush) DeleteObject(state.accent_brush);
    set_app_state(nullptr);
    return 0;
}

}  // namespace tw::app
