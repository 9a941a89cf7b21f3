// Windows' high-contrast mode: the theme takes the system colours and gives them back.
#include <gtest/gtest.h>

#include "core/ui/theme.h"
#include "support/recording_canvas.h"
#include "support/theme_guard.h"

namespace tw {
namespace {

using test::DrawCall;
using test::RecordingCanvas;
using test::ThemeGuard;
using Op = DrawCall::Op;

const SystemColors kWhiteOnBlack{};  // the defaults are the "High Contrast Black" scheme
const SystemColors kBlackOnWhite{.window = 0xFFFFFF, .window_text = 0, .highlight = 0x37006E,
                                 .highlight_text = 0xFFFFFF, .button_face = 0xFFFFFF,
                                 .button_text = 0, .gray_text = 0x600000, .hot_track = 0x00009F};

TEST(HighContrast, ModeOnAndOffAndAccentChangesInBetween) {
    ThemeGuard guard(false, 0x7C3AED);
    ThemeState& theme = theme_state();
    Settings settings;
    settings.accent_color = 0x7C3AED;
    struct Step {
        std::optional<SystemColors> colors;
        bool changed;
        uint32_t accent;
        uint32_t text;
    };
    const Step steps[] = {
        {kWhiteOnBlack, true, 0x1AEBFF, 0xFFFFFF},
        {kWhiteOnBlack, false, 0x1AEBFF, 0xFFFFFF},  // the same mode again: no repaint
        {kBlackOnWhite, true, 0x37006E, 0x000000},   // another scheme is followed at once
        {std::nullopt, true, 0x7C3AED, 0x201C2B},    // off: the user's accent and palette
    };
    for (const Step& s : steps) {
        EXPECT_EQ(set_high_contrast(theme, settings.accent_color, s.colors), s.changed);
        EXPECT_EQ(theme.accent, s.accent);
        EXPECT_EQ(palette(true).text, color_from_rgb(s.text));
    }
    // A new accent chosen while high contrast is on is stored but painted only after.
    set_high_contrast(theme, settings.accent_color, kWhiteOnBlack);
    set_accent(settings, theme, 0x22C55E);
    EXPECT_EQ(settings.accent_color, 0x22C55Eu);
    EXPECT_EQ(theme.accent, 0x1AEBFFu);
    set_high_contrast(theme, settings.accent_color, std::nullopt);
    EXPECT_EQ(theme.accent, 0x22C55Eu);
}

TEST(HighContrast, FramesUseTheSystemColoursOnly) {
    ThemeGuard guard(true);
    set_high_contrast(theme_state(), kDefaultAccent, kBlackOnWhite);
    std::vector<WidgetItem> items;
    push_item(items, 1, 13, {10, 10, 80, 30}, "Button");
    RecordingCanvas canvas;
    paint_frame(canvas, items, 0, {}, 200, 100);
    const auto fills = canvas.of(Op::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].brush.color0, color_from_rgb(0xFFFFFF));  // the window colour
    EXPECT_EQ(fills[0].brush.color1, color_from_rgb(0xFFFFFF));
    EXPECT_EQ(canvas.calls.back().brush.color0, color_from_rgb(0x37006E));  // ring: highlight
    const Palette p = high_contrast_palette(kBlackOnWhite);
    EXPECT_EQ(p.dropdown_shadow_opacity, 0.0f);
    EXPECT_EQ(p.dropdown_panel_edge, color_from_rgb(0));
}

}  // namespace
}  // namespace tw
