#include "app/platform/system_theme.h"

#include "core/model/settings.h"
#include "core/ui/theme.h"
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

std::optional<SystemColors> read_high_contrast() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) || !(hc.dwFlags & HCF_HIGHCONTRASTON))
        return std::nullopt;
    const auto rgb = [](int index) {
        const COLORREF c = GetSysColor(index);  // 0x00BBGGRR
        return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
    };
    return SystemColors{rgb(COLOR_WINDOW),     rgb(COLOR_WINDOWTEXT), rgb(COLOR_HIGHLIGHT),
                        rgb(COLOR_HIGHLIGHTTEXT), rgb(COLOR_BTNFACE), rgb(COLOR_BTNTEXT),
                        rgb(COLOR_GRAYTEXT),  rgb(COLOR_HOTLIGHT)};
}

void apply_theme_settings(const Settings& settings) {
    ThemeState& theme = theme_state();
    set_high_contrast(theme, settings.accent_color, read_high_contrast());
    std::optional<uint32_t> light;
    if (auto v = read_apps_use_light_theme()) light = *v ? 1u : 0u;
    theme.light = resolve_light_theme(settings.theme, light);
}

}  // namespace tw::app
