#include "app/pointer_tracker.h"

namespace tw::app {
namespace {

WidgetItem* at(std::vector<WidgetItem>& items, std::optional<size_t> index) {
    return index && *index < items.size() ? &items[*index] : nullptr;
}

bool clear_pressed(std::vector<WidgetItem>& items) {
    bool cleared = false;
    for (auto& item : items) {
        cleared |= item.pressed != 0;
        item.pressed = 0;
    }
    return cleared;
}

}  // namespace

bool PointerTracker::move(std::vector<WidgetItem>& items, std::optional<size_t> hit) {
    if (hit && *hit >= items.size()) hit.reset();
    if (hit == hovered_) return false;
    if (WidgetItem* old = at(items, hovered_)) old->hovered = 0;
    if (WidgetItem* now = at(items, hit)) now->hovered = 1;
    hovered_ = hit;
    return true;
}

bool PointerTracker::press(std::vector<WidgetItem>& items, std::optional<size_t> hit) {
    WidgetItem* item = at(items, hit);
    if (!item) return false;
    item->pressed = 1;
    pressed_ = hit;
    return true;
}

PointerTracker::Release PointerTracker::release(std::vector<WidgetItem>& items,
                                                std::optional<size_t> hit) {
    Release r;
    // A stale pressed look would stay until the next repaint otherwise.
    r.repaint = clear_pressed(items);
    if (pressed_ && hit == pressed_ && *pressed_ < items.size()) {
        r.command = items[*pressed_].id;
        r.repaint = true;
    }
    pressed_.reset();
    return r;
}

bool PointerTracker::cancel(std::vector<WidgetItem>& items) {
    if (!pressed_) return false;
    pressed_.reset();
    return clear_pressed(items);
}

void PointerTracker::reapply(std::vector<WidgetItem>& items) const {
    if (WidgetItem* item = at(items, hovered_)) item->hovered = 1;
    if (WidgetItem* item = at(items, pressed_)) item->pressed = 1;
}

void PointerTracker::forget() {
    hovered_.reset();
    pressed_.reset();
}

}  // namespace tw::app
