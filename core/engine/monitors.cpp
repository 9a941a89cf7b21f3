#include "core/engine/monitors.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/engine/zone_spacing.h"
#include "core/model/settings.h"
#include "core/base/log.h"
#include "core/base/utf16.h"

namespace tw {

namespace {

constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();

// Nearest integer with halves away from zero, saturated to 32 bits, NaN as 0.
int32_t nearest_saturated(double v) {
    if (std::isnan(v)) return 0;
    double r = std::round(v);
    if (r <= static_cast<double>(kMin32)) return static_cast<int32_t>(kMin32);
    if (r >= static_cast<double>(kMax32)) return static_cast<int32_t>(kMax32);
    return static_cast<int32_t>(r);
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equals_ignoring_ascii_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

// DeviceStrings Windows gives monitors it knows nothing about; they name no monitor.
bool is_generic_device_string(std::string_view s) {
    for (std::string_view g : {"Generic PnP Monitor", "Generic Non-PnP Monitor", "Default Monitor"})
        if (equals_ignoring_ascii_case(s, g)) return true;
    return false;
}

struct Entry {
    ScreenInfo info;
    std::string gdi_name;
    std::string device_string;  // trimmed
};

std::string display_name(const Entry& e, size_t position, const std::vector<FriendlyName>& friendly) {
    auto pair = std::find_if(friendly.begin(), friendly.end(),
                             [&](const FriendlyName& f) { return f.gdi_name == e.gdi_name; });
    if (pair != friendly.end()) {
        std::string name = trim_unicode_space(pair->friendly_name);
        if (!name.empty()) return name;
    }
    if (!e.device_string.empty() && !is_generic_device_string(e.device_string)) return e.device_string;
    return "Display " + std::to_string(position);
}

}  // namespace

std::optional<FriendlyName> friendly_name_pair(std::string gdi_name, std::string_view friendly_name) {
    if (gdi_name.empty()) return std::nullopt;
    std::string name = trim_unicode_space(friendly_name);
    if (name.empty()) return std::nullopt;
    return FriendlyName{std::move(gdi_name), std::move(name)};
}

std::vector<ScreenInfo> screens_from_monitors(std::vector<RawMonitor> monitors,
                                              const std::vector<FriendlyName>& friendly_names) {
    std::vector<Entry> entries;
    entries.reserve(monitors.size());
    for (auto& m : monitors) {
        Entry e;
        e.info.id = trim_unicode_space(m.device_id);
        if (e.info.id.empty()) e.info.id = trim_unicode_space(m.gdi_name);
        e.info.bounds = m.bounds;
        e.info.work = m.work;
        e.info.monitor = m.handle;
        e.info.primary = m.primary;
        e.info.dpi = m.dpi;
        e.gdi_name = std::move(m.gdi_name);
        e.device_string = trim_unicode_space(m.device_string);
        entries.push_back(std::move(e));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.info.primary != b.info.primary) return a.info.primary;
        if (a.info.bounds.left != b.info.bounds.left) return a.info.bounds.left < b.info.bounds.left;
        return a.info.bounds.top < b.info.bounds.top;
    });
    std::vector<ScreenInfo> screens;
    screens.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].info.name = display_name(entries[i], i + 1, friendly_names);
        screens.push_back(std::move(entries[i].info));
    }
    return screens;
}

void reconcile_screen_layouts(Settings& settings, const std::vector<ScreenInfo>& screens) {
    std::vector<AttachedScreen> attached;
    attached.reserve(screens.size());
    for (const auto& s : screens) attached.push_back({s.id, s.name, s.primary});
    reconcile_screens(settings, attached);
}

const ScreenInfo* find_screen_info(const std::vector<ScreenInfo>& screens, std::string_view id) {
    for (const auto& s : screens)
        if (s.id == id) return &s;
    return nullptr;
}

const Layout* layout_in_force(const ScreenLayout& entry) {
    for (const auto& l : entry.layouts)
        if (l.name == entry.active_layout) return &l;
    return entry.layouts.empty() ? nullptr : &entry.layouts.front();
}

Rect zone_area(const ScreenLayout& entry, const ScreenInfo& screen) {
    return entry.cover_taskbar ? screen.bounds : screen.work;
}

int32_t zone_edge(int32_t origin, double fraction, int64_t extent) {
    const double offset = fraction * static_cast<double>(extent);
    if (std::isnan(offset)) return origin;
    // Any offset beyond +-2^40 saturates the sum anyway; clamping first keeps the
    // conversion to an integer defined.
    constexpr double kLimit = 1099511627776.0;
    const double r = std::clamp(std::round(offset), -kLimit, kLimit);
    return saturate_int32(int64_t{origin} + static_cast<int64_t>(r));
}

namespace {

// The zones as the fractions say, before they are kept inside the area.
std::vector<Rect> unclipped_zone_rects(const Layout& layout, const Rect& area) {
    const int64_t w = int64_t{area.right} - area.left;
    const int64_t h = int64_t{area.bottom} - area.top;
    auto x = [&](double f) { return zone_edge(area.left, f, w); };
    auto y = [&](double f) { return zone_edge(area.top, f, h); };
    std::vector<Rect> rects;
    rects.reserve(layout.zones.size());
    for (const Zone& z : layout.zones)
        rects.push_back({x(z.left), y(z.top), x(z.right), y(z.bottom)});
    return rects;
}

}  // namespace

std::vector<Rect> zone_rects(const ScreenLayout& entry, const ScreenInfo& screen) {
    const Layout* layout = layout_in_force(entry);
    if (!layout) return {};
    const Rect area = zone_area(entry, screen);
    std::vector<Rect> rects = unclipped_zone_rects(*layout, area);
    for (Rect& r : rects) r = clip_to(r, area);
    return spaced_zones(rects, area, spacing_pixels(layout->spacing, screen.dpi));
}

std::vector<MonitorZones> build_monitor_zones(const std::vector<ScreenLayout>& entries,
                                              const std::vector<ScreenInfo>& screens) {
    std::vector<MonitorZones> rows;
    for (const auto& entry : entries) {
        if (!entry.enabled) continue;
        const ScreenInfo* screen = find_screen_info(screens, entry.id);
        const Layout* layout = layout_in_force(entry);
        if (!screen || !layout) continue;
        const Rect area = zone_area(entry, *screen);
        std::vector<Rect> zones = unclipped_zone_rects(*layout, area);
        bool usable = false;
        for (size_t i = 0; i < zones.size(); ++i) {
            // Hand-edited fractions can reach far beyond the screen; a window sent there
            // would be out of sight. Zone numbers stay: an empty zone keeps its place.
            const Rect clipped = clip_to(zones[i], area);
            if (clipped != zones[i]) {
                const std::string zone = "monitors: zone " + std::to_string(i + 1) + " " +
                                         rect_text(zones[i]) + " of layout '" + layout->name +
                                         "' on " + entry.id;
                log(is_empty(clipped) ? zone + " lies outside the screen and is never used"
                                      : zone + " reaches beyond the screen, clipped to " +
                                            rect_text(clipped));
            }
            zones[i] = clipped;
            usable = usable || !is_empty(clipped);
        }
        if (!usable) continue;
        // With spacing, the zones as they were stay beside the spaced ones for the overlay.
        std::vector<Rect> unspaced;
        if (const int32_t gap = spacing_pixels(layout->spacing, screen->dpi); gap != 0) {
            unspaced = zones;
            zones = spaced_zones(zones, area, gap);
        }
        rows.push_back({entry.id, std::move(zones), screen->bounds, area, layout->name, std::move(unspaced)});
    }
    return rows;
}

std::string list_monitors_line(size_t index, const ScreenInfo& s) {
    auto n = [](int64_t v) { return std::to_string(v); };
    return "monitor[" + std::to_string(index) + "] name=" + s.name +
           " primary=" + (s.primary ? "true" : "false") +
           " bounds=" + n(int64_t{s.bounds.right} - s.bounds.left) + "x" +
           n(int64_t{s.bounds.bottom} - s.bounds.top) + " @(" + n(s.bounds.left) + "," +
           n(s.bounds.top) + ") work=" + n(int64_t{s.work.right} - s.work.left) + "x" +
           n(int64_t{s.work.bottom} - s.work.top) + " id=" + s.id;
}

Rect primary_work_area(const std::optional<MonitorRects>& primary) {
    return primary ? primary->work : kFallbackWorkArea;
}

std::optional<Point> window_position_to_store(bool minimised, std::optional<Rect> window_rect,
                                              std::optional<Rect> normal_position,
                                              Point workspace_offset) {
    if (!minimised) {
        if (!window_rect) return std::nullopt;
        return Point{window_rect->left, window_rect->top};
    }
    if (!normal_position) return std::nullopt;
    return Point{saturate_int32(int64_t{normal_position->left} + workspace_offset.x),
                 saturate_int32(int64_t{normal_position->top} + workspace_offset.y)};
}

Rect fit_window(const Rect& current, double width, double height, double scale, const Rect& work) {
    // One axis: size reduced to the room available, then start = centre - size / 2,
    // pulled back before the far edge, then pushed forward past the near edge.
    auto axis = [](double logical, double s, int32_t cur_lo, int32_t cur_hi, int32_t lo, int32_t hi,
                   int64_t& start, int64_t& size) {
        int64_t room = std::max<int64_t>(0, int64_t{hi} - lo);
        size = std::clamp<int64_t>(nearest_saturated(logical * s), 0, room);
        int64_t mid = (int64_t{cur_lo} + cur_hi) / 2;
        start = mid - size / 2;
        if (start + size > hi) start = hi - size;
        if (start < lo) start = lo;
    };
    int64_t x = 0, y = 0, w = 0, h = 0;
    axis(width, scale, current.left, current.right, work.left, work.right, x, w);
    axis(height, scale, current.top, current.bottom, work.top, work.bottom, y, h);
    return {saturate_int32(x), saturate_int32(y), saturate_int32(x + w), saturate_int32(y + h)};
}


}  // namespace tw
