// The accessible tree of each window's views: what a screen reader reads, in the
// order it reads it, and the keyboard's focus order over the same lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/ui/accessible_tree.h"
#include "core/views/color_view.h"
#include "core/views/dialog_views.h"
#include "core/views/editor_command.h"
#include "core/views/editor_view.h"
#include "core/views/main_view.h"
#include "core/views/shortcuts_view.h"

namespace tw {
namespace {

namespace st = accessible_state;

const char* role_name(AccessibleRole r) {
    switch (r) {
    case AccessibleRole::StaticText: return "text";
    case AccessibleRole::PushButton: return "button";
    case AccessibleRole::CheckButton: return "check";
    case AccessibleRole::RadioButton: return "radio";
    case AccessibleRole::ComboBox: return "combo";
    case AccessibleRole::List: return "list";
    case AccessibleRole::ListItem: return "item";
    case AccessibleRole::PageTab: return "tab";
    case AccessibleRole::EditableText: return "edit";
    case AccessibleRole::Slider: return "slider";
    case AccessibleRole::Link: return "link";
    case AccessibleRole::Graphic: return "graphic";
    case AccessibleRole::Grouping: return "group";
    case AccessibleRole::FromKind: break;
    }
    return "?";
}

// One node as "role 'name' =value [states]", the states that matter to a reader.
std::string line(const AccessibleNode& n) {
    std::string s = std::string(role_name(n.role)) + " '" + n.name + "'";
    if (!n.value.empty()) s += " =" + n.value;
    const struct {
        uint32_t bit;
        const char* text;
    } flags[] = {{st::kFocused, "focused"}, {st::kChecked, "checked"},  {st::kSelected, "selected"},
                 {st::kUnavailable, "off"}, {st::kExpanded, "open"},    {st::kCollapsed, "shut"}};
    for (const auto& f : flags)
        if (n.state & f.bit) s += std::string(" ") + f.text;
    return s;
}

std::vector<std::string> lines(const std::vector<AccessibleNode>& nodes) {
    std::vector<std::string> out;
    for (const AccessibleNode& n : nodes) out.push_back(line(n));
    return out;
}

ScreenInfo screen(int i) {
    ScreenInfo s;
    s.id = "id" + std::to_string(i);
    s.name = "Display " + std::to_string(i + 1);
    s.bounds = s.work = {0, 0, 1920, 1080};
    return s;
}

Settings two_layouts(const std::vector<ScreenInfo>& screens) {
    Settings s;
    for (const auto& si : screens) {
        ScreenLayout e;
        e.id = si.id;
        e.name = si.name;
        e.enabled = true;
        e.layouts = {{"Full", {{0, 0, 1, 1}}}, {"Halves", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}};
        e.active_layout = "Halves";
        s.screens.push_back(e);
    }
    s.selected_screen = screens.front().id;
    s.start_hint_done = true;  // the status line reads the status
    return s;
}

TEST(AccessibleTree, MainWindowReadsTopToBottomLeftToRight) {
    const std::vector<ScreenInfo> screens{screen(0), screen(1)};
    const Settings s = two_layouts(screens);
    MainViewInput in{s};
    in.screens = screens;
    in.program_version = "1.2.3";
    in.layout_menu_open = true;
    const MainView v = build_main_view(in);
    const auto tree = accessible_tree(v.widgets, std::nullopt, v.previews);
    const std::vector<std::string> expected = {
        "text 'Tilewright'",
        "combo 'Language' =English shut",
        "radio 'Light theme'",
        "radio 'Theme as in Windows'",
        "radio 'Dark theme' checked",
        "button 'Minimise'",
        "button 'Close'",
        "button 'Start'",
        "text '" + tr("main.status_idle") + "'",
        "tab 'Display 1' selected",
        "tab 'Display 2'",
        "graphic 'Display 1' =1920\u00D71080",
        "text '" + tr("main.current_layout_heading") + "'",
        "combo '" + tr("main.current_layout_heading") + "' =Halves open",
        "link '" + tr("main.edit_layouts_link") + "'",
        "check '" + tr("main.screen_enabled_toggle") + "' checked",
        "list '" + tr("main.current_layout_heading") + "'",
        "item 'Full'",
        "item 'Halves' selected",
    };
    const auto got = lines(tree);
    ASSERT_GE(got.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
    // The preferences follow in two columns, row by row; the last line is About.
    EXPECT_EQ(got.back(), "button '" + tr("main.about_button") + "'");
}

TEST(AccessibleTree, EditorViewsNameFieldsByTheirLabels) {
    EditorState st = open_editor_state(Settings{}, {}, {0, 0, 1920, 1080});
    st.layouts = {{"Full", {{0, 0, 1, 1}}}, {"Halves", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}};
    st.hover_row = 1;
    const auto manage = lines(accessible_tree(build_manage_view(st).widgets, std::nullopt));
    const std::vector<std::string> manage_expected = {
        "text '" + tr("manage.title") + "'",
        "button 'Close'",
        "item 'Full'",
        "item 'Halves' selected",
        "button '" + tr("common.edit") + "'",
        "button 'Delete Halves'",
        "button '" + tr("common.add") + "'",
        "button '" + tr("manage.restore_defaults_button") + "'",
        "button '" + tr("common.close") + "'",
    };
    EXPECT_EQ(manage, manage_expected);

    st.page = EditorPage::Edit;
    st.grid = uniform_grid(1, 2);
    st.unit_px = {0, 0};
    reset_size_fields(st);
    st.name_field.set_text("Mine");
    const EditorView edit = build_edit_view(st, 10000);
    size_t name_field = 0;
    while (edit.widgets[name_field].id != editor_id::kNameField) ++name_field;
    const auto tree = accessible_tree(edit.widgets, name_field);
    const auto got = lines(tree);
    const auto has = [&](const std::string& l) {
        return std::find(got.begin(), got.end(), l) != got.end();
    };
    const std::string rows = tr("edit.rows_label"), cols = tr("edit.columns_label");
    const std::string width = tr("edit.width_column_header");
    const std::string zone2 = tr_args("edit.zone_row_label", {{"n", "2"}});
    for (const std::string& l : std::vector<std::string>{
             "edit '" + tr("edit.layout_name_label") + "' =Mine focused",
             "button '" + rows + " fewer' off",  // one row already
             "button '" + tr_args("edit.zone_row_label", {{"n", "1"}}) + " %'",
             "button '" + cols + " more'",
             std::string("group 'Zones of the layout'"),
             "edit '" + zone2 + " " + width + "' =50.0%",
         })
        EXPECT_TRUE(has(l)) << l;
    EXPECT_EQ(got.back(), "button '" + tr("common.cancel") + "'");
}

TEST(AccessibleTree, DialogsAndTheirStates) {
    ColorDialogState c = open_color_state(0x14B8A6);
    const auto colour = accessible_tree(build_color_view(c, kColorWidth), std::nullopt);
    size_t radios = 0, checked = 0;
    for (const AccessibleNode& n : colour) {
        radios += n.role == AccessibleRole::RadioButton;
        checked += (n.state & st::kChecked) != 0;
    }
    EXPECT_EQ(radios, kColorPresets.size());
    EXPECT_EQ(checked, 1u);
    const auto colour_lines = lines(colour);
    EXPECT_NE(std::find(colour_lines.begin(), colour_lines.end(), "edit 'Colour code' =#14b8a6"),
              colour_lines.end());
    EXPECT_NE(std::find(colour_lines.begin(), colour_lines.end(),
                        "slider '" + tr("color.hue_heading") + "' =" +
                            std::to_string(std::lround(color_to_hue(0x14B8A6)))),
              colour_lines.end());

    ShortcutsState s = open_shortcuts(Settings{});
    const auto shortcuts = accessible_tree(build_shortcuts_view(s, 640, nullptr), std::nullopt);
    // Every row reads as its action, its keys, then its two buttons.
    ASSERT_GT(shortcuts.size(), 6u);
    EXPECT_EQ(shortcuts[2].name, shortcut_row_label(0));
    EXPECT_EQ(shortcuts[4].role, AccessibleRole::PushButton);
    EXPECT_EQ(shortcuts[4].name, shortcut_row_label(0) + " " + tr("shortcuts.change_button"));
    EXPECT_EQ(shortcuts[9].name, shortcut_row_label(1) + " " + tr("common.clear"));
}

TEST(AccessibleTree, StatesAndActionsFollowTheItem) {
    std::vector<WidgetItem> items;
    push_item(items, 1, 10, {0, 0, 100, 20}, "Switch").on = 1;
    push_item(items, 2, 13, {0, 30, 100, 50}, "Off").enabled = 0;
    push_item(items, 3, 14, {0, 60, 100, 80}, "Field");
    push_item(items, 4, 1, {0, 90, 100, 110}, "");  // an empty error line is not read
    push_item(items, 5, 7, {0, 120, 100, 140}, "Link").hovered = 1;
    const auto tree = accessible_tree(items, 0);
    ASSERT_EQ(tree.size(), 4u);
    EXPECT_EQ(tree[0].state, st::kFocused | st::kFocusable | st::kChecked);
    EXPECT_EQ(tree[0].default_action, tr("a11y.action_uncheck"));
    EXPECT_EQ(tree[1].state, st::kUnavailable);
    EXPECT_EQ(tree[1].default_action, "");
    EXPECT_EQ(tree[2].state, st::kFocusable | st::kCollapsed);
    EXPECT_EQ(tree[2].default_action, tr("a11y.action_open"));
    EXPECT_EQ(tree[3].state, st::kFocusable | st::kHot);
    EXPECT_EQ(tree[3].item, 4u);
}

TEST(AccessibleTree, ChangesAreAnnouncedPerNode) {
    std::vector<WidgetItem> items;
    push_item(items, 1, 10, {0, 0, 100, 20}, "A");
    push_item(items, 2, 18, {0, 30, 100, 50}, "x");
    const auto before = accessible_tree(items, std::nullopt);
    items[0].on = 1;
    items[0].hovered = 1;  // hover alone is not announced
    items[1].text = "xy";
    auto after = accessible_tree(items, 1);
    AccessibleChanges c = accessible_changes(before, after);
    EXPECT_FALSE(c.reordered);
    EXPECT_EQ(c.focus, 1u);
    EXPECT_EQ(c.state, std::vector<size_t>{0});
    EXPECT_EQ(c.value, std::vector<size_t>{1});
    EXPECT_TRUE(c.name.empty());
    push_item(items, 3, 13, {0, 60, 100, 80}, "New");
    c = accessible_changes(after, accessible_tree(items, 1));
    EXPECT_TRUE(c.reordered);
    EXPECT_FALSE(c.focus.has_value());  // the focus stayed where it was
}

TEST(FocusOrder, EveryControlInReadingOrder) {
    std::vector<WidgetItem> items;
    // Listed right to left and bottom first, as views often add them.
    push_item(items, 1, 13, {200, 100, 260, 130}, "Right");
    push_item(items, 2, 13, {10, 104, 70, 128}, "Left");
    push_item(items, 3, 18, {10, 10, 100, 30});
    push_item(items, 4, 1, {10, 50, 100, 70}, "Label");
    push_item(items, 5, 13, {120, 40, 180, 60}, "Off").enabled = 0;
    push_item(items, 6, 19, {10, 140, 300, 300});
    const std::vector<size_t> expected{2, 1, 0, 5};
    EXPECT_EQ(focus_order(items), expected);
}

}  // namespace
}  // namespace tw
