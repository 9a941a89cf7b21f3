// Tooltips of icon-only and short items, the tray icon's tooltip and the one notice
// when the main window first goes to the tray.
#include <gtest/gtest.h>

#include <string>

#include "core/model/catalog.h"
#include "core/views/editor_view.h"
#include "core/views/main_view.h"
#include "core/views/tooltips.h"

namespace tw {
namespace {

TEST(Tooltips, IconOnlyAndShortItemsHaveATipInTheCatalog) {
    struct Case { TipWindow window; uint64_t id; const char* key; };
    const Case cases[] = {
        {TipWindow::Main, main_id::kThemeLight, "tooltip.theme_light"},
        {TipWindow::Main, main_id::kThemeAuto, "tooltip.theme_auto"},
        {TipWindow::Main, main_id::kThemeDark, "tooltip.theme_dark"},
        {TipWindow::Main, main_id::kScreenEnabled, "tooltip.screen_enabled"},
        {TipWindow::Main, main_id::kCoverTaskbar, "tooltip.cover_taskbar"},
        {TipWindow::Main, main_id::kDismissStartHint, "tooltip.dismiss_start_hint"},
        {TipWindow::Main, main_id::kStartStop, nullptr},  // says what it does
        {TipWindow::Editor, editor_id::kDeleteRow, "tooltip.delete_layout"},
        {TipWindow::Editor, editor_id::kDeleteRow + 5, "tooltip.delete_layout"},
        {TipWindow::Editor, editor_id::kDeleteRow + 6, nullptr},
        {TipWindow::Editor, main_id::kThemeLight, nullptr},  // numbers are each window's own
    };
    for (const Case& c : cases) {
        const auto key = tooltip_key(c.window, c.id);
        ASSERT_EQ(key.has_value(), c.key != nullptr) << c.id;
        if (!key) continue;
        EXPECT_EQ(*key, c.key);
        EXPECT_NE(tr(std::string(*key)), std::string(*key)) << "missing from the catalog: " << *key;
    }
}

TEST(Tooltips, TraySaysWhetherActiveAndTheHideNoticeComesOnce) {
    EXPECT_EQ(tray_tooltip(true), "Tilewright: active");
    EXPECT_EQ(tray_tooltip(false), "Tilewright: stopped");
    Settings s;
    const std::string before = serialize_settings(s);
    EXPECT_EQ(before.find("TrayNoticeShown"), std::string::npos);
    EXPECT_TRUE(take_tray_notice(s));
    EXPECT_FALSE(take_tray_notice(s));
    const Settings back = parse_settings(serialize_settings(s));
    EXPECT_TRUE(back.tray_notice_shown);
    EXPECT_TRUE(back.extra.empty());
    Settings again = back;
    EXPECT_FALSE(take_tray_notice(again));  // not after the next start either
}

}  // namespace
}  // namespace tw
