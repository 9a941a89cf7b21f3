#pragma once
// What the program says about controls whose look alone does not: the tooltips of
// icon-only and short items, the tray icon's tooltip, and the notice the first time the
// main window goes to the tray.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/model/settings.h"

namespace tw {

enum class TipWindow : uint8_t { Main, Editor };

// The catalog key of the tooltip of the item with command number `id`; none for items
// that say what they do themselves.
std::optional<std::string_view> tooltip_key(TipWindow window, uint64_t id);

// The tray icon's tooltip: the program's name and whether it is active.
std::string tray_tooltip(bool running);

// Hiding the main window to the tray the first time says where it went, once ever: true
// (and the settings marked, to be saved) when the notice is due now.
bool take_tray_notice(Settings& settings);

}  // namespace tw
