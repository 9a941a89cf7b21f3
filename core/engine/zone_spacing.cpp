#include "core/engine/zone_spacing.h"

#include <algorithm>

namespace tw {

int32_t spacing_pixels(int spacing, uint32_t dpi) {
    const int64_t s = std::clamp(spacing, 0, 64);
    // Past 20 times the normal density no monitor exists; the cap keeps the product small.
    const int64_t d = dpi == 0 ? 96 : std::min<uint32_t>(dpi, 1920);
    return static_cast<int32_t>((s * d + 48) / 96);
}

namespace {

// The two insets of one axis: whole gap on the area's edges, the halves inside.
struct AxisInset {
    int64_t lo = 0, hi = 0;
};

AxisInset axis_inset(int32_t lo, int32_t hi, int32_t area_lo, int32_t area_hi, int64_t gap) {
    AxisInset in{lo == area_lo ? gap : (gap + 1) / 2, hi == area_hi ? gap : gap / 2};
    const int64_t budget = (int64_t{hi} - lo) / 2;
    if (in.lo + in.hi > budget) {
        const int64_t total = in.lo + in.hi;
        in.lo = in.lo * budget / total;
        in.hi = budget - in.lo;
    }
    return in;
}

}  // namespace

Rect spaced_zone(const Rect& zone, const Rect& area, int32_t gap) {
    if (gap <= 0 || is_empty(zone)) return zone;
    const AxisInset x = axis_inset(zone.left, zone.right, area.left, area.right, gap);
    const AxisInset y = axis_inset(zone.top, zone.bottom, area.top, area.bottom, gap);
    return {saturate_int32(zone.left + x.lo), saturate_int32(zone.top + y.lo), saturate_int32(zone.right - x.hi),
            saturate_int32(zone.bottom - y.hi)};
}

std::vector<Rect> spaced_zones(const std::vector<Rect>& zones, const Rect& area, int32_t gap) {
    std::vector<Rect> out;
    out.reserve(zones.size());
    for (const Rect& z : zones) out.push_back(spaced_zone(z, area, gap));
    return out;
}

}  // namespace tw
