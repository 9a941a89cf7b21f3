#include "core/base/geometry.h"

#include <algorithm>
#include <cstdlib>

namespace tw {

Point centre(const Rect& r) {
    // 64-bit sums so that rectangles near the 32-bit limits do not overflow.
    return {static_cast<int32_t>((int64_t{r.left} + r.right) / 2),
            static_cast<int32_t>((int64_t{r.top} + r.bottom) / 2)};
}

bool contains(const Rect& r, Point p) {
    return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

bool is_empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect clip_to(const Rect& r, const Rect& bounds) {
    auto clamp = [](int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; };
    Rect out{clamp(r.left, bounds.left, bounds.right), clamp(r.top, bounds.top, bounds.bottom),
             clamp(r.right, bounds.left, bounds.right), clamp(r.bottom, bounds.top, bounds.bottom)};
    if (out.right < out.left) out.right = out.left;
    if (out.bottom < out.top) out.bottom = out.top;
    return out;
}

bool near(const Rect& a, const Rect& b, int32_t tolerance) {
    auto close = [tolerance](int32_t u, int32_t v) {
        return std::llabs(int64_t{u} - v) <= tolerance;
    };
    return close(a.left, b.left) && close(a.top, b.top) && close(a.right, b.right) &&
           close(a.bottom, b.bottom);
}

int64_t overlap_length(int32_t a0, int32_t a1, int32_t b0, int32_t b1) {
    const int64_t v = int64_t{std::min(a1, b1)} - std::max(a0, b0);
    return v > 0 ? v : 0;
}

bool covers(const Rect& r, const Rect& target) {
    return int64_t{target.left} + 2 >= r.left && int64_t{target.top} + 2 >= r.top &&
           int64_t{r.right} >= int64_t{target.right} - 2 &&
           int64_t{r.bottom} >= int64_t{target.bottom} - 2;
}

std::optional<Rect> zone_at_point(Point p, const std::vector<Rect>& zones) {
    for (const Rect& z : zones)
        if (contains(z, p)) return z;  // an empty zone contains no point
    // Each squared difference is below 2^64, their sum below 2^65: the sum is kept as
    // a carry and the low 64 bits and compared in that order.
    struct Distance {
        bool carry;
        uint64_t low;
        bool operator<(const Distance& o) const { return carry != o.carry ? o.carry : low < o.low; }
    };
    auto square = [](int64_t d) {
        const auto m = static_cast<uint64_t>(d < 0 ? -d : d);  // below 2^32
        return m * m;
    };
    const Rect* best = nullptr;
    Distance best_d{};
    for (const Rect& z : zones) {
        if (is_empty(z)) continue;
        const Point c = centre(z);
        const uint64_t dx2 = square(int64_t{c.x} - p.x);
        const uint64_t sum = dx2 + square(int64_t{c.y} - p.y);
        const Distance d{sum < dx2, sum};
        if (!best || d < best_d) {
            best = &z;
            best_d = d;
        }
    }
    if (!best) return std::nullopt;
    return *best;
}

std::string rect_text(const Rect& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

std::string rect_struct_text(const Rect& r) {
    return "RECT { left: " + std::to_string(r.left) + ", top: " + std::to_string(r.top) +
           ", right: " + std::to_string(r.right) + ", bottom: " + std::to_string(r.bottom) +
           " }";
}

std::string rect_list_text(const std::vector<Rect>& rects) {
    std::string out = "[";
    for (size_t i = 0; i < rects.size(); ++i) {
        if (i) out += ", ";
        out += rect_struct_text(rects[i]);
    }
    return out + "]";
}

}  // namespace tw
