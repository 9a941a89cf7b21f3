#include "app/platform/system_theme.h"

#include "core/model/settings.h"
#include "core/ui/widgets.h"

namespace tw::app {

std::optional<uint32_t> read_registry_dword(HKEY root, const wchar_t* subkey, const wchar_t* value) {
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegGetValueW(root, subkey, value, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(data);
}

std::optional<bool> read_apps_use_light_theme() {
    const auto value = read_registry_dword(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
        L"AppsUseLightTheme");
    if (!value) return std::nullopt;
    return *value != 0;
}

void apply_theme_settings(const Settings& settings) {
    ThemeState& theme = theme_state();
    theme.accent = settings.accent_color;
    std::optional<uint32_t> light;
    if (auto v = read_apps_use_light_theme()) light = *v ? 1u : 0u;
    theme.light = resolve_light_theme(settings.theme, light);
}

}  // namespace tw::app
