#pragma once
// The layout editor window "TilewrightEditor": a drawn, borderless tool window owned by
// the main window, which stays disabled while the editor is open.
#include <windows.h>

namespace tw::app {

struct AppState;

// Opens the editor on the screen selected in the main window; when it is already
// open, brings it to the foreground instead.
void open_editor(AppState& state);

}  // namespace tw::app
