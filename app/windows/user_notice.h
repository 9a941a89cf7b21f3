#pragma once
// Telling the user why something they asked for did not happen: in the main window's
// status line while the window is on screen, otherwise with a balloon on the tray icon.
#include <string>

namespace tw::app {

struct AppState;

void tell_user(AppState& state, const std::string& text);

// Starts the placement engine; when there is nothing to hold windows in, says why.
// Returns whether the engine runs.
bool start_engine_or_say_why(AppState& state);
// Start/Stop: the main window's button, the tray's entry and the hotkey.
void toggle_engine_or_say_why(AppState& state);

}  // namespace tw::app
