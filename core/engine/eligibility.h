#pragma once
// Which windows the placement engine may touch: never the program's own windows,
// never the parts of the Windows shell, and, for the confiner, never topmost or
// tool windows (overlays, toolbars, pop-ups that cover the screen by nature).
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/engine/desktop.h"
#include "core/base/geometry.h"

namespace tw {

// Taskbars, desktop, task switcher and their kin; compared exactly (case-sensitive).
bool is_shell_window_class(std::string_view cls);

// The program's own windows known to the engine. Null handles are allowed and match
// nothing.
struct OwnWindows {
    WindowId main = 0;
    WindowId highlight = 0;
    std::vector<WindowId> overlays;

    // Main, highlight, then the overlays, leaving out null handles: the confiner's
    // ignore list.
    std::vector<WindowId> ignore_list() const;
};

// The rules for placement the user asked for (drag snapping, keyboard moves). A cloaked
// window (another virtual desktop, a suspended app) is never snappable.
bool is_snappable(Desktop& desktop, WindowId w, const OwnWindows& own);

// One row of the confiner's monitor table.
struct ConfinerRow {
    Rect monitor;
    std::vector<Rect> zones;
    friend bool operator==(const ConfinerRow&, const ConfinerRow&) = default;
};

// The row whose monitor rectangle equals `monitor` exactly; null when none.
const ConfinerRow* find_row(const std::vector<ConfinerRow>& table, const Rect& monitor);

// Remembers which overlay-style windows were reported, so that a topmost video
// player seen on every pass is logged once, and again only when its class or
// extended style changes. Bounded: a new entry arriving when 64 or more are held
// empties the set first.
class OverlayStyleLog {
public:
    static constexpr size_t kLimit = 64;
    // Logs the skip line when the window is new or changed; returns whether it did.
    bool note(WindowId w, const std::string& cls, uint64_t ex_style);
    size_t size() const { return seen_.size(); }
    void clear() { seen_.clear(); }

private:
    std::map<WindowId, std::pair<std::string, uint64_t>> seen_;
};

// What the confiner learns about the foreground window while filtering it.
struct ForegroundWindow {
    WindowId window = 0;  // 0 also for a cloaked window: it counts as no window
    // The foreground window is cloaked. Its cloak can go without its rectangle or styles
    // changing, so the verdict must not be kept as a quiet one.
    bool cloaked = false;
    // Not null, not ours, visible, not of our process, not a shell class, not
    // overlay-style, and on a monitor that can be read. Such a window is left to the
    // foreground half even when its monitor has no zones.
    bool passed_window_filters = false;
    // The window's monitor also has a row in the monitor table: the confiner may act.
    bool eligible = false;
    std::string cls;
    MonitorRects monitor;     // valid when passed_window_filters
    std::vector<Rect> zones;  // the row's zones (a copy), valid when eligible
};

// The confiner's foreground filter, in its fixed order, for the foreground window the
// caller has asked for.
ForegroundWindow filter_foreground(Desktop& desktop, WindowId foreground,
                                   const std::vector<WindowId>& ignore, uint32_t own_pid,
                                   const std::vector<ConfinerRow>& table,
                                   OverlayStyleLog& overlay_log);

}  // namespace tw
