#pragma once
// Keyboard use of any drawn window, derived from its widget list: Tab and Shift+Tab walk
// every control in reading order; the arrows, Home and End move within a group of like
// items (list rows, screen tabs, theme segments, colour swatches, layout rows) and open
// a dropdown; Space and Enter do what a click does. Windows keep their own keys (text
// fields, Escape, the editor's canvas) and ask this first.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/ui/widgets.h"

namespace tw {

enum class NavKey : uint8_t { Tab, BackTab, Left, Right, Up, Down, Home, End, Activate };

struct NavStep {
    bool handled = false;
    std::optional<size_t> focus;      // the focus afterwards (unchanged when not handled)
    std::optional<uint64_t> command;  // run it as a click on the item carrying it
};

// One key over `items` with the focus at `focus` (none: Tab takes the first control,
// Shift+Tab the last; the arrows take the first of a group only from a group item).
// Moving within tabs, segments and swatches also chooses the item, as a tab control
// does; within list rows it only moves the focus (Space or Enter chooses).
NavStep keyboard_step(const std::vector<WidgetItem>& items, std::optional<size_t> focus, NavKey key);

// After a dropdown opened: the row of its list to focus, the chosen one or the first.
std::optional<size_t> open_list_focus(const std::vector<WidgetItem>& items);

// After a rebuild: the item that now carries the command the focus was on (its index
// may have moved), or none.
std::optional<size_t> refocus(const std::vector<WidgetItem>& items, std::optional<uint64_t> command,
                              std::optional<size_t> old_index);

}  // namespace tw
