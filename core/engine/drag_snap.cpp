// Shift-drag snapping: while the left button is held with Shift down, the zone under
// the cursor is highlighted; on release the foreground window goes into it, and once
// more a moment later for applications that adjust themselves after a move. With Ctrl
// down as well, the first zone under the cursor becomes the anchor and the target is
// the span of the anchor and the zone under the cursor.
#include <cstdlib>
#include <string>
#include <utility>

#include "core/engine/engine.h"
#include "core/engine/engine_placement.h"
#include "core/engine/zone_span.h"
#include "core/base/log.h"

namespace tw {

void Engine::on_press() {
    // A press queued before a stop would otherwise start a poll timer nobody ends.
    if (!running_) return;
    dragging_ = false;
    released_by_poll_ = false;
    target_.reset();
    anchor_.reset();
    press_ = desktop_.cursor_pos().value_or(Point{0, 0});
    shell_.set_timer(EngineTimer::DragPoll, kDragPollMs);
}

void Engine::on_drag_poll() {
    if (!running_) return;
    // The button is found up before the hook's release arrived: a move posted just
    // before the release is handled after it, or the release was missed altogether (a
    // switch to the secure desktop, a hook time-out). Either way the press is over:
    // a drag ends as a release would, with the target it had while the button was
    // still down, so no snap is lost and later mouse moves are not taken for a drag.
    if (!desktop_.left_button_down()) {
        if (dragging_) {
            log("dragend: button found up before its release arrived");
            on_release();
            released_by_poll_ = true;
            return;
        }
        shell_.kill_timer(EngineTimer::DragPoll);
        target_.reset();
        return;
    }
    if (!desktop_.shift_down()) {
        shell_.hide_highlight();
        target_.reset();
        anchor_.reset();
        return;
    }
    const Point c = desktop_.cursor_pos().value_or(press_);
    if (!dragging_) {
        const int64_t dx = std::llabs(int64_t{c.x} - press_.x);
        const int64_t dy = std::llabs(int64_t{c.y} - press_.y);
        if (dx < kDragThreshold && dy < kDragThreshold) return;
    }
    dragging_ = true;
    const Point at = desktop_.cursor_pos().value_or(Point{0, 0});
    const MonitorZones* row = row_containing(table_, at);
    std::optional<Rect> next;
    if (row) next = zone_at_point(c, row->zones);
    if (next && desktop_.ctrl_down()) {
        // The anchor stays on the monitor it was taken on: a span never crosses monitors.
        const auto& zones = row->zones;
        if (!anchor_ || !contains_zone(zones, *anchor_)) {
            anchor_ = next;
            log("drag: span anchor " + span_text(*next, zones) + " " + rect_text(*next));
        }
        next = span_of(*anchor_, *next, zones);
    } else if (anchor_ && !desktop_.ctrl_down()) {
        anchor_.reset();
    }
    if (next == target_) return;
    target_ = next;
    if (target_)
        shell_.show_highlight(*target_);
    else
        shell_.hide_highlight();
}

void Engine::on_release() {
    shell_.kill_timer(EngineTimer::DragPoll);
    if (std::exchange(released_by_poll_, false)) return;
    const std::optional<Rect> zone = std::exchange(target_, std::nullopt);
    anchor_.reset();
    const bool was_dragging = std::exchange(dragging_, false);
    shell_.hide_highlight();
    if (!was_dragging) {
        log("dragend: not a drag");
        return;
    }
    if (!zone) {
        log("dragend: no target zone");
        return;
    }
    const WindowId w = desktop_.foreground_window();
    if (!is_snappable(desktop_, w, own_)) {
        log("dragend: skip own/none/shell hwnd=" + std::to_string(w));
        return;
    }
    if (apps_.is_excluded(w)) {
        log("dragend: skip hwnd=" + std::to_string(w) + " of excluded application '" +
            apps_.exe_path(w) + "'");
        return;
    }
    std::string what;
    if (const MonitorZones* row = row_containing(table_, centre(*zone)))
        if (!contains_zone(row->zones, *zone))
            what = " (" + span_text(*zone, row->zones) + ")";
    log("SNAP hwnd=" + std::to_string(w) + " cls='" + desktop_.class_name(w) + "' -> " +
        rect_text(*zone) + what);
    confiner_.move_hold(w, *zone);
    if (auto placed = place_window_in_zone(desktop_, w, *zone, &confiner_.own_sizes())) {
        if (placed->fixed_size) confiner_.move_hold(w, *zone, placed->target);
        count_use();
        if (running_) note_placed(w, *zone);
    }
    report_refused_moves();
    // The placement waits for the window's application; a stop handled meanwhile
    // leaves no re-snap behind.
    if (!running_) return;
    pending_resnap_ = PendingResnap{w, *zone};
    shell_.set_timer(EngineTimer::Resnap, kResnapMs);
}

void Engine::on_resnap() {
    shell_.kill_timer(EngineTimer::Resnap);
    const auto pending = std::exchange(pending_resnap_, std::nullopt);
    if (!pending) return;
    // The user switched to another virtual desktop in the meantime.
    if (desktop_.is_cloaked(pending->window)) {
        log("re-snap: skip cloaked hwnd=" + std::to_string(pending->window));
        return;
    }
    log("re-snap hwnd=" + std::to_string(pending->window) + " -> " + rect_text(pending->zone));
    place_window_in_zone(desktop_, pending->window, pending->zone, &confiner_.own_sizes());
    report_refused_moves();
}

}  // namespace tw
