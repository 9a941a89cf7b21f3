#pragma once
// The process state owned by the UI thread: the settings record, the screens, the
// engine and the program's own windows. It lives in the UI thread's thread-local
// storage; nothing else touches it.
#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/engine/win32_desktop.h"
#include "app/net/net_state.h"
#include "core/engine/engine.h"
#include "core/engine/monitors.h"
#include "core/engine/share_state.h"
#include "core/model/settings.h"
#include "core/model/usage.h"

namespace tw::app {

class Win32EngineShell;

// Application messages to the main window.
inline constexpr UINT kMsgConfine = WM_APP + 1;
inline constexpr UINT kMsgButtonDown = WM_APP + 2;
inline constexpr UINT kMsgMouseMove = WM_APP + 3;
inline constexpr UINT kMsgButtonUp = WM_APP + 4;
inline constexpr UINT kMsgTray = WM_APP + 5;
inline constexpr UINT kMsgUpdateChecked = WM_APP + 7;
inline constexpr UINT kMsgUpdateDownloaded = WM_APP + 8;
inline constexpr UINT kMsgExit = WM_APP + 9;
// kMsgExit's wParam. 0: a newer copy or the installer replaces this one, and the next
// start carries on as this one ran; kExitAsAsked: the user asked the program to end (the
// "exit" command), so the next start follows the settings like any other.
inline constexpr WPARAM kExitAsAsked = 1;
inline constexpr UINT kMsgLanguageList = WM_APP + 10;
inline constexpr UINT kMsgLanguageFile = WM_APP + 11;

// Timers on the main window besides the engine's 1 to 3.
inline constexpr UINT_PTR kTimerViewRefresh = 4;  // 60 000 ms
inline constexpr UINT_PTR kTimerShareTopmost = 5; // 1 000 ms, while a share runs

struct AppState {
    HINSTANCE instance = nullptr;
    Settings settings;
    std::optional<std::filesystem::path> settings_folder;
    std::vector<ScreenInfo> screens;
    UsageCounter usage;

    HWND main = nullptr;
    HWND highlight = nullptr;
    HBRUSH accent_brush = nullptr;  // background of the overlay and highlight classes
    HFONT ui_font = nullptr;
    HICON icon_big = nullptr;
    HICON icon_small = nullptr;
    bool hidden_start = false;
    bool tray_present = false;

    Win32Desktop desktop;
    Win32Clock clock;
    std::unique_ptr<Win32EngineShell> shell;
    std::unique_ptr<Engine> engine;

    // The tray icon.
    HICON tray_icon = nullptr;     // its current image; none until the first refresh
    bool tray_for_notice = false;  // added only to show a notice, removed when it ends
    bool tray_menu_open = false;

    // The layout editor.
    HWND editor = nullptr;  // the editor window while it is open

    // The shortcuts window and the colour, About and update dialogs: at most one of
    // each; every window owns its own state and clears its handle here when it is gone.
    HWND shortcuts_window = nullptr;
    HWND color_dialog = nullptr;
    HWND about_dialog = nullptr;
    HWND update_dialog = nullptr;  // the offer itself is the network state's known_update
    HWND excluded_apps_dialog = nullptr;

    // The current virtual desktop ("{GUID}"), empty when none is known.
    std::string virtual_desktop;

    // Zone Share.
    ShareMap share_map;  // (screen id, zone) -> mirror window; see app/share/zone_share.h

    // The network services: update check and download, language list and files.
    NetState net;
};

// The UI thread's state; created by run().
AppState& app_state();
// Null outside the UI thread or before start-up.
AppState* app_state_if_any();
void set_app_state(AppState* state);

}  // namespace tw::app
