#pragma once
// Hover and press on a widget list, free of any window system: the window feeds it the
// hit-test result of each mouse event and acts on what it answers.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/widgets.h"

namespace tw::app {

class PointerTracker {
public:
    // Mouse move: true when the hovered item changed (repaint).
    bool move(std::vector<WidgetItem>& items, std::optional<size_t> hit);
    // Left button down: true when an item was pressed (capture the mouse, repaint).
    bool press(std::vector<WidgetItem>& items, std::optional<size_t> hit);

    struct Release {
        bool repaint = false;
        std::optional<uint64_t> command;  // press and release on the same item
    };
    // Left button up: every pressed flag is cleared.
    Release release(std::vector<WidgetItem>& items, std::optional<size_t> hit);
    // The mouse capture went elsewhere mid-press: the press ends without a command.
    // True when a pressed flag was cleared.
    bool cancel(std::vector<WidgetItem>& items);

    // After the window rebuilt its list: the stored hover and press are flagged again.
    void reapply(std::vector<WidgetItem>& items) const;
    // The list now shows something else entirely: nothing is hovered or pressed.
    void forget();

    std::optional<size_t> hovered() const { return hovered_; }
    std::optional<size_t> pressed() const { return pressed_; }

private:
    std::optional<size_t> hovered_;
    std::optional<size_t> pressed_;
};

}  // namespace tw::app
