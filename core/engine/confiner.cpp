#include "core/engine/confiner.h"

#include <algorithm>

#include "core/engine/engine_placement.h"
#include "core/engine/zone_span.h"
#include "core/base/log.h"

namespace tw {

namespace {

constexpr int32_t kTolerance = 2;

std::string id_text(WindowId w) { return std::to_string(w); }
const char* flag_text(bool b) { return b ? "true" : "false"; }

uint64_t elapsed(uint64_t now, uint64_t since) { return now > since ? now - since : 0; }

}  // namespace

bool hold_fits(const HeldWindow& hw, const std::vector<Rect>& zones) {
    return hw.span ? is_zone_or_span(hw.zone, zones) : contains_zone(zones, hw.zone);
}

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

void Confiner::set_monitor_table(std::vector<ConfinerRow> table) {
    table_ = std::move(table);
    ++config_;
    // Destroyed windows would otherwise stay listed for the rest of the run.
    std::erase_if(surrendered_, [this](WindowId w) { return !desktop_.is_window(w); });
    std::erase_if(hung_, [this](WindowId w) { return !desktop_.is_window(w); });
    std::erase_if(spans_, [this](const auto& e) { return !desktop_.is_window(e.first); });
}

bool Confiner::is_span(const Rect& rect) const {
    if (std::any_of(table_.begin(), table_.end(),
                    [&](const ConfinerRow& row) { return contains_zone(row.zones, rect); }))
        return false;
    return std::any_of(table_.begin(), table_.end(),
                       [&](const ConfinerRow& row) { return is_zone_or_span(rect, row.zones); });
}

void Confiner::note_placed(WindowId w, const Rect& rect) {
    ++config_;  // a foreground window judged quiet may be judged otherwise now
    spans_.erase(w);
    if (!is_span(rect)) return;
    if (spans_.size() >= 64)  // a long run: windows that are gone are forgotten
        std::erase_if(spans_, [this](const auto& e) { return !desktop_.is_window(e.first); });
    spans_[w] = rect;
}

std::optional<Rect> Confiner::placed_span(WindowId w) const {
    auto it = spans_.find(w);
    if (it == spans_.end()) return std::nullopt;
    return it->second;
}

void Confiner::reset() {
    ++epoch_;
    surrendered_.clear();
    held_.clear();
    spans_.clear();
    streak_ = {};
    last_takeover_.clear();
    ++config_;
    quiet_fg_.reset();
    quiet_held_.clear();
}

void Confiner::clear() {
    reset();
    table_.clear();
    ignore_.clear();
    events_.clear();
    overlay_log_.clear();
    own_sizes_.clear();
    hung_.clear();
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
    spans_.erase(w);  // held from now on: the hold keeps its zone or span
    auto it = held_.find(w);
    if (it == held_.end()) {
        HeldWindow hw;
        hw.zone = zone;
        hw.rect = rect;
        hw.span = is_span(zone);
        held_.emplace(w, hw);
        return;
    }
    it->second.zone = zone;
    it->second.rect = rect;
    it->second.span = is_span(zone);
    it->second.release_pending = false;
    it->second.release_delay = 50;
}

void Confiner::drop_hold(WindowId w) {
    held_.erase(w);
    quiet_held_.erase(w);
}

void Confiner::move_hold(WindowId w, const Rect& zone) { move_hold(w, zone, zone); }

void Confiner::move_hold(WindowId w, const Rect& zone, const Rect& rect) {
    auto it = held_.find(w);
    if (it == held_.end()) return;
    it->second.zone = zone;
    it->second.rect = rect;
    it->second.span = is_span(zone);
}

void Confiner::hold_placed(WindowId w, const Rect& zone, const Rect& rect) {
    record_hold(w, zone, rect);
    schedule_settle(held_.at(w));
}

bool Confiner::confiner_place(WindowId w, const Rect& target) {
    const uint64_t epoch = epoch_;
    const int32_t cx = span(target.left, target.right);
    const int32_t cy = span(target.top, target.bottom);
    const uint32_t flags = kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder;
    desktop_.set_window_pos(w, target.left, target.top, cx, cy, flags);
    if (epoch != epoch_) return false;
    auto now = desktop_.window_rect(w);
    if (now && near(*now, target, kTolerance)) return true;
    log("confiner: plain placement of hwnd=" + id_text(w) +
        " was undone, retrying with NOSENDCHANGING");
    desktop_.set_window_pos(w, target.left, target.top, cx, cy, flags | kSwpNoSendChanging);
    if (epoch != epoch_) return false;
    // Read once more so that the system has applied the move before the next query;
    // a window that resists even this is dealt with by the budget and surrender rules.
    (void)desktop_.window_rect(w);
    return true;
}

bool Confiner::restore_window(WindowId w) {
    const uint64_t epoch = epoch_;
    desktop_.restore(w);
    return epoch == epoch_;
}

bool Confiner::skip_hung(WindowId w) {
    if (!desktop_.is_hung(w)) {
        hung_.erase(w);
        return false;
    }
    if (hung_.insert(w).second)
        log("confiner: skip hwnd=" + id_text(w) + " (not responding); tried again on the next pass");
    return true;
}

void Confiner::log_takeover(std::string line) {
    // A window that already fills its zone (a one-zone layout) is seen like this on
    // every pass; the line is written again only when something in it changed.
    if (line == last_takeover_) return;
    log(line);
    last_takeover_ = std::move(line);
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

bool Confiner::settle_check(WindowId w, HeldWindow& hw) {
    if (!hw.settle_pending || now_ms() < hw.settle_at) return true;
    hw.settle_pending = false;
    const Rect at = hw.rect;
    log("confiner: settle hwnd=" + id_text(w) + " at " + rect_text(at));
    return confiner_place(w, at);
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

Confiner::Quiet Confiner::quiet_state(WindowId w, std::optional<WindowSnapshot> snap) const {
    Quiet q;
    q.snap = snap;
    if (const HeldWindow* hw = hold(w)) q.hold = *hw;
    q.surrendered = is_surrendered(w);
    q.config = config_;
    return q;
}

bool Confiner::still_quiet(WindowId w, const Quiet& q,
                           const std::optional<WindowSnapshot>& snap) const {
    if (q.snap != snap || q.config != config_ || q.surrendered != is_surrendered(w)) return false;
    const HeldWindow* hw = hold(w);
    return hw ? q.hold && *q.hold == *hw : !q.hold;
}

void Confiner::confine_tick() {
    if (table_.empty()) return;
    const WindowId f = desktop_.foreground_window();
    last_foreground_ = f;
    // A streak is a run of attempts on a window that stays in the foreground: a pass
    // that finds another window there ends it. Otherwise a window the user maximises
    // again long after its last confine, having turned to another window before a pass
    // saw it in its zone, would be taken for one that fights back and surrendered.
    if (streak_.window != f) clear_streak_of(streak_.window);
    // The program's own windows are left alone whatever their state.
    const bool needs_snap = f && std::find(ignore_.begin(), ignore_.end(), f) == ignore_.end();
    std::optional<WindowSnapshot> snap;
    if (needs_snap) snap = desktop_.snapshot(f);
    if (quiet_fg_ && quiet_window_ == f && still_quiet(f, *quiet_fg_, snap)) {
        events_.insert(events_.end(), quiet_fg_->events.begin(), quiet_fg_->events.end());
        background_half(quiet_fg_->passed_window_filters ? f : 0);
        return;
    }
    quiet_fg_.reset();
    ForegroundWindow fg = filter_foreground(desktop_, f, ignore_, own_pid_, table_, overlay_log_);
    if (fg.cloaked) clear_streak_of(streak_.window);  // no window is in front of the user
    if (fg.passed_window_filters && skip_ && skip_(f)) {
        fg = ForegroundWindow();  // left alone on every pass, as a filtered window
        fg.window = f;
    }
    const size_t first_event = events_.size();
    const uint64_t config = config_;
    steady_ = !fg.eligible;  // a filtered window is left alone on every pass
    if (fg.eligible && !foreground_half(fg)) return;
    if (steady_ && !fg.cloaked && (!needs_snap || snap) && config == config_) {
        quiet_window_ = f;
        quiet_fg_ = quiet_state(f, snap);
        quiet_fg_->passed_window_filters = fg.passed_window_filters;
        quiet_fg_->events.assign(events_.begin() + static_cast<std::ptrdiff_t>(first_event),
                                 events_.end());
    }
    background_half(fg.passed_window_filters ? fg.window : 0);
}

bool Confiner::foreground_half(const ForegroundWindow& fg) {
    const WindowId f = fg.window;
    // Minimised, the window is parked far off-screen: judged there it would lose its
    // hold. It is left alone until it is shown again, as in the background half.
    if (desktop_.is_iconic(f)) {
        mark_steady();
        return true;
    }
    if (skip_hung(f)) return true;
    auto wr = desktop_.window_rect(f);
    if (!wr) return true;
    const Rect vis = desktop_.visible_frame(f, *wr);
    const bool covers_mon = covers(*wr, fg.monitor.monitor);
    const bool covers_work = covers(*wr, fg.monitor.work);
    const bool zoomed = desktop_.is_zoomed(f);
    if (covers_mon || covers_work || zoomed) {
        log_takeover("confiner: takeover hwnd=" + id_text(f) + " cls='" + fg.cls + "' wr=" +
                     rect_text(*wr) + " mon=" + rect_text(fg.monitor.monitor) + " work=" +
                     rect_text(fg.monitor.work) + " covers_mon=" + flag_text(covers_mon) +
                     " covers_work=" + flag_text(covers_work) + " zoomed=" + flag_text(zoomed));
        return takeover(f, fg.cls, fg.monitor, fg.zones, *wr, vis, zoomed);
    }
    last_takeover_.clear();
    return judge_foreground(f, fg.monitor, fg.zones, *wr, vis);
}

bool Confiner::takeover(WindowId f, const std::string& cls, const MonitorRects& mr,
                        const std::vector<Rect>& zones, Rect wr, Rect vis, bool zoomed) {
    if (zones.empty()) {
        mark_steady();
        return true;
    }
    Rect target;
    bool held = false;
    bool kept_span = false;
    if (const HeldWindow* hw = hold(f); hw && hold_fits(*hw, zones)) {
        target = hw->zone;
        held = true;
    } else if (auto s = placed_span(f); s && is_zone_or_span(*s, zones)) {
        target = *s;
        kept_span = true;
    } else {
        std::optional<Rect> normal;
        if (auto wp = desktop_.window_placement(f)) normal = wp->normal_position;
        const Point p = takeover_point(zones, desktop_.cursor_pos(), normal, wr);
        target = *zone_at_point(p, zones);
    }
    if (!contains(mr.monitor, centre(target))) {
        log("confiner: skip, target not on this window's monitor. target=" + rect_text(target));
        return true;
    }
    if (near(vis, target, kTolerance)) {
        events_.push_back({ConfinerEventKind::InZone, f});
        record_hold(f, target, wr);
        surrendered_.erase(f);
        clear_streak_of(f);
        // The target is the hold's zone (or the kept span) on every later pass.
        if (held || kept_span) mark_steady();
        return true;
    }
    if (surrendered_.count(f)) {
        // Left alone whichever zone the cursor picks, as long as no zone is in place and
        // none is off the monitor.
        if (std::all_of(zones.begin(), zones.end(), [&](const Rect& z) {
                return contains(mr.monitor, centre(z)) && !near(vis, z, kTolerance);
            }))
            mark_steady();
        return true;
    }

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
                return true;
            }
            if (elapsed(now, streak_.last_placement) < kStreakMinGapMs) return true;
        }
    } else {
        streak_ = {f, now, 0, 1};
    }

    if (zoomed) {
        if (!restore_window(f)) return false;
        auto again = desktop_.window_rect(f);
        if (!again) return true;
        wr = *again;
        vis = desktop_.visible_frame(f, wr);
    }
    const Rect n = window_target_rect(desktop_, f, target, wr, vis);
    own_sizes_.note_placement(f, wr, n);
    if (kept_span)
        log("confiner: hwnd=" + id_text(f) + " goes back into the span it was put in " +
            rect_text(target));
    log("confiner: CONFINE hwnd=" + id_text(f) + " cls='" + cls + "' -> " + rect_text(n) +
        " (was zoomed=" + flag_text(zoomed) + ", held=" + flag_text(held) + ")");
    last_takeover_.clear();  // a window that fights back is reported again
    if (!confiner_place(f, n)) return false;
    events_.push_back({ConfinerEventKind::InZone, f});
    record_hold(f, target, n);
    schedule_settle(held_.at(f));
    streak_.last_placement = now_ms();
    return true;
}

bool Confiner::judge_foreground(WindowId f, const MonitorRects& mr,
                                const std::vector<Rect>& zones, const Rect& wr,
                                const Rect& vis) {
    auto it = held_.find(f);
    if (it != held_.end()) {
        HeldWindow& hw = it->second;
        const Judgement j = judge(wr, vis, false, hw.zone, hw.rect, zones, mr.monitor, mr.work);
        switch (j.verdict) {
        case Verdict::InPlace:
            if (!hw.settle_pending) mark_steady();
            hw.rect = wr;
            hw.release_pending = false;
            if (!settle_check(f, hw)) return false;
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
        bool in_zone = std::any_of(zones.begin(), zones.end(),
                                   [&](const Rect& z) { return near(vis, z, kTolerance); });
        if (!in_zone) {
            if (auto s = placed_span(f))
                in_zone = near(vis, *s, kTolerance) || near(wr, *s, kTolerance);
        }
        if (!in_zone) {
            spans_.erase(f);
            events_.push_back({ConfinerEventKind::NotInZone, f});
        }
        mark_steady();
    }
    surrendered_.erase(f);
    clear_streak_of(f);
    return true;
}

void Confiner::background_half(WindowId skip) {
    std::vector<WindowId> handles;
    handles.reserve(held_.size());
    for (const auto& [w, hw] : held_)
        if (w != skip) handles.push_back(w);
    for (WindowId h : handles)
        if (held_.count(h) && !background_one(h)) return;
}

bool Confiner::background_one(WindowId h) {
    const std::optional<WindowSnapshot> snap = desktop_.snapshot(h);
    if (auto q = quiet_held_.find(h); q != quiet_held_.end()) {
        if (snap && still_quiet(h, q->second, snap)) return true;
        quiet_held_.erase(q);
    }
    // Left as it is on every pass while nothing about it changes.
    auto steady = [&] {
        if (snap) quiet_held_[h] = quiet_state(h, snap);
        return true;
    };
    if (!desktop_.is_window(h)) {
        drop_hold(h);
        return true;
    }
    if (desktop_.is_iconic(h) || !desktop_.is_visible(h)) return steady();
    // On another virtual desktop the window keeps its hold and is left alone; not kept
    // as quiet, because it can come back without its rectangle or styles changing.
    if (desktop_.is_cloaked(h)) return true;
    if (skip_hung(h)) return true;
    auto mr = desktop_.monitor_of_window(h);
    if (!mr) return true;
    HeldWindow& hw = held_.at(h);
    const ConfinerRow* row = find_row(table_, mr->monitor);
    if (!row || !hold_fits(hw, row->zones)) {
        log("confiner: drop hold hwnd=" + id_text(h) + " (its zone or monitor is gone)");
        drop_hold(h);
        return true;
    }
    auto wr = desktop_.window_rect(h);
    if (!wr) return true;
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
    case Verdict::InPlace: {
        const bool settle_pending = hw.settle_pending;
        hw.release_pending = false;
        hw.rect = *wr;
        return settle_pending ? settle_check(h, hw) : steady();
    }
    case Verdict::Reconfine:
        hw.release_pending = false;
        return reconfine_background(h, hw, zoomed, *wr, vis);
    }
    return true;
}

bool Confiner::reconfine_background(WindowId h, HeldWindow& hw, bool zoomed, Rect wr,
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
        return true;
    }
    const Rect zone = hw.zone;
    // From here on `hw` is not used: the record is found again after each move.
    if (zoomed) {
        if (!restore_window(h)) return false;
        auto again = desktop_.window_rect(h);
        if (!again) return true;
        wr = *again;
        vis = desktop_.visible_frame(h, wr);
    }
    const Rect n = window_target_rect(desktop_, h, zone, wr, vis);
    own_sizes_.note_placement(h, wr, n);
    log("confiner: RE-CONFINE hwnd=" + id_text(h) + " wr=" + rect_text(wr) + " -> " +
        rect_text(n) + " (background)");
    if (!confiner_place(h, n)) return false;
    auto it = held_.find(h);
    if (it == held_.end()) return true;
    it->second.rect = n;
    schedule_settle(it->second);
    return true;
}

}  // namespace tw
