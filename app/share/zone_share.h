#pragma once
// Zone Share as the rest of the program sees it: the tray's Share submenu and the
// Share Zone hotkeys go through these.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tw::app {

struct AppState;

// Starts or stops sharing zone `zone` (0-based) of the screen with id `screen_id`.
void toggle_share(AppState& state, const std::string& screen_id, size_t zone);
// Whether a share window for (screen, zone) exists.
bool share_exists(const AppState& state, const std::string& screen_id, size_t zone);
// Zone indexes of a screen that are being shared, ascending (for the zone overlays).
std::vector<size_t> shared_zone_indexes(const AppState& state, const std::string& screen_id);

// The screen the user works on: that of the foreground window (of another program),
// else the one under the cursor, else the selected screen; none when none is attached.
std::optional<std::string> working_screen(const AppState& state);
// WM_HOTKEY 300 to 308: Share Zone 1 to 9 on the screen of the foreground window (of
// another program), else the one under the cursor, else the selected screen.
void on_share_hotkey(AppState& state, int id);
// Ends every share (layout, Enabled and Cover taskbar changes, shutdown).
void close_all_shares(AppState& state);
// After a display change: ends the shares whose zone went away or moved.
void close_outdated_shares(AppState& state);
// Timer 5: mirrors and frames go back on top of other topmost windows. The timer runs
// only while a share does: a share's start sets it, the first tick with none left ends it.
void keep_shares_on_top(AppState& state);
// The zone overlays and the share frames after a share ended some other way (the user
// closed its mirror window); nothing outside the UI thread's start-up and shutdown.
void after_share_closed();

// "--test-mirror": a mirror of the left quarter of the primary work area, titled
// "Zone Share Test", until its window is closed. Returns the exit code.
int run_test_mirror();

}  // namespace tw::app
