#include "core/engine/engine_placement.h"

#include <algorithm>
#include <string>

#include "core/base/log.h"
#include "core/engine/own_size.h"

namespace tw {

int32_t span(int32_t from, int32_t to) { return Rect::saturating_span(from, to); }

Rect zone_target_rect(const Rect& zone, const Rect& wr, const Rect& vis) {
    // 64-bit sums: a window parked far off-screen must not wrap around.
    return {saturate_int32(int64_t{zone.left} + wr.left - vis.left),
            saturate_int32(int64_t{zone.top} + wr.top - vis.top),
            saturate_int32(int64_t{zone.right} + wr.right - vis.right),
            saturate_int32(int64_t{zone.bottom} + wr.bottom - vis.bottom)};
}

Rect fixed_size_target_rect(const Rect& zone, const Rect& wr, const Rect& vis) {
    const int64_t zone_w = std::max<int64_t>(0, int64_t{zone.right} - zone.left);
    const int64_t zone_h = std::max<int64_t>(0, int64_t{zone.bottom} - zone.top);
    const int64_t w = std::clamp<int64_t>(int64_t{vis.right} - vis.left, 0, zone_w);
    const int64_t h = std::clamp<int64_t>(int64_t{vis.bottom} - vis.top, 0, zone_h);
    const int64_t left = zone.left + (zone_w - w) / 2;
    const int64_t top = zone.top + (zone_h - h) / 2;
    return {saturate_int32(left + wr.left - vis.left), saturate_int32(top + wr.top - vis.top),
            saturate_int32(left + w + wr.right - vis.right),
            saturate_int32(top + h + wr.bottom - vis.bottom)};
}

Rect window_target_rect(Desktop& desktop, WindowId w, const Rect& zone, const Rect& wr,
                        const Rect& vis) {
    return desktop.is_fixed_size(w) ? fixed_size_target_rect(zone, wr, vis)
                                    : zone_target_rect(zone, wr, vis);
}

std::optional<ZonePlacement> place_window_in_zone(Desktop& desktop, WindowId w,
                                                  const Rect& zone, OwnSizes* own_sizes) {
    // Moving it would block the program until its application answers again.
    if (desktop.is_hung(w)) {
        log("place: skip hwnd=" + std::to_string(w) + " (not responding)");
        return std::nullopt;
    }
    if (desktop.is_zoomed(w)) desktop.restore(w);
    auto wr = desktop.window_rect(w);
    if (!wr) return std::nullopt;
    const Rect vis = desktop.visible_frame(w, *wr);
    const bool fixed = desktop.is_fixed_size(w);
    const Rect n = fixed ? fixed_size_target_rect(zone, *wr, vis) : zone_target_rect(zone, *wr, vis);
    if (own_sizes) own_sizes->note_placement(w, *wr, n);
    if (!desktop.set_window_pos(w, n.left, n.top, span(n.left, n.right), span(n.top, n.bottom),
                                kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder))
        return std::nullopt;
    return ZonePlacement{n, fixed};
}

bool place_in_zone(Desktop& desktop, WindowId w, const Rect& zone) {
    return place_window_in_zone(desktop, w, zone, nullptr).has_value();
}

}  // namespace tw
