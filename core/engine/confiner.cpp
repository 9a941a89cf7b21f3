#include "core/engine/confiner.h"

#include <algorithm>

#include "core/engine/engine_placement.h"
#include "core/base/log.h"

namespace tw {

namespace {

constexpr int32_t kTolerance = 2;

std::string id_text(WindowId w) { return std::to_string(w); }
const char* flag_text(bool b) { return b ? "true" : "false"; }

bool contains_zone(const std::vector<Rect>& zones, const Rect& z) {
    return std::find(zones.begin(), zones.end(), z) != zones.end();
}

uint64_t elapsed(uint64_t now, uint64_t since) { return now > since ? now - since : 0; }

}  // namespace

Judgement judge(const Rect& wr, const Rect& vis, bool zoomed, const Rect& hold_zone,
                const Rect& hold_rect, const std::vector<Rect>& zones, const Rect& monitor,
                const Rect& work) {
    if (near(vis, hold_zone, kTolerance) || near(wr, hold_zone, kTolerance) ||
        near(wr, hold_rect, kTolerance))
        return {Verdict::InPlace, {}};
    if (zoomed) return {Verdict::Reconfine, {}};
    if (covers(wr, monitor) || covers(wr, work)) return {Verdict::Reconfine, {}};
    for (const Rect& z : zones)
        if (!is_empty(z) && (near(vis, z, kTolerance) || near(wr, z, kTolerance)))
            return {Verdict::MovedTo, z};
    return {Verdict::Release, {}};
}

Point takeover_point(const std::vector<Rect>& zones, std::optional<Point> cursor,
                     std::optional<Rect> normal_rect, const Rect& wr) {
    if (!zones.empty()) {
        Rect box = zones.front();
        for (const Rect& z : zones) {
            box.left = std::min(box.left, z.left);
            box.top = std::min(box.top, z.top);
            box.right = std::max(box.right, z.right);
            box.bottom = std::max(box.bottom, z.bottom);
        }
        if (cursor && contains(box, *cursor)) return *cursor;
        if (normal_rect) {
            // Compared in floating point: the 90 % bound need not be a whole pixel.
            const double w = double(normal_rect->right) - normal_rect->left;
            const double h = double(normal_rect->bottom) - normal_rect->top;
            const double box_w = double(box.right) - box.left;
            const double box_h = double(box.bottom) - box.top;
            if (w > 0 && w < 0.9 * box_w && h < 0.9 * box_h) return centre(*normal_rect);
        }
    }
    return centre(wr);
}

Confiner::Confiner(Desktop& desktop, Clock& clock)
    : desktop_(desktop),
      clock_(clock),
      time_base_(clock.now_ms()),
      own_pid_(desktop.current_process_id()) {}

uint64_t Confiner::now_ms() const { return elapsed(clock_.now_ms(), time_base_); }

void Confiner::reset() {
    surrendered_.clear();
    held_.clear();
    streak_ = {};
}

void Confiner::clear() {
    reset();
    table_.clear();
    ignore_.clear();
    events_.clear();
    overlay_log_.clear();
    time_base_ = clock_.now_ms();
    own_pid_ = desktop_.current_process_id();
}

std::vector<ConfinerEvent> Confiner::take_events() {
    std::vector<ConfinerEvent> out;
    out.swap(events_);
    return out;
}

const HeldWindow* Confiner::hold(WindowId w) const {
    auto it = held_.find(w);
    return it == held_.end() ? nullptr : &it->second;
}

void Confiner::record_hold(WindowId w, const Rect& zone, const Rect& rect) {
    auto it = held_.find(w);
    if (it == held_.end()) {
        HeldWindow hw;
        hw.zone = zone;
        hw.rect = rect;
        held_.emplace(w, hw);
        return;
    }
    it->second.zone = zone;
    it->second.rect = rect;
    it->second.release_pending = false;
    it->second.release_delay = 50;
}

void Confiner::drop_hold(WindowId w) { held_.erase(w); }

void Confiner::move_hold(WindowId w, const Rect& zone) {
    auto it = held_.find(w);
    if (it == held_.end()) return;
    it->second.zone = zone;
    it->second.rect = zone;
}

void Confiner::confiner_place(WindowId w, const Rect& target) {
    const int32_t cx = span(target.left, target.right);
    const int32_t cy = span(target.top, target.bottom);
    const uint32_t flags = kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder;
    desktop_.set_window_pos(w, target.left, target.top, cx, cy, flags);
    auto now = desktop_.window_rect(w);
    if (now && near(*now, target, kTolerance)) return;
    log("confiner: plain placement of hwnd=" + id_text(w) +
        " was undone, retrying with NOSENDCHANGING");
    desktop_.set_window_pos(w, target.left, target.top, cx, cy, flags | kSwpNoSendChanging);
    // Read once more so that the system has applied the move before the next query;
    // a window that resists even this is dealt with by the budget and surrender rules.
    (void)desktop_.window_rect(w);
}

bool Confiner::release_check(HeldWindow& hw) {
    const uint64_t now = now_ms();
    if (!hw.release_pending) {
        hw.release_pending = true;
        hw.release_since = now;
        return false;
    }
    return elapsed(now, hw.release_since) >= hw.release_delay;
}

void Confiner::settle_check(WindowId w, HeldWindow& hw) {
    if (!hw.settle_pending || now_ms() < hw.settle_at) return;
    hw.settle_pending = false;
    log("confiner: settle hwnd=" + id_text(w) + " at " + rect_text(hw.rect));
    confiner_place(w, hw.rect);
}

void Confiner::schedule_settle(HeldWindow& hw) {
    hw.settle_pending = true;
    hw.settle_at = now_ms() + kSettleDelayMs;
}

void Confiner::clear_streak_of(WindowId w) {
    if (streak_.window == w) {
        streak_.window = 0;
        streak_.rounds = 0;
    }
}

void Confiner::confine_tick() {
    if (table_.empty()) return;
    const ForegroundWindow fg = filter_foreground(desktop_, ignore_, own_pid_, table_, overlay_log_);
    if (fg.eligible) foreground_half(fg);
    background_half(fg.passed_window_filters ? fg.window : 0);
}

void Confiner::foreground_half(const ForegroundWindow& fg) {
    const WindowId f = fg.window;
    auto wr = desktop_.window_rect(f);
    if (!wr) return;
    const Rect vis = desktop_.visible_frame(f, *wr);
    const bool covers_mon = covers(*wr, fg.monitor.monitor);
    const bool covers_work = covers(*wr, fg.monitor.work);
    const bool zoomed = desktop_.is_zoomed(f);
    if (covers_mon || covers_work || zoomed) {
        log("confiner: takeover hwnd=" + id_text(f) + " cls='" + fg.cls + "' wr=" +
            rect_text(*wr) + " mon=" + rect_text(fg.monitor.monitor) + " work=" +
            rect_text(fg.monitor.work) + " covers_mon=" + flag_text(covers_mon) +
            " covers_work=" + flag_text(covers_work) + " zoomed=" + flag_text(zoomed));
        takeover(f, fg.cls, fg.monitor, fg.zones, *wr, vis, zoomed);
        return;
    }
    judge_foreground(f, fg.monitor, fg.zones, *wr, vis);
}

void Confiner::takeover(WindowId f, const std::string& cls, const MonitorRects& mr,
                        const std::vector<Rect>& zones, Rect wr, Rect vis, bool zoomed) {
    if (zones.empty()) return;
    Rect target;
    bool held = false;
    if (const HeldWindow* hw = hold(f); hw && contains_zone(zones, hw->zone)) {
        target = hw->zone;
        held = true;
    } else {
        std::optional<Rect> normal;
        if (auto wp = desktop_.window_placement(f)) normal = wp->normal_position;
        const Point p = takeover_point(zones, desktop_.cursor_pos(), normal, wr);
        target = *zone_at_point(p, zones);
    }
    if (!contains(mr.monitor, centre(target))) {
        log("confiner: skip, target not on this window's monitor. target=" + rect_text(target));
        return;
    }
    if (near(vis, target, kTolerance)) {
        events_.push_back({ConfinerEventKind::InZone, f});
        record_hold(f, target, wr);
        surrendered_.erase(f);
        clear_streak_of(f);
        return;
    }
    if (surrendered_.count(f)) return;

    const uint64_t now = now_ms();
    if (streak_.window == f) {
        ++streak_.rounds;
        if (streak_.rounds > 1) {
            if (elapsed(now, streak_.first_attempt) > kSurrenderAfterMs) {
                log("confiner: surrender hwnd=" + id_text(f) + " after " +
                    std::to_string(streak_.rounds) + " rounds (hold dropped)");
                surrendered_.insert(f);
                drop_hold(f);
                streak_.window = 0;
                streak_.rounds = 0;
                return;
            }
            if (elapsed(now, streak_.last_placement) < kStreakMinGapMs) return;
        }
    } else {
        streak_ = {f, now, 0, 1};
    }

    if (zoomed) {
        desktop_.restore(f);
        auto again = desktop_.window_rect(f);
        if (!again) return;
        wr = *again;
        vis = desktop_.visible_frame(f, wr);
    }
    const Rect n = zone_target_rect(target, wr, vis);
    log("confiner: CONFINE hwnd=" + id_text(f) + " cls='" + cls + "' -> " + rect_text(n) +
        " (was zoomed=" + flag_text(zoomed) + ", held=" + flag_text(held) + ")");
    confiner_place(f, n);
    events_.push_back({ConfinerEventKind::InZone, f});
    record_hold(f, target, n);
    schedule_settle(held_.at(f));
    streak_.last_placement = now_ms();
}

void Confiner::judge_foreground(WindowId f, const MonitorRects& mr,
                                const std::vector<Rect>& zones, const Rect& wr,
                                const Rect& vis) {
    auto it = held_.find(f);
    if (it != held_.end()) {
        HeldWindow& hw = it->second;
        const Judgement j = judge(wr, vis, false, hw.zone, hw.rect, zones, mr.monitor, mr.work);
        switch (j.verdict) {
        case Verdict::InPlace:
            hw.rect = wr;
            settle_check(f, hw);
            hw.release_pending = false;
            break;
        case Verdict::Reconfine:
            hw.release_pending = false;
            break;
        case Verdict::MovedTo:
            record_hold(f, j.zone, wr);
            break;
        case Verdict::Release:
            if (release_check(hw)) {
                log("confiner: release hold hwnd=" + id_text(f) + " (foreground) wr=" +
                    rect_text(wr) + " vis=" + rect_text(vis));
                events_.push_back({ConfinerEventKind::NotInZone, f});
                drop_hold(f);
            }
            break;
        }
    } else {
        const bool in_zone = std::any_of(zones.begin(), zones.end(),
                                         [&](const Rect& z) { return near(vis, z, kTolerance); });
        if (!in_zone) events_.push_back({ConfinerEventKind::NotInZone, f});
    }
    surrendered_.erase(f);
    clear_streak_of(f);
}

void Confiner::background_half(WindowId skip) {
    std::vector<WindowId> handles;
    handles.reserve(held_.size());
    for (const auto& [w, hw] : held_)
        if (w != skip) handles.push_back(w);
    for (WindowId h : handles)
        if (held_.count(h)) background_one(h);
}

void Confiner::background_one(WindowId h) {
    if (!desktop_.is_window(h)) {
        drop_hold(h);
        return;
    }
    if (desktop_.is_iconic(h) || !desktop_.is_visible(h)) return;
    auto mr = desktop_.monitor_of_window(h);
    if (!mr) return;
    HeldWindow& hw = held_.at(h);
    const ConfinerRow* row = find_row(table_, mr->monitor);
    if (!row || !contains_zone(row->zones, hw.zone)) {
        log("confiner: drop hold hwnd=" + id_text(h) + " (its zone or monitor is gone)");
        drop_hold(h);
        return;
    }
    auto wr = desktop_.window_rect(h);
    if (!wr) return;
    const Rect vis = desktop_.visible_frame(h, *wr);
    const bool zoomed = desktop_.is_zoomed(h);
    const Judgement j = judge(*wr, vis, zoomed, hw.zone, hw.rect, row->zones, mr->monitor, mr->work);
    switch (j.verdict) {
    case Verdict::Release:
        if (release_check(hw)) {
            log("confiner: release hold hwnd=" + id_text(h) + " (background) wr=" +
                rect_text(*wr) + " vis=" + rect_text(vis));
            drop_hold(h);
        }
        break;
    case Verdict::MovedTo:
        hw.release_pending = false;
        record_hold(h, j.zone, *wr);
        break;
    case Verdict::InPlace:
        hw.release_pending = false;
        hw.rect = *wr;
        settle_check(h, hw);
        break;
    case Verdict::Reconfine:
        hw.release_pending = false;
        reconfine_background(h, hw, zoomed, *wr, vis);
        break;
    }
}

void Confiner::reconfine_background(WindowId h, HeldWindow& hw, bool zoomed, Rect wr,
                                    Rect vis) {
    const uint64_t now = now_ms();
    if (hw.reconfines == 0 || elapsed(now, hw.budget_start) > hw.budget_window) {
        hw.budget_start = now;
        hw.reconfines = 0;
    }
    ++hw.reconfines;
    if (hw.reconfines > hw.budget) {
        log("confiner: give up hold hwnd=" + id_text(h) + " (re-confine budget spent)");
        drop_hold(h);
        return;
    }
    if (zoomed) {
        desktop_.restore(h);
        auto again = desktop_.window_rect(h);
        if (!again) return;
        wr = *again;
        vis = desktop_.visible_frame(h, wr);
    }
    const Rect n = zone_target_rect(hw.zone, wr, vis);
    log("confiner: RE-CONFINE hwnd=" + id_text(h) + " wr=" + rect_text(wr) + " -> " +
        rect_text(n) + " (background)");
    confiner_place(h, n);
    hw.rect = n;
    schedule_settle(hw);
}

}  // namespace tw
