#include <gtest/gtest.h>

#include "core/views/color_view.h"
#include "core/model/catalog.h"
#include "support/recording_canvas.h"

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

// A text that is no colour says so: at once when it cannot become one, on Done when it
// is not one yet; Done then stays open, and an edit clears the refusal.
TEST(ColorDialog, InvalidTextIsMarkedAndKeptOpen) {
    struct Case { std::string typed; bool marked_while_typing; bool refused; };
    const Case cases[] = {
        {"#a855f7", false, false}, {"A855F7", false, false}, {"#a85", false, true}, {"", false, true},
        {"#a855f7a", true, true},  {"#zz", true, true},      {"#", false, true},
    };
    for (const Case& c : cases) {
        ColorDialogState s = open_color_state(0xA855F7);
        s.hex.select_all();
        s.hex.insert_text(c.typed);
        EXPECT_EQ(hex_field_invalid(s), c.marked_while_typing) << c.typed;
        EXPECT_EQ(refuse_invalid_hex(s), c.refused) << c.typed;
        EXPECT_EQ(hex_field_invalid(s), c.marked_while_typing || c.refused) << c.typed;
        size_t errors = 0, swatches = 0;
        for (const WidgetItem& w : build_color_view(s, kColorWidth)) {
            errors += w.kind == 6 && w.text == tr("color.error_invalid");
            swatches += w.kind == 28;
        }
        EXPECT_EQ(errors, hex_field_invalid(s) ? 1u : 0u) << c.typed;
        EXPECT_EQ(swatches, hex_field_invalid(s) ? 0u : 1u) << c.typed;
        test::RecordingCanvas canvas;
        paint_hex_field(canvas, s, false);
        size_t danger = 0;
        for (const auto& call : canvas.calls)
            danger += call.op == test::DrawCall::Op::StrokeRoundedRect && call.stroke == 1.5f;
        EXPECT_EQ(danger, hex_field_invalid(s) ? 1u : 0u) << c.typed;
    }
}

}  // namespace
}  // namespace tw
