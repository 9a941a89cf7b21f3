#include "app/windows/tray.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/platform/icons_win.h"
#include "app/platform/wide_text.h"
#include "app/share/zone_share.h"
#include "app/windows/main_view_win.h"
#include "app/windows/main_window.h"
#include "core/base/log.h"
#include "core/base/utf16.h"
#include "core/model/catalog.h"
#include "core/views/tooltips.h"
#include "core/views/tray_menu.h"

namespace tw::app {

namespace {

constexpr UINT kIconId = 1;

// A catalog text in a fixed UTF-16 buffer of the shell record, cut to fit.
void put_text(wchar_t* buffer, size_t capacity, const std::string& utf8) {
    const std::wstring wide = utf8_to_wide(utf8);
    const std::u16string units(wide.begin(), wide.end());
    const size_t n = utf16_fit(units, capacity - 1);
    std::copy_n(wide.data(), n, buffer);
    buffer[n] = L'\0';
}

NOTIFYICONDATAW record(const AppState& state) {
    NOTIFYICONDATAW d{};
    d.cbSize = sizeof d;
    d.hWnd = state.main;
    d.uID = kIconId;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = kMsgTray;
    d.hIcon = state.tray_icon;
    // The name and whether it is active; at most 127 characters.
    put_text(d.szTip, std::size(d.szTip), tray_tooltip(state.engine && state.engine->running()));
    return d;
}

}  // namespace

HMENU tray_popup_menu(const std::vector<TrayMenuItem>& items) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (const TrayMenuItem& item : items) {
        const std::wstring text = utf8_to_wide(item.text);
        switch (item.kind) {
        case TrayItemKind::Separator: AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); break;
        case TrayItemKind::Submenu:
            // A submenu that cannot be made is left out rather than shown empty.
            if (HMENU sub = tray_popup_menu(item.children))
                AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
            break;
        case TrayItemKind::Command:
            AppendMenuW(menu,
                        MF_STRING | (item.grayed ? MF_GRAYED : 0u) | (item.checked ? MF_CHECKED : 0u),
                        item.command, text.c_str());
            break;
        }
    }
    return menu;
}

namespace {

void carry_out(AppState& state, UINT id) {
    if (id == 0) return;  // dismissed
    // Layouts and rows may have changed while the menu was open.
    const std::vector<MonitorZones> table = state.shell->monitor_zone_table();
    const TrayCommand c = decide_tray_command(id, state.settings, table);
    switch (c.action) {
    case TrayAction::None: break;
    case TrayAction::ShowMain: show_main_window(state); break;
    case TrayAction::Exit: DestroyWindow(state.main); break;
    case TrayAction::MainCommand: main_view_window().command(state, c.main_command); break;
    case TrayAction::ToggleShare: toggle_share(state, c.screen_id, c.zone); break;
    case TrayAction::SelectLayout:
        for (size_t i = 0; i < state.screens.size(); ++i)
            if (state.screens[i].id == c.screen_id) main_view_window().choose_layout(state, i, c.layout);
        break;
    }
}

void show_menu(AppState& state) {
    // A second right click while the menu is open would nest another menu loop.
    if (state.tray_menu_open || !state.main) return;
    const std::vector<MonitorZones> table = state.shell->monitor_zone_table();
    TrayMenuInput in(state.settings);
    in.screens = state.screens;
    in.zone_table = table;
    in.engine_running = state.engine->running();
    in.zones_shown = state.engine->zones_visible();
    in.shared = [&state](const std::string& screen_id, size_t zone) {
        return share_exists(state, screen_id, zone);
    };
    HMENU menu = tray_popup_menu(build_tray_menu(in));
    if (!menu) return;
    POINT at{};
    if (!GetCursorPos(&at)) at = {0, 0};
    // The menu closes when the user clicks elsewhere only while its owner is in front.
    SetForegroundWindow(state.main);
    state.tray_menu_open = true;
    const UINT id = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, state.main, nullptr));
    state.tray_menu_open = false;
    DestroyMenu(menu);  // and its submenus
    PostMessageW(state.main, WM_NULL, 0, 0);
    carry_out(state, id);
}

}  // namespace

void tray_add(AppState& state) {
    if (!state.main) return;
    // An elevated program would not receive the shell's message from a normal one.
    ChangeWindowMessageFilterEx(state.main, taskbar_created_message(), MSGFLT_ALLOW, nullptr);
    NOTIFYICONDATAW d = record(state);
    Shell_NotifyIconW(NIM_ADD, &d);
    state.tray_present = true;
}

void tray_remove(AppState& state) {
    NOTIFYICONDATAW d{};
    d.cbSize = sizeof d;
    d.hWnd = state.main;
    d.uID = kIconId;
    Shell_NotifyIconW(NIM_DELETE, &d);
    state.tray_present = false;
    state.tray_for_notice = false;
}

void tray_refresh(AppState& state) {
    if (!state.main) return;  // no window, no icon
    const bool active = state.engine && state.engine->running();
    HICON previous = state.tray_icon;
    state.tray_icon = draw_program_icon(16, active, state.settings.accent_color);
    NOTIFYICONDATAW d = record(state);
    Shell_NotifyIconW(NIM_MODIFY, &d);
    if (previous) DestroyIcon(previous);  // the shell holds its own copy
}

void tray_follow_setting(AppState& state) {
    if (state.settings.hide_to_tray) {
        if (!state.tray_present) tray_add(state);
        state.tray_for_notice = false;  // the icon now stays
    } else if (state.tray_present) {
        tray_remove(state);
    }
}

void tray_callback(AppState& state, LPARAM lparam) {
    switch (static_cast<UINT>(lparam)) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: show_main_window(state); break;
    case WM_RBUTTONUP: show_menu(state); break;
    // The keyboard on the icon (reached with Win+B and the arrows): Enter or Space
    // selects it, Shift+F10 or the menu key asks for its menu.
    case NIN_SELECT:
    case NIN_KEYSELECT: show_main_window(state); break;
    case WM_CONTEXTMENU: show_menu(state); break;
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONUSERCLICK:
        if (state.tray_for_notice) tray_remove(state);
        break;
    default: break;
    }
}

UINT taskbar_created_message() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void tray_shell_restarted(AppState& state) {
    if (!state.tray_present) return;
    log("tray: the taskbar was created again; adding the icon again");
    NOTIFYICONDATAW d = record(state);
    Shell_NotifyIconW(NIM_ADD, &d);
}

void tray_notify_refused_moves(AppState& state) { tray_balloon(state, tr("tray.elevated_windows_notice")); }

void tray_balloon(AppState& state, const std::string& text) {
    if (!state.main) return;
    if (!state.tray_present) {
        tray_add(state);
        state.tray_for_notice = true;
    }
    NOTIFYICONDATAW d = record(state);
    d.uFlags |= NIF_INFO;
    d.dwInfoFlags = NIIF_WARNING;
    put_text(d.szInfoTitle, std::size(d.szInfoTitle), tr("app.name"));
    put_text(d.szInfo, std::size(d.szInfo), text);
    Shell_NotifyIconW(NIM_MODIFY, &d);
}

void tray_notify_hidden(AppState& state) {
    if (!state.main || !state.tray_present) return;
    NOTIFYICONDATAW d = record(state);
    d.uFlags |= NIF_INFO;
    d.dwInfoFlags = NIIF_INFO;
    put_text(d.szInfoTitle, std::size(d.szInfoTitle), tr("app.name"));
    put_text(d.szInfo, std::size(d.szInfo), tr("tray.hidden_notice"));
    Shell_NotifyIconW(NIM_MODIFY, &d);
    log("tray: the main window went to the tray for the first time; told the user where");
}

bool running_elevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const BOOL ok = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return ok && elevation.TokenIsElevated;
}

}  // namespace tw::app
