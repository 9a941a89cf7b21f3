#include "core/engine/eligibility.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/base/log.h"

namespace tw {

namespace {

// The parts of the Windows shell, and the desktop window itself ("#32769"): it can be
// the foreground window (Wine reports it whenever no application window is active),
// covers its whole monitor and must never be confined, snapped or moved.
constexpr std::array<std::string_view, 13> kShellClasses = {
    "Shell_TrayWnd",
    "Shell_SecondaryTrayWnd",
    "WorkerW",
    "Progman",
    "Windows.UI.Core.CoreWindow",
    "XamlExplorerHostIslandWindow",
    "MultitaskingViewFrame",
    "ForegroundStaging",
    "TaskSwitcherWnd",
    "TopLevelWindowForOverflowXamlIsland",
    "ControlCenterWindow",
    "NotifyIconOverflowWindow",
    "#32769",
};

std::string hex_upper(uint64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(v));
    return buf;
}

}  // namespace

bool is_shell_window_class(std::string_view cls) {
    return std::find(kShellClasses.begin(), kShellClasses.end(), cls) != kShellClasses.end();
}

std::vector<WindowId> OwnWindows::ignore_list() const {
    std::vector<WindowId> out;
    if (main) out.push_back(main);
    if (highlight) out.push_back(highlight);
    for (WindowId o : overlays)
        if (o) out.push_back(o);
    return out;
}

bool is_snappable(Desktop& desktop, WindowId w, const OwnWindows& own) {
    if (w == 0) return false;
    if (w == own.main || w == own.highlight) return false;
    if (std::find(own.overlays.begin(), own.overlays.end(), w) != own.overlays.end())
        return false;
    if (desktop.process_id(w) == desktop.current_process_id()) return false;
    if (is_shell_window_class(desktop.class_name(w))) return false;
    return !desktop.is_cloaked(w);
}

const ConfinerRow* find_row(const std::vector<ConfinerRow>& table, const Rect& monitor) {
    for (const ConfinerRow& row : table)
        if (row.monitor == monitor) return &row;
    return nullptr;
}

bool OverlayStyleLog::note(WindowId w, const std::string& cls, uint64_t ex_style) {
    auto it = seen_.find(w);
    if (it != seen_.end() && it->second.first == cls && it->second.second == ex_style)
        return false;
    log("confiner: skip overlay-style hwnd=" + std::to_string(w) + " cls='" + cls +
        "' ex_style=0x" + hex_upper(ex_style));
    if (seen_.size() >= kLimit) seen_.clear();
    seen_[w] = {cls, ex_style};
    return true;
}

ForegroundWindow filter_foreground(Desktop& desktop, WindowId foreground,
                                   const std::vector<WindowId>& ignore, uint32_t own_pid,
                                   const std::vector<ConfinerRow>& table,
                                   OverlayStyleLog& overlay_log) {
    ForegroundWindow out;
    out.window = foreground;
    const WindowId w = out.window;
    if (w == 0) return out;
    if (std::find(ignore.begin(), ignore.end(), w) != ignore.end()) return out;
    if (!desktop.is_visible(w)) return out;
    // Visible as far as IsWindowVisible knows, but not on the screen the user sees.
    if (desktop.is_cloaked(w)) {
        out.window = 0;
        out.cloaked = true;
        return out;
    }
    if (desktop.process_id(w) == own_pid) return out;
    out.cls = desktop.class_name(w);
    if (is_shell_window_class(out.cls)) return out;
    const uint64_t ex = desktop.ex_style(w);
    if (ex & (kWsExTopmost | kWsExToolWindow)) {
        overlay_log.note(w, out.cls, ex);
        return out;
    }
    auto mon = desktop.monitor_of_window(w);
    if (!mon) return out;
    out.monitor = *mon;
    out.passed_window_filters = true;
    const ConfinerRow* row = find_row(table, mon->monitor);
    if (!row) return out;
    out.zones = row->zones;
    out.eligible = true;
    return out;
}

}  // namespace tw
