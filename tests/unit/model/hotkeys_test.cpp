#include <gtest/gtest.h>

#include "core/model/hotkeys.h"

namespace tw {
namespace {

TEST(Hotkeys, BindingText) {
    struct Case {
        uint32_t modifiers, key;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "Unbound"},
        {0, 0x52, "Unbound"},
        {3, 0x52, "Ctrl+Alt+R"},
        {12, 0x31, "Shift+Win+1"},
        {2, 0x70, "Ctrl+?"},
        {15, 0x41, "Ctrl+Alt+Shift+Win+A"},
        {1, 0x2E, "Alt+Delete"},
        {1, 0x73, "Alt+F4"},
        {1, 0x09, "Alt+Tab"},
        {4, 0x1B, "Shift+Esc"},
        {8, 0x5A, "Win+Z"},
        {2, 0x30, "Ctrl+0"},
        {2, 0x39, "Ctrl+9"},
        {2, 0x40, "Ctrl+?"},  // just below A
        {2, 0x5B, "Ctrl+?"},  // just above Z (left Win)
        {2, 0x2F, "Ctrl+?"},  // just below 0
        {2, 0x3A, "Ctrl+?"},  // just above 9
        {2, 0x61, "Ctrl+?"},  // lower-case ASCII is not a key code
        {2, 0x141, "Ctrl+?"},
        {5, 0x44, "Alt+Shift+D"},
        {10, 0x44, "Ctrl+Win+D"},
    };
    for (const Case& c : cases) EXPECT_EQ(binding_text(c.modifiers, c.key), c.text) << c.modifiers << "," << c.key;
}

TEST(Hotkeys, DefaultBindingsAsText) {
    const char* expected[] = {"Ctrl+Alt+R", "Ctrl+Alt+Z", "Ctrl+Alt+C", "Ctrl+Alt+A", "Ctrl+Alt+D", "Ctrl+Alt+W",
                              "Ctrl+Alt+S", "Ctrl+Alt+1", "Ctrl+Alt+2", "Ctrl+Alt+3", "Unbound",    "Unbound",
                              "Unbound",    "Unbound",    "Unbound",    "Unbound",
                              "Ctrl+Alt+Win+1", "Ctrl+Alt+Win+2", "Ctrl+Alt+Win+3", "Ctrl+Alt+Win+4",
                              "Ctrl+Alt+Win+5", "Ctrl+Alt+Win+6", "Ctrl+Alt+Win+7", "Ctrl+Alt+Win+8",
                              "Ctrl+Alt+Win+9", "Ctrl+Alt+Shift+A", "Ctrl+Alt+Shift+D", "Ctrl+Alt+Shift+W",
                              "Ctrl+Alt+Shift+S"};
    static_assert(std::size(expected) == kHotkeyActionCount);
    const auto defaults = default_bindings();
    for (size_t i = 0; i < kHotkeyActionCount; ++i)
        EXPECT_EQ(binding_text(defaults[i].modifiers, defaults[i].key), expected[i]) << i;
}

TEST(Hotkeys, ModifiersFromKeys) {
    struct Case {
        bool alt, ctrl, shift, win;
        uint32_t expected;
    };
    const Case cases[] = {
        {false, false, false, false, 0}, {true, false, false, false, 1}, {false, true, false, false, 2},
        {false, false, true, false, 4},  {false, false, false, true, 8}, {true, true, false, false, 3},
        {true, true, true, true, 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(modifiers_from_keys(c.alt, c.ctrl, c.shift, c.win), c.expected) << c.expected;
}

TEST(Hotkeys, KeysInTheShortcutsWindow) {
    struct Case {
        bool capturing;
        uint32_t vk;
        ShortcutKey expected;
    };
    const Case cases[] = {
        {false, 0x0D, ShortcutKey::Save},
        {false, 0x1B, ShortcutKey::Close},
        {false, 0x41, ShortcutKey::PassOn},
        {false, 0x11, ShortcutKey::PassOn},
        {true, 0x10, ShortcutKey::Ignore},
        {true, 0x11, ShortcutKey::Ignore},
        {true, 0x12, ShortcutKey::Ignore},
        {true, 0x5B, ShortcutKey::Ignore},
        {true, 0x5C, ShortcutKey::Ignore},
        {true, 0x1B, ShortcutKey::CancelCapture},
        {true, 0x0D, ShortcutKey::Check},  // Enter is an ordinary key while capturing
        {true, 0x41, ShortcutKey::Check},
        {true, 0x13, ShortcutKey::Check},  // Pause, next to the modifier codes
        {true, 0x0F, ShortcutKey::Check},
        {true, 0x5D, ShortcutKey::Check},  // Apps key, next to the Win keys
        {true, 0x5A, ShortcutKey::Check},
    };
    for (const Case& c : cases) EXPECT_EQ(classify_shortcut_key(c.capturing, c.vk), c.expected) << c.capturing << "," << c.vk;
}

TEST(Hotkeys, CapturedBindingRules) {
    struct Case {
        const char* name;
        size_t row;
        HotkeyBinding candidate;
        CaptureRule rule;
        const char* catalog_key;
        std::optional<size_t> duplicate_row;
    };
    const char* kNoModifier = "shortcuts.error_no_modifier";
    const char* kReserved = "shortcuts.error_reserved_windows";
    const char* kDuplicate = "shortcuts.error_duplicate";
    const Case cases[] = {
        {"A alone", 0, {0, 0x41}, CaptureRule::NoModifier, kNoModifier, std::nullopt},
        {"Shift+A", 0, {4, 0x41}, CaptureRule::Accepted, "", std::nullopt},
        {"Ctrl+Alt+Q", 3, {3, 0x51}, CaptureRule::Accepted, "", std::nullopt},
        {"Win+A", 0, {8, 0x41}, CaptureRule::ReservedByWindows, kReserved, std::nullopt},
        {"Ctrl+Shift+Win+F", 0, {14, 0x46}, CaptureRule::ReservedByWindows, kReserved, std::nullopt},
        {"Alt+Tab", 0, {1, 0x09}, CaptureRule::ReservedByWindows, kReserved, std::nullopt},
        {"Alt+F4", 0, {1, 0x73}, CaptureRule::ReservedByWindows, kReserved, std::nullopt},
        {"Ctrl+Alt+Delete", 0, {3, 0x2E}, CaptureRule::ReservedByWindows, kReserved, std::nullopt},
        {"Ctrl+Tab is free", 0, {2, 0x09}, CaptureRule::Accepted, "", std::nullopt},
        {"Alt+Shift+F4 is free", 0, {5, 0x73}, CaptureRule::Accepted, "", std::nullopt},
        {"Ctrl+Delete is free", 0, {2, 0x2E}, CaptureRule::Accepted, "", std::nullopt},
        {"Ctrl+Alt+1 held by Share Zone 1", 3, {3, 0x31}, CaptureRule::Duplicate, kDuplicate, size_t{7}},
        {"Ctrl+Alt+R held by Start / Stop", 15, {3, 0x52}, CaptureRule::Duplicate, kDuplicate, size_t{0}},
        {"own combination again", 0, {3, 0x52}, CaptureRule::Accepted, "", std::nullopt},
        {"same key, other modifiers", 0, {7, 0x52}, CaptureRule::Accepted, "", std::nullopt},
        {"Win and a duplicate: reserved first", 0, {8, 0x41}, CaptureRule::ReservedByWindows, kReserved,
         std::nullopt},
    };
    auto working = default_bindings();
    working[1] = {8, 0x41};  // a Win binding read from an older file: reported as reserved, not duplicate
    for (const Case& c : cases) {
        const CaptureVerdict v = check_captured_binding(working, c.row, c.candidate);
        EXPECT_EQ(v.rule, c.rule) << c.name;
        EXPECT_EQ(v.catalog_key, c.catalog_key) << c.name;
        EXPECT_EQ(v.duplicate_row, c.duplicate_row) << c.name;
        EXPECT_EQ(v.accepted(), c.rule == CaptureRule::Accepted) << c.name;
    }
}

TEST(Hotkeys, DuplicateClearsOnceTheOtherRowIsCleared) {
    auto working = default_bindings();
    const HotkeyBinding ctrl_alt_1{3, 0x31};
    EXPECT_EQ(check_captured_binding(working, 3, ctrl_alt_1).duplicate_row, size_t{7});
    working[7] = {};
    EXPECT_TRUE(check_captured_binding(working, 3, ctrl_alt_1).accepted());
    // Unbound rows never count as holding a combination.
    EXPECT_TRUE(check_captured_binding(working, 3, {3, 0x4A}).accepted());
}

}  // namespace
}  // namespace tw
