// The editor's canvas from the keyboard: choosing, splitting, merging, moving borders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/views/editor_keys.h"

namespace tw {
namespace {

EditorState edit_state(uint32_t rows, uint32_t columns) {
    EditorState st;
    st.page = EditorPage::Edit;
    st.grid = uniform_grid(rows, columns);
    reset_size_fields(st);
    return st;
}

std::string chosen(const EditorState& st) {
    return st.canvas_hover.kind == CanvasHover::Kind::Zone ? std::to_string(st.canvas_hover.a) : "-";
}

TEST(EditorKeys, ArrowsChooseNeighboursInAGrid) {
    // Two rows of three: zones 0 1 2 over 3 4 5.
    struct Case {
        std::string from;
        CanvasKey key;
        std::string to;
    };
    const Case cases[] = {
        {"-", CanvasKey::Right, "0"},  // the first choice is the first zone
        {"0", CanvasKey::Right, "1"}, {"1", CanvasKey::Down, "4"}, {"4", CanvasKey::Left, "3"},
        {"3", CanvasKey::Up, "0"},    {"0", CanvasKey::Left, "0"},  // no zone there
        {"2", CanvasKey::Home, "0"},  {"0", CanvasKey::End, "5"},
    };
    for (const Case& c : cases) {
        EditorState st = edit_state(2, 3);
        if (c.from != "-") st.canvas_hover = {CanvasHover::Kind::Zone, std::stoul(c.from), 0};
        canvas_key(st, c.key, {});
        EXPECT_EQ(chosen(st), c.to) << c.from << " key " << static_cast<int>(c.key);
    }
}

TEST(EditorKeys, SplitMergeAndMoveABorder) {
    EditorState st = edit_state(1, 2);
    st.canvas_hover = {CanvasHover::Kind::Zone, 0, 0};
    EXPECT_TRUE(canvas_key(st, CanvasKey::Activate, {}).rebuild);  // 0 splits side by side
    EXPECT_EQ(st.grid.cells.size(), 3u);
    EXPECT_EQ(st.grid.columns, 3u);
    EXPECT_EQ(st.width_fields.size(), 3u);  // the size table follows
    EXPECT_TRUE(canvas_key(st, CanvasKey::Activate, {.shift = true}).rebuild);  // above each other
    EXPECT_EQ(st.grid.rows, 2u);

    st = edit_state(1, 2);
    st.canvas_hover = {CanvasHover::Kind::Zone, 0, 0};
    const double before = st.grid.column_widths[0];
    canvas_key(st, CanvasKey::Right, {.shift = true});  // the border moves right: zone 0 grows
    EXPECT_NEAR(st.grid.column_widths[0], before + kBorderKeyStep, 1e-9);
    EXPECT_EQ(canvas_key(st, CanvasKey::Left, {.shift = true}), EditorOutcome{});  // no left border
    canvas_key(st, CanvasKey::Right, {});  // zone 1 grows to the left
    canvas_key(st, CanvasKey::Left, {.shift = true});
    canvas_key(st, CanvasKey::Left, {.shift = true});
    EXPECT_NEAR(st.grid.column_widths[0], before - kBorderKeyStep, 1e-9);
    EXPECT_EQ(chosen(st), "1");
    EXPECT_EQ(canvas_key(st, CanvasKey::Right, {.ctrl = true}), EditorOutcome{});  // nothing to the right
    EXPECT_TRUE(canvas_key(st, CanvasKey::Left, {.ctrl = true}).rebuild);
    EXPECT_EQ(st.grid.cells.size(), 1u);
    EXPECT_EQ(chosen(st), "0");
}

}  // namespace
}  // namespace tw
