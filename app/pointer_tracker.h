#pragma once
// Hover and press on a widget list, free of any window system: the window hands it
// each mouse event's position in DIPs and acts on what it answers (repaint, capture,
// run a command). The hit test is supplied by the window.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/widgets.h"

namespace tw::app {

// The topmost clickable, enabled item at a DIP position.
using WidgetHitTest =
    std::function<std::optional<size_t>(const std::vector<WidgetItem>&, int32_t x, int32_t y)>;

class PointerTracker {
public:
    explicit PointerTracker(WidgetHitTest hit_test) : hit_test_(std::move(hit_test)) {}

    // Mouse move: true when the hovered item changed (repaint).
    bool move(std::vector<WidgetItem>& items, int32_t x, int32_t y);
    // The pointer left the window: true when a hovered flag was cleared.
    bool leave(std::vector<WidgetItem>& items);
    // Left button down: the pressed item, if any (capture the mouse, repaint).
    std::optional<size_t> press(std::vector<WidgetItem>& items, int32_t x, int32_t y);

    struct Release {
        bool repaint = false;              // a pressed look was cleared
        std::optional<uint64_t> command;   // released over the pressed item
    };
    // Left button up: every pressed flag is cleared.
    Release release(std::vector<WidgetItem>& items, int32_t x, int32_t y);

    // After the window rebuilt its list: the stored hover and press are flagged again.
    void reapply(std::vector<WidgetItem>& items) const;
    // The list now shows something else entirely: nothing is hovered or pressed.
    void reset() {
        hovered_.reset();
        pressed_.reset();
    }

    std::optional<size_t> hovered() const { return hovered_; }
    std::optional<size_t> pressed() const { return pressed_; }

private:
    std::optional<size_t> hit(const std::vector<WidgetItem>& items, int32_t x, int32_t y) const;

    WidgetHitTest hit_test_;
    std::optional<size_t> hovered_;
    std::optional<size_t> pressed_;
};

}  // namespace tw::app
