#include "core/ui/accessible_tree.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/base/color.h"
#include "core/model/catalog.h"

namespace tw {

namespace {

using R = AccessibleRole;
namespace st = accessible_state;

bool is_text_kind(uint8_t kind) { return kind >= 1 && kind <= 6; }

// Kinds that only decorate: card surfaces, the theme switch's track, the scroll bar.
bool is_decoration(uint8_t kind) { return kind == 0 || kind == 24 || kind == 30 || kind == 31; }

R role_of(const std::vector<WidgetItem>& items, const WidgetItem& it) {
    if (it.role != 0) return static_cast<R>(it.role);
    switch (it.kind) {
    case 7: case 8: case 9: return R::Link;
    case 10: return R::CheckButton;
    case 11: case 12: case 13: case 17: case 25: return R::PushButton;
    case 14: return R::ComboBox;
    case 15: return R::List;
    case 16: case 20: return R::ListItem;
    case 18: return R::EditableText;
    case 19: return R::Grouping;
    case 21: case 29: return R::RadioButton;
    case 22: return R::PageTab;
    case 23: return R::Graphic;
    case 26: {
        // Several swatches are a choice of one; a single one opens the colour dialog.
        const auto swatches = std::count_if(items.begin(), items.end(),
                                            [](const WidgetItem& w) { return w.kind == 26; });
        return swatches > 1 ? R::RadioButton : R::PushButton;
    }
    case 27: return R::Slider;
    default: return R::StaticText;
    }
}

// Buttons drawn with a glyph instead of a word.
std::string glyph_label(std::string_view text) {
    struct Glyph {
        std::string_view text;
        const char* key;
    };
    static constexpr Glyph kGlyphs[] = {
        {"\u2715", "a11y.close"},           {"\u2013", "a11y.minimize"},
        {"\u2600\uFE0E", "a11y.theme_light"}, {"\u25D0", "a11y.theme_auto"},
        {"\u263E\uFE0E", "a11y.theme_dark"},  {"\u2212", "a11y.decrease"},
        {"+", "a11y.increase"},
    };
    for (const Glyph& g : kGlyphs)
        if (g.text == text) return tr(g.key);
    return {};
}

std::string join(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + " " + b;
}

int32_t middle(int32_t a, int32_t b) { return a + (b - a) / 2; }

enum class LabelPick : uint8_t { Nearest, First };

// A plain label on the item's line to its left (its middle within the item's height):
// the nearest one, which names the item, or the first one, which says what a row of
// repeated buttons is about.
std::string label_on_line(const std::vector<WidgetItem>& items, const WidgetItem& it, LabelPick pick) {
    const WidgetItem* best = nullptr;
    for (const WidgetItem& w : items) {
        if (w.kind != 1 || w.text.empty() || w.rect.right > it.rect.left) continue;
        const int32_t m = middle(w.rect.top, w.rect.bottom);
        if (m < it.rect.top || m >= it.rect.bottom) continue;
        if (!best || (pick == LabelPick::Nearest ? w.rect.right > best->rect.right : w.rect.left < best->rect.left))
            best = &w;
    }
    return best ? best->text : std::string();
}

bool text_repeats(const std::vector<WidgetItem>& items, const WidgetItem& it) {
    return std::count_if(items.begin(), items.end(), [&](const WidgetItem& w) {
               return w.kind == it.kind && w.text == it.text;
           }) > 1;
}

// The heading over the item: the nearest plain label above it that overlaps it
// horizontally.
std::string column_label(const std::vector<WidgetItem>& items, const WidgetItem& it) {
    const WidgetItem* best = nullptr;
    for (const WidgetItem& w : items) {
        if (w.kind != 1 || w.text.empty() || w.rect.bottom > it.rect.top) continue;
        if (std::max(w.rect.left, it.rect.left) >= std::min(w.rect.right, it.rect.right)) continue;
        if (!best || w.rect.bottom > best->rect.bottom) best = &w;
    }
    return best ? best->text : std::string();
}

// The list row (kind 20) that holds a button drawn on it.
const WidgetItem* row_under(const std::vector<WidgetItem>& items, const WidgetItem& it) {
    const Point c{middle(it.rect.left, it.rect.right), middle(it.rect.top, it.rect.bottom)};
    for (const WidgetItem& w : items)
        if (w.kind == 20 && &w != &it && contains(w.rect, c)) return &w;
    return nullptr;
}

bool overlaps_horizontally(const Rect& a, const Rect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right);
}

// An open list hangs from its field's bottom edge.
bool panel_of(const WidgetItem& panel, const WidgetItem& field) {
    return panel.kind == 15 && std::abs(panel.rect.top - field.rect.bottom) <= 2 &&
           overlaps_horizontally(panel.rect, field.rect);
}

std::string hex_name(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", rgb & 0xFFFFFFu);
    return text;
}

std::string name_of(const std::vector<WidgetItem>& items, const WidgetItem& it, R role,
                    std::span<const LayoutPreview> previews) {
    if (!it.label.empty()) return it.label;
    switch (it.kind) {
    case 17: return glyph_label(it.text);
    case 25: {
        const WidgetItem* row = row_under(items, it);
        return tr_args("a11y.delete", {{"name", row ? row->text : std::string()}});
    }
    case 21: case 23:
        return it.preview < previews.size() ? previews[it.preview].name : it.text;
    case 26: case 28: return hex_name(it.color);
    case 15:
        for (const WidgetItem& field : items)
            if (field.kind == 14 && panel_of(it, field)) return name_of(items, field, R::ComboBox, previews);
        return {};
    default: break;
    }
    if (role == R::EditableText || role == R::ComboBox || role == R::Slider || role == R::Grouping)
        return join(label_on_line(items, it, LabelPick::Nearest), column_label(items, it));
    if (const std::string glyph = glyph_label(it.text); !glyph.empty())
        return it.kind == 29 ? glyph : join(label_on_line(items, it, LabelPick::Nearest), glyph);
    // "Change" on every row of a table says which row only with the row's label.
    if (role == R::PushButton && text_repeats(items, it))
        return join(label_on_line(items, it, LabelPick::First), it.text);
    return it.text;
}

std::string value_of(const WidgetItem& it, R role, std::span<const LayoutPreview> previews) {
    if (role == R::EditableText || role == R::ComboBox) return it.text;
    if (it.kind == 27) return std::to_string(std::lround(color_to_hue(it.color)));
    if (it.kind == 23 && it.preview < previews.size()) return previews[it.preview].secondary;
    return {};
}

uint32_t state_of(const std::vector<WidgetItem>& items, const WidgetItem& it, R role, bool focused) {
    uint32_t s = 0;
    if (focused) s |= st::kFocused;
    if (is_focusable_item(it)) s |= st::kFocusable;
    if (it.enabled != 1 && !is_text_kind(it.kind)) s |= st::kUnavailable;
    if (it.hovered) s |= st::kHot;
    if (it.pressed) s |= st::kPressed;
    switch (role) {
    case R::CheckButton:
        if (it.on) s |= st::kChecked;
        break;
    case R::RadioButton:
        if (it.selected) s |= st::kChecked;
        break;
    case R::PageTab:
        if (it.selected) s |= st::kSelected;
        break;
    case R::ListItem:
        if (it.on || it.selected) s |= st::kSelected;
        break;
    case R::ComboBox: {
        const bool open = std::any_of(items.begin(), items.end(),
                                      [&](const WidgetItem& p) { return panel_of(p, it); });
        s |= open ? st::kExpanded : st::kCollapsed;
        break;
    }
    default: break;
    }
    return s;
}

std::string action_of(const WidgetItem& it, R role, uint32_t state) {
    if (!is_clickable_kind(it.kind) || it.enabled != 1) return {};
    switch (role) {
    case R::PushButton: return tr("a11y.action_press");
    case R::CheckButton: return tr(it.on ? "a11y.action_uncheck" : "a11y.action_check");
    case R::RadioButton:
    case R::ListItem: return tr("a11y.action_select");
    case R::PageTab: return tr("a11y.action_switch");
    case R::Link: return tr("a11y.action_jump");
    case R::ComboBox: return tr((state & st::kExpanded) ? "a11y.action_close" : "a11y.action_open");
    default: return {};
    }
}

bool takes_part(const WidgetItem& it) {
    if (is_decoration(it.kind)) return false;
    if (is_text_kind(it.kind) && it.text.empty() && it.label.empty()) return false;
    return true;
}

// Indices of the items that pass `keep`, in reading order. Only those items form lines:
// a card behind a column of rows would otherwise make them all one line.
template <typename Keep>
std::vector<size_t> reading_order(const std::vector<WidgetItem>& items, Keep keep) {
    std::vector<size_t> order;
    for (size_t i = 0; i < items.size(); ++i)
        if (keep(items[i])) order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return items[a].rect.top < items[b].rect.top; });
    std::vector<size_t> line_of(items.size(), 0);
    size_t line = 0;
    int32_t line_middle = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        const Rect& r = items[order[k]].rect;
        if (k == 0 || r.top >= line_middle) {
            line = k;
            line_middle = middle(r.top, r.bottom);
        }
        line_of[order[k]] = line;
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (line_of[a] != line_of[b]) return line_of[a] < line_of[b];
        return items[a].rect.left < items[b].rect.left;
    });
    return order;
}

}  // namespace

bool is_focusable_item(const WidgetItem& item) {
    if (item.enabled != 1) return false;
    if (item.role != 0) {
        const auto role = static_cast<R>(item.role);
        return role != R::StaticText && role != R::Graphic && role != R::List;
    }
    return is_clickable_kind(item.kind) || item.kind == 18 || item.kind == 19;
}

std::vector<size_t> focus_order(const std::vector<WidgetItem>& items) {
    return reading_order(items, is_focusable_item);
}

std::vector<AccessibleNode> accessible_tree(const std::vector<WidgetItem>& items,
                                            std::optional<size_t> focus,
                                            std::span<const LayoutPreview> previews) {
    std::vector<AccessibleNode> nodes;
    for (size_t i : reading_order(items, takes_part)) {
        const WidgetItem& it = items[i];
        AccessibleNode& n = nodes.emplace_back();
        n.item = i;
        n.role = role_of(items, it);
        n.name = name_of(items, it, n.role, previews);
        n.value = value_of(it, n.role, previews);
        n.state = state_of(items, it, n.role, focus == i);
        n.default_action = action_of(it, n.role, n.state);
        n.rect = it.rect;
        n.command = it.id;
    }
    return nodes;
}

AccessibleChanges accessible_changes(const std::vector<AccessibleNode>& before,
                                     const std::vector<AccessibleNode>& after) {
    AccessibleChanges changes;
    bool same_shape = before.size() == after.size();
    for (size_t i = 0; same_shape && i < after.size(); ++i)
        same_shape = before[i].item == after[i].item && before[i].command == after[i].command &&
                     before[i].role == after[i].role;
    const auto focused = [](const std::vector<AccessibleNode>& nodes) -> const AccessibleNode* {
        for (const AccessibleNode& n : nodes)
            if (n.state & st::kFocused) return &n;
        return nullptr;
    };
    const AccessibleNode* was = focused(before);
    if (const AccessibleNode* now = focused(after);
        now && (!was || was->item != now->item || was->command != now->command))
        changes.focus = static_cast<size_t>(now - after.data());
    if (!same_shape) {
        changes.reordered = true;
        return changes;
    }
    // Hover and press follow the pointer; a screen reader is told about them by the
    // focus and the action, not by a state change on every mouse move.
    constexpr uint32_t kQuiet = st::kHot | st::kPressed | st::kFocused;
    for (size_t i = 0; i < after.size(); ++i) {
        if ((before[i].state & ~kQuiet) != (after[i].state & ~kQuiet)) changes.state.push_back(i);
        if (before[i].name != after[i].name) changes.name.push_back(i);
        if (before[i].value != after[i].value) changes.value.push_back(i);
    }
    return changes;
}

}  // namespace tw
