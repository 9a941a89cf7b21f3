#pragma once
// The accent colour dialog: presets, hue slider and hex field, applied to the whole
// program at once while it is open; Done saves the colour, any other way out puts the
// opening colour back. The main window is disabled meanwhile.
#include <windows.h>

namespace tw::app {

struct AppState;

// Opens the dialog, or brings the open one to the front.
void open_color_dialog(AppState& state);

}  // namespace tw::app
