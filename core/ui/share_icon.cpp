#include "core/ui/share_icon.h"

#include <cstddef>

namespace tw {

std::vector<uint32_t> share_icon_pixels(int size, uint32_t accent_rgb) {
    const int b = size / 8;
    if (b <= 0) return {};
    std::vector<uint32_t> px(static_cast<size_t>(size) * static_cast<size_t>(size), 0);
    const uint32_t on = 0xFF000000u | (accent_rgb & 0xFFFFFFu);
    auto in = [](int v, int lo, int hi) { return v >= lo && v < hi; };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (!in(x, b, size - b) || !in(y, b, size - b)) continue;           // outside the ring
            const bool mid_x = in(x, 2 * b, size - 2 * b), mid_y = in(y, 2 * b, size - 2 * b);
            if (mid_x && mid_y) continue;                                        // the inside
            if (mid_x && ((x - b) / b) % 2 == 1) continue;                       // gap on top or bottom
            if (mid_y && ((y - b) / b) % 2 == 1) continue;                       // gap on left or right
            px[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)] = on;
        }
    }
    return px;
}

}  // namespace tw
