#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/base/key_value.h"

namespace tw {
namespace {

// Every key the program looks up, in the order of the built-in file.
const char* const kKeys[] = {
    "start.button",
    "common.cancel", "common.save", "common.close", "common.add", "common.clear", "common.edit",
    "common.start", "common.stop", "app.name",
    "main.add_button", "main.status_active", "main.status_no_layouts", "main.status_idle",
    "main.current_layout_heading", "main.screen_enabled_toggle", "main.no_layouts",
    "main.edit_layouts_link",
    "main.preferences_heading", "main.pref_show_zones", "main.pref_auto_start",
    "main.pref_cover_taskbar", "main.pref_start_with_windows", "main.pref_show_in_tray",
    "main.pref_start_minimized", "main.pref_update_automatically", "main.pref_usage_statistics",
    "main.pref_check_for_updates", "main.start_hint", "main.shortcuts_button",
    "main.app_color_button", "main.pref_open_in_last_zone", "main.excluded_apps_link",
    "main.about_button", "main.update_link",
    "shortcuts.heading", "shortcuts.change_button", "shortcuts.press_keys",
    "shortcuts.binding_unbound", "shortcuts.action_start_stop", "shortcuts.action_toggle_zones",
    "shortcuts.action_cycle_layout", "shortcuts.action_move_left", "shortcuts.action_move_right",
    "shortcuts.action_move_up", "shortcuts.action_move_down", "shortcuts.action_share_zone",
    "shortcuts.action_apply_layout", "shortcuts.action_extend_left", "shortcuts.action_extend_right",
    "shortcuts.action_extend_up", "shortcuts.action_extend_down",
    "shortcuts.error_no_modifier", "shortcuts.error_reserved_windows",
    "shortcuts.error_reserved_share_zone", "shortcuts.error_duplicate",
    "shortcuts.error_in_use_by_app",
    "about.title", "about.app_name", "about.version_line", "about.version_line_no_date",
    "about.credit", "about.used_count", "about.used_count_no_date", "about.visit_website_button",
    "color.title", "color.presets_heading", "color.hue_heading", "color.done_button",
    "excluded.title", "excluded.intro", "excluded.add_running", "excluded.list_heading",
    "excluded.empty", "excluded.no_running",
    "update.title", "update.heading_available", "update.later_button", "update.skip_button",
    "update.download_failed",
    "editor.window_title", "manage.title", "manage.empty_state", "manage.restore_defaults_button",
    "manage.zone_count_one", "manage.zone_count_other",
    "edit.title", "edit.layout_name_label", "edit.templates_label", "edit.template_25_50_25",
    "edit.template_50_50", "edit.template_33_33_33", "edit.template_100", "edit.rows_label",
    "edit.columns_label", "edit.spacing_label", "edit.spacing_value",
    "edit.canvas_hint_line1", "edit.canvas_hint_line2",
    "edit.zone_column_header", "edit.width_column_header", "edit.height_column_header",
    "edit.zone_row_label", "edit.unit_px", "edit.unit_percent", "edit.error_name_empty",
    "edit.error_name_invalid", "edit.notice_reshaped",
    "tray.show", "tray.action_with_hotkey", "tray.show_zones", "tray.hide_zones",
    "tray.layout_with_hotkey", "tray.share", "tray.share_display_zone", "tray.exit",
    "tray.elevated_windows_notice",
    "about.features_heading", "about.feature_1", "about.feature_2", "about.feature_3",
    "about.feature_4", "about.feature_5", "about.feature_6", "about.closing", "about.story",
    "about.contact_button", "about.feature_7",
    "update.install_button",
    "command.usage", "command.unknown_verb", "command.bad_arguments", "command.malformed",
    "command.no_instance", "command.no_answer", "command.too_old",
    "command.elevated", "command.started",
    "command.already_running", "command.stopped", "command.already_stopped", "command.no_zones",
    "command.not_running", "command.zones_shown", "command.zones_hidden",
    "command.layout_applied", "command.no_layout", "command.no_layouts", "command.no_screen",
    "command.ambiguous_screen", "command.no_working_screen", "command.moved",
    "command.not_moved", "command.extended", "command.share_started", "command.already_shared", "command.no_zone",
    "command.shares_stopped", "command.no_shares", "command.shown", "command.exiting",
    "tooltip.theme_light", "tooltip.theme_auto", "tooltip.theme_dark", "tooltip.screen_enabled",
    "tooltip.cover_taskbar", "tooltip.dismiss_start_hint", "tooltip.minimise", "tooltip.delete_layout",
    "tray.tooltip_active", "tray.tooltip_stopped", "tray.hidden_notice",
    "date.long", "date.month_1", "date.month_2", "date.month_3", "date.month_4", "date.month_5",
    "date.month_6", "date.month_7", "date.month_8", "date.month_9", "date.month_10", "date.month_11",
    "date.month_12",
    "main.notice_settings_copy", "main.notice_dismiss", "notice.start_no_screen_enabled",
    "notice.start_no_zones", "notice.share_no_zone", "notice.duplicate_shortcuts",
    "manage.deleted", "manage.undo_button", "edit.unsaved_prompt", "edit.discard_button",
    "edit.keep_editing_button", "color.error_invalid",
    "a11y.close", "a11y.minimize", "a11y.delete", "a11y.theme_light", "a11y.theme_auto",
    "a11y.theme_dark", "a11y.decrease", "a11y.increase", "a11y.language", "a11y.layout_canvas",
    "a11y.hex_field", "a11y.action_press", "a11y.action_check", "a11y.action_uncheck",
    "a11y.action_select", "a11y.action_switch", "a11y.action_jump", "a11y.action_open",
    "a11y.action_close",
};

std::vector<std::string> lines_of(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

TEST(EnglishCatalog, HasEveryKeyInFileOrder) {
    const Catalog& english = english_catalog();
    for (const char* key : kKeys) {
        auto it = english.find(key);
        ASSERT_NE(it, english.end()) << key;
        EXPECT_FALSE(it->second.empty()) << key;
    }
    std::vector<std::string> in_file;
    for (const auto& line : lines_of(english_catalog_text())) {
        if (line.empty() || line[0] == '#') continue;
        in_file.emplace_back(trim_view(line.substr(0, line.find('='))));
    }
    EXPECT_EQ(in_file, std::vector<std::string>(std::begin(kKeys), std::end(kKeys)));
    EXPECT_EQ(english.size(), std::size(kKeys));
}

TEST(EnglishCatalog, OpensWithFiveCommentLines) {
    const auto lines = lines_of(english_catalog_text());
    ASSERT_GT(lines.size(), 6u);
    for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(lines[i].starts_with("# ")) << lines[i];
    EXPECT_TRUE(lines[5].empty() || lines[5][0] != '#');
    const std::string header = lines[0] + lines[1] + lines[2] + lines[3] + lines[4];
    for (const char* phrase : {"fallback", "key = value", "master key list", "same keys", "falls back"})
        EXPECT_NE(header.find(phrase), std::string::npos) << phrase;
    // Groups are introduced by comment lines naming the window.
    for (const char* group : {"# Common words", "# Keyboard shortcuts window", "# About dialog",
                              "# Layout editor", "# Tray menu"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), group), lines.end()) << group;
}

TEST(EnglishCatalog, IsUtf8WithLineFeedsOnly) {
    const std::string_view text = english_catalog_text();
    EXPECT_EQ(text.find('\r'), std::string_view::npos);
    EXPECT_TRUE(text.ends_with("\n"));
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF"));
}

TEST(EnglishCatalog, TextsThatAreEasyToGetWrong) {
    struct Case {
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"tray.action_with_hotkey", "{action}\t{hotkey}"},
        {"tray.layout_with_hotkey", "Layout\t{hotkey}"},
        {"main.edit_layouts_link", "Edit Layouts\xE2\x80\xA6"},
        {"main.shortcuts_button", "Keyboard Shortcuts\xE2\x80\xA6"},
        {"main.app_color_button", "App color\xE2\x80\xA6"},
        {"shortcuts.press_keys", "Press keys\xE2\x80\xA6"},
        {"about.version_line", "Version {version} \xC2\xB7 {date}"},
        {"edit.error_name_invalid", "Layout names can't contain \", \\, {, }, [, or ]."},
        {"edit.unit_percent", "%"},
        {"edit.template_100", "100%"},
        {"main.status_active", "Active: fullscreen/maximize snaps to zones; Shift-drag to snap."},
        {"manage.zone_count_one", "1 zone"},
        {"manage.zone_count_other", "{n} zones"},
        {"start.button", "Start"},
        {"app.name", "Tilewright"},
    };
    for (const auto& c : cases) EXPECT_EQ(english_catalog().at(c.key), c.text) << c.key;
    for (const char* key : {"tray.action_with_hotkey", "tray.layout_with_hotkey"}) {
        const std::string& text = english_catalog().at(key);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 1) << key;
    }
}

}  // namespace
}  // namespace tw
