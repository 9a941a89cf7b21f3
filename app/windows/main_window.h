#pragma once
// The main window: a borderless, drawn window that is also the hub of the program's
// message traffic (hooks, timers, hotkeys, worker results).
#include <windows.h>

#include <string>

namespace tw::app {

struct AppState;

inline constexpr int kMainWidth = 580;
inline constexpr int kMainHeight = 802;  // every row shows at 100 %, nothing scrolls

bool register_main_class(HINSTANCE instance);
// Creates the window hidden at its saved or centred position (not yet shown).
HWND create_main_window(AppState& state);

// The settings changed the zones (layout, Enabled, CoverTaskbar): save them, close the
// zone shares and let a running engine's held windows follow into the new zones.
void after_layout_change(AppState& state);
// The user chose the active layout of a screen (main window, tray, layout hotkeys,
// cycle hotkey): the one path every such choice takes, after the screen's ActiveLayout
// was set.
void choose_layout(AppState& state, const std::string& screen_id);
// Shows the window (restoring it when minimised), brings it to the front and repaints.
void show_main_window(AppState& state);
// Rebuilds what the main window shows of the state.
void refresh_views(AppState& state);

}  // namespace tw::app
