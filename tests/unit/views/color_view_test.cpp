#include <gtest/gtest.h>

#include "core/views/color_view.h"

namespace tw {
namespace {

TEST(ColorDialog, StateChanges) {
    ColorDialogState s = open_color_state(0xFFA855F7);  // bits above the colour ignored
    EXPECT_EQ(s.shown, 0xA855F7u);
    EXPECT_EQ(s.hex.text(), "#a855f7");

    EXPECT_TRUE(choose_color(s, 0x3B82F6));  // a preset
    EXPECT_EQ(s.hex.text(), "#3b82f6");
    EXPECT_FALSE(choose_color(s, 0x3B82F6));

    // Typing previews a complete colour but leaves the text as typed.
    s.hex.select_all();
    s.hex.insert_text("#FF00");
    EXPECT_FALSE(preview_typed_color(s));
    s.hex.insert_text("80");
    EXPECT_TRUE(preview_typed_color(s));
    EXPECT_EQ(s.shown, 0xFF0080u);
    EXPECT_EQ(s.hex.text(), "#FF0080");

    // Committing a valid text writes its canonical form; an invalid one is reset.
    EXPECT_FALSE(commit_hex_field(s));
    EXPECT_EQ(s.hex.text(), "#ff0080");
    s.hex.select_all();
    s.hex.insert_text("#12345G");
    EXPECT_FALSE(commit_hex_field(s));
    EXPECT_EQ(s.hex.text(), "#ff0080");
    EXPECT_EQ(s.shown, 0xFF0080u);
    s.hex.select_all();
    s.hex.insert_text("00ff00");
    EXPECT_TRUE(commit_hex_field(s));
    EXPECT_EQ(s.shown, 0x00FF00u);
    EXPECT_EQ(s.hex.text(), "#00ff00");

    // Any way out but Done brings back the opening colour, unsaved.
    EXPECT_EQ(color_dialog_outcome(s), (ColorDialogOutcome{0xA855F7, false}));
    s.done = true;
    EXPECT_EQ(color_dialog_outcome(s), (ColorDialogOutcome{0x00FF00, true}));
}

TEST(ColorDialog, HueAcrossTheSlider) {
    struct Case {
        int32_t x;
        double hue;
    };
    // The slider spans 28 to 352 at the design width (324 DIPs).
    const Case cases[] = {{28, 0}, {190, 180}, {352, 360}, {0, 0}, {1000, 360}, {109, 90}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(hue_at(c.x, kColorWidth), c.hue) << c.x;
    EXPECT_EQ(hue_at(10, 40), 0);  // a window too narrow for a slider
}

TEST(ColorDialog, ViewMarksTheShownColour) {
    ColorDialogState s = open_color_state(0x14B8A6);
    const auto items = build_color_view(s, kColorWidth);
    int selected = 0;
    for (const auto& w : items) {
        if (w.kind == 26) {
            selected += w.selected;
            EXPECT_EQ(w.selected, w.color == 0x14B8A6 ? 1 : 0);
        }
        if (w.kind == 27 || w.kind == 28) {
            EXPECT_EQ(w.color, 0x14B8A6u);
        }
        if (w.id == color_id::kFirstPreset + 11) {
            EXPECT_EQ(w.rect, (Rect{308, 138, 352, 182}));
        }
    }
    EXPECT_EQ(selected, 1);
    choose_color(s, 0x123456);  // not a preset: no swatch is selected
    for (const auto& w : build_color_view(s, kColorWidth)) EXPECT_EQ(w.selected, 0);
}

}  // namespace
}  // namespace tw
