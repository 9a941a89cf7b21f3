#pragma once
// Why something the user asked for did not happen, in the user's language: a start
// with nothing to hold windows in, a Share Zone shortcut for a zone the layout does
// not have, and two shortcuts of the settings file that are the same combination.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/monitors.h"
#include "core/model/hotkeys.h"
#include "core/model/settings.h"

namespace tw {

// The engine found no zones to start with: no attached screen is enabled, or none of
// the enabled ones has a layout with zones.
std::string start_refusal_text(const Settings& settings, std::span<const ScreenInfo> screens);

// Share Zone n (`zone` 0-based) on the screen with `screen_id`, whose layout has no such zone.
std::string share_refusal_text(size_t zone, const std::string& screen_id, std::span<const ScreenInfo> screens);

// Pairs of rows (settings order, the earlier first) that hold the same bound
// combination; each pair once, in row order.
std::vector<std::pair<size_t, size_t>> duplicate_shortcuts(
    const std::array<HotkeyBinding, kHotkeyActionCount>& bindings);
// The first such pair as a sentence; none when every combination is used once.
std::optional<std::string> duplicate_shortcuts_text(const std::array<HotkeyBinding, kHotkeyActionCount>& bindings);

}  // namespace tw
