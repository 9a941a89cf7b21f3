// Keyboard navigation over a widget list: Tab order, groups, dropdowns, activation.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/ui/keyboard_nav.h"

namespace tw {
namespace {

using O = std::optional<size_t>;

// A row of three screen tabs, a dropdown with its open list of two rows (the second
// chosen), a button and a disabled button.
std::vector<WidgetItem> sample() {
    std::vector<WidgetItem> items;
    push_item(items, 0, 0, {0, 0, 400, 400});  // a card: never focused
    push_item(items, 10, 22, {0, 0, 50, 30}, "A");
    push_item(items, 11, 22, {54, 0, 104, 30}, "B").selected = 1;
    push_item(items, 12, 22, {108, 0, 158, 30}, "C");
    push_item(items, 20, 14, {0, 40, 100, 60}, "Field");
    push_item(items, 30, 13, {200, 40, 260, 60}, "Go");
    push_item(items, 31, 13, {270, 40, 330, 60}, "Off").enabled = 0;
    push_item(items, 0, 15, {0, 60, 100, 116});
    push_item(items, 40, 16, {0, 60, 100, 88}, "One");
    push_item(items, 41, 16, {0, 88, 100, 116}, "Two").on = 1;
    return items;
}

TEST(KeyboardNav, KeysMoveAndActivateByRule) {
    const auto items = sample();
    struct Case {
        O from;
        NavKey key;
        bool handled;
        O focus;
        std::optional<uint64_t> command;
    };
    const Case cases[] = {
        {std::nullopt, NavKey::Tab, true, 1, std::nullopt},       // first control
        {std::nullopt, NavKey::BackTab, true, 9, std::nullopt},   // last control
        {3, NavKey::Tab, true, 4, std::nullopt},                  // tabs, then the field
        {4, NavKey::Tab, true, 5, std::nullopt},                  // same line, left to right
        {5, NavKey::Tab, true, 8, std::nullopt},                  // the disabled one skipped
        {9, NavKey::Tab, true, 1, std::nullopt},                  // wraps
        {1, NavKey::BackTab, true, 9, std::nullopt},              // wraps back
        {1, NavKey::Right, true, 2, 11u},                         // a tab is chosen as it is reached
        {2, NavKey::Left, true, 1, 10u},
        {1, NavKey::Left, true, 1, std::nullopt},                 // the first stays
        {1, NavKey::End, true, 3, 12u},
        {3, NavKey::Home, true, 1, 10u},
        {8, NavKey::Down, true, 9, std::nullopt},                 // list rows only move
        {9, NavKey::Down, true, 9, std::nullopt},
        {4, NavKey::Down, true, 4, 20u},                          // a dropdown opens
        {5, NavKey::Down, false, 5, std::nullopt},                // a button has no arrows
        {5, NavKey::Activate, true, 5, 30u},
        {std::nullopt, NavKey::Activate, false, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const NavStep s = keyboard_step(items, c.from, c.key);
        const std::string where = "from " + (c.from ? std::to_string(*c.from) : std::string("none")) +
                                  " key " + std::to_string(static_cast<int>(c.key));
        EXPECT_EQ(s.handled, c.handled) << where;
        EXPECT_EQ(s.focus, c.focus) << where;
        EXPECT_EQ(s.command, c.command) << where;
    }
}

TEST(KeyboardNav, AnOpenListFocusesItsChosenRowAndARebuildKeepsTheFocusedCommand) {
    auto items = sample();
    EXPECT_EQ(open_list_focus(items), O(9));
    items[9].on = 0;
    EXPECT_EQ(open_list_focus(items), O(8));
    EXPECT_EQ(refocus(items, 30, 5), O(5));
    items.erase(items.begin() + 2);                       // an item before it went away
    EXPECT_EQ(refocus(items, 30, 5), O(4));
    items.resize(6);                                      // the list closed
    EXPECT_EQ(refocus(items, 40, 7), std::nullopt);
    EXPECT_EQ(refocus(items, 31, 5), std::nullopt);       // disabled: no focus there
    EXPECT_EQ(refocus(items, std::nullopt, 1), std::nullopt);
}

TEST(KeyboardNav, NothingFocusableHandlesNothing) {
    std::vector<WidgetItem> items;
    push_item(items, 0, 1, {0, 0, 10, 10}, "Text");
    const NavStep s = keyboard_step(items, std::nullopt, NavKey::Tab);
    EXPECT_FALSE(s.handled);
    EXPECT_EQ(s.focus, std::nullopt);
}

}  // namespace
}  // namespace tw
