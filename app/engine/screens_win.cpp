#include "app/engine/screens_win.h"

#include <shellscalingapi.h>

#include <algorithm>

#include "core/base/log.h"
#include "core/base/utf16.h"
#include "app/engine/win32_desktop.h"
#include "app/platform/wide_text.h"

namespace tw::app {

namespace {

// UTF-16 buffers from the system are read up to their first NUL or their full length.
std::string from_buffer(const wchar_t* buf, size_t capacity) {
    return utf16_to_utf8(utf16_until_nul(reinterpret_cast<const char16_t*>(buf), capacity));
}

std::vector<FriendlyName> friendly_names() {
    std::vector<FriendlyName> out;
    UINT32 path_count = 0, mode_count = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &path_count, &mode_count) != ERROR_SUCCESS)
        return out;
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(path_count);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(mode_count);
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &path_count, paths.data(), &mode_count,
                           modes.data(), nullptr) != ERROR_SUCCESS)
        return out;
    paths.resize(path_count);
    for (const auto& path : paths) {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof source;
        source.header.adapterId = path.sourceInfo.adapterId;
        source.header.id = path.sourceInfo.id;
        if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS) continue;
        std::string gdi = from_buffer(source.viewGdiDeviceName, 32);
        if (gdi.empty()) continue;
        DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
        target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
        target.header.size = sizeof target;
        target.header.adapterId = path.targetInfo.adapterId;
        target.header.id = path.targetInfo.id;
        if (DisplayConfigGetDeviceInfo(&target.header) != ERROR_SUCCESS) continue;
        if (auto pair = friendly_name_pair(gdi, from_buffer(target.monitorFriendlyDeviceName, 64)))
            out.push_back(std::move(*pair));
    }
    return out;
}

BOOL CALLBACK collect_monitor(HMONITOR mon, HDC, LPRECT, LPARAM data) {
    reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(mon);
    return TRUE;
}

std::optional<MonitorRects> monitor_rects(HMONITOR mon) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!mon || !GetMonitorInfoW(mon, &mi)) return std::nullopt;
    return MonitorRects{to_rect(mi.rcMonitor), to_rect(mi.rcWork)};
}

// The scaling the user chose for the monitor; zone gaps grow with it. 96 (100 %) when
// the system cannot say.
uint32_t monitor_dpi(HMONITOR mon) {
    UINT x = 0, y = 0;
    const HRESULT hr = GetDpiForMonitor(mon, MDT_EFFECTIVE_DPI, &x, &y);
    if (FAILED(hr)) {
        log("screens: GetDpiForMonitor failed " + hr_text(static_cast<int32_t>(hr)) + "; taking 96 dpi");
        return 96;
    }
    return x != 0 ? x : 96;
}

}  // namespace

std::vector<ScreenInfo> enumerate_screens() {
    std::vector<HMONITOR> handles;
    EnumDisplayMonitors(nullptr, nullptr, collect_monitor, reinterpret_cast<LPARAM>(&handles));
    std::vector<RawMonitor> raw;
    for (HMONITOR mon : handles) {
        MONITORINFOEXW mi{};
        mi.cbSize = sizeof mi;
        if (!GetMonitorInfoW(mon, &mi)) continue;
        RawMonitor r;
        r.handle = static_cast<int64_t>(reinterpret_cast<intptr_t>(mon));
        r.gdi_name = from_buffer(mi.szDevice, CCHDEVICENAME);
        r.bounds = to_rect(mi.rcMonitor);
        r.work = to_rect(mi.rcWork);
        r.primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
        r.dpi = monitor_dpi(mon);
        DISPLAY_DEVICEW dd{};
        dd.cb = sizeof dd;
        if (EnumDisplayDevicesW(mi.szDevice, 0, &dd, 0)) {
            r.device_id = from_buffer(dd.DeviceID, 128);
            r.device_string = from_buffer(dd.DeviceString, 128);
        }
        raw.push_back(std::move(r));
    }
    return screens_from_monitors(std::move(raw), friendly_names());
}

Rect primary_work_area() {
    return tw::primary_work_area(monitor_rects(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)));
}

void fit_window(HWND hwnd, double width, double height, double scale) {
    RECT wr{};
    if (!GetWindowRect(hwnd, &wr)) return;
    auto rects = monitor_rects(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
    Rect work = rects ? rects->work : primary_work_area();
    Rect r = tw::fit_window(to_rect(wr), width, height, scale, work);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tw::app
