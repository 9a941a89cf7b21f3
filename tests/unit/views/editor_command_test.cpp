// The editor's commands and input: opening, Save's name and list rules, Delete,
// Restore Defaults, steppers and templates, the size fields, focus, the canvas and
// the manage list's scrolling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/views/editor_command.h"
#include "support/grid_print.h"

namespace tw {
namespace {

using namespace editor_id;
using Field = EditorFocus::Field;

Layout columns(std::string name, size_t n) {
    Layout l{std::move(name), {}};
    for (size_t i = 0; i < n; ++i)
        l.zones.push_back({static_cast<double>(i) / n, 0, static_cast<double>(i + 1) / n, 1});
    return l;
}

// One screen "S" whose layouts are named by `names` (layout i has i + 1 columns).
Settings settings_with(const std::vector<std::string>& names, std::string active) {
    Settings s;
    ScreenLayout e;
    e.id = "S";
    e.enabled = true;
    for (size_t i = 0; i < names.size(); ++i) e.layouts.push_back(columns(names[i], i + 1));
    e.active_layout = std::move(active);
    s.screens.push_back(e);
    s.selected_screen = "S";
    return s;
}

EditorState open(const Settings& s) { return open_editor_state(s, {}, {0, 0, 1920, 1040}); }

std::vector<std::string> names(const std::vector<Layout>& list) {
    std::vector<std::string> out;
    for (const Layout& l : list) out.push_back(l.name);
    return out;
}

TEST(EditorCommand, OpensOnTheSelectedScreenWithItsShapeAndPixels) {
    ScreenInfo tall;
    tall.id = "T";
    tall.bounds = {1920, 0, 3000, 1920};
    tall.work = {1920, 0, 3000, 1880};
    struct Case {
        const char* name;
        std::string selected;
        bool cover_taskbar;
        std::string screen;
        CanvasSize canvas;
        int64_t area_width, area_height;
    };
    const Case cases[] = {
        {"attached, work area", "T", false, "T", {124, 220}, 1080, 1880},
        {"attached, whole monitor", "T", true, "T", {124, 220}, 1080, 1920},
        {"selection names no entry: the first", "X", false, "U", {406, 220}, 1920, 1040},
        {"not attached: the primary work area", "U", false, "U", {406, 220}, 1920, 1040},
    };
    for (const Case& c : cases) {
        Settings s = settings_with({"A"}, "A");
        s.screens[0].id = "U";
        ScreenLayout t = s.screens[0];
        t.id = "T";
        t.cover_taskbar = c.cover_taskbar;
        s.screens.push_back(t);
        s.selected_screen = c.selected;
        const std::vector<ScreenInfo> screens = {tall};
        const EditorState st = open_editor_state(s, screens, {0, 0, 1920, 1040});
        EXPECT_EQ(st.screen_id, c.screen) << c.name;
        EXPECT_EQ((CanvasSize{st.canvas_width, st.canvas_height}), c.canvas) << c.name;
        EXPECT_EQ(st.area_width, c.area_width) << c.name;
        EXPECT_EQ(st.area_height, c.area_height) << c.name;
        EXPECT_EQ(names(st.layouts), std::vector<std::string>{"A"});
        EXPECT_EQ(st.page, EditorPage::Manage);
        EXPECT_EQ(st.grid, uniform_grid(1, 3));
    }
    EXPECT_EQ(open(Settings{}).screen_id, "");
}

TEST(EditorCommand, SaveNamesAndListRules) {
    struct Case {
        const char* name;
        std::vector<std::string> layouts;
        std::string active;
        std::optional<size_t> edit_row;  // none: Add
        std::string typed;
        std::vector<std::string> after;
        std::string active_after;
        const char* error;  // catalog key, or null
        bool zones_changed;
    };
    const Case cases[] = {
        {"new layout at the end", {"A", "B"}, "A", std::nullopt, "  C  ", {"A", "B", "C"}, "A", nullptr, false},
        {"empty name", {"A"}, "A", std::nullopt, "", {"A"}, "A", "edit.error_name_empty", false},
        {"only spaces", {"A"}, "A", std::nullopt, "   ", {"A"}, "A", "edit.error_name_empty", false},
        {"a [", {"A"}, "A", std::nullopt, "Left [1]", {"A"}, "A", "edit.error_name_invalid", false},
        {"a quote", {"A"}, "A", std::nullopt, "say \"hi\"", {"A"}, "A", "edit.error_name_invalid", false},
        {"a backslash", {"A"}, "A", std::nullopt, "a\\b", {"A"}, "A", "edit.error_name_invalid", false},
        {"a brace", {"A"}, "A", std::nullopt, "{x", {"A"}, "A", "edit.error_name_invalid", false},
        {"a new layout of an existing name replaces it at the end", {"A", "B", "C"}, "A", std::nullopt, "A",
         {"B", "C", "A"}, "A", nullptr, true},
        {"renaming the active layout keeps it active", {"A", "B"}, "A", 0, "Z", {"B", "Z"}, "Z", nullptr, false},
        {"renaming another layout", {"A", "B"}, "B", 0, "Z", {"B", "Z"}, "B", nullptr, false},
        {"renaming onto another's name replaces that one too", {"A", "B", "C"}, "B", 0, "B", {"C", "B"}, "B",
         nullptr, true},
        {"the first layout of an empty screen becomes active", {}, "", std::nullopt, "New", {"New"}, "New", nullptr,
         true},
    };
    for (const Case& c : cases) {
        Settings s = settings_with(c.layouts, c.active);
        EditorState st = open(s);
        run_editor_command(st, s, c.edit_row ? kRow + *c.edit_row : kAdd);
        ASSERT_EQ(st.page, EditorPage::Edit) << c.name;
        st.name_field.set_text(c.typed);
        const EditorOutcome out = run_editor_command(st, s, kSave);
        EXPECT_EQ(names(s.screens[0].layouts), c.after) << c.name;
        EXPECT_EQ(names(st.layouts), c.after) << c.name;
        EXPECT_EQ(s.screens[0].active_layout, c.active_after) << c.name;
        EXPECT_EQ(st.error, c.error ? tr(c.error) : std::string()) << c.name;
        EXPECT_EQ(st.page, c.error ? EditorPage::Edit : EditorPage::Manage) << c.name;
        EXPECT_EQ(out.settings_changed, c.error == nullptr) << c.name;
        EXPECT_EQ(out.zones_changed, c.zones_changed) << c.name;
    }
}

TEST(EditorCommand, SavedZonesComeFromTheGridAndAnOpenedLayoutComesBackUnchanged) {
    Settings s = settings_with({"A"}, "A");
    s.screens[0].layouts[0].zones = {{0.1, 0.05, 0.5, 0.95}, {0.5, 0.05, 0.9, 0.95}};  // margins all round
    const std::vector<Zone> stored = s.screens[0].layouts[0].zones;
    EditorState st = open(s);
    const EditorOutcome opened = run_editor_command(st, s, kRow);
    EXPECT_FALSE(st.reshaped);
    EXPECT_EQ(opened.log, "");
    run_editor_command(st, s, kSave);
    ASSERT_EQ(s.screens[0].layouts.size(), 1u);
    const std::vector<Zone>& saved = s.screens[0].layouts[0].zones;
    ASSERT_EQ(saved.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(saved[i].left, stored[i].left, 1e-12);
        EXPECT_NEAR(saved[i].right, stored[i].right, 1e-12);
        EXPECT_NEAR(saved[i].top, stored[i].top, 1e-12);
        EXPECT_NEAR(saved[i].bottom, stored[i].bottom, 1e-12);
    }
}

TEST(EditorCommand, ALayoutThatIsNoGridSaysSoAndCancelKeepsIt) {
    Settings s = settings_with({"Gaps"}, "Gaps");
    s.screens[0].layouts[0].zones = {{0, 0, 0.45, 1}, {0.55, 0, 1, 1}};
    const Settings before = s;
    EditorState st = open(s);
    const EditorOutcome out = run_editor_command(st, s, kEditRow);
    EXPECT_TRUE(st.reshaped);
    EXPECT_NE(out.log.find("\"Gaps\" is not a grid"), std::string::npos);
    EXPECT_TRUE(test::zones_near(zones_from_grid(st.grid), {{0, 0, 0.55, 1}, {0.55, 0, 1, 1}}));
    run_editor_command(st, s, kCancel);
    EXPECT_EQ(s, before);
    EXPECT_EQ(st.page, EditorPage::Manage);
    EXPECT_FALSE(st.reshaped);
}

TEST(EditorCommand, DeleteAndTheActiveLayout) {
    struct Case {
        const char* name;
        std::vector<std::string> layouts;
        std::string active;
        size_t first_row;
        uint64_t id;
        std::vector<std::string> after;
        std::string active_after;
        bool zones_changed;
    };
    const Case cases[] = {
        {"the active one: the first left becomes active", {"A", "B", "C"}, "B", 0, kDeleteRow + 1, {"A", "C"}, "A",
         true},
        {"another one", {"A", "B", "C"}, "B", 0, kDeleteRow, {"B", "C"}, "B", false},
        {"the last one", {"A"}, "A", 0, kDeleteRow, {}, "", true},
        {"rows follow the scrolled list", {"A", "B", "C", "D", "E", "F", "G"}, "A", 1, kDeleteRow + 5,
         {"A", "B", "C", "D", "E", "F"}, "A", false},
        {"a row that shows nothing", {"A"}, "A", 0, kDeleteRow + 3, {"A"}, "A", false},
    };
    for (const Case& c : cases) {
        Settings s = settings_with(c.layouts, c.active);
        EditorState st = open(s);
        st.first_row = c.first_row;
        const EditorOutcome out = run_editor_command(st, s, c.id);
        EXPECT_EQ(names(s.screens[0].layouts), c.after) << c.name;
        EXPECT_EQ(names(st.layouts), c.after) << c.name;
        EXPECT_EQ(s.screens[0].active_layout, c.active_after) << c.name;
        EXPECT_EQ(out.zones_changed, c.zones_changed) << c.name;
        EXPECT_EQ(out.settings_changed, c.after.size() != c.layouts.size()) << c.name;
    }
}

TEST(EditorCommand, RestoreDefaultsAddsWhatIsMissing) {
    Settings s = settings_with({"Mine", "100%"}, "Mine");
    EditorState st = open(s);
    EditorOutcome out = run_editor_command(st, s, kRestoreDefaults);
    const std::vector<std::string> all = {"Mine", "100%", "50% | 50%", "33% | 33% | 33%", "25% | 50% | 25%"};
    EXPECT_EQ(names(s.screens[0].layouts), all);
    EXPECT_EQ(names(st.layouts), all);
    EXPECT_TRUE(out.settings_changed);
    EXPECT_FALSE(out.zones_changed);
    EXPECT_EQ(run_editor_command(st, s, kRestoreDefaults), EditorOutcome{});

    Settings empty = settings_with({}, "gone");
    EditorState st2 = open(empty);
    out = run_editor_command(st2, empty, kRestoreDefaults);
    EXPECT_EQ(empty.screens[0].active_layout, "50% | 50%");
    EXPECT_TRUE(out.zones_changed);
}

TEST(EditorCommand, StepperBoundsAndTemplatesStartANewLayout) {
    struct Case {
        Grid start;
        uint64_t id;
        std::optional<Grid> after;  // none: nothing happens
    };
    const Case cases[] = {
        {uniform_grid(1, 3), kRowsMinus, std::nullopt},
        {uniform_grid(1, 3), kRowsPlus, uniform_grid(2, 3)},
        {uniform_grid(6, 3), kRowsPlus, std::nullopt},
        {uniform_grid(1, 3), kColumnsMinus, uniform_grid(1, 2)},
        {uniform_grid(1, 1), kColumnsMinus, std::nullopt},
        {uniform_grid(2, 6), kColumnsPlus, std::nullopt},
        {uniform_grid(2, 5), kColumnsPlus, uniform_grid(2, 6)},
        {fit_grid(columns("x", 8).zones).grid, kColumnsMinus, uniform_grid(1, 6)},
        {uniform_grid(1, 1), kTemplate, test::make_grid({1}, {0.25, 0.5, 0.25}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {0, 1, 2, 3}})},
        {uniform_grid(1, 1), kTemplate + 3, test::make_grid({1}, {1}, {{0, 1, 0, 1}})},
    };
    for (const Case& c : cases) {
        Settings s = settings_with({"A"}, "A");
        EditorState st = open(s);
        run_editor_command(st, s, kEditRow);
        st.grid = c.start;
        reset_size_fields(st);
        const EditorOutcome out = run_editor_command(st, s, c.id);
        EXPECT_EQ(st.grid, c.after.value_or(c.start)) << c.id;
        EXPECT_EQ(out.rebuild, c.after.has_value()) << c.id;
        // A changed grid is a new layout: saving no longer replaces "A".
        EXPECT_EQ(st.former_name.has_value(), !c.after) << c.id;
        EXPECT_EQ(st.name_field.text(), c.after ? "" : "A") << c.id;
        EXPECT_EQ(st.width_fields.size(), st.grid.cells.size()) << c.id;
    }
}

TEST(EditorCommand, SizeFieldCommitRule) {
    struct Case {
        const char* typed;
        bool pixels;
        Field field;
        std::vector<double> widths;
        const char* shown;  // the field's text afterwards
    };
    const Case cases[] = {
        {"25", false, Field::Width, {0.25, 0.75}, "25.0%"},
        {"25%", false, Field::Width, {0.25, 0.75}, "25.0%"},
        {" 25 % ", false, Field::Width, {0.25, 0.75}, "25.0%"},
        {"120", false, Field::Width, {0.5, 0.5}, "50.0%"},
        {"a word", false, Field::Width, {0.5, 0.5}, "50.0%"},
        {"0", false, Field::Width, {0.5, 0.5}, "50.0%"},
        {"100", false, Field::Width, {0.5, 0.5}, "50.0%"},
        {"480", true, Field::Width, {0.25, 0.75}, "480"},
        {"480 px", true, Field::Width, {0.25, 0.75}, "480"},
        {"25%", true, Field::Width, {0.5, 0.5}, "960"},
        {"50", false, Field::Height, {0.5, 0.5}, "100.0%"},  // the only row fills the height
    };
    for (const Case& c : cases) {
        Settings s = settings_with({"A", "B"}, "A");
        EditorState st = open(s);
        run_editor_command(st, s, kRow + 1);  // B: two equal columns
        if (c.pixels) run_editor_command(st, s, kUnit);
        run_editor_command(st, s, c.field == Field::Width ? kWidthField : kHeightField);
        text_field(st, st.focus)->set_text(c.typed);
        editor_key(st, s, kVkTab, false, 1000);
        EXPECT_EQ(st.grid.column_widths, c.widths) << c.typed;
        EXPECT_EQ((c.field == Field::Width ? st.width_fields : st.height_fields)[0].text(), c.shown) << c.typed;
    }
}

TEST(EditorCommand, PassingThroughFieldsLeavesTheGridAlone) {
    Settings s;
    EditorState st = open(s);
    run_editor_command(st, s, kAdd);  // three columns of a third: shown rounded
    const Grid start = st.grid;
    for (int i = 0; i < 14; ++i) editor_key(st, s, kVkTab, i % 3 == 0, 1000);
    EXPECT_EQ(st.grid, start);
}

TEST(EditorCommand, TabOrderWrapsAndSelectsTheText) {
    struct Case {
        EditorFocus from;
        bool backwards;
        EditorFocus to;
    };
    const Case cases[] = {
        {{}, false, {Field::Name, 0}},
        {{}, true, {Field::Height, 1}},
        {{Field::Name, 0}, false, {Field::Width, 0}},
        {{Field::Width, 0}, false, {Field::Height, 0}},
        {{Field::Height, 0}, false, {Field::Width, 1}},
        {{Field::Height, 1}, false, {Field::Name, 0}},
        {{Field::Name, 0}, true, {Field::Height, 1}},
        {{Field::Width, 1}, true, {Field::Height, 0}},
    };
    for (const Case& c : cases) {
        Settings s = settings_with({"A", "B"}, "A");
        EditorState st = open(s);
        run_editor_command(st, s, kEditRow + 1);
        st.focus = c.from;
        const EditorOutcome out = editor_key(st, s, kVkTab, c.backwards, 1000);
        EXPECT_EQ(st.focus, c.to);
        EXPECT_TRUE(out.caret);
        const TextField* f = text_field(st, st.focus);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->selection(), (std::pair<size_t, size_t>{0, f->length()}));
    }
}

TEST(EditorCommand, EnterSavesExceptInASizeFieldAndEscapeCloses) {
    Settings s = settings_with({"A"}, "A");
    EditorState st = open(s);
    EXPECT_TRUE(editor_key(st, s, kVkEscape, false, 1000).close);
    run_editor_command(st, s, kAdd);
    st.name_field.set_text("Typed");
    st.focus = {Field::Width, 0};
    editor_key(st, s, kVkReturn, false, 1000);
    EXPECT_EQ(st.page, EditorPage::Edit);
    EXPECT_EQ(s.screens[0].layouts.size(), 1u);
    st.focus = {Field::Name, 0};
    EXPECT_TRUE(editor_key(st, s, kVkReturn, false, 1000).settings_changed);
    EXPECT_EQ(names(s.screens[0].layouts), (std::vector<std::string>{"A", "Typed"}));
    EXPECT_TRUE(editor_key(st, s, kVkEscape, false, 1000).close);
}

TEST(EditorCommand, CanvasSplitsMergesAndDragsBorders) {
    Settings s;
    // A screen of 1760 x 1100: a canvas of 352 x 220, so that 88 DIPs are a quarter.
    EditorState st = open_editor_state(s, {}, {0, 0, 1760, 1100});
    run_editor_command(st, s, kTemplate + 3);  // one zone
    st.page = EditorPage::Edit;
    const Rect c = canvas_rect(st);
    ASSERT_EQ(c, (Rect{16, 212, 368, 432}));
    const Point middle{c.left + 100, c.top + 110};
    // Shift-click: an upper and a lower zone; a click on the border between: one again.
    canvas_press(st, {c.left + 100, c.top + 50}, true);
    EXPECT_EQ(zones_from_grid(st.grid), (std::vector<Zone>{{0, 0, 1, 0.5}, {0, 0.5, 1, 1}}));
    EXPECT_EQ(st.height_fields.size(), 2u);
    canvas_press(st, middle, false);
    EXPECT_TRUE(canvas_release(st).rebuild);
    EXPECT_EQ(zones_from_grid(st.grid), (std::vector<Zone>{{0, 0, 1, 1}}));

    // A click splits left and right; a shaky click on the border still merges.
    canvas_press(st, middle, false);
    ASSERT_EQ(st.grid.cells.size(), 2u);
    const Point border{c.left + 174, c.top + 110};
    canvas_press(st, border, false);
    canvas_move(st, {border.x + 2, border.y - 2});
    canvas_release(st);
    EXPECT_EQ(st.grid.cells.size(), 1u);

    // Dragging the border moves it, with the table following, and merges nothing.
    canvas_press(st, middle, false);
    canvas_press(st, border, false);
    EXPECT_TRUE(canvas_move(st, {c.left + 88, border.y}).rebuild);
    EXPECT_EQ(st.grid.column_widths, (std::vector<double>{0.25, 0.75}));
    EXPECT_EQ(st.width_fields[0].text(), "25.0%");
    // Past the edge: held at the smallest zone, 100 pixels of the 1760 (a tenth of a
    // per cent up from 5.68 %).
    canvas_move(st, {c.left - 50, border.y});
    EXPECT_NEAR(st.grid.column_widths[0], 0.057, 1e-12);
    canvas_release(st);
    EXPECT_EQ(st.grid.cells.size(), 2u);
    // A press whose capture is lost merges nothing.
    canvas_press(st, {c.left + 20, border.y}, false);
    canvas_cancel(st);
    EXPECT_EQ(canvas_release(st), EditorOutcome{});
    EXPECT_EQ(st.grid.cells.size(), 2u);
}

TEST(EditorCommand, WheelScrollsTheManageListAndRowsFollow) {
    Settings s = settings_with({"A", "B", "C", "D", "E", "F", "G"}, "A");
    EditorState st = open(s);
    const auto widgets = build_manage_view(st).widgets;
    struct Step {
        int32_t delta;
        size_t first;
    };
    for (const Step& step : {Step{-120, 1}, Step{-360, 1}, Step{120, 0}, Step{60, 0}, Step{-240, 1}}) {
        editor_wheel(st, step.delta, widgets, 500);
        EXPECT_EQ(st.first_row, step.first) << step.delta;
    }
    EXPECT_EQ(build_manage_view(st).widgets[3].text, "B");
    run_editor_command(st, s, kRow + 5);
    EXPECT_EQ(st.former_name, "G");
}

}  // namespace
}  // namespace tw
