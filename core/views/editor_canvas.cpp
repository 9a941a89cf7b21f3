// The editor's canvas: the grid's zones in DIPs and what the pointer is over.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/engine/zone_spacing.h"
#include "core/views/editor_view.h"

namespace tw {

namespace {

// Fraction x size + origin, rounded; values that are not numbers or far off the
// canvas are held to a range where the sums below cannot overflow.
int32_t map(double fraction, int32_t size, int32_t origin) {
    const double v = fraction * size;
    const double held = std::isfinite(v) ? std::clamp(v, -1e6, 1e6) : 0;
    return origin + static_cast<int32_t>(std::lround(held));
}

bool close_edges(int32_t p, int32_t q) { return std::abs(p - q) < 7; }

}  // namespace

std::vector<Rect> canvas_zone_rects(const Grid& grid, const Rect& canvas) {
    std::vector<Rect> out;
    const int32_t w = canvas.width(), h = canvas.height();
    for (const Zone& z : zones_from_grid(grid))
        out.push_back({map(z.left, w, canvas.left), map(z.top, h, canvas.top), map(z.right, w, canvas.left),
                       map(z.bottom, h, canvas.top)});
    return out;
}

int32_t canvas_gap(const EditorState& st, const Rect& canvas) {
    const int32_t gap = spacing_pixels(st.spacing, st.area_dpi);
    if (gap == 0 || st.area_width <= 0) return 0;
    const double scaled = static_cast<double>(gap) * canvas.width() / static_cast<double>(st.area_width);
    return std::max<int32_t>(1, static_cast<int32_t>(std::lround(std::min(scaled, 1e6))));
}

CanvasHover canvas_hit(const std::vector<Rect>& zones, Point p) {
    for (size_t a = 0; a < zones.size(); ++a) {
        for (size_t b = a + 1; b < zones.size(); ++b) {
            const Rect& r = zones[a];
            const Rect& s = zones[b];
            const bool along = p.x >= std::max(r.left, s.left) - 6 && p.x <= std::min(r.right, s.right) + 6 &&
                               p.y >= std::max(r.top, s.top) - 6 && p.y <= std::min(r.bottom, s.bottom) + 6;
            if (!along) continue;
            if (close_edges(s.left, r.right) || close_edges(r.left, s.right) || close_edges(s.top, r.bottom) ||
                close_edges(r.top, s.bottom))
                return {CanvasHover::Kind::Border, a, b};
        }
    }
    for (size_t z = 0; z < zones.size(); ++z)
        if (contains(zones[z], p)) return {CanvasHover::Kind::Zone, z, 0};
    return {};
}

}  // namespace tw
