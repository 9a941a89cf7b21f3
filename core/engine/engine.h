#pragma once
// The placement engine's state and decisions: start and stop, the confiner passes
// and the usage they count, and Shift-drag snapping. Keyboard moves and the hotkey
// actions live in keyboard_move.h. Every effect on the program's own windows, hooks
// and timers goes through EngineShell; other applications' windows through Desktop.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/engine/confiner.h"
#include "core/engine/desktop.h"
#include "core/engine/eligibility.h"
#include "core/engine/engine_shell.h"
#include "core/base/geometry.h"
#include "core/engine/monitor_zones.h"
#include "core/engine/last_zone.h"
#include "core/engine/refused_moves.h"
#include "core/engine/usage_tally.h"
#include "core/engine/window_apps.h"

namespace tw {

struct PendingResnap {
    WindowId window = 0;
    Rect zone;
    friend bool operator==(const PendingResnap&, const PendingResnap&) = default;
};

class Engine {
public:
    // A press becomes a drag once the cursor is this far from the press point along
    // either axis with Shift down.
    static constexpr int32_t kDragThreshold = 12;

    // count_use adds one to the usage counter and persists it.
    Engine(Desktop& desktop, Clock& clock, EngineShell& shell, std::function<void()> count_use);

    // The program's own windows, created at start-up before the engine can run.
    void set_main_window(WindowId w) { own_.main = w; }
    void set_highlight_window(WindowId w) { own_.highlight = w; }

    // Starts when the zone table has rows; otherwise stays stopped and only refreshes
    // the views. Returns whether the engine runs.
    bool start();
    void stop();
    // Stops and starts again with the zones shown or hidden as they were.
    void restart();
    // Start/stop control: stops a running engine, starts a stopped one.
    void toggle_running();
    // Hide/show zones control; does nothing while stopped. Returns whether it acted.
    bool toggle_zones();
    // Display or layout change while running: new overlays and confiner tables, or a
    // stop when no screen has zones any more; held windows stranded on a monitor that
    // is gone are brought back. Returns whether the engine still runs.
    bool refresh_zones();
    // A screen's zones changed while running (its active layout, the area its zones
    // cover, its Enabled flag): new overlays and tables, and every held window follows
    // into the zone with its number (see layout_follow.h); a stop when no screen has
    // zones any more. Every path that changes a layout calls this. Returns whether the
    // engine still runs.
    bool follow_layout_change();

    // A window moved or came to the foreground, or the pass timer ticked.
    void on_confine_trigger();
    // Left button pressed, mouse moved with the button down (and the poll timer),
    // left button released, the re-snap timer.
    void on_press();
    void on_drag_poll();
    void on_release();
    void on_resnap();
    // After placements: windows the desktop refused to move are logged, and the first
    // refusal of the run is told to the user.
    void report_refused_moves();

    bool running() const { return running_; }
    bool zones_visible() const { return zones_visible_; }
    bool dragging() const { return dragging_; }
    Point press_point() const { return press_; }
    const std::optional<Rect>& target() const { return target_; }
    // The zone a Shift-drag with Ctrl down spans from; none without Ctrl.
    const std::optional<Rect>& span_anchor() const { return anchor_; }
    const std::optional<PendingResnap>& pending_resnap() const { return pending_resnap_; }
    const std::vector<MonitorZones>& zone_table() const { return table_; }
    const OwnWindows& own_windows() const { return own_; }

    Desktop& desktop() { return desktop_; }
    Confiner& confiner() { return confiner_; }
    const Confiner& confiner() const { return confiner_; }
    const UsageTally& usage_tally() const { return tally_; }
    void count_use() {
        if (count_use_) count_use_();
    }

    // The applications the engine leaves alone (holds of their windows are dropped at
    // once) and whether new windows open in their application's last zone.
    void set_app_rules(std::vector<std::string> excluded, bool open_in_last_zone);
    WindowApps& window_apps() { return apps_; }
    LastZoneKeeper& last_zones() { return last_zones_; }
    // A snap, keyboard move, extend or opening put `w` into `zone` (a zone or a span) of
    // the zone table.
    void note_placed(WindowId w, const Rect& zone) {
        confiner_.note_placed(w, zone);
        last_zones_.placed(w, zone, table_);
    }

private:
    bool start_showing(bool zones_visible);
    void rebuild_overlays(std::vector<MonitorZones> table);

    Desktop& desktop_;
    EngineShell& shell_;
    std::function<void()> count_use_;
    Confiner confiner_;
    UsageTally tally_;
    RefusedMoves refused_;
    OwnWindows own_;
    std::vector<MonitorZones> table_;

    bool running_ = false;
    bool zones_visible_ = false;
    Point press_;
    bool dragging_ = false;
    // The drag poll found the button up and ended the drag: the hook's release that
    // follows has nothing left to do.
    bool released_by_poll_ = false;
    std::optional<Rect> target_;
    std::optional<Rect> anchor_;
    std::optional<PendingResnap> pending_resnap_;

    // New windows of applications with a remembered zone go there once.
    void open_new_windows();
    Clock& clock_;
    WindowApps apps_;
    LastZoneKeeper last_zones_;
};

// The first row whose monitor rectangle contains p; null when none does.
const MonitorZones* row_containing(const std::vector<MonitorZones>& table, Point p);

}  // namespace tw
