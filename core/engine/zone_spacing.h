#pragma once
// Gaps between zones: a layout's spacing (pixels at 100 % scaling) turned into the
// pixel gap of one monitor, and zone rectangles shrunk by it, so that neighbouring
// windows stand apart and off the screen's edge.
#include <cstdint>
#include <vector>

#include "core/base/geometry.h"

namespace tw {

// round(spacing x dpi / 96), halves up; spacing is taken within 0..64 and a dpi of 0
// as 96, so an absurd value can never make the gap larger than a screen.
int32_t spacing_pixels(int spacing, uint32_t dpi);

// `zone` (inside `area`) shrunk by the gap: an edge lying on the area's edge moves in
// by the whole gap, an edge inside the area by half of it (left and top by the larger
// half, right and bottom by the smaller), so two neighbours end exactly `gap` apart.
// The gap never takes more than half of a zone's width or height: when the two insets
// of an axis would exceed that, both shrink in proportion to fit in half of it, so a
// tiny zone stays non-empty, centred on its place and clear of its neighbours. An empty
// zone stays as it is.
Rect spaced_zone(const Rect& zone, const Rect& area, int32_t gap);

// Every zone of a layout shrunk by spaced_zone.
std::vector<Rect> spaced_zones(const std::vector<Rect>& zones, const Rect& area, int32_t gap);

}  // namespace tw
