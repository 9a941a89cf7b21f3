#include "core/engine/overlay_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace tw {

namespace {

// Appends one operation; empty and inverted rectangles stand for nothing and are
// dropped. Coordinates are computed in 64 bits and saturated here, so zones at the
// ends of the 32-bit range cannot wrap around.
void add(RegionOps& ops, int64_t l, int64_t t, int64_t r, int64_t b, RegionMode mode) {
    Rect rect{saturate_int32(l), saturate_int32(t), saturate_int32(r), saturate_int32(b)};
    if (rect.left >= rect.right || rect.top >= rect.bottom) return;
    ops.push_back({rect, mode});
}

bool touches(int64_t a, int64_t b) { return std::llabs(a - b) < 2; }

}  // namespace

bool region_contains(const RegionOps& ops, Point p) {
    bool inside = false;
    for (const auto& op : ops)
        if (contains(op.rect, p)) inside = op.mode == RegionMode::Or;
    return inside;
}

Rect bounding_box(const std::vector<Rect>& zones) {
    const auto first =
        std::find_if(zones.begin(), zones.end(), [](const Rect& z) { return !is_empty(z); });
    if (first == zones.end()) return {};
    Rect b = *first;
    for (const Rect& z : zones) {
        if (is_empty(z)) continue;
        b.left = std::min(b.left, z.left);
        b.top = std::min(b.top, z.top);
        b.right = std::max(b.right, z.right);
        b.bottom = std::max(b.bottom, z.bottom);
    }
    return b;
}

std::vector<Rect> to_window_coords(const std::vector<Rect>& zones, const Rect& area) {
    std::vector<Rect> out;
    out.reserve(zones.size());
    for (const Rect& z : zones)
        out.push_back({saturate_int32(int64_t{z.left} - area.left), saturate_int32(int64_t{z.top} - area.top),
                       saturate_int32(int64_t{z.right} - area.left), saturate_int32(int64_t{z.bottom} - area.top)});
    return out;
}

RegionOps outline_region(const std::vector<Rect>& zones) {
    RegionOps ops;
    const Rect b = bounding_box(zones);
    if (is_empty(b)) return ops;
    add(ops, b.left, b.top, b.right, b.bottom, RegionMode::Or);
    add(ops, int64_t{b.left} + 2, int64_t{b.top} + 2, int64_t{b.right} - 2, int64_t{b.bottom} - 2,
        RegionMode::Diff);
    for (size_t i = 0; i < zones.size(); ++i) {
        for (size_t j = i + 1; j < zones.size(); ++j) {
            const Rect& a = zones[i];
            const Rect& c = zones[j];
            if (is_empty(a) || is_empty(c)) continue;  // a zone left empty draws no line
            const bool c_right = touches(c.left, a.right);
            if (c_right || touches(a.left, c.right)) {
                const int64_t y0 = std::max(a.top, c.top);
                const int64_t y1 = std::min(a.bottom, c.bottom);
                const int64_t u = c_right ? a.right : c.right;
                if (y0 < y1) add(ops, u - 1, y0, u + 1, y1, RegionMode::Or);
            }
            const bool c_below = touches(c.top, a.bottom);
            if (c_below || touches(a.top, c.bottom)) {
                const int64_t x0 = std::max(a.left, c.left);
                const int64_t x1 = std::min(a.right, c.right);
                const int64_t v = c_below ? a.bottom : c.bottom;
                if (x0 < x1) add(ops, x0, v - 1, x1, v + 1, RegionMode::Or);
            }
        }
    }
    return ops;
}

void cut_share_rings(RegionOps& ops, const std::vector<Rect>& zones, const std::vector<size_t>& shared) {
    for (size_t index : shared) {
        if (index >= zones.size()) continue;
        const Rect& z = zones[index];
        const int64_t ol = int64_t{z.left} - 2, ot = int64_t{z.top} - 2;
        const int64_t or_ = int64_t{z.right} + 2, ob = int64_t{z.bottom} + 2;
        const int64_t il = int64_t{z.left} + 2, it = int64_t{z.top} + 2;
        const int64_t ir = int64_t{z.right} - 2, ib = int64_t{z.bottom} - 2;
        if (il >= ir || it >= ib) {
            add(ops, ol, ot, or_, ob, RegionMode::Diff);
            continue;
        }
        add(ops, ol, ot, or_, it, RegionMode::Diff);  // top strip
        add(ops, ol, ib, or_, ob, RegionMode::Diff);  // bottom strip
        add(ops, ol, it, il, ib, RegionMode::Diff);   // left strip
        add(ops, ir, it, or_, ib, RegionMode::Diff);  // right strip
    }
}

OverlayShape overlay_shape(const MonitorZones& row, const std::vector<size_t>& shared) {
    OverlayShape shape;
    shape.screen_id = row.screen_id;
    shape.window = row.area;
    shape.zones = to_window_coords(row.zones, row.area);
    // With spacing the lines run where the zones met, in the middle of the gaps, and
    // the frame lies in the gap along the screen's edge.
    shape.region = row.unspaced.empty() ? outline_region(shape.zones)
                                        : outline_region(to_window_coords(row.unspaced, row.area));
    cut_share_rings(shape.region, shape.zones, shared);
    return shape;
}

RegionOps dashed_frame_region(int32_t w32, int32_t h32, const Rect& z, const std::vector<Rect>& neighbours) {
    const int64_t w = std::max<int32_t>(w32, 1);
    const int64_t h = std::max<int32_t>(h32, 1);
    RegionOps ops;
    for (int64_t k = 0; kDashPeriod * k < std::min<int64_t>(w, kMaxDashedExtent); ++k) {
        const int64_t s = kDashPeriod * k;
        const int64_t e = std::min(w, s + kDashOn);
        add(ops, s, 0, e, 2, RegionMode::Or);
        add(ops, s, h - 2, e, h, RegionMode::Or);
    }
    for (int64_t k = 0; kDashPeriod * k < std::min<int64_t>(h, kMaxDashedExtent); ++k) {
        const int64_t s = kDashPeriod * k;
        const int64_t e = std::min(h, s + kDashOn);
        add(ops, 0, s, 2, e, RegionMode::Or);
        add(ops, w - 2, s, w, e, RegionMode::Or);
    }
    add(ops, 0, 0, 2, 2, RegionMode::Or);
    add(ops, w - 2, 0, w, 2, RegionMode::Or);
    add(ops, 0, h - 2, 2, h, RegionMode::Or);
    add(ops, w - 2, h - 2, w, h, RegionMode::Or);

    for (const Rect& n : neighbours) {
        const bool n_right = touches(n.left, z.right);
        if (n_right || touches(z.left, n.right)) {
            const int64_t t = int64_t{std::max(z.top, n.top)} - z.top;
            const int64_t b = int64_t{std::min(z.bottom, n.bottom)} - z.top;
            if (t < b) {
                const int64_t u = n_right ? w : 0;
                add(ops, u < 3 ? 0 : u - 2, std::max<int64_t>(t, 0), std::min(w, u + 2), std::min(h, b),
                    RegionMode::Diff);
            }
        }
        const bool n_below = touches(n.top, z.bottom);
        if (n_below || touches(z.top, n.bottom)) {
            const int64_t l = int64_t{std::max(z.left, n.left)} - z.left;
            const int64_t r = int64_t{std::min(z.right, n.right)} - z.left;
            if (l < r) {
                const int64_t v = n_below ? h : 0;
                add(ops, std::max<int64_t>(l, 0), v < 3 ? 0 : v - 2, std::min(w, r), std::min(h, v + 2),
                    RegionMode::Diff);
            }
        }
    }
    return ops;
}

std::vector<ShareFrameShape> share_frame_shapes(const std::vector<Rect>& zones, std::vector<size_t> shared) {
    std::erase_if(shared, [&](size_t i) { return i >= zones.size(); });
    std::sort(shared.begin(), shared.end());
    shared.erase(std::unique(shared.begin(), shared.end()), shared.end());
    std::vector<ShareFrameShape> frames;
    frames.reserve(shared.size());
    std::vector<Rect> neighbours;
    for (size_t i : shared) {
        const Rect& z = zones[i];
        ShareFrameShape f;
        f.zone_index = i;
        f.zone = z;
        f.width = saturate_int32(std::max<int64_t>(int64_t{z.right} - z.left, 1));
        f.height = saturate_int32(std::max<int64_t>(int64_t{z.bottom} - z.top, 1));
        f.region = dashed_frame_region(f.width, f.height, z, neighbours);
        frames.push_back(std::move(f));
        neighbours.push_back(z);
    }
    return frames;
}

}  // namespace tw
