#include "app/engine/win32_desktop.h"

#include <dwmapi.h>

#include <chrono>

#include "app/platform/wide_text.h"

namespace tw::app {

static_assert(kWsMaximize == WS_MAXIMIZE && kWsVisible == WS_VISIBLE && kWsMinimize == WS_MINIMIZE);
static_assert(kWsExTopmost == WS_EX_TOPMOST && kWsExToolWindow == WS_EX_TOOLWINDOW);
static_assert(kWsExDlgModalFrame == WS_EX_DLGMODALFRAME);

std::string window_class_name(HWND hwnd) {
    wchar_t buf[128];
    int n = GetClassNameW(hwnd, buf, 128);
    if (n <= 0) return {};
    return wide_to_utf8(std::wstring_view(buf, static_cast<size_t>(n)));
}

Rect visible_frame(HWND hwnd, const Rect& fallback) {
    RECT r{};
    // Not implemented by Wine (E_NOTIMPL): the window rectangle is the fallback there.
    if (SUCCEEDED(DwmGetWindowAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &r, sizeof r)) &&
        r.left < r.right && r.top < r.bottom)
        return to_rect(r);
    return fallback;
}

WindowId Win32Desktop::foreground_window() { return to_window_id(GetForegroundWindow()); }
bool Win32Desktop::is_window(WindowId w) { return IsWindow(to_hwnd(w)) != 0; }
bool Win32Desktop::is_visible(WindowId w) { return IsWindowVisible(to_hwnd(w)) != 0; }
bool Win32Desktop::is_zoomed(WindowId w) { return IsZoomed(to_hwnd(w)) != 0; }
bool Win32Desktop::is_iconic(WindowId w) { return IsIconic(to_hwnd(w)) != 0; }
bool Win32Desktop::is_hung(WindowId w) { return IsHungAppWindow(to_hwnd(w)) != 0; }
bool Win32Desktop::is_cloaked(WindowId w) {
    // Wine does not cloak windows; the failed query there means "not cloaked".
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(to_hwnd(w), DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
           cloaked != 0;
}
std::string Win32Desktop::class_name(WindowId w) { return window_class_name(to_hwnd(w)); }

uint32_t Win32Desktop::process_id(WindowId w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(to_hwnd(w), &pid);
    return pid;
}

uint32_t Win32Desktop::current_process_id() { return GetCurrentProcessId(); }

uint64_t Win32Desktop::ex_style(WindowId w) {
    return static_cast<uint64_t>(GetWindowLongPtrW(to_hwnd(w), GWL_EXSTYLE));
}

bool Win32Desktop::is_fixed_size(WindowId w) {
    // 0 also when the window is gone: such a window is not taken for a fixed one.
    const auto style = static_cast<uint64_t>(GetWindowLongPtrW(to_hwnd(w), GWL_STYLE));
    return style != 0 && (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0;
}

std::optional<Rect> Win32Desktop::window_rect(WindowId w) {
    RECT r{};
    if (!GetWindowRect(to_hwnd(w), &r)) return std::nullopt;
    return to_rect(r);
}

std::optional<WindowSnapshot> Win32Desktop::snapshot(WindowId w) {
    const HWND hwnd = to_hwnd(w);
    RECT r{};
    if (!GetWindowRect(hwnd, &r)) return std::nullopt;
    return WindowSnapshot{to_rect(r), static_cast<uint64_t>(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                          static_cast<uint64_t>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE))};
}

Rect Win32Desktop::visible_frame(WindowId w, const Rect& fallback) {
    return app::visible_frame(to_hwnd(w), fallback);
}

std::optional<WindowPlacementInfo> Win32Desktop::window_placement(WindowId w) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(to_hwnd(w), &wp)) return std::nullopt;
    return WindowPlacementInfo{to_rect(wp.rcNormalPosition)};
}

std::optional<MonitorRects> Win32Desktop::monitor_of_window(WindowId w) {
    HMONITOR mon = MonitorFromWindow(to_hwnd(w), MONITOR_DEFAULTTONULL);
    if (!mon) return std::nullopt;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(mon, &mi)) return std::nullopt;
    return MonitorRects{to_rect(mi.rcMonitor), to_rect(mi.rcWork)};
}

std::optional<Point> Win32Desktop::cursor_pos() {
    POINT p{};
    if (!GetCursorPos(&p)) return std::nullopt;
    return Point{p.x, p.y};
}

bool Win32Desktop::shift_down() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

bool Win32Desktop::ctrl_down() { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

bool Win32Desktop::left_button_down() {
    // GetAsyncKeyState reads the physical buttons; the mouse hook sees the logical ones.
    const int vk = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

void Win32Desktop::restore(WindowId w) { ShowWindow(to_hwnd(w), SW_RESTORE); }

bool Win32Desktop::set_window_pos(WindowId w, int32_t x, int32_t y, int32_t cx, int32_t cy,
                                  uint32_t flags) {
    SetLastError(0);
    if (SetWindowPos(to_hwnd(w), nullptr, x, y, cx, cy, flags)) return true;
    // User Interface Privilege Isolation: windows of a program with higher rights.
    if (GetLastError() == ERROR_ACCESS_DENIED) refused_.push_back(w);
    return false;
}

std::vector<WindowId> Win32Desktop::take_refused_windows() {
    std::vector<WindowId> out;
    out.swap(refused_);
    return out;
}

std::string Win32Desktop::process_path(WindowId w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(to_hwnd(w), &pid);
    if (!pid) return {};
    // The limited right is granted for other users' and elevated processes too.
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    wchar_t buf[1024];
    DWORD n = 1024;
    const BOOL ok = QueryFullProcessImageNameW(process, 0, buf, &n);
    CloseHandle(process);
    if (!ok) return {};
    return wide_to_utf8(std::wstring_view(buf, n));
}

namespace {
BOOL CALLBACK collect_window(HWND hwnd, LPARAM out) {
    reinterpret_cast<std::vector<WindowId>*>(out)->push_back(to_window_id(hwnd));
    return TRUE;
}
}  // namespace

std::vector<WindowId> Win32Desktop::top_level_windows() {
    std::vector<WindowId> out;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&out));
    return out;
}

WindowId Win32Desktop::owner_window(WindowId w) {
    return to_window_id(GetWindow(to_hwnd(w), GW_OWNER));
}

uint64_t Win32Clock::now_ms() {
    // GetTickCount64 advances in 10-16 ms steps, too coarse for the 10 ms, 40 ms and
    // 50 ms rules of the confiner; the steady clock is the high-resolution counter.
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

}  // namespace tw::app
