#pragma once
// Paints a list of region operations into a bitmap, the way GDI would combine them,
// so that tests can check single pixels of overlay lines and share frames.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/overlay_geometry.h"

namespace tw::test {

class Bitmap {
public:
    Bitmap(int32_t width, int32_t height) : w_(width), h_(height), px_(size_t(width) * size_t(height), 0) {}

    int32_t width() const { return w_; }
    int32_t height() const { return h_; }
    bool at(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < w_ && y < h_ && px_[size_t(y) * size_t(w_) + size_t(x)] != 0;
    }
    void set(const Rect& r, bool on) {
        for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, h_); ++y)
            for (int32_t x = std::max(r.left, 0); x < std::min(r.right, w_); ++x)
                px_[size_t(y) * size_t(w_) + size_t(x)] = on ? 1 : 0;
    }
    size_t count() const { return static_cast<size_t>(std::count(px_.begin(), px_.end(), 1)); }
    // One row as text, '#' for set pixels, for readable failure messages.
    std::string row(int32_t y, int32_t from, int32_t to) const {
        std::string s;
        for (int32_t x = from; x < to; ++x) s += at(x, y) ? '#' : '.';
        return s;
    }

private:
    int32_t w_, h_;
    std::vector<uint8_t> px_;
};

// The pixels of `ops` inside [0, width) x [0, height).
inline Bitmap raster(const RegionOps& ops, int32_t width, int32_t height) {
    Bitmap b(width, height);
    for (const auto& op : ops) b.set(op.rect, op.mode == RegionMode::Or);
    return b;
}

}  // namespace tw::test
