#pragma once
// The About dialog: version and release date, what the program does, the web site,
// a contact link and how often the program has placed a window.
#include <windows.h>

namespace tw::app {

struct AppState;

// Opens the dialog, or brings the open one to the front.
void open_about_dialog(AppState& state);

}  // namespace tw::app
