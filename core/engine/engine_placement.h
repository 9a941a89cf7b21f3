#pragma once
// Putting a window into a zone so that its visible frame, not its window rectangle
// with the invisible resize borders, fills the zone.
#include <optional>

#include "core/engine/desktop.h"
#include "core/base/geometry.h"

namespace tw {

class OwnSizes;

// The window rectangle that makes a window whose rectangle is `wr` and whose visible
// frame is `vis` show its frame exactly on `zone`.
Rect zone_target_rect(const Rect& zone, const Rect& wr, const Rect& vis);

// The same for a window that cannot be resized: its visible frame keeps its size
// (cut only to the zone's, never larger than it was) and is centred in the zone.
Rect fixed_size_target_rect(const Rect& zone, const Rect& wr, const Rect& vis);

// The window rectangle the engine gives window w in `zone`: stretched to the zone, or
// centred in it when the window cannot be resized.
Rect window_target_rect(Desktop& desktop, WindowId w, const Rect& zone, const Rect& wr,
                        const Rect& vis);

// to - from, saturated to the 32-bit range.
int32_t span(int32_t from, int32_t to);

// Restores a maximised window, then moves and sizes it onto the zone (no z-order or
// activation change). False when the window rectangle cannot be read, the move fails,
// or the window's application is not responding (it is then left alone, logged). Used by drag snapping and keyboard moves; the confiner verifies and retries
// with its own variant.
bool place_in_zone(Desktop& desktop, WindowId w, const Rect& zone);

struct ZonePlacement {
    Rect target;              // the window rectangle it was given
    bool fixed_size = false;  // centred at its own size rather than stretched
};
// place_in_zone that also remembers the window's own size (its rectangle before the
// first placement) in `own_sizes`; the placement made, or none as above.
std::optional<ZonePlacement> place_window_in_zone(Desktop& desktop, WindowId w,
                                                  const Rect& zone, OwnSizes* own_sizes);

}  // namespace tw
