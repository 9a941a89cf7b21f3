#include "app/pointer_tracker.h"

namespace tw::app {

std::optional<size_t> PointerTracker::hit(const std::vector<WidgetItem>& items, int32_t x,
                                          int32_t y) const {
    std::optional<size_t> h = hit_test_ ? hit_test_(items, x, y) : std::nullopt;
    if (h && *h >= items.size()) h.reset();
    return h;
}

bool PointerTracker::move(std::vector<WidgetItem>& items, int32_t x, int32_t y) {
    const std::optional<size_t> now = hit(items, x, y);
    if (now == hovered_) return false;
    if (hovered_ && *hovered_ < items.size()) items[*hovered_].hovered = 0;
    if (now) items[*now].hovered = 1;
    hovered_ = now;
    return true;
}

bool PointerTracker::leave(std::vector<WidgetItem>& items) {
    if (!hovered_) return false;
    if (*hovered_ < items.size()) items[*hovered_].hovered = 0;
    hovered_.reset();
    return true;
}

std::optional<size_t> PointerTracker::press(std::vector<WidgetItem>& items, int32_t x, int32_t y) {
    const std::optional<size_t> now = hit(items, x, y);
    if (now) {
        items[*now].pressed = 1;
        pressed_ = now;
    }
    return now;
}

PointerTracker::Release PointerTracker::release(std::vector<WidgetItem>& items, int32_t x,
                                                int32_t y) {
    Release r;
    for (auto& item : items) {
        r.repaint |= item.pressed != 0;
        item.pressed = 0;
    }
    if (pressed_ && *pressed_ < items.size() && hit(items, x, y) == pressed_) {
        r.command = items[*pressed_].id;
        r.repaint = true;
    }
    pressed_.reset();
    return r;
}

void PointerTracker::reapply(std::vector<WidgetItem>& items) const {
    if (hovered_ && *hovered_ < items.size()) items[*hovered_].hovered = 1;
    if (pressed_ && *pressed_ < items.size()) items[*pressed_].pressed = 1;
}

}  // namespace tw::app
