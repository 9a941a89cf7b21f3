#pragma once
// What a screen reader is told about a drawn window: one node per control or text of
// the same widget list that is painted, in reading order, each with a name, a role,
// states, a location, a value and a default action. The Win32 side wraps the nodes in
// an accessible object and announces changes found by comparing two trees.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/geometry.h"
#include "core/ui/widgets.h"

namespace tw {

// Roles a node can have; a view may also put one into WidgetItem::role for an item
// whose kind is a bare hit target (a text field drawn over it, a list row).
enum class AccessibleRole : uint8_t {
    FromKind = 0,
    StaticText,
    PushButton,
    CheckButton,
    RadioButton,
    ComboBox,
    List,
    ListItem,
    PageTab,
    EditableText,
    Slider,
    Link,
    Graphic,
    Grouping,
};

// State bits of a node.
namespace accessible_state {
inline constexpr uint32_t kFocused = 1u << 0;
inline constexpr uint32_t kFocusable = 1u << 1;
inline constexpr uint32_t kChecked = 1u << 2;
inline constexpr uint32_t kSelected = 1u << 3;
inline constexpr uint32_t kUnavailable = 1u << 4;
inline constexpr uint32_t kExpanded = 1u << 5;
inline constexpr uint32_t kCollapsed = 1u << 6;
inline constexpr uint32_t kHot = 1u << 7;
inline constexpr uint32_t kPressed = 1u << 8;
}  // namespace accessible_state

struct AccessibleNode {
    size_t item = 0;  // index into the widget list
    AccessibleRole role = AccessibleRole::StaticText;
    std::string name;
    std::string value;           // fields, sliders, combo boxes, previews
    std::string default_action;  // empty when the node has none
    uint32_t state = 0;
    Rect rect;  // DIPs, as the item's
    uint64_t command = 0;
    friend bool operator==(const AccessibleNode&, const AccessibleNode&) = default;
};

// The nodes of `items` in reading order: top to bottom by lines (an item whose top lies
// above the middle of the line's first item joins that line), left to right within a
// line. Decoration (cards, panels' surfaces, the theme switch's track, the scroll bar)
// and empty texts are left out. `focus` is the keyboard focus, shown or not.
std::vector<AccessibleNode> accessible_tree(const std::vector<WidgetItem>& items,
                                            std::optional<size_t> focus,
                                            std::span<const LayoutPreview> previews = {});

// Whether an item takes the keyboard focus: enabled clickable items, text fields and
// items whose role hint makes them a control.
bool is_focusable_item(const WidgetItem& item);

// The indices of the focusable items in reading order.
std::vector<size_t> focus_order(const std::vector<WidgetItem>& items);

// What changed between two trees of the same window, for the announcements a screen
// reader listens to. Nodes are matched by item index and command; a changed layout
// (other count or other commands) reports `reordered` only.
struct AccessibleChanges {
    bool reordered = false;
    std::optional<size_t> focus;          // index of the newly focused node
    std::vector<size_t> state, name, value;  // node indices in the new tree
};
AccessibleChanges accessible_changes(const std::vector<AccessibleNode>& before,
                                     const std::vector<AccessibleNode>& after);

}  // namespace tw
