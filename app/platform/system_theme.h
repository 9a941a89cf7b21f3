#pragma once
// The system's app theme as the user chose it in the Windows settings.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/ui/widgets.h"

namespace tw {
struct Settings;
}

namespace tw::app {

// A REG_DWORD value; nothing when the key or value is missing or of another type.
std::optional<uint32_t> read_registry_dword(HKEY root, const wchar_t* subkey, const wchar_t* value);

// HKCU ...\Themes\Personalize "AppsUseLightTheme": true when non-zero; nothing when it
// cannot be read (the caller then keeps the dark palette).
std::optional<bool> read_apps_use_light_theme();

// The system colours while Windows' high-contrast mode is on; nothing while it is off.
std::optional<SystemColors> read_high_contrast();

// Sets the process-wide accent and light/dark flag from the settings (and, for the
// auto theme, from the system's app theme).
void apply_theme_settings(const Settings& settings);

}  // namespace tw::app
