#include <gtest/gtest.h>

#include <string>

#include "core/model/catalog.h"
#include "core/views/main_view.h"
#include "core/views/refusals.h"
#include "core/views/shortcuts_view.h"

namespace tw {
namespace {

ScreenInfo screen(const std::string& id) {
    ScreenInfo s;
    s.id = id;
    s.name = "Display " + id;
    s.bounds = s.work = {0, 0, 1920, 1080};
    return s;
}

ScreenLayout entry(const std::string& id, bool enabled) {
    ScreenLayout e = new_screen_layout(id, "Display " + id);
    e.enabled = enabled;
    return e;
}

// Why a start found nothing to hold windows in: an enabled entry counts only for an
// attached screen.
TEST(Refusals, StartWithNothingToHoldWindowsIn) {
    struct Case { std::string what; std::vector<ScreenLayout> entries; std::string key; };
    const Case cases[] = {
        {"no entries", {}, "notice.start_no_screen_enabled"},
        {"switched off", {entry("A", false)}, "notice.start_no_screen_enabled"},
        {"enabled but not attached", {entry("A", false), entry("Gone", true)}, "notice.start_no_screen_enabled"},
        {"enabled without zones", {entry("A", true)}, "notice.start_no_zones"},
    };
    const std::vector<ScreenInfo> screens = {screen("A")};
    for (const Case& c : cases) {
        Settings s;
        s.screens = c.entries;
        for (ScreenLayout& e : s.screens) e.layouts.clear();
        EXPECT_EQ(start_refusal_text(s, screens), tr(c.key.c_str())) << c.what;
    }
    EXPECT_EQ(share_refusal_text(4, "A", screens), "Share Zone 5: the layout of Display A has no zone 5.");
    EXPECT_EQ(share_refusal_text(0, "Gone", screens), "Share Zone 1: the layout of Gone has no zone 1.");
}

// Doubled combinations of a hand-edited file are named, and the shortcuts window
// marks both rows (and only those) in the error colour.
TEST(Refusals, DoubledShortcuts) {
    std::array<HotkeyBinding, kHotkeyActionCount> b = default_bindings();
    EXPECT_TRUE(duplicate_shortcuts(b).empty());
    EXPECT_EQ(duplicate_shortcuts_text(b), std::nullopt);
    b[3] = {}, b[4] = {};  // two unbound rows are not the same shortcut
    EXPECT_TRUE(duplicate_shortcuts(b).empty());
    b[8] = b[0];  // Share Zone 2 = Start/Stop
    b[5] = b[6];
    EXPECT_EQ(duplicate_shortcuts(b), (std::vector<std::pair<size_t, size_t>>{{0, 8}, {5, 6}}));
    EXPECT_EQ(*duplicate_shortcuts_text(b),
              tr_args("notice.duplicate_shortcuts", {{"first", shortcut_row_label(0)},
                                                     {"second", shortcut_row_label(8)},
                                                     {"keys", binding_text(b[0].modifiers, b[0].key)}}));

    ShortcutsState st;
    st.working = b;
    const auto items = build_shortcuts_view(st, kShortcutsWidth, nullptr);
    std::vector<std::string> marked;
    for (const WidgetItem& w : items)
        if (w.kind == 6 && !w.text.empty()) marked.push_back(w.text);
    EXPECT_EQ(marked, (std::vector<std::string>{shortcut_binding_text(b[0]), shortcut_binding_text(b[5]),
                                                shortcut_binding_text(b[6]), shortcut_binding_text(b[8])}));
}

// The kept copy is one notice row under the title that moves the cards down, until
// its ✕ clears the setting; a status note takes the status line's place.
TEST(Refusals, NoticeRowAndStatusNote) {
    Settings s;
    const MainView plain = build_main_view(MainViewInput(s));
    s.kept_settings_copy = "settings.json.bad";
    MainViewInput in(s);
    in.status_note = "Not started: because.";
    const MainView view = build_main_view(in);
    ASSERT_EQ(view.widgets.size(), plain.widgets.size() + 3);
    const WidgetItem* text = nullptr;
    const WidgetItem* dismiss = nullptr;
    for (const WidgetItem& w : view.widgets) {
        if (w.id == main_id::kDismissNotice) dismiss = &w;
        if (w.text.find("settings.json.bad") != std::string::npos) text = &w;
    }
    ASSERT_TRUE(text && dismiss);
    EXPECT_EQ(text->text, "Part of the settings file could not be read; the file as it was is kept as "
                          "%APPDATA%\\Tilewright\\settings.json.bad");
    EXPECT_EQ(text->rect.top, 54);
    for (size_t i = 0; i < plain.widgets.size(); ++i) {  // the title row stays, the rest moves
        const int32_t top = plain.widgets[i].rect.top;
        EXPECT_EQ(view.widgets[i].rect.top, top < 48 ? top : top + 60) << i;
        if (plain.widgets[i].kind == 4) {
            EXPECT_EQ(view.widgets[i].text, "Not started: because.");
        }
    }
    const MainCommand cmd = decide_main_command(main_id::kDismissNotice, in, view.widgets);
    EXPECT_EQ(cmd.action, MainAction::DismissNotice);
    EXPECT_TRUE(apply_main_command(s, cmd, {}));
    EXPECT_EQ(s.kept_settings_copy, "");
    EXPECT_FALSE(apply_main_command(s, cmd, {}));
}

}  // namespace
}  // namespace tw
