#include "core/engine/layout_follow.h"

#include <algorithm>
#include <string>

#include "core/base/log.h"
#include "core/engine/engine_placement.h"
#include "core/engine/zone_span.h"

namespace tw {

namespace {

// The row whose zones hold the window: its zone, or for a span hold, a span of them.
const MonitorZones* row_holding(const std::vector<MonitorZones>& table, const HeldWindow& hw) {
    for (const MonitorZones& row : table)
        if (hold_fits(hw, row.zones)) return &row;
    return nullptr;
}

const MonitorZones* row_of_screen(const std::vector<MonitorZones>& table, const std::string& id) {
    for (const MonitorZones& row : table)
        if (row.screen_id == id) return &row;
    return nullptr;
}

// A span goes to the span of the zones with the numbers of its corner zones, or, when
// the new zones have no such numbers, into the zone nearest to its centre.
std::optional<Rect> following_span(const Rect& held, const std::vector<Rect>& before,
                                   const std::vector<Rect>& after) {
    if (const auto corners = span_corners(held, before)) {
        const auto [first, last] = *corners;
        if (last < after.size() && first < after.size() && !is_empty(after[first]) && !is_empty(after[last]))
            return span_of(after[first], after[last], after);
    }
    return zone_at_point(centre(held), after);
}

std::string id_text(WindowId w) { return std::to_string(w); }

}  // namespace

std::optional<Rect> following_zone(const Rect& held, const std::vector<Rect>& before,
                                   const std::vector<Rect>& after) {
    auto it = std::find(before.begin(), before.end(), held);
    if (it != before.end()) {
        const auto n = static_cast<size_t>(it - before.begin());
        // An empty zone lay outside the screen: it keeps its number but takes no window.
        if (n < after.size() && !is_empty(after[n])) return after[n];
    }
    return zone_at_point(centre(held), after);
}

size_t follow_zones(Confiner& confiner, Desktop& desktop, const std::vector<MonitorZones>& before,
                    const std::vector<MonitorZones>& after) {
    size_t moved = 0;
    for (WindowId w : confiner.held_windows()) {
        const HeldWindow* hw = confiner.hold(w);
        if (!hw) continue;  // let go while an earlier window was being moved
        const Rect zone = hw->zone;
        const Rect rect = hw->rect;
        const MonitorZones* old_row = row_holding(before, *hw);
        if (!old_row) continue;  // not one of the engine's zones: the next pass decides
        const MonitorZones* new_row = row_of_screen(after, old_row->screen_id);
        std::optional<Rect> target;
        if (new_row)
            target = hw->span ? following_span(zone, old_row->zones, new_row->zones)
                              : following_zone(zone, old_row->zones, new_row->zones);
        if (!target) {
            log("layout_follow: let go hwnd=" + id_text(w) + " (its screen has no zones now)");
            confiner.drop_hold(w);
            continue;
        }
        if (*target == zone) continue;
        if (!desktop.is_window(w)) {
            confiner.drop_hold(w);
            continue;
        }
        // Moving such a window would wait for its application or undo its minimising:
        // the hold follows, the window goes into the zone when it is next confined.
        if (desktop.is_iconic(w) || !desktop.is_visible(w) || desktop.is_hung(w)) {
            confiner.record_hold(w, *target, rect);
            continue;
        }
        if (desktop.is_zoomed(w)) desktop.restore(w);
        if (!confiner.holds(w)) continue;  // the engine stopped while it was restored
        const auto wr = desktop.window_rect(w);
        if (!wr) continue;
        const Rect vis = desktop.visible_frame(w, *wr);
        const Rect n = window_target_rect(desktop, w, *target, *wr, vis);
        confiner.own_sizes().note_placement(w, *wr, n);
        log("layout_follow: hwnd=" + id_text(w) + " zone " + rect_text(zone) + " -> " +
            rect_text(*target) + " at " + rect_text(n));
        if (!confiner.confiner_place(w, n)) break;  // the engine stopped meanwhile
        confiner.hold_placed(w, *target, n);
        ++moved;
    }
    return moved;
}

}  // namespace tw
