#include "core/engine/engine.h"

#include <utility>

#include "core/engine/engine_placement.h"
#include "core/engine/layout_follow.h"
#include "core/engine/stranded_windows.h"
#include "core/base/log.h"

namespace tw {

Engine::Engine(Desktop& desktop, Clock& clock, EngineShell& shell,
               std::function<void()> count_use)
    : desktop_(desktop),
      shell_(shell),
      count_use_(std::move(count_use)),
      confiner_(desktop, clock),
      clock_(clock),
      apps_(desktop),
      last_zones_(desktop, apps_) {}

const MonitorZones* row_containing(const std::vector<MonitorZones>& table, Point p) {
    for (const MonitorZones& row : table)
        if (contains(row.monitor, p)) return &row;
    return nullptr;
}

bool Engine::start() { return start_showing(true); }

bool Engine::start_showing(bool zones_visible) {
    // Starting twice would install a second set of hooks whose handles get lost.
    if (running_) return true;
    auto table = shell_.monitor_zone_table();
    if (table.empty()) {
        shell_.refresh();
        return false;
    }
    shell_.install_hooks();
    shell_.suspend_animation();
    running_ = true;
    zones_visible_ = zones_visible;
    dragging_ = false;
    target_.reset();
    anchor_.reset();
    confiner_.reset();
    last_zones_.watch_afresh();
    rebuild_overlays(std::move(table));
    shell_.set_timer(EngineTimer::ConfinePass, kConfinePassMs);
    shell_.refresh();
    return true;
}

void Engine::stop() {
    shell_.destroy_overlays();
    own_.overlays.clear();
    shell_.kill_timer(EngineTimer::ConfinePass);
    // A stop in the middle of a drag or right after a snap would otherwise leave these
    // timers ticking: the mouse hook that ends a drag is gone.
    shell_.kill_timer(EngineTimer::DragPoll);
    shell_.kill_timer(EngineTimer::Resnap);
    shell_.remove_hooks();
    shell_.hide_highlight();
    shell_.restore_animation();
    running_ = false;
    dragging_ = false;
    target_.reset();
    anchor_.reset();
    pending_resnap_.reset();
    table_.clear();
    confiner_.clear();
    shell_.refresh();
}

void Engine::restart() {
    // A layout change starts over with new zones; zones the user hid stay hidden.
    const bool visible = !running_ || zones_visible_;
    stop();
    start_showing(visible);
}

void Engine::toggle_running() {
    if (running_)
        stop();
    else
        start();
}

bool Engine::toggle_zones() {
    if (!running_) return false;
    zones_visible_ = !zones_visible_;
    shell_.show_overlays(zones_visible_);
    shell_.refresh();
    return true;
}

bool Engine::refresh_zones() {
    if (!running_) return false;
    auto table = shell_.monitor_zone_table();
    if (table.empty()) {
        stop();
        return false;
    }
    rebuild_overlays(std::move(table));
    bring_back_stranded(confiner_, desktop_);  // held on a monitor that is gone
    return true;
}

bool Engine::follow_layout_change() {
    if (!running_) return false;
    auto table = shell_.monitor_zone_table();
    if (table.empty()) {
        if (confiner_.hold_count() != 0)
            log("layout_follow: no screen has zones now, every window is let go");
        stop();
        return false;
    }
    const std::vector<MonitorZones> before = table_;
    rebuild_overlays(std::move(table));
    // A copy: a message handled while a window moves may rebuild the table.
    const std::vector<MonitorZones> after = table_;
    follow_zones(confiner_, desktop_, before, after);
    report_refused_moves();
    return true;
}

void Engine::rebuild_overlays(std::vector<MonitorZones> table) {
    shell_.destroy_overlays();
    own_.overlays = shell_.create_overlays(table, zones_visible_);
    std::vector<ConfinerRow> rows;
    rows.reserve(table.size());
    for (const MonitorZones& row : table) rows.push_back({row.monitor, row.zones});
    confiner_.set_monitor_table(std::move(rows));
    confiner_.set_ignore_list(own_.ignore_list());
    table_ = std::move(table);
}

void Engine::on_confine_trigger() {
    if (!running_) return;
    confiner_.confine_tick();
    std::vector<ConfinerEvent> events = confiner_.take_events();
    last_zones_.note_events(events, confiner_, table_);
    tally_.consume(std::move(events), desktop_, count_use_);
    // The pass may have stopped the engine (a message handled while a window moved).
    if (running_) confiner_.own_sizes().give_back(desktop_, confiner_.monitor_table());
    report_refused_moves();
    open_new_windows();
}

void Engine::set_app_rules(std::vector<std::string> excluded, bool open_in_last_zone) {
    apps_.set_excluded(std::move(excluded));
    if (apps_.excluded().empty())
        confiner_.set_skip(nullptr);
    else
        confiner_.set_skip([this](WindowId w) { return apps_.is_excluded(w); });
    for (WindowId w : confiner_.held_windows()) {
        if (!apps_.is_excluded(w)) continue;
        log("confiner: drop hold hwnd=" + std::to_string(w) + " (its application is excluded)");
        confiner_.drop_hold(w);
    }
    last_zones_.set_enabled(open_in_last_zone);
}

void Engine::open_new_windows() {
    if (!running_ || !last_zones_.enabled()) return;
    const auto openings =
        last_zones_.take_openings(table_, own_.ignore_list(), desktop_.current_process_id(),
                                  clock_.now_ms(), confiner_.last_foreground());
    for (const auto& opening : openings) {
        if (!place_window_in_zone(desktop_, opening.window, opening.zone, &confiner_.own_sizes())) {
            log("last_zone: hwnd=" + std::to_string(opening.window) + " could not be placed");
            continue;
        }
        count_use();
        // The placement waits for the window's application; a stop meanwhile ends here.
        if (!running_) return;
        note_placed(opening.window, opening.zone);
        // Applications that size themselves once shown are put back a moment later.
        pending_resnap_ = PendingResnap{opening.window, opening.zone};
        shell_.set_timer(EngineTimer::Resnap, kResnapMs);
    }
    if (!openings.empty()) report_refused_moves();
}

void Engine::report_refused_moves() {
    if (refused_.note(desktop_, desktop_.take_refused_windows())) shell_.notify_refused_moves();
}

}  // namespace tw
