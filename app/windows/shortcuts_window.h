#pragma once
// The keyboard shortcuts window: rebinding the sixteen global shortcuts. While it is
// open the main window is disabled and none of the program's hotkeys is registered,
// so that every combination can be pressed and tested; they are registered again from
// the settings when it closes.
#include <windows.h>

namespace tw::app {

struct AppState;

// Opens the window, or brings the open one to the front.
void open_shortcuts_window(AppState& state);

// The id of the momentary registration that tests whether another program holds a
// combination.
inline constexpr int kTestHotkeyId = 999;

}  // namespace tw::app
