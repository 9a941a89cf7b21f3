#pragma once
// What the placement engine asks the Windows program to do: everything that needs a
// window handle of the program's own, a hook or a timer. The engine decides when;
// the shell only carries it out. Tests use a recording implementation.
#include <cstdint>
#include <vector>

#include "core/engine/desktop.h"
#include "core/base/geometry.h"
#include "core/engine/monitor_zones.h"

namespace tw {

// Timers on the main window, by their ids.
enum class EngineTimer : uint32_t {
    ConfinePass = 1,  // repeating, 120 ms, while the engine runs
    Resnap = 2,       // once, 80 ms after a snap
    DragPoll = 3,     // repeating, 30 ms, from press to release
};

inline constexpr uint32_t kConfinePassMs = 120;
inline constexpr uint32_t kResnapMs = 80;
inline constexpr uint32_t kDragPollMs = 30;

class EngineShell {
public:
    virtual ~EngineShell() = default;

    // The monitor zone table of the current settings and screens.
    virtual std::vector<MonitorZones> monitor_zone_table() = 0;

    // The two window-event hooks, then the low-level mouse hook; failures are
    // tolerated (the engine then runs on its timer alone).
    virtual void install_hooks() = 0;
    virtual void remove_hooks() = 0;
    // The system's minimise/restore animation: off while the engine runs, back to the
    // user's setting afterwards (never written when it was off to begin with).
    virtual void suspend_animation() = 0;
    virtual void restore_animation() = 0;

    // One overlay window per row, shown unless `visible` is false, with the rings of
    // shared zones cut out. Returns the windows in row order, 0 for a failed one.
    virtual std::vector<WindowId> create_overlays(const std::vector<MonitorZones>& rows,
                                                  bool visible) = 0;
    virtual void destroy_overlays() = 0;
    virtual void show_overlays(bool visible) = 0;

    // Moves the highlight window over `zone` without repainting and shows it without
    // activating it.
    virtual void show_highlight(const Rect& zone) = 0;
    virtual void hide_highlight() = 0;

    virtual void set_timer(EngineTimer timer, uint32_t interval_ms) = 0;
    virtual void kill_timer(EngineTimer timer) = 0;

    // Tray icon and main window show the engine's new state.
    virtual void refresh() = 0;

    // Tells the user, once per run, that windows of programs running as administrator
    // cannot be moved.
    virtual void notify_refused_moves() = 0;
};

}  // namespace tw
