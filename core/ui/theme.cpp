#include "core/ui/theme.h"

namespace tw {

bool set_theme(Settings& settings, ThemeState& theme, Theme value,
               std::optional<uint32_t> apps_use_light_theme) {
    settings.theme = value;
    const bool light = resolve_light_theme(value, apps_use_light_theme);
    const bool changed = light != theme.light;
    theme.light = light;
    return changed;
}

bool set_accent(Settings& settings, ThemeState& theme, uint32_t rgb) {
    rgb &= 0xFFFFFF;
    const bool changed = theme.accent != rgb || settings.accent_color != rgb;
    settings.accent_color = rgb;
    theme.accent = rgb;
    return changed;
}

}  // namespace tw
