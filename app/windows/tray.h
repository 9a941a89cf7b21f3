#pragma once
// The notification-area icon: its shell record (image drawn in the accent colour,
// showing whether the engine runs; tooltip the program's name), the popup menu built
// from the tray menu model, the notice about windows of elevated programs, and the
// icon added again when the shell restarts.
#include <windows.h>

#include <string>
#include <vector>

#include "core/views/tray_menu.h"

namespace tw::app {

struct AppState;

// NIM_ADD with the current image and tooltip; marks the icon present.
void tray_add(AppState& state);
// NIM_DELETE; marks the icon absent.
void tray_remove(AppState& state);
// A new image (active = engine running, current accent) and the tooltip in the current
// language; called whether or not the icon is present.
void tray_refresh(AppState& state);
// After HideToTray changed: the icon is added when it became on, removed when it
// became off.
void tray_follow_setting(AppState& state);

// The popup menu of the items, submenus included (the caller destroys it); null when
// the system cannot make a menu.
HMENU tray_popup_menu(const std::vector<TrayMenuItem>& items);

// WM_APP+5: lParam is the mouse message (or a balloon notification).
void tray_callback(AppState& state, LPARAM lparam);

// The shell's registered "TaskbarCreated" message, sent to every top-level window
// when the taskbar is (re)created.
UINT taskbar_created_message();
// The shell restarted: a present icon is added again with its image and tooltip.
void tray_shell_restarted(AppState& state);

// A balloon on the icon saying that windows of programs running as administrator
// cannot be managed. Without a tray icon one is added for the notice and removed when
// the balloon ends.
void tray_notify_refused_moves(AppState& state);
// A balloon on the icon saying that Tilewright keeps running there (the first time the
// main window is hidden to the tray).
void tray_notify_hidden(AppState& state);
// A balloon with `text` on the icon, added for the balloon when there is none.
void tray_balloon(AppState& state, const std::string& text);
// Whether this process runs elevated (as administrator).
bool running_elevated();

}  // namespace tw::app
