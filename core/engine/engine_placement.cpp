#include "core/engine/engine_placement.h"

#include <string>

#include "core/base/log.h"

namespace tw {

int32_t span(int32_t from, int32_t to) { return Rect::saturating_span(from, to); }

Rect zone_target_rect(const Rect& zone, const Rect& wr, const Rect& vis) {
    // 64-bit sums: a window parked far off-screen must not wrap around.
    return {saturate_int32(int64_t{zone.left} + wr.left - vis.left),
            saturate_int32(int64_t{zone.top} + wr.top - vis.top),
            saturate_int32(int64_t{zone.right} + wr.right - vis.right),
            saturate_int32(int64_t{zone.bottom} + wr.bottom - vis.bottom)};
}

bool place_in_zone(Desktop& desktop, WindowId w, const Rect& zone) {
    // Moving it would block the program until its application answers again.
    if (desktop.is_hung(w)) {
        log("place: skip hwnd=" + std::to_string(w) + " (not responding)");
        return false;
    }
    if (desktop.is_zoomed(w)) desktop.restore(w);
    auto wr = desktop.window_rect(w);
    if (!wr) return false;
    const Rect vis = desktop.visible_frame(w, *wr);
    const Rect n = zone_target_rect(zone, *wr, vis);
    return desktop.set_window_pos(w, n.left, n.top, span(n.left, n.right),
                                  span(n.top, n.bottom),
                                  kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder);
}

}  // namespace tw
