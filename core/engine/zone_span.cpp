#include "core/engine/zone_span.h"

#include <algorithm>
#include <cstdint>

namespace tw {

namespace {

bool overlaps(const Rect& a, const Rect& b) {
    return overlap_length(a.left, a.right, b.left, b.right) > 0 &&
           overlap_length(a.top, a.bottom, b.top, b.bottom) > 0;
}

bool inside(const Rect& r, const Rect& outer) {
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
           r.bottom <= outer.bottom;
}

Rect bounding(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

bool contains_zone(const std::vector<Rect>& zones, const Rect& zone) {
    return std::find(zones.begin(), zones.end(), zone) != zones.end();
}

std::optional<Rect> zone_closure(const Rect& box, const std::vector<Rect>& zones) {
    std::optional<Rect> grown;
    Rect probe = box;
    // Each round either takes in one more zone or ends, so this ends.
    while (true) {
        std::optional<Rect> next;
        for (const Rect& z : zones) {
            if (is_empty(z) || !overlaps(z, probe)) continue;
            next = next ? bounding(*next, z) : z;
        }
        if (!next) return std::nullopt;
        if (grown && *next == *grown) return grown;
        grown = next;
        probe = *next;
    }
}

Rect span_of(const Rect& a, const Rect& b, const std::vector<Rect>& zones) {
    return zone_closure(bounding(a, b), zones).value_or(bounding(a, b));
}

bool is_zone_or_span(const Rect& r, const std::vector<Rect>& zones) {
    if (is_empty(r)) return false;
    if (contains_zone(zones, r)) return true;
    return zone_closure(r, zones) == r;
}

std::vector<size_t> zones_inside(const Rect& r, const std::vector<Rect>& zones) {
    std::vector<size_t> out;
    for (size_t i = 0; i < zones.size(); ++i)
        if (!is_empty(zones[i]) && inside(zones[i], r)) out.push_back(i);
    return out;
}

std::optional<std::pair<size_t, size_t>> span_corners(const Rect& span, const std::vector<Rect>& zones) {
    std::optional<size_t> first, last;
    for (size_t i : zones_inside(span, zones)) {
        const Rect& z = zones[i];
        if (!first && z.left == span.left && z.top == span.top) first = i;
        if (!last && z.right == span.right && z.bottom == span.bottom) last = i;
    }
    if (!first || !last || span_of(zones[*first], zones[*last], zones) != span) return std::nullopt;
    return std::pair{*first, *last};
}

std::string span_text(const Rect& r, const std::vector<Rect>& zones) {
    const std::vector<size_t> in = zones_inside(r, zones);
    if (in.size() == 1) return "zone " + std::to_string(in.front() + 1);
    std::string out = "span of zones ";
    for (size_t i = 0; i < in.size(); ++i) out += (i ? ", " : "") + std::to_string(in[i] + 1);
    return out;
}

std::optional<Rect> zone_or_span_near(const Rect& frame, const std::vector<Rect>& zones,
                                      int32_t tolerance) {
    for (const Rect& z : zones)
        if (!is_empty(z) && near(z, frame, tolerance)) return z;
    const Rect grown{saturate_int32(int64_t{frame.left} - tolerance),
                     saturate_int32(int64_t{frame.top} - tolerance),
                     saturate_int32(int64_t{frame.right} + tolerance),
                     saturate_int32(int64_t{frame.bottom} + tolerance)};
    std::optional<Rect> box;
    for (size_t i : zones_inside(grown, zones)) box = box ? bounding(*box, zones[i]) : zones[i];
    if (!box) return std::nullopt;
    auto span = zone_closure(*box, zones);
    if (span && near(*span, frame, tolerance)) return span;
    return std::nullopt;
}

std::optional<Rect> extend_span(const Rect& from, const std::vector<Rect>& zones, Direction d) {
    const bool horizontal = d == Direction::Left || d == Direction::Right;
    std::optional<Rect> best;
    int64_t best_gap = 0, best_overlap = 0;
    for (const Rect& z : zones) {
        if (is_empty(z)) continue;
        int64_t gap = 0;
        switch (d) {
        case Direction::Left: gap = int64_t{from.left} - z.right; break;
        case Direction::Right: gap = int64_t{z.left} - from.right; break;
        case Direction::Up: gap = int64_t{from.top} - z.bottom; break;
        case Direction::Down: gap = int64_t{z.top} - from.bottom; break;
        }
        const int64_t shared = horizontal ? overlap_length(from.top, from.bottom, z.top, z.bottom)
                                          : overlap_length(from.left, from.right, z.left, z.right);
        if (gap < 0 || shared == 0) continue;
        if (!best || gap < best_gap || (gap == best_gap && shared > best_overlap)) {
            best = z;
            best_gap = gap;
            best_overlap = shared;
        }
    }
    if (!best) return std::nullopt;
    return span_of(from, *best, zones);
}

}  // namespace tw
