// The limits of the editor's edits: the smallest zone through splits, border drags and
// typed sizes; a merged border that no longer holds a drag back; the name message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/views/editor_command.h"

namespace tw {
namespace {

using Field = EditorFocus::Field;

// The edit view of a 1920 x 1080 screen (a canvas of 391 x 220) holding `grid`.
EditorState editing(Grid grid, double scale = 1.0) {
    EditorState st = open_editor_state(Settings{}, {}, {0, 0, 1920, 1080});
    st.page = EditorPage::Edit;
    st.area_scale = scale;
    st.grid = std::move(grid);
    reset_size_fields(st);
    return st;
}

Point on_canvas(const EditorState& st, double fx, double fy) {
    const Rect c = canvas_rect(st);
    return {c.left + static_cast<int32_t>(fx * c.width()), c.top + static_cast<int32_t>(fy * c.height())};
}

TEST(EditorLimits, SmallestZoneIsFivePerCentOrAHundredScaledPixels) {
    struct Case { int64_t w, h; double scale; ZoneMinimum m; };
    const Case cases[] = {
        {1920, 1080, 1.0, {100.0 / 1920, 100.0 / 1080}}, {1920, 1080, 1.5, {150.0 / 1920, 150.0 / 1080}},
        {3840, 2160, 1.0, {0.05, 0.05}},                 {0, -5, 1.0, {0.05, 0.05}},
        {1366, 728, 0.5, {100.0 / 1366, 100.0 / 728}},   {150, 150, 2.0, {0.5, 0.5}},  // never past half
    };
    for (const Case& c : cases) {
        const ZoneMinimum m = zone_minimum(c.w, c.h, c.scale);
        EXPECT_DOUBLE_EQ(m.width, c.m.width) << c.w << " at " << c.scale;
        EXPECT_DOUBLE_EQ(m.height, c.m.height) << c.h << " at " << c.scale;
    }
}

TEST(EditorLimits, SplitsDragsAndTypedSizesStopAtTheSmallestZone) {
    // 100 px of 1920 is 5.2 %, of 1080 9.3 %.
    {   // Two columns of 8 %: a click would make halves of 4 %, refused.
        EditorState st = editing(uniform_grid(1, 2));
        st.grid.column_widths = {0.08, 0.92};
        canvas_press(st, on_canvas(st, 0.04, 0.5), false);
        EXPECT_EQ(st.grid.column_widths, (std::vector<double>{0.08, 0.92})) << "split of a narrow zone";
        canvas_press(st, on_canvas(st, 0.5, 0.5), false);
        EXPECT_EQ(st.grid.cells.size(), 3u) << "split of a wide zone";
    }
    {   // Three rows: a Shift-click on one of 33 % gives two of 16.7 %; again, 8.3 %: refused.
        EditorState st = editing(uniform_grid(3, 1));
        canvas_press(st, on_canvas(st, 0.5, 0.1), true);
        EXPECT_EQ(st.grid.cells.size(), 4u);
        canvas_press(st, on_canvas(st, 0.5, 0.05), true);
        EXPECT_EQ(st.grid.cells.size(), 4u);
    }
    {   // A border dragged to the far edge stops 100 px before it (at the first tenth of
        // a per cent above 5.21 %).
        EditorState st = editing(uniform_grid(1, 2));
        canvas_press(st, on_canvas(st, 0.5, 0.5), false);
        canvas_move(st, on_canvas(st, 0.9, 0.5));
        canvas_move(st, on_canvas(st, 1.2, 0.5));
        canvas_release(st);
        EXPECT_NEAR(st.grid.column_widths[1], 0.053, 1e-9);
        EXPECT_GE(st.grid.column_widths[1], zone_minimum(st).width);
    }
    {   // Typed sizes: 3 % is refused and the field shows the old value; 10 % is taken.
        struct Typed { const char* text; std::vector<double> widths; const char* shown; };
        const Typed typed[] = {{"3", {0.5, 0.5}, "50.0%"}, {"98%", {0.5, 0.5}, "50.0%"}, {"10", {0.1, 0.9}, "10.0%"},
                               {"50 px", {0.5, 0.5}, "50.0%"}};
        for (const Typed& t : typed) {
            EditorState st = editing(uniform_grid(1, 2));
            st.focus = {Field::Width, 0};
            st.width_fields[0].set_text(t.text);
            commit_focused_field(st);
            ASSERT_EQ(st.grid.column_widths.size(), 2u);
            EXPECT_NEAR(st.grid.column_widths[0], t.widths[0], 1e-9) << t.text;
            EXPECT_EQ(st.width_fields[0].text(), t.shown) << t.text;
        }
    }
    {   // At 150 % the smallest zone is 150 px: a typed 6 % (115 px) is refused.
        EditorState st = editing(uniform_grid(1, 2), 1.5);
        st.focus = {Field::Width, 0};
        st.width_fields[0].set_text("6");
        EXPECT_FALSE(commit_focused_field(st));
    }
    // A layout from a file that already holds a smaller zone can still be edited
    // elsewhere: only making a zone smaller than the minimum (or than it was) is refused.
    Grid thin = uniform_grid(1, 3);
    thin.column_widths = {0.02, 0.49, 0.49};
    Grid thin_moved = thin;
    thin_moved.column_widths = {0.02, 0.59, 0.39};
    EXPECT_TRUE(keeps_zone_minimum(thin, thin_moved, zone_minimum(1920, 1080, 1)));
    thin_moved.column_widths = {0.01, 0.60, 0.39};
    EXPECT_FALSE(keeps_zone_minimum(thin, thin_moved, zone_minimum(1920, 1080, 1)));
}

TEST(EditorLimits, MergedBorderNoLongerHoldsADragBack) {
    // Three columns; zones 1 and 2 merged. The remaining border, dragged left, passes
    // the place of the removed one (33.3 %) and goes on to 20 %.
    EditorState st = editing(uniform_grid(1, 3));
    canvas_press(st, on_canvas(st, 1.0 / 3, 0.5), false);
    canvas_release(st);
    ASSERT_EQ(st.grid.cells.size(), 2u);
    EXPECT_EQ(st.grid.columns, 2u);
    canvas_press(st, on_canvas(st, 2.0 / 3, 0.5), false);
    canvas_move(st, on_canvas(st, 0.2, 0.5));
    canvas_release(st);
    EXPECT_NEAR(st.grid.column_widths[0], 0.2, 0.003);

    // A line another row still uses stays: 2 x 2 with the top two merged keeps the
    // bottom row's border, which the top row's zones do not see.
    Grid g = uniform_grid(2, 2);
    g = drop_unused_lines(merge_cells(g, 0, 1));
    EXPECT_EQ(g.columns, 2u);
    EXPECT_EQ(g.rows, 2u);
    // Both rows merged into one column each: the middle line goes.
    g = drop_unused_lines(merge_cells(g, 1, 2));
    EXPECT_EQ(g.columns, 1u);
    EXPECT_EQ(g.column_widths, (std::vector<double>{1.0}));
    EXPECT_EQ(zones_from_grid(g), (std::vector<Zone>{{0, 0, 1, 0.5}, {0, 0.5, 1, 1}}));
}

TEST(EditorLimits, NameMessageGoesOnceTheNameIsValid) {
    struct Case { const char* before; const char* name; const char* after; };
    const std::string empty = tr("edit.error_name_empty"), invalid = tr("edit.error_name_invalid");
    const Case cases[] = {
        {"edit.error_name_empty", "W", ""},
        {"edit.error_name_empty", "  ", "edit.error_name_empty"},
        {"edit.error_name_empty", "a[b", "edit.error_name_invalid"},
        {"edit.error_name_invalid", "ab", ""},
        {"", "a[b", ""},  // no message before: none appears while typing
    };
    for (const Case& c : cases) {
        EditorState st = editing(uniform_grid(1, 2));
        st.error = *c.before ? tr(c.before) : "";
        st.name_field.set_text(c.name);
        name_edited(st);
        EXPECT_EQ(st.error, *c.after ? tr(c.after) : "") << c.before << " then " << c.name;
    }
}

}  // namespace
}  // namespace tw
