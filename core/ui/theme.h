#pragma once
// Changing the theme and the accent colour: the settings record and the process-wide
// theme values move together. The Win32 side saves, redraws and replaces brushes and
// icons (app/theme_win.h).
#include <cstdint>
#include <optional>

#include "core/model/settings.h"
#include "core/ui/widgets.h"

namespace tw {

// Theme setting -> settings record and the light flag. `apps_use_light_theme` is the
// system's "AppsUseLightTheme" value when it could be read. Returns whether the
// palette in force changed (the windows then repaint).
bool set_theme(Settings& settings, ThemeState& theme, Theme value,
               std::optional<uint32_t> apps_use_light_theme);

// Accent colour (0xRRGGBB, higher bits ignored) -> settings record and the accent
// global. Returns whether the colour changed.
bool set_accent(Settings& settings, ThemeState& theme, uint32_t rgb);

// Windows' high-contrast mode on (with its colours) or off: the theme takes the system
// colours and paints accents in the highlight colour; off, the user's accent comes
// back. The settings stay as they are. Returns whether anything painted changed.
bool set_high_contrast(ThemeState& theme, uint32_t user_accent, std::optional<SystemColors> colors);

}  // namespace tw
