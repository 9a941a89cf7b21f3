#include "core/engine/stranded_windows.h"

#include <algorithm>
#include <string>

#include "core/engine/engine_placement.h"
#include "core/base/log.h"

namespace tw {

namespace {

// Distance along one axis from v to the half-open range [lo, hi): 0 inside.
int64_t axis_gap(int32_t v, int32_t lo, int32_t hi) {
    if (v < lo) return int64_t{lo} - v;
    if (v >= hi) return int64_t{v} - hi + 1;
    return 0;
}

bool zone_on_table(const std::vector<ConfinerRow>& table, const HeldWindow& hw) {
    for (const ConfinerRow& row : table)
        if (hold_fits(hw, row.zones)) return true;
    return false;
}

}  // namespace

const ConfinerRow* nearest_row(const std::vector<ConfinerRow>& table, Point p) {
    const ConfinerRow* best = nullptr;
    int64_t best_distance = 0;
    for (const ConfinerRow& row : table) {
        const int64_t dx = axis_gap(p.x, row.monitor.left, row.monitor.right);
        const int64_t dy = axis_gap(p.y, row.monitor.top, row.monitor.bottom);
        const int64_t distance = dx * dx + dy * dy;  // each gap is below 2^33
        if (!best || distance < best_distance) {
            best = &row;
            best_distance = distance;
        }
    }
    return best;
}

size_t bring_back_stranded(Confiner& confiner, Desktop& desktop) {
    const std::vector<ConfinerRow>& table = confiner.monitor_table();
    size_t moved = 0;
    for (WindowId w : confiner.held_windows()) {
        const HeldWindow* hw = confiner.hold(w);
        if (!hw || zone_on_table(table, *hw)) continue;
        if (!desktop.is_window(w) || desktop.is_iconic(w) || !desktop.is_visible(w) ||
            desktop.is_cloaked(w))
            continue;
        if (desktop.monitor_of_window(w)) continue;  // the system has moved it already
        if (desktop.is_zoomed(w)) desktop.restore(w);
        auto wr = desktop.window_rect(w);
        if (!wr) continue;
        const Rect vis = desktop.visible_frame(w, *wr);
        const Point c = centre(vis);
        const ConfinerRow* row = nearest_row(table, c);
        if (!row) break;
        auto zone = zone_at_point(c, row->zones);
        if (!zone) continue;
        const Rect target = window_target_rect(desktop, w, *zone, *wr, vis);
        confiner.own_sizes().note_placement(w, *wr, target);
        log("confiner: bring back hwnd=" + std::to_string(w) + " from a monitor that is gone -> " +
            rect_text(target));
        confiner.confiner_place(w, target);
        confiner.record_hold(w, *zone, target);
        ++moved;
    }
    return moved;
}

}  // namespace tw
