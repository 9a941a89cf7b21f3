#pragma once
// The attached monitors as the program sees them, the per-screen settings kept in
// step with them, and the pixel zone table built from both. The Win32 side only
// enumerates (EnumDisplayMonitors, GetMonitorInfoW, EnumDisplayDevicesW,
// QueryDisplayConfig) and hands the raw records over; every decision is made here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/desktop.h"
#include "core/base/geometry.h"
#include "core/model/layout_model.h"
#include "core/engine/monitor_zones.h"

namespace tw {

struct Settings;

// One attached monitor.
struct ScreenInfo {
    std::string id;    // trimmed device-interface id, else the trimmed GDI device name
    std::string name;  // display name for the user
    Rect bounds;       // rcMonitor
    Rect work;         // rcWork
    int64_t monitor = 0;  // the HMONITOR it was built from, as an opaque value
    bool primary = false;
    uint32_t dpi = 96;    // effective DPI: 96 at 100 % scaling
    friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};

// What the system reports about one monitor, in enumeration order. Texts are UTF-8,
// read up to the first NUL of their buffers and not yet trimmed.
struct RawMonitor {
    int64_t handle = 0;
    std::string gdi_name;       // MONITORINFOEXW::szDevice, such as \\.\DISPLAY1
    Rect bounds;
    Rect work;
    bool primary = false;       // MONITORINFOF_PRIMARY
    std::string device_id;      // DISPLAY_DEVICEW::DeviceID; empty when the query failed
    std::string device_string;  // DISPLAY_DEVICEW::DeviceString; empty when the query failed
    uint32_t dpi = 96;          // effective DPI; 96 when the query failed
};

// A (GDI device name, monitor friendly name) pair from the display configuration.
struct FriendlyName {
    std::string gdi_name;
    std::string friendly_name;
};

// The pair a display path contributes: none when its GDI source name is empty or its
// friendly name is blank; the friendly name is kept trimmed.
std::optional<FriendlyName> friendly_name_pair(std::string gdi_name, std::string_view friendly_name);

// The screen list: ids, the order (primary first, then left edge, then top edge, stable)
// and the display names ("Display {n}" when the system offers nothing better).
std::vector<ScreenInfo> screens_from_monitors(std::vector<RawMonitor> monitors,
                                              const std::vector<FriendlyName>& friendly_names);

// Brings the settings' screen entries and SelectedScreen in step with `screens`
// (the first primary screen takes over a migrated single-screen entry).
void reconcile_screen_layouts(Settings& settings, const std::vector<ScreenInfo>& screens);

// The first screen with exactly this id.
const ScreenInfo* find_screen_info(const std::vector<ScreenInfo>& screens, std::string_view id);

// The layout whose zones are in force: the first named ActiveLayout, else the first
// layout, else none.
const Layout* layout_in_force(const ScreenLayout& entry);

// Rectangle the zones of `entry` are computed in: bounds with CoverTaskbar, else work.
Rect zone_area(const ScreenLayout& entry, const ScreenInfo& screen);

// One zone edge in pixels: origin + fraction x extent rounded to the nearest integer
// (halves away from zero), a NaN product counting as 0, the result saturated to the
// 32-bit range rather than wrapped (infinities and huge fractions included).
int32_t zone_edge(int32_t origin, double fraction, int64_t extent);

// The pixel rectangles of the layout in force on `entry`, laid out on `screen`,
// whether or not the entry is enabled, each kept inside the zone area (a zone that
// lies wholly outside it becomes empty but keeps its place in the list) and shrunk by
// the layout's spacing at the screen's DPI (spaced_zone).
std::vector<Rect> zone_rects(const ScreenLayout& entry, const ScreenInfo& screen);

// The monitor zone table: one row per enabled entry, in entry order, whose screen is
// attached and whose layout in force has at least one zone with pixels inside the
// area. Zones are those of zone_rects; each clipped zone is logged. With spacing the
// row also keeps the zones as they were before the gap was taken off.
std::vector<MonitorZones> build_monitor_zones(const std::vector<ScreenLayout>& entries,
                                              const std::vector<ScreenInfo>& screens);

// One "--list-monitors" log line; `index` counts from 0 in screen order.
std::string list_monitors_line(size_t index, const ScreenInfo& screen);

// Work area assumed when the primary monitor cannot be asked.
inline constexpr Rect kFallbackWorkArea{0, 0, 1920, 1080};

// The primary monitor's work area, or kFallbackWorkArea when its information is missing.
Rect primary_work_area(const std::optional<MonitorRects>& primary);

// Where one of the program's own windows goes when it is sized to a logical
// width x height at `scale` (DPI / 96): the size in pixels (nearest, saturated, NaN as
// 0, never negative), reduced to the work area's size, centred on the window's current
// centre and then moved just far enough to lie inside the work area.
Rect fit_window(const Rect& current, double width, double height, double scale, const Rect& work);

// The top-left corner to remember for one of the program's windows when it closes:
// where it stands, or, while it is minimised, where it comes back to when restored.
// `normal_position` is the system's restored rectangle, which is kept in workspace
// coordinates: relative to the work area of its monitor, whose offset from the
// monitor's corner is `workspace_offset` (non-zero with a taskbar at the top or left).
// Nothing when the rectangle needed is unknown: the place where minimised windows are
// parked, (-32000, -32000), would put the window out of sight at the next start.
std::optional<Point> window_position_to_store(bool minimised, std::optional<Rect> window_rect,
                                              std::optional<Rect> normal_position,
                                              Point workspace_offset);


}  // namespace tw
