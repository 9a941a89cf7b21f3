#include "app/windows/window_position.h"

#include "app/engine/win32_desktop.h"
#include "core/base/log.h"
#include "core/engine/monitors.h"

namespace tw::app {

std::optional<std::pair<int32_t, int32_t>> position_to_store(HWND hwnd) {
    const bool minimised = IsIconic(hwnd) != 0;
    RECT wr{};
    std::optional<Rect> window_rect;
    if (GetWindowRect(hwnd, &wr)) window_rect = to_rect(wr);
    std::optional<Rect> normal;
    Point workspace_offset;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (minimised && GetWindowPlacement(hwnd, &wp)) {
        normal = to_rect(wp.rcNormalPosition);
        // Tool windows keep their restored rectangle in screen coordinates.
        if (!(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            HMONITOR monitor = MonitorFromRect(&wp.rcNormalPosition, MONITOR_DEFAULTTONEAREST);
            if (GetMonitorInfoW(monitor, &mi))
                workspace_offset = {mi.rcWork.left - mi.rcMonitor.left,
                                    mi.rcWork.top - mi.rcMonitor.top};
        }
    }
    const std::optional<Point> p =
        window_position_to_store(minimised, window_rect, normal, workspace_offset);
    if (!p) {
        log(std::string("main: the window position cannot be read (") +
            (minimised ? "GetWindowPlacement" : "GetWindowRect") +
            " failed); the saved one is kept");
        return std::nullopt;
    }
    return std::pair<int32_t, int32_t>{p->x, p->y};
}

}  // namespace tw::app
