#pragma once
// Putting a window into a zone so that its visible frame, not its window rectangle
// with the invisible resize borders, fills the zone.
#include "core/engine/desktop.h"
#include "core/base/geometry.h"

namespace tw {

// The window rectangle that makes a window whose rectangle is `wr` and whose visible
// frame is `vis` show its frame exactly on `zone`.
Rect zone_target_rect(const Rect& zone, const Rect& wr, const Rect& vis);

// to - from, saturated to the 32-bit range.
int32_t span(int32_t from, int32_t to);

// Restores a maximised window, then moves and sizes it onto the zone (no z-order or
// activation change). False when the window rectangle cannot be read, the move fails,
// or the window's application is not responding (it is then left alone, logged). Used by drag snapping and keyboard moves; the confiner verifies and retries
// with its own variant.
bool place_in_zone(Desktop& desktop, WindowId w, const Rect& zone);

}  // namespace tw
