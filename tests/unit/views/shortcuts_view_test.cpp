#include <gtest/gtest.h>

#include <vector>

#include "core/model/catalog.h"
#include "core/views/shortcuts_view.h"
#include "support/recording_canvas.h"

namespace tw {
namespace {

constexpr uint32_t kCtrlAlt = kModControl | kModAlt;

const WidgetItem* find(const std::vector<WidgetItem>& items, uint64_t id) {
    for (const auto& w : items)
        if (w.id == id) return &w;
    return nullptr;
}

class ShortcutsView : public ::testing::Test {
protected:
    void TearDown() override { set_language("", {}); }
};

// The columns follow the measured texts, so that a translation never overflows.
TEST_F(ShortcutsView, ColumnsFollowTheTexts) {
    struct Case {
        const char* name;
        Catalog catalog;
        ShortcutsColumns expected;  // at 7 DIPs per character, W = 640
    };
    const Case cases[] = {
        // "Hide / Show zones" (17 characters) is the widest English label; "Clear" (5)
        // and "Press keys…" (11) set the buttons.
        {"English", {}, {119, 553, 101}},
        {"short words", {{"shortcuts.change_button", "Ok"}, {"shortcuts.press_keys", "…"},
                         {"common.clear", "X"}}, {119, 556, 96}},
        {"long words", {{"shortcuts.change_button", "Tastenkombination ändern"},
                        {"common.clear", "Zurücksetzen"}, {"shortcuts.action_move_up", std::string(30, 'w')}},
         {210, 504, 192}},
    };
    for (const Case& c : cases) {
        set_language(c.catalog.empty() ? "" : "xx", c.catalog);
        test::RecordingCanvas canvas;
        EXPECT_EQ(shortcuts_columns(640, &canvas), c.expected) << c.name;
    }
}

TEST_F(ShortcutsView, Geometry) {
    test::RecordingCanvas canvas;
    ShortcutsState s = open_shortcuts(Settings{});
    s.capture = 2;
    s.error = "message";
    const auto items = build_shortcuts_view(s, 640, &canvas);
    // A = 119, X = 553, P = 101 (see above).
    struct Case {
        uint64_t id;
        uint8_t kind;
        Rect rect;
        const char* text;
        uint8_t enabled;
    };
    const Case cases[] = {
        {shortcuts_id::kCloseGlyph, 17, {600, 0, 640, 40}, "\u2715", 1},
        {shortcuts_id::kChange[0], 13, {444, 62, 545, 88}, "Change", 0},
        {shortcuts_id::kChange[2], 13, {444, 138, 545, 164}, "Press keys…", 1},
        {shortcuts_id::kClear[2], 13, {553, 138, 612, 164}, "Clear", 0},
        {shortcuts_id::kChange[15], 13, {444, 632, 545, 658}, "Change", 0},
        {shortcuts_id::kSave, 11, {16, 710, 116, 740}, "Save", 1},
        {shortcuts_id::kCancel, 13, {512, 710, 612, 740}, "Cancel", 1},
    };
    for (const Case& c : cases) {
        const WidgetItem* w = find(items, c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_EQ(w->kind, c.kind) << c.id;
        EXPECT_EQ(w->rect, c.rect) << c.id;
        EXPECT_EQ(w->text, c.text) << c.id;
        EXPECT_EQ(w->enabled, c.enabled) << c.id;
    }
    // Row 15: its label, then its binding between the label and the Change button.
    const auto labels = [&] {
        std::vector<const WidgetItem*> out;
        for (const auto& w : items)
            if (w.kind == 1) out.push_back(&w);
        return out;
    }();
    // The heading, then a label and a binding per row that fits (the rest scroll).
    ASSERT_EQ(labels.size(), 1u + 2 * shortcuts_rows(s, kShortcutsHeight).count);
    EXPECT_EQ(labels[31]->rect, (Rect{28, 630, 159, 660}));
    EXPECT_EQ(labels[31]->text, "Share Zone 9");
    EXPECT_EQ(labels[32]->rect, (Rect{167, 630, 428, 660}));
    EXPECT_EQ(labels[32]->text, "Unbound");
    EXPECT_EQ(labels[2]->text, "Ctrl+Alt+R");
    EXPECT_EQ(items.back().kind, 13);
    EXPECT_EQ(items[items.size() - 3].text, "message");
    EXPECT_EQ(items[items.size() - 3].rect, (Rect{16, 682, 624, 700}));
}

TEST_F(ShortcutsView, Clicks) {
    using E = ShortcutsEffect;
    ShortcutsState s = open_shortcuts(Settings{});
    s.error = "old message";
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kChange[4]), E::Capture);
    EXPECT_EQ(s.capture, size_t{4});
    EXPECT_TRUE(s.error.empty());
    // While row 4 is captured the other rows' buttons and every Clear do nothing.
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kChange[5]), E::None);
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kClear[4]), E::None);
    EXPECT_EQ(s.working[4], (HotkeyBinding{kCtrlAlt, 0x44}));
    // Its own Change button ends the capture without a change.
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kChange[4]), E::Rebuild);
    EXPECT_FALSE(s.capture);
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kClear[8]), E::Rebuild);
    EXPECT_EQ(s.working[8], HotkeyBinding{});
    EXPECT_EQ(shortcut_binding_text(s.working[8]), "Unbound");
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kSave), E::Save);
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kCancel), E::Close);
    EXPECT_EQ(shortcuts_click(s, shortcuts_id::kCloseGlyph), E::Close);
    EXPECT_EQ(shortcuts_click(s, 0), E::None);
}

TEST_F(ShortcutsView, ModifiersAloneWaitForTheMainKey) {
    ShortcutsState s = open_shortcuts(Settings{});
    shortcuts_click(s, shortcuts_id::kClear[0]);
    shortcuts_click(s, shortcuts_id::kChange[0]);
    int probes = 0;
    const HotkeyProbe probe = [&](HotkeyBinding) { return ++probes, true; };
    EXPECT_EQ(shortcuts_key(s, 0x11, kModControl, probe), ShortcutsEffect::None);  // Ctrl
    EXPECT_EQ(shortcuts_key(s, 0x12, kCtrlAlt, probe), ShortcutsEffect::None);     // then Alt
    EXPECT_EQ(s.capture, size_t{0});
    EXPECT_EQ(shortcuts_key(s, 0x52, kCtrlAlt, probe), ShortcutsEffect::Rebuild);  // then R
    EXPECT_EQ(s.working[0], (HotkeyBinding{kCtrlAlt, 0x52}));
    EXPECT_FALSE(s.capture);
    EXPECT_EQ(probes, 1);
}

TEST_F(ShortcutsView, CapturedCombinations) {
    struct Case {
        const char* name;
        size_t row;
        uint32_t vk, modifiers;
        bool free;  // what the test registration says
        bool accepted;
        const char* error;
        bool probed;
    };
    const char* kNoModifier = "Hotkeys need at least one modifier key (Ctrl/Alt/Shift/Win).";
    const char* kReserved = "That combo is reserved by Windows.";
    const Case cases[] = {
        {"Shift+A", 0, 0x41, kModShift, true, true, "", true},
        {"A alone", 0, 0x41, 0, true, false, kNoModifier, false},
        {"Win+A", 0, 0x41, kModWin, true, false, kReserved, false},
        {"Alt+Tab", 0, 0x09, kModAlt, true, false, kReserved, false},
        {"Alt+F4", 0, 0x73, kModAlt, true, false, kReserved, false},
        {"Ctrl+Alt+Delete", 0, 0x2E, kCtrlAlt, true, false, kReserved, false},
        {"held by Share Zone 1", 3, 0x31, kCtrlAlt, true, false, "Already used by Share Zone 1.", false},
        {"held by Start / Stop", 9, 0x52, kCtrlAlt, true, false, "Already used by Start / Stop.", false},
        {"its own combination", 3, 0x41, kCtrlAlt, true, true, "", true},
        {"held by another program", 0, 0x4B, kCtrlAlt, false, false, "Already in use by another app.", true},
    };
    for (const Case& c : cases) {
        ShortcutsState s = open_shortcuts(Settings{});
        const HotkeyBinding before = s.working[c.row];
        shortcuts_click(s, shortcuts_id::kChange[c.row]);
        bool probed = false;
        const auto effect = shortcuts_key(s, c.vk, c.modifiers, [&](HotkeyBinding b) {
            probed = true;
            EXPECT_EQ(b, (HotkeyBinding{c.modifiers, c.vk})) << c.name;
            return c.free;
        });
        EXPECT_EQ(effect, ShortcutsEffect::Rebuild) << c.name;
        EXPECT_EQ(s.error, c.error) << c.name;
        EXPECT_EQ(probed, c.probed) << c.name;
        // A refusal keeps the row's binding and the capture running.
        EXPECT_EQ(s.working[c.row], (c.accepted ? HotkeyBinding{c.modifiers, c.vk} : before)) << c.name;
        EXPECT_EQ(s.capture.has_value(), !c.accepted) << c.name;
    }
}

TEST_F(ShortcutsView, KeysOutsideACapture) {
    ShortcutsState s = open_shortcuts(Settings{});
    EXPECT_EQ(shortcuts_key(s, 0x0D, 0, nullptr), ShortcutsEffect::Save);
    EXPECT_EQ(shortcuts_key(s, 0x1B, 0, nullptr), ShortcutsEffect::Close);
    EXPECT_EQ(shortcuts_key(s, 0x41, kCtrlAlt, nullptr), ShortcutsEffect::PassOn);
    shortcuts_click(s, shortcuts_id::kChange[1]);
    EXPECT_EQ(shortcuts_key(s, 0x41, 0, nullptr), ShortcutsEffect::Rebuild);
    EXPECT_FALSE(s.error.empty());
    EXPECT_EQ(shortcuts_key(s, 0x1B, 0, nullptr), ShortcutsEffect::Rebuild);  // Escape ends the capture
    EXPECT_FALSE(s.capture);
    EXPECT_EQ(s.working, default_bindings());
}

TEST_F(ShortcutsView, OnlySaveChangesTheSettings) {
    Settings settings;
    settings.hotkeys[12] = {kModShift, 0x30};
    const Settings before = settings;
    ShortcutsState s = open_shortcuts(settings);
    shortcuts_click(s, shortcuts_id::kClear[0]);
    shortcuts_click(s, shortcuts_id::kChange[3]);
    shortcuts_key(s, 0x4A, kCtrlAlt, nullptr);
    EXPECT_EQ(settings, before);  // the working copy is the window's own until Save

    EXPECT_TRUE(save_shortcuts(s, settings));
    EXPECT_EQ(settings.hotkeys[0], HotkeyBinding{});
    EXPECT_EQ(settings.hotkeys[3], (HotkeyBinding{kCtrlAlt, 0x4A}));
    EXPECT_EQ(settings.hotkeys[12], (HotkeyBinding{kModShift, 0x30}));
    EXPECT_FALSE(save_shortcuts(s, settings));
}

}  // namespace
}  // namespace tw
