// The editor's spacing stepper: its range, that it keeps the layout it edits, that the
// value is saved with the layout and re-applied, and the canvas gap. (Its names for
// screen readers are read from the running program, end to end.)
#include <gtest/gtest.h>

#include <algorithm>

#include "core/views/editor_command.h"
#include "core/views/editor_view.h"

namespace tw {
namespace {

using namespace editor_id;

Settings one_screen(int spacing) {
    Settings s;
    ScreenLayout e;
    e.id = "S";
    e.enabled = true;
    e.layouts = {{"A", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}, spacing}};
    e.active_layout = "A";
    s.screens = {e};
    s.selected_screen = "S";
    return s;
}

TEST(EditorSpacing, StepperKeepsWithinRangeAndKeepsTheLayout) {
    struct Case {
        int stored;
        uint64_t id;
        int after;
    };
    const Case cases[] = {{0, kSpacingMinus, 0}, {0, kSpacingPlus, 2},   {7, kSpacingPlus, 9},
                          {1, kSpacingMinus, 0}, {63, kSpacingPlus, 64}, {64, kSpacingPlus, 64},
                          {99, kSpacingMinus, 62}};  // a value set in memory beyond range comes back into it
    for (const Case& c : cases) {
        Settings s = one_screen(c.stored);
        EditorState st = open_editor_state(s, {}, {0, 0, 1920, 1040});
        run_editor_command(st, s, kEditRow);
        EXPECT_EQ(st.spacing, std::min(c.stored, 64)) << c.stored;
        const EditorOutcome out = run_editor_command(st, s, c.id);
        EXPECT_EQ(st.spacing, c.after) << c.stored << " " << c.id;
        EXPECT_EQ(out.rebuild, c.after != std::min(c.stored, 64)) << c.stored << " " << c.id;
        EXPECT_EQ(st.former_name, "A") << c.stored;  // still the same layout
        EXPECT_EQ(has_unsaved_changes(st), c.after != std::min(c.stored, 64)) << c.stored;
    }
}

TEST(EditorSpacing, SavedWithTheLayoutAndShownToScale) {
    Settings s = one_screen(0);
    ScreenInfo screen{"S", "One", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 0, true, 144};
    EditorState st = open_editor_state(s, std::span<const ScreenInfo>(&screen, 1), screen.work);
    run_editor_command(st, s, kEditRow);
    for (int i = 0; i < 4; ++i) run_editor_command(st, s, kSpacingPlus);
    // 8 px at 150 % is 12 of the area's 1920 pixels; the canvas of a 16:9 screen is
    // 391 DIPs wide.
    EXPECT_EQ(canvas_rect(st).width(), 391);
    EXPECT_EQ(canvas_gap(st, canvas_rect(st)), 2);

    const EditorOutcome saved = run_editor_command(st, s, kSave);
    EXPECT_TRUE(saved.zones_changed);  // the engine re-applies the gaps
    EXPECT_EQ(s.screens[0].layouts[0].spacing, 8);
    EXPECT_NE(serialize_settings(s).find("\"Spacing\": 8 }"), std::string::npos);

    // A new layout starts without gaps; a tiny gap still shows on the canvas.
    run_editor_command(st, s, kAdd);
    EXPECT_EQ(st.spacing, 0);
    EXPECT_EQ(canvas_gap(st, canvas_rect(st)), 0);
    run_editor_command(st, s, kSpacingPlus);
    st.area_dpi = 96;
    EXPECT_EQ(canvas_gap(st, canvas_rect(st)), 1);
}

}  // namespace
}  // namespace tw
