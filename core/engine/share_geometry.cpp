#include "core/engine/share_geometry.h"

#include <algorithm>

namespace tw {

namespace {

int32_t saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

Rect intersection(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) return {};
    return r;
}

int64_t area(const Rect& r) { return (int64_t{r.right} - r.left) * (int64_t{r.bottom} - r.top); }

bool empty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

std::optional<OutputChoice> choose_output(const std::vector<OutputInfo>& outputs, const Rect& zone) {
    const OutputInfo* best = nullptr;
    int64_t best_area = 0;
    if (!empty(zone)) {
        for (const OutputInfo& o : outputs) {
            if (!o.attached) continue;
            const Rect part = intersection(zone, o.desktop);
            if (!empty(part) && area(part) > best_area) {
                best = &o;
                best_area = area(part);
            }
        }
    }
    if (best) {
        const Rect part = intersection(zone, best->desktop);
        // Both differences stay inside the output's and the zone's extent: no overflow.
        const Rect source{saturate(int64_t{part.left} - best->desktop.left),
                          saturate(int64_t{part.top} - best->desktop.top),
                          saturate(int64_t{part.right} - best->desktop.left),
                          saturate(int64_t{part.bottom} - best->desktop.top)};
        const Point target{saturate(int64_t{part.left} - zone.left), saturate(int64_t{part.top} - zone.top)};
        return OutputChoice{best->adapter, best->output, source, target};
    }
    for (const OutputInfo& o : outputs)
        if (o.attached && contains(o.desktop, {zone.left, zone.top})) return OutputChoice{o.adapter, o.output, {}, {}};
    for (const OutputInfo& o : outputs)
        if (o.attached) return OutputChoice{o.adapter, o.output, {}, {}};
    return std::nullopt;
}

Rect share_window_rect(const Rect& zone) {
    const int64_t w = std::max<int64_t>(int64_t{zone.right} - zone.left, 1);
    const int64_t h = std::max<int64_t>(int64_t{zone.bottom} - zone.top, 1);
    return {zone.left, zone.top, saturate(zone.left + w), saturate(zone.top + h)};
}

Rect test_mirror_zone(const Rect& work) {
    const int64_t w = int64_t{work.right} - work.left;
    return {work.left, work.top, saturate(work.left + w / 4), work.bottom};
}

}  // namespace tw
