#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/ui/widgets.h"
#include "support/recording_canvas.h"
#include "support/theme_guard.h"

namespace tw {
namespace {

using test::DrawCall;
using test::RecordingCanvas;
using test::ThemeGuard;
using Op = DrawCall::Op;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kInkLight = 0x201C2B;  // text colour of the light theme
constexpr uint32_t kAccent = 0xA855F7;
constexpr uint32_t kDanger = 0xEF4444;
constexpr uint32_t kSuccess = 0x22C55E;
constexpr uint32_t kPanelDark = 0x463D6A;
constexpr uint32_t kCloseRed = 0xDB2626;

constexpr Rect kRect{10, 20, 110, 44};  // 100 x 24

enum State : unsigned { Plain = 0, Hover = 1, Press = 2, Disabled = 4, Selected = 8, On = 16 };

WidgetItem make_item(uint8_t kind, unsigned state, uint64_t id = 7, uint32_t color = 0x336699) {
    WidgetItem it;
    it.kind = kind;
    it.id = id;
    it.rect = kRect;
    it.text = "Text";
    it.color = color;
    it.hovered = (state & Hover) ? 1 : 0;
    it.pressed = (state & Press) ? 1 : 0;
    it.enabled = (state & Disabled) ? 0 : 1;
    it.selected = (state & Selected) ? 1 : 0;
    it.on = (state & On) ? 1 : 0;
    return it;
}

// The colour a brush starts with: the solid colour, or the first gradient stop.
struct Shape {
    Op op;
    float radius;
    uint32_t color;
    float opacity;
};
struct TextFact {
    TextFormat format;
    uint32_t color;
    float opacity;
    bool clip;
};
struct PaintCase {
    const char* name;
    uint8_t kind;
    bool light;
    unsigned state;
    std::vector<Shape> shapes;  // every non-text call, in order
    std::optional<TextFact> text;  // the first text call
    uint64_t id = 7;
};

TEST(WidgetPaint, EachKindDrawsItsShapesAndTextPerThemeAndState) {
    const std::vector<PaintCase> cases = {
        {"card dark", 0, false, Plain, {{Op::FillRoundedRect, 10, kWhite, 0.05f}}, std::nullopt},
        {"card light", 0, true, Plain, {{Op::FillRoundedRect, 10, kWhite, 1.0f}}, std::nullopt},
        {"label", 1, false, Plain, {}, TextFact{TextFormat::Label, kWhite, 0.85f, true}},
        {"label light", 1, true, Plain, {}, TextFact{TextFormat::Label, kInkLight, 0.85f, true}},
        {"right label", 2, true, Plain, {}, TextFact{TextFormat::Trailing, kInkLight, 0.6f, true}},
        {"paragraph", 3, false, Plain, {}, TextFact{TextFormat::Paragraph, kWhite, 0.8f, true}},
        {"centred paragraph", 4, false, Plain, {},
         TextFact{TextFormat::ParagraphCentred, kWhite, 0.85f, true}},
        {"error paragraph", 5, true, Plain, {},
         TextFact{TextFormat::ParagraphCentred, kDanger, 1.0f, true}},
        {"error label", 6, false, Plain, {}, TextFact{TextFormat::Label, kDanger, 1.0f, true}},
        {"link", 7, false, Plain, {}, TextFact{TextFormat::Body, kWhite, 0.75f, true}},
        {"link hovered", 7, false, Hover, {}, TextFact{TextFormat::Body, kWhite, 0.79f, true}},
        {"link pressed", 7, false, Hover | Press, {},
         TextFact{TextFormat::Body, kWhite, 0.83f, true}},
        {"accent label", 8, false, Plain, {}, TextFact{TextFormat::Label, kAccent, 0.9f, true}},
        {"accent label pressed", 8, true, Press, {},
         TextFact{TextFormat::Label, kAccent, 0.98f, true}},
        {"accent right label hovered", 9, false, Hover, {},
         TextFact{TextFormat::Trailing, kAccent, 0.94f, true}},
        {"primary", 11, false, Plain, {{Op::FillRoundedRect, 8, kAccent, 1.0f}},
         TextFact{TextFormat::Centred, kWhite, 1.0f, true}},
        {"primary danger", 11, false, On, {{Op::FillRoundedRect, 8, kDanger, 1.0f}},
         TextFact{TextFormat::Centred, kWhite, 1.0f, true}},
        {"primary hovered", 11, true, Hover,
         {{Op::FillRoundedRect, 8, kAccent, 1.0f}, {Op::FillRoundedRect, 8, kInkLight, 0.1f}},
         TextFact{TextFormat::Centred, kInkLight, 1.0f, true}},
        {"primary pressed", 11, false, Hover | Press,
         {{Op::FillRoundedRect, 8, kAccent, 1.0f}, {Op::FillRoundedRect, 8, kWhite, 0.18f}},
         TextFact{TextFormat::Centred, kWhite, 1.0f, true}},
        {"primary disabled ignores stale hover", 11, false, Disabled | Hover,
         {{Op::FillRoundedRect, 8, kWhite, 0.1f}}, TextFact{TextFormat::Centred, kWhite, 0.4f, true}},
        {"success", 12, false, Plain, {{Op::FillRoundedRect, 8, kSuccess, 1.0f}},
         TextFact{TextFormat::Centred, kWhite, 1.0f, true}},
        {"success pressed", 12, false, Press,
         {{Op::FillRoundedRect, 8, kSuccess, 1.0f}, {Op::FillRoundedRect, 8, kWhite, 0.18f}},
         TextFact{TextFormat::Centred, kWhite, 1.0f, true}},
        {"success disabled", 12, false, Disabled, {{Op::FillRoundedRect, 8, kWhite, 0.1f}},
         TextFact{TextFormat::Centred, kWhite, 0.4f, true}},
        {"secondary", 13, false, Plain, {{Op::FillRoundedRect, 6, kWhite, 0.1f}},
         TextFact{TextFormat::Centred, kWhite, 0.95f, true}},
        {"secondary hovered", 13, false, Hover, {{Op::FillRoundedRect, 6, kWhite, 0.14f}},
         TextFact{TextFormat::Centred, kWhite, 0.95f, true}},
        {"secondary pressed", 13, true, Press, {{Op::FillRoundedRect, 6, kInkLight, 0.18f}},
         TextFact{TextFormat::Centred, kInkLight, 0.95f, true}},
        {"secondary disabled", 13, false, Disabled, {{Op::FillRoundedRect, 6, kWhite, 0.04f}},
         TextFact{TextFormat::Centred, kWhite, 0.4f, true}},
        {"dropdown", 14, false, Plain, {{Op::FillRoundedRect, 12, kWhite, 0.11f}},
         TextFact{TextFormat::Label, kWhite, 0.95f, true}},
        {"dropdown hovered", 14, false, Hover, {{Op::FillRoundedRect, 12, kWhite, 0.15f}},
         TextFact{TextFormat::Label, kWhite, 0.95f, true}},
        {"dropdown pressed", 14, false, Press, {{Op::FillRoundedRect, 12, kWhite, 0.19f}},
         TextFact{TextFormat::Label, kWhite, 0.95f, true}},
        // A shadow of three layers, the panel, and an edge in the text colour: white on
        // a white card must still show where the list ends.
        {"list panel dark", 15, false, Plain,
         {{Op::FillRoundedRect, 11, 0, 0.1f}, {Op::FillRoundedRect, 12, 0, 0.1f},
          {Op::FillRoundedRect, 13, 0, 0.1f}, {Op::FillRoundedRect, 10, kPanelDark, 1.0f},
          {Op::StrokeRoundedRect, 9.5f, kWhite, 0.14f}},
         std::nullopt},
        {"list panel light", 15, true, Plain,
         {{Op::FillRoundedRect, 11, 0, 0.045f}, {Op::FillRoundedRect, 12, 0, 0.045f},
          {Op::FillRoundedRect, 13, 0, 0.045f}, {Op::FillRoundedRect, 10, kWhite, 1.0f},
          {Op::StrokeRoundedRect, 9.5f, kInkLight, 0.16f}},
         std::nullopt},
        {"menu row", 16, false, Plain, {}, TextFact{TextFormat::Label, kWhite, 0.9f, true}},
        {"menu row hovered", 16, false, Hover, {{Op::FillRoundedRect, 6, kWhite, 0.1f}},
         TextFact{TextFormat::Label, kWhite, 0.9f, true}},
        {"menu row on", 16, true, On | Hover, {{Op::FillRoundedRect, 6, kAccent, 0.85f}},
         TextFact{TextFormat::Label, kInkLight, 1.0f, true}},
        {"glyph", 17, false, Plain, {}, TextFact{TextFormat::Centred, kWhite, 0.9f, true}},
        {"glyph hovered", 17, false, Hover, {{Op::FillRect, 0, kWhite, 0.1f}},
         TextFact{TextFormat::Centred, kWhite, 0.9f, true}},
        {"glyph pressed", 17, true, Press, {{Op::FillRect, 0, kInkLight, 0.18f}},
         TextFact{TextFormat::Centred, kInkLight, 0.9f, true}},
        {"close hovered", 17, false, Hover, {{Op::FillRect, 0, kCloseRed, 0.85f}},
         TextFact{TextFormat::Centred, kWhite, 0.9f, true}, 114},
        {"close pressed", 17, true, Press, {{Op::FillRect, 0, kCloseRed, 1.0f}},
         TextFact{TextFormat::Centred, kInkLight, 0.9f, true}, 724},
        {"text field target", 18, false, Hover, {}, std::nullopt},
        {"canvas target", 19, false, Hover, {}, std::nullopt},
        {"row target", 20, false, Hover | On, {}, std::nullopt},
        {"delete", 25, false, Plain, {}, TextFact{TextFormat::Centred, kDanger, 1.0f, true}},
        {"delete hovered", 25, false, Hover, {{Op::FillRoundedRect, 6, kDanger, 0.16f}},
         TextFact{TextFormat::Centred, kDanger, 1.0f, true}},
        {"delete pressed", 25, true, Press, {{Op::FillRoundedRect, 6, kDanger, 0.28f}},
         TextFact{TextFormat::Centred, kDanger, 1.0f, true}},
        {"delete disabled", 25, false, Disabled, {}, TextFact{TextFormat::Centred, kDanger, 0.4f, true}},
        {"swatch", 26, false, Plain,
         {{Op::FillRoundedRect, 6, 0x336699, 1.0f}, {Op::StrokeRoundedRect, 6, kWhite, 0.25f}},
         std::nullopt},
        {"swatch hovered", 26, true, Hover,
         {{Op::FillRoundedRect, 6, 0x336699, 1.0f}, {Op::StrokeRoundedRect, 6, kInkLight, 0.7f}},
         std::nullopt},
        {"swatch selected", 26, false, Selected | Hover,
         {{Op::FillRoundedRect, 6, 0x336699, 1.0f}, {Op::StrokeRoundedRect, 8, kWhite, 0.95f}},
         std::nullopt},
        {"segment", 29, false, Plain, {}, TextFact{TextFormat::Centred, kWhite, 0.7f, true}},
        {"segment hovered", 29, true, Hover, {{Op::FillRoundedRect, 10, kInkLight, 0.1f}},
         TextFact{TextFormat::Centred, kInkLight, 0.7f, true}},
        {"segment pressed", 29, false, Press, {{Op::FillRoundedRect, 10, kWhite, 0.16f}},
         TextFact{TextFormat::Centred, kWhite, 0.7f, true}},
        {"segment selected", 29, true, Selected, {{Op::FillRoundedRect, 10, kAccent, 1.0f}},
         TextFact{TextFormat::Centred, kWhite, 1.0f, true}},
        {"segment track dark", 30, false, Plain,
         {{Op::FillRoundedRect, 12, kWhite, 0.07f}, {Op::StrokeRoundedRect, 11.5f, kWhite, 0.1f}},
         std::nullopt},
        {"segment track light", 30, true, Plain,
         {{Op::FillRoundedRect, 12, kInkLight, 0.07f}, {Op::StrokeRoundedRect, 11.5f, kInkLight, 0.08f}},
         std::nullopt},
        {"scroll thumb", 31, true, Hover, {{Op::FillRoundedRect, 50, kInkLight, 0.3f}},
         std::nullopt},
        {"unknown kind", 32, false, Hover, {}, std::nullopt},
    };
    for (const PaintCase& c : cases) {
        SCOPED_TRACE(c.name);
        ThemeGuard theme(c.light);
        RecordingCanvas canvas;
        paint_item(canvas, make_item(c.kind, c.state, c.id));
        std::vector<DrawCall> shapes;
        for (const DrawCall& call : canvas.calls) {
            if (call.op != Op::Text) shapes.push_back(call);
        }
        ASSERT_EQ(shapes.size(), c.shapes.size());
        for (size_t i = 0; i < shapes.size(); ++i) {
            EXPECT_EQ(shapes[i].op, c.shapes[i].op) << i;
            EXPECT_FLOAT_EQ(shapes[i].radius, c.shapes[i].radius) << i;
            EXPECT_EQ(shapes[i].brush.color0, color_from_rgb(c.shapes[i].color)) << i;
            EXPECT_FLOAT_EQ(shapes[i].brush.opacity, c.shapes[i].opacity) << i;
        }
        const std::vector<DrawCall> texts = canvas.texts();
        ASSERT_EQ(texts.empty(), !c.text.has_value());
        if (!c.text) continue;
        EXPECT_EQ(texts[0].format, c.text->format);
        EXPECT_EQ(texts[0].brush.color0, color_from_rgb(c.text->color));
        EXPECT_FLOAT_EQ(texts[0].brush.opacity, c.text->opacity);
        EXPECT_EQ(texts[0].clip, c.text->clip);
    }
}

TEST(WidgetPaint, FilledButtonsUseDiagonalGradients) {
    ThemeGuard theme(false, 0xA855F7);
    struct Case { uint8_t kind; unsigned state; uint32_t from, to; };
    for (const Case& c : {Case{11, Plain, 0xA855F7, 0x793DB2}, Case{11, On, 0xEF4444, 0xDC2626},
                          Case{12, Plain, 0x22C55E, 0x16A34A}}) {
        RecordingCanvas canvas;
        paint_item(canvas, make_item(c.kind, c.state));
        const DrawCall fill = canvas.of(Op::FillRoundedRect).at(0);
        EXPECT_EQ(fill.brush.kind, Brush::Kind::Gradient);
        EXPECT_EQ(fill.brush.color0, color_from_rgb(c.from));
        EXPECT_EQ(fill.brush.color1, color_from_rgb(c.to));
        EXPECT_EQ(fill.brush.start, (PointF{10, 20}));
        EXPECT_EQ(fill.brush.end, (PointF{110, 44}));
    }
}

TEST(WidgetPaint, ToggleRowTrackKnobAndLabel) {
    struct Case { unsigned state; float knob_left; uint32_t track; float track_opacity; float f; };
    const Case cases[] = {
        {On, 110 - 17, kAccent, 1.0f, 1.0f},
        {Plain, 110 - 37, kWhite, 0.16f, 1.0f},
        {On | Disabled, 110 - 17, kAccent, 0.4f, 0.4f},
        {Disabled | Hover, 110 - 37, kWhite, 0.064f, 0.4f},
    };
    ThemeGuard theme(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        RecordingCanvas canvas;
        WidgetItem it = make_item(10, c.state);
        it.rect = {10, 20, 110, 50};  // 30 high: track top 25
        paint_item(canvas, it);
        const auto fills = canvas.of(Op::FillRoundedRect);
        ASSERT_EQ(fills.size(), 2u);  // no hover highlight on a disabled row
        EXPECT_EQ(fills[0].rect, (RectF{70, 25, 110, 45}));
        EXPECT_FLOAT_EQ(fills[0].radius, 10);
        EXPECT_EQ(fills[0].brush.color0, color_from_rgb(c.track));
        EXPECT_FLOAT_EQ(fills[0].brush.opacity, c.track_opacity);
        EXPECT_EQ(fills[1].rect, (RectF{c.knob_left, 28, c.knob_left + 14, 42}));
        EXPECT_FLOAT_EQ(fills[1].radius, 7);
        EXPECT_FLOAT_EQ(fills[1].brush.opacity, c.f);
        const DrawCall label = canvas.texts().at(0);
        EXPECT_EQ(label.rect, (RectF{10, 20, 62, 50}));
        EXPECT_FLOAT_EQ(label.brush.opacity, c.f * 0.9f);
    }
    RecordingCanvas canvas;
    paint_item(canvas, make_item(10, Press));
    const DrawCall highlight = canvas.of(Op::FillRoundedRect).at(0);
    EXPECT_EQ(highlight.rect, to_rectf(kRect));
    EXPECT_FLOAT_EQ(highlight.brush.opacity, 0.08f);
}

TEST(WidgetPaint, CloseGlyphRedOnlyForWindowCloseCommands) {
    ThemeGuard theme(false);
    struct Case { uint64_t id; bool red; };
    for (const Case& c : {Case{114, true}, Case{306, true}, Case{517, true}, Case{724, true},
                          Case{113, false}, Case{0, false}, Case{115, false}}) {
        RecordingCanvas canvas;
        paint_item(canvas, make_item(17, Hover, c.id));
        const DrawCall fill = canvas.of(Op::FillRect).at(0);
        EXPECT_EQ(fill.rect, to_rectf(kRect));
        EXPECT_EQ(fill.brush.color0 == color_from_rgb(kCloseRed), c.red) << c.id;
    }
}

TEST(WidgetPaint, SquareCornerCardFillsTwiceUnderClipsAndSquaresTheCorner) {
    ThemeGuard theme(true);
    RecordingCanvas canvas;
    WidgetItem it = make_item(24, Plain);
    it.rect = {16, 146, 200, 300};
    paint_item(canvas, it);
    const std::vector<Op> ops = {Op::PushClip, Op::FillRoundedRect, Op::PopClip, Op::PushClip,
                                 Op::FillRoundedRect, Op::PopClip, Op::FillRect};
    ASSERT_EQ(canvas.calls.size(), ops.size());
    for (size_t i = 0; i < ops.size(); ++i) EXPECT_EQ(canvas.calls[i].op, ops[i]) << i;
    EXPECT_EQ(canvas.calls[0].rect, (RectF{26, 146, 200, 156}));
    EXPECT_EQ(canvas.calls[3].rect, (RectF{16, 156, 200, 300}));
    EXPECT_EQ(canvas.calls[1].rect, (RectF{16, 146, 200, 300}));
    EXPECT_FLOAT_EQ(canvas.calls[1].radius, 10);
    EXPECT_EQ(canvas.calls[6].rect, (RectF{16, 146, 26, 156}));
    for (size_t i : {1u, 4u, 6u}) {
        EXPECT_EQ(canvas.calls[i].brush.color0, color_from_rgb(kWhite));
        EXPECT_FLOAT_EQ(canvas.calls[i].brush.opacity, 1.0f);
    }
}

TEST(WidgetPaint, HueBarStripsAndMarker) {
    RecordingCanvas canvas;
    WidgetItem it = make_item(27, Plain, 7, 0x00FF00);  // pure green: hue 120
    it.rect = {0, 10, 360, 30};
    paint_item(canvas, it);
    const auto fills = canvas.of(Op::FillRect);
    ASSERT_EQ(fills.size(), 120u + 2u);
    struct Strip { size_t index; uint32_t rgb; };
    // 0.8075 chroma plus 0.1425 gives 242 for the full channel and 36 for the empty one.
    for (const Strip& s : {Strip{0, 0xF22424}, Strip{40, 0x24F224}, Strip{80, 0x2424F2},
                           Strip{20, 0xF2F224}, Strip{10, 0xF28B24}}) {
        EXPECT_EQ(fills[s.index].rect, (RectF{3.0f * s.index, 10, 3.0f * s.index + 3, 30}));
        EXPECT_EQ(fills[s.index].brush.color0, color_from_rgb(s.rgb)) << s.index;
    }
    const DrawCall black = fills[120], white = fills[121];
    EXPECT_EQ(black.rect, (RectF{117, 8, 123, 32}));
    EXPECT_EQ(black.brush.color0, color_from_rgb(0));
    EXPECT_FLOAT_EQ(black.brush.opacity, 0.85f);
    EXPECT_EQ(white.rect, (RectF{118.5f, 8, 121.5f, 32}));
    EXPECT_FLOAT_EQ(white.brush.opacity, 1.0f);
}

TEST(WidgetPaint, HueBarMarkerForGreysAndLastStripClipped) {
    RecordingCanvas canvas;
    WidgetItem it = make_item(27, Plain, 7, 0x808080);
    it.rect = {100, 0, 110, 20};  // 10 wide: strips 3, 3, 3, 1
    paint_item(canvas, it);
    const auto fills = canvas.of(Op::FillRect);
    ASSERT_EQ(fills.size(), 4u + 2u);
    EXPECT_EQ(fills[3].rect, (RectF{109, 0, 110, 20}));
    EXPECT_EQ(fills[4].rect, (RectF{97, -2, 103, 22}));  // grey counts as hue 0
}

TEST(WidgetPaint, HexPreviewTextIsBlackOnLightColours) {
    ThemeGuard theme(false);
    struct Case { uint32_t rgb; const char* text; uint32_t ink; };
    const Case cases[] = {
        {0xFFFFFF, "#ffffff", 0x000000}, {0xFFFF00, "#ffff00", 0x000000},
        {0x979797, "#979797", 0x000000},  // luminance 151
        {0x969696, "#969696", 0xFFFFFF},  // exactly 150: not above
        {0x0000FF, "#0000ff", 0xFFFFFF}, {0xA855F7, "#a855f7", 0xFFFFFF},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        paint_item(canvas, make_item(28, Plain, 7, c.rgb));
        const DrawCall text = canvas.texts().at(0);
        EXPECT_EQ(text.text, c.text);
        EXPECT_EQ(text.format, TextFormat::Centred);
        EXPECT_EQ(text.brush.color0, color_from_rgb(c.ink)) << c.text;
        EXPECT_FLOAT_EQ(text.brush.opacity, 0.95f);
        EXPECT_EQ(canvas.of(Op::FillRoundedRect).at(0).brush.color0, color_from_rgb(c.rgb));
        EXPECT_FLOAT_EQ(canvas.of(Op::StrokeRoundedRect).at(0).brush.opacity, 0.3f);
    }
}

}  // namespace
}  // namespace tw
