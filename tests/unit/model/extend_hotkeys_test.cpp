#include <gtest/gtest.h>

#include "core/model/catalog.h"
#include "core/model/settings.h"
#include "core/model/settings_reader.h"
#include "core/views/shortcuts_view.h"

namespace tw {
namespace {

// The extend shortcuts are stored like the others, but only once they differ from their
// defaults: the file of someone who never rebinds them stays as it was.
TEST(ExtendHotkeys, StoredOnlyWhenRebound) {
    const Settings plain;
    EXPECT_EQ(serialize_settings(plain).find("HotkeyExtend"), std::string::npos);
    EXPECT_EQ(plain.hotkey(HotkeyAction::ExtendRight), (HotkeyBinding{kModControl | kModAlt | kModShift, 'D'}));

    Settings s;
    s.hotkey(HotkeyAction::ExtendLeft) = {kModWin | kModShift, 'J'};
    s.hotkey(HotkeyAction::ExtendDown) = {};
    const std::string text = serialize_settings(s);
    EXPECT_NE(text.find("  \"HotkeyExtendLeft\": [12, 74],\n"), std::string::npos);
    EXPECT_NE(text.find("  \"HotkeyExtendDown\": [0, 0],\n"), std::string::npos);
    EXPECT_EQ(text.find("HotkeyExtendUp"), std::string::npos);
    const Settings back = parse_settings(text);
    EXPECT_EQ(back.hotkeys, s.hotkeys);
    EXPECT_TRUE(back.extra.empty());  // known keys, not kept twice
    EXPECT_EQ(serialize_settings(back), text);

    EXPECT_EQ(shortcut_row_label(static_cast<size_t>(HotkeyAction::ExtendLeft)), "Extend left");
    EXPECT_EQ(shortcut_row_label(static_cast<size_t>(HotkeyAction::ExtendDown)), "Extend down");
}

}  // namespace
}  // namespace tw
