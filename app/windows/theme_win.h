#pragma once
// Theme and accent changes carried out on the windows: saving, repainting, new window
// icons and the accent brush of the overlay and highlight window classes.
#include "core/model/settings.h"

namespace tw::app {

struct AppState;

// Stores the theme, saves the settings and repaints.
void change_theme(AppState& state, Theme value);
// Sets the accent colour (saving the settings when `save` is set) and refreshes every
// place that shows it.
void change_accent(AppState& state, uint32_t rgb, bool save);

// WM_SETTINGCHANGE, WM_SYSCOLORCHANGE: high contrast turned on or off, or its colours
// changed; everything drawn follows at once.
void follow_system_colors(AppState& state);

}  // namespace tw::app
