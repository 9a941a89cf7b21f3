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
    // High contrast keeps painting accents in the system's highlight colour.
    theme.accent = theme.high_contrast ? theme.high_contrast->highlight : rgb;
    return changed;
}

bool set_high_contrast(ThemeState& theme, uint32_t user_accent, std::optional<SystemColors> colors) {
    const uint32_t accent = colors ? colors->highlight & 0xFFFFFF : user_accent & 0xFFFFFF;
    const bool changed = theme.high_contrast != colors || theme.accent != accent;
    theme.high_contrast = colors;
    theme.accent = accent;
    return changed;
}

}  // namespace tw
