#pragma once
// Spans: a window may cover several neighbouring zones of one monitor. A span is the
// smallest rectangle made of whole zones that covers the zones picked; its rectangle is
// the bounding box of the zones inside it, so it takes in the gaps between those zones
// but keeps the gaps along its outside. Zones need not touch. Spans never reach across
// monitors: every function here works on the zones of one monitor.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/geometry.h"
#include "core/engine/keyboard_move.h"

namespace tw {

// `zone` is one of `zones` exactly.
bool contains_zone(const std::vector<Rect>& zones, const Rect& zone);

// The smallest rectangle made of whole zones that covers `box`: every non-empty zone
// that overlaps it (with a positive area) is taken in and the box grows to their
// bounding box, until nothing more overlaps. None when no zone overlaps `box`.
std::optional<Rect> zone_closure(const Rect& box, const std::vector<Rect>& zones);

// The span of zones a and b (the same zone gives that zone).
Rect span_of(const Rect& a, const Rect& b, const std::vector<Rect>& zones);

// r is one of the zones, or exactly a span of them.
bool is_zone_or_span(const Rect& r, const std::vector<Rect>& zones);

// The 0-based numbers of the non-empty zones lying inside r, in zone order.
std::vector<size_t> zones_inside(const Rect& r, const std::vector<Rect>& zones);

// The 0-based numbers of the zones at the span's top-left and bottom-right corners,
// whose span is `span`; none when `span` is not such a span of `zones`.
std::optional<std::pair<size_t, size_t>> span_corners(const Rect& span, const std::vector<Rect>& zones);

// "zone 3" or "span of zones 1, 2, 4, 5", zone numbers counted from 1.
std::string span_text(const Rect& r, const std::vector<Rect>& zones);

// The zone or span a window whose visible frame is `frame` sits in, each edge within
// `tolerance` pixels: a zone first, else the span of the zones inside the frame.
std::optional<Rect> zone_or_span_near(const Rect& frame, const std::vector<Rect>& zones,
                                      int32_t tolerance);

// `from` (a zone or span) grown by its neighbour in direction d: the nearest zone that
// lies beyond that edge and overlaps `from` across the direction, then the one with the
// larger overlap, then the earlier zone; then the span of both. None at the edge of the
// zones (there is no such zone).
std::optional<Rect> extend_span(const Rect& from, const std::vector<Rect>& zones, Direction d);

}  // namespace tw
