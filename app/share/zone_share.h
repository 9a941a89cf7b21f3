#pragma once
// Zone Share as the rest of the program sees it: the tray's Share submenu and the
// Share Zone hotkeys go through these.
#include <cstddef>
#include <string>

namespace tw::app {

struct AppState;

// Starts or stops sharing zone `zone` (0-based) of the screen with id `screen_id`.
void toggle_share(AppState& state, const std::string& screen_id, size_t zone);
// Whether a share window for (screen, zone) exists.
bool share_exists(const AppState& state, const std::string& screen_id, size_t zone);

}  // namespace tw::app
