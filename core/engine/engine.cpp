#include "core/engine/engine.h"

#include <utility>

#include "core/engine/stranded_windows.h"

namespace tw {

Engine::Engine(Desktop& desktop, Clock& clock, EngineShell& shell,
               std::function<void()> count_use)
    : desktop_(desktop),
      shell_(shell),
      count_use_(std::move(count_use)),
      confiner_(desktop, clock) {}

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
    confiner_.reset();
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
    tally_.consume(confiner_.take_events(), desktop_, count_use_);
    report_refused_moves();
}

void Engine::report_refused_moves() {
    if (refused_.note(desktop_, desktop_.take_refused_windows())) shell_.notify_refused_moves();
}

}  // namespace tw
