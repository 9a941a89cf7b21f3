#include "core/ui/keyboard_nav.h"

#include <algorithm>

#include "core/ui/accessible_tree.h"

namespace tw {

namespace {

// Kinds whose items form a group the arrows move in.
bool is_group_kind(uint8_t kind) {
    return kind == 16 || kind == 20 || kind == 21 || kind == 22 || kind == 26 || kind == 29;
}

// Kinds where moving also chooses: a row of tabs, the theme segments, the swatches.
bool chooses_on_move(uint8_t kind) { return kind == 21 || kind == 22 || kind == 26 || kind == 29; }

NavStep moved(const std::vector<WidgetItem>& items, size_t to) {
    NavStep s;
    s.handled = true;
    s.focus = to;
    if (chooses_on_move(items[to].kind)) s.command = items[to].id;
    return s;
}

}  // namespace

NavStep keyboard_step(const std::vector<WidgetItem>& items, std::optional<size_t> focus, NavKey key) {
    NavStep step;
    step.focus = focus;
    if (focus && *focus >= items.size()) focus.reset();
    const std::vector<size_t> order = focus_order(items);
    if (order.empty()) return step;
    const auto at = focus ? std::find(order.begin(), order.end(), *focus) : order.end();

    if (key == NavKey::Tab || key == NavKey::BackTab) {
        step.handled = true;
        const bool back = key == NavKey::BackTab;
        if (at == order.end()) {
            step.focus = back ? order.back() : order.front();
        } else {
            const auto k = static_cast<size_t>(at - order.begin());
            step.focus = order[back ? (k + order.size() - 1) % order.size() : (k + 1) % order.size()];
        }
        return step;
    }
    if (at == order.end()) return step;
    const WidgetItem& current = items[*at];

    if (key == NavKey::Activate) {
        if (!is_clickable_kind(current.kind)) return step;
        step.handled = true;
        step.command = current.id;
        return step;
    }
    // A closed dropdown opens with Down or Up, as a combo box does.
    if (current.kind == 14 && (key == NavKey::Down || key == NavKey::Up)) {
        step.handled = true;
        step.command = current.id;
        return step;
    }
    if (!is_group_kind(current.kind)) return step;
    std::vector<size_t> group;
    for (size_t i : order)
        if (items[i].kind == current.kind) group.push_back(i);
    const auto g = static_cast<size_t>(std::find(group.begin(), group.end(), *at) - group.begin());
    switch (key) {
    case NavKey::Home: return moved(items, group.front());
    case NavKey::End: return moved(items, group.back());
    case NavKey::Left:
    case NavKey::Up:
        if (g == 0) {
            step.handled = true;  // at the first item; the focus stays
            return step;
        }
        return moved(items, group[g - 1]);
    case NavKey::Right:
    case NavKey::Down:
        if (g + 1 >= group.size()) {
            step.handled = true;
            return step;
        }
        return moved(items, group[g + 1]);
    default: return step;
    }
}

std::optional<size_t> open_list_focus(const std::vector<WidgetItem>& items) {
    std::optional<size_t> first;
    for (size_t i : focus_order(items)) {
        if (items[i].kind != 16) continue;
        if (items[i].on) return i;
        if (!first) first = i;
    }
    return first;
}

std::optional<size_t> refocus(const std::vector<WidgetItem>& items, std::optional<uint64_t> command,
                              std::optional<size_t> old_index) {
    if (!command) return std::nullopt;
    if (old_index && *old_index < items.size() && items[*old_index].id == *command &&
        is_focusable_item(items[*old_index]))
        return old_index;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].id == *command && *command != 0 && is_focusable_item(items[i])) return i;
    return std::nullopt;
}

}  // namespace tw
