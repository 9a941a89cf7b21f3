#include "core/engine/own_size.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/base/log.h"
#include "core/engine/engine_placement.h"

namespace tw {

namespace {

constexpr int32_t kTolerance = 2;

bool same_size(const Rect& a, const Rect& b) {
    return std::abs(int64_t{a.width()} - b.width()) <= kTolerance &&
           std::abs(int64_t{a.height()} - b.height()) <= kTolerance;
}

bool in_a_zone(const std::vector<ConfinerRow>& table, const Rect& wr, const Rect& vis) {
    for (const ConfinerRow& row : table)
        for (const Rect& z : row.zones)
            if (near(vis, z, kTolerance) || near(wr, z, kTolerance)) return true;
    return false;
}

int64_t keep_inside(int64_t v, int64_t size, int32_t lo, int32_t hi) {
    return std::max(std::min(v, int64_t{hi} - size), int64_t{lo});
}

}  // namespace

Rect own_size_rect(const Rect& dropped, int32_t width, int32_t height,
                   std::optional<Point> cursor, const Rect& work) {
    int64_t x = dropped.left;
    const int64_t drop_w = int64_t{dropped.right} - dropped.left;
    if (cursor && drop_w > 0 && cursor->x >= dropped.left && cursor->x < dropped.right)
        x = cursor->x - (int64_t{cursor->x} - dropped.left) * width / drop_w;
    x = keep_inside(x, width, work.left, work.right);
    const int64_t y = keep_inside(dropped.top, height, work.top, work.bottom);
    return {saturate_int32(x), saturate_int32(y), saturate_int32(x + width),
            saturate_int32(y + height)};
}

void OwnSizes::note_placement(WindowId w, const Rect& before, const Rect& placed) {
    auto [it, fresh] = sizes_.try_emplace(w);
    if (fresh) {
        it->second.width = before.width();
        it->second.height = before.height();
    }
    it->second.placed = placed;
}

const OwnSize* OwnSizes::find(WindowId w) const {
    auto it = sizes_.find(w);
    return it == sizes_.end() ? nullptr : &it->second;
}

size_t OwnSizes::give_back(Desktop& desktop, const std::vector<ConfinerRow>& table) {
    // While the button is down the user may be dragging: the window is judged where
    // it is dropped.
    if (sizes_.empty() || desktop.left_button_down()) return 0;
    size_t resized = 0;
    std::vector<WindowId> handles;
    for (const auto& entry : sizes_) handles.push_back(entry.first);
    for (WindowId w : handles) {
        auto it = sizes_.find(w);
        if (it == sizes_.end()) continue;
        const auto snap = desktop.snapshot(w);
        if (!snap) {
            if (!desktop.is_window(w)) sizes_.erase(it);
            continue;
        }
        // Minimised, maximised or hidden it is not where the user dropped it.
        if ((snap->style & (kWsMinimize | kWsMaximize)) || !(snap->style & kWsVisible)) continue;
        const Rect wr = snap->rect;
        const OwnSize own = it->second;
        if (near(wr, own.placed, kTolerance)) continue;
        const Rect vis = desktop.visible_frame(w, wr);
        if (in_a_zone(table, wr, vis)) {
            it->second.placed = wr;  // moved into another zone: still placed by zone
            continue;
        }
        sizes_.erase(it);
        // Resized by the user or by its application: that size is its own now.
        if (!same_size(wr, own.placed)) continue;
        if (std::abs(int64_t{wr.width()} - own.width) <= kTolerance &&
            std::abs(int64_t{wr.height()} - own.height) <= kTolerance)
            continue;
        const auto mon = desktop.monitor_of_window(w);
        if (!mon) continue;
        // A size that fills the work area would be taken for a maximised window and
        // put straight back into a zone.
        if (int64_t{own.width} + 2 * kTolerance >= mon->work.width() &&
            int64_t{own.height} + 2 * kTolerance >= mon->work.height())
            continue;
        const Rect r = own_size_rect(wr, own.width, own.height, desktop.cursor_pos(), mon->work);
        log("own_size: hwnd=" + std::to_string(w) + " dragged out of its zone, own size back -> " +
            rect_text(r));
        if (desktop.set_window_pos(w, r.left, r.top, span(r.left, r.right), span(r.top, r.bottom),
                                   kSwpNoZOrder | kSwpNoActivate | kSwpNoOwnerZOrder))
            ++resized;
    }
    return resized;
}

}  // namespace tw
