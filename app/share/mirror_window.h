#pragma once
// A running share: the mirror window over the zone (fully transparent to the user, a
// normal application window to screen-capture pickers) holding the zone's live image,
// its capture thread, and the dashed frame around the zone that is kept out of screen
// captures. The active shares are a process-wide list; a share ends when its mirror
// window is destroyed, whoever destroys it.
#include <windows.h>

#include <string>
#include <vector>

#include "core/base/geometry.h"

namespace tw::app {

struct MirrorOptions {
    bool quit_when_closed = false;  // the test mirror: the program ends with its window
};

// Creates the mirror window for `zone` (virtual-screen pixels), its application id and
// icons, the capture thread and the frame, and records the share. Null when the mirror
// window cannot be created; a missing frame, id or icon only degrades the share.
HWND create_mirror_window(const Rect& zone, const std::string& title, MirrorOptions options = {});

// Whether `mirror` is the mirror window of a running share.
bool is_active_share(HWND mirror);
// The frame window of a running share; null when it has none.
HWND share_frame(HWND mirror);
// The mirror windows of every running share.
std::vector<HWND> active_mirrors();
// Asks the capture threads of these shares to stop, without waiting for them. Called
// before their windows are destroyed one by one, so that every thread winds down at
// once and ending several shares costs one frame wait, not one per share.
void request_capture_stop(const std::vector<HWND>& mirrors);

// Test switch "--test-mirror-snapshots": from now on a mirror window answers the
// registered message "TilewrightMirrorSnapshot" by writing the image it holds to
// tilewright-mirror.ppm in the temporary folder (returning 1; 0 when it holds none).
// Other processes cannot read a window's image under Wine, so the end-to-end scenarios
// read it this way.
void enable_mirror_snapshots();

// The frame windows take the current accent colour (theme_state().accent) and repaint.
void share_frames_follow_accent();

}  // namespace tw::app
