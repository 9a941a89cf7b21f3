#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <vector>

#include "core/model/settings.h"
#include "core/ui/widgets.h"
#include "support/recording_canvas.h"
#include "support/theme_guard.h"

namespace tw {
namespace {

using test::DrawCall;
using test::RecordingCanvas;
using test::ThemeGuard;
using Op = DrawCall::Op;

TEST(Widgets, PushItemStartsWithDefaultFlags) {
    std::vector<WidgetItem> items;
    WidgetItem& it = push_item(items, 103, 11, {28, 60, 138, 88}, "Start");
    it.on = 1;
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "Start");
    EXPECT_EQ(items[0].id, 103u);
    EXPECT_EQ(items[0].rect, (Rect{28, 60, 138, 88}));
    EXPECT_EQ(items[0].on, 1);
    EXPECT_EQ(items[0].enabled, 1);
    EXPECT_EQ(items[0].hovered, 0);
    EXPECT_EQ(items[0].pressed, 0);
}

TEST(Widgets, OnlyTheListedKindsAreClickable) {
    const std::set<int> clickable = {7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18,
                                     20, 21, 22, 25, 26, 27, 29};
    for (int kind = 0; kind <= 40; ++kind) {
        EXPECT_EQ(is_clickable_kind(static_cast<uint8_t>(kind)), clickable.count(kind) == 1) << kind;
        std::vector<WidgetItem> items;
        push_item(items, 1, static_cast<uint8_t>(kind), {0, 0, 10, 10});
        EXPECT_EQ(hit_test(items, 5, 5).has_value(), clickable.count(kind) == 1) << kind;
    }
}

TEST(Widgets, HitTestTopmostEnabledClickableWithExclusiveEdges) {
    std::vector<WidgetItem> items;
    push_item(items, 0, 0, {0, 0, 100, 100});     // 0: card, never hit
    push_item(items, 1, 11, {10, 10, 50, 50});    // 1
    push_item(items, 2, 13, {30, 30, 70, 70});    // 2: over 1
    push_item(items, 3, 11, {60, 60, 90, 90}).enabled = 0;  // 3: disabled
    push_item(items, 4, 23, {0, 80, 20, 100});    // 4: preview card, never hit
    struct Case { int32_t x, y; std::optional<size_t> hit; };
    const Case cases[] = {
        {35, 35, 2}, {15, 15, 1}, {10, 10, 1}, {49, 29, 1}, {50, 15, std::nullopt},
        {15, 50, std::nullopt}, {69, 69, 2}, {70, 40, std::nullopt}, {75, 75, std::nullopt},
        {65, 65, 2}, {10, 85, std::nullopt}, {-1, 20, std::nullopt}, {500, 500, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(hit_test(items, c.x, c.y), c.hit) << c.x << "," << c.y;
    EXPECT_FALSE(hit_test({}, 0, 0).has_value());
}

TEST(Widgets, ThemeResolution) {
    struct Case { Theme setting; std::optional<uint32_t> system; bool light; };
    const Case cases[] = {
        {Theme::Dark, std::nullopt, false}, {Theme::Dark, 1u, false},
        {Theme::Light, std::nullopt, true}, {Theme::Light, 0u, true},
        {Theme::Auto, std::nullopt, false}, {Theme::Auto, 0u, false},
        {Theme::Auto, 1u, true}, {Theme::Auto, 0xFFFFFFFFu, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolve_light_theme(c.setting, c.system), c.light)
            << static_cast<int>(c.setting) << " " << c.system.value_or(99);
    }
}

TEST(PointerTracker, HoverPressReleaseExecutesOnlyOverTheSameItem) {
    std::vector<WidgetItem> items;
    push_item(items, 101, 13, {0, 0, 50, 20});
    push_item(items, 102, 13, {60, 0, 110, 20});
    PointerTracker t;

    EXPECT_TRUE(t.move(items, 10, 10));
    EXPECT_EQ(items[0].hovered, 1);
    EXPECT_FALSE(t.move(items, 12, 10));  // same item: no repaint
    EXPECT_TRUE(t.move(items, 70, 10));
    EXPECT_EQ(items[0].hovered, 0);
    EXPECT_EQ(items[1].hovered, 1);
    EXPECT_TRUE(t.move(items, 55, 10));  // gap
    EXPECT_EQ(items[1].hovered, 0);
    EXPECT_FALSE(t.hovered().has_value());

    EXPECT_EQ(t.press(items, 10, 10), std::optional<size_t>(0));
    EXPECT_EQ(items[0].pressed, 1);
    auto r = t.release(items, 20, 5);
    EXPECT_EQ(r.command, std::optional<uint64_t>(101));
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(items[0].pressed, 0);

    // Dragged off onto another item before release: nothing runs.
    t.press(items, 10, 10);
    r = t.release(items, 70, 10);
    EXPECT_FALSE(r.command.has_value());
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(items[0].pressed, 0);

    // Press on nothing: no capture, release does nothing.
    EXPECT_FALSE(t.press(items, 55, 10).has_value());
    r = t.release(items, 55, 10);
    EXPECT_FALSE(r.command.has_value());
    EXPECT_FALSE(r.repaint);
}

TEST(PointerTracker, ReleaseOverAnItemDisabledMeanwhileDoesNothing) {
    std::vector<WidgetItem> items;
    push_item(items, 5, 11, {0, 0, 50, 20});
    PointerTracker t;
    t.press(items, 1, 1);
    items[0].enabled = 0;
    EXPECT_FALSE(t.release(items, 1, 1).command.has_value());
}

TEST(PointerTracker, RebuildGetsFlagsBackAndLeaveClearsHover) {
    std::vector<WidgetItem> items;
    push_item(items, 1, 13, {0, 0, 50, 20});
    push_item(items, 2, 13, {60, 0, 110, 20});
    PointerTracker t;
    t.move(items, 70, 10);
    t.press(items, 70, 10);

    std::vector<WidgetItem> rebuilt;
    push_item(rebuilt, 1, 13, {0, 0, 50, 20});
    push_item(rebuilt, 2, 13, {60, 0, 110, 20});
    t.reapply(rebuilt);
    EXPECT_EQ(rebuilt[1].hovered, 1);
    EXPECT_EQ(rebuilt[1].pressed, 1);
    EXPECT_EQ(rebuilt[0].pressed, 0);

    std::vector<WidgetItem> shorter;  // stored indices beyond the list are ignored
    push_item(shorter, 1, 13, {0, 0, 50, 20});
    t.reapply(shorter);
    EXPECT_EQ(shorter[0].hovered, 0);
    EXPECT_EQ(shorter[0].pressed, 0);
    EXPECT_FALSE(t.release(shorter, 70, 10).command.has_value());

    EXPECT_TRUE(t.leave(rebuilt));
    EXPECT_EQ(rebuilt[1].hovered, 0);
    EXPECT_FALSE(t.leave(rebuilt));
}

TEST(PaintFrame, BackgroundGradientPerTheme) {
    struct Case { bool light; uint32_t from, to; };
    for (const Case& c : {Case{false, 0x241B3D, 0x171226}, Case{true, 0xECEBF2, 0xE5E3EE}}) {
        ThemeGuard theme(c.light);
        RecordingCanvas canvas;
        paint_frame(canvas, {}, std::nullopt, {}, 480, 320);
        ASSERT_EQ(canvas.calls.size(), 1u);
        const DrawCall bg = canvas.calls[0];
        EXPECT_EQ(bg.op, Op::FillRect);
        EXPECT_EQ(bg.rect, (RectF{0, 0, 480, 320}));
        EXPECT_EQ(bg.brush.kind, Brush::Kind::Gradient);
        EXPECT_EQ(bg.brush.start, (PointF{0, 0}));
        EXPECT_EQ(bg.brush.end, (PointF{480, 320}));
        EXPECT_EQ(bg.brush.color0, color_from_rgb(c.from));
        EXPECT_EQ(bg.brush.color1, color_from_rgb(c.to));
        EXPECT_FLOAT_EQ(bg.brush.opacity, 1.0f);
    }
}

TEST(PaintFrame, FocusRingOnlyForAnIndexInsideTheList) {
    std::vector<WidgetItem> items;
    push_item(items, 1, 13, {10, 10, 60, 30});
    push_item(items, 2, 13, {70, 10, 120, 30});
    struct Case { std::optional<size_t> focus; std::optional<RectF> ring; };
    const Case cases[] = {
        {std::nullopt, std::nullopt}, {0, RectF{7, 7, 63, 33}}, {1, RectF{67, 7, 123, 33}},
        {2, std::nullopt}, {99, std::nullopt},
    };
    ThemeGuard theme(true);
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        paint_frame(canvas, items, c.focus, {}, 200, 100);
        const auto strokes = canvas.of(Op::StrokeRoundedRect);
        ASSERT_EQ(strokes.size(), c.ring ? 2u : 0u);  // a background hairline, then the ring
        if (!c.ring) continue;
        EXPECT_EQ(canvas.calls.back().op, Op::StrokeRoundedRect);  // drawn last
        EXPECT_EQ(strokes[1].rect, *c.ring);
        EXPECT_FLOAT_EQ(strokes[1].radius, 11);
        EXPECT_FLOAT_EQ(strokes[1].stroke, 2);
        EXPECT_EQ(strokes[1].brush.color0, color_from_rgb(theme_state().accent));
        EXPECT_FLOAT_EQ(strokes[1].brush.opacity, 1.0f);
    }
}

TEST(PaintFrame, ItemsInListOrderAndPreviewKindsNeedTheirPreview) {
    std::vector<WidgetItem> items;
    push_item(items, 0, 0, {0, 0, 100, 100});
    push_item(items, 1, 21, {0, 0, 80, 80}).preview = 3;  // out of range: skipped
    push_item(items, 2, 23, {0, 0, 80, 80}).preview = 1;  // out of range: skipped
    push_item(items, 3, 1, {0, 0, 80, 20}, "after");
    RecordingCanvas canvas;
    paint_frame(canvas, items, std::nullopt, {LayoutPreview{"Only", "", {}, true}}, 100, 100);
    ASSERT_EQ(canvas.calls.size(), 3u);
    EXPECT_EQ(canvas.calls[1].op, Op::FillRoundedRect);
    EXPECT_EQ(canvas.calls[2].text, "after");
}

TEST(LayoutPreviews, ZoneSizeLabels) {
    struct Case { Zone z; const char* label; };
    const Case cases[] = {
        {{0, 0, 0.5, 1}, "50%"},
        {{0, 0, 0.5, 0.5}, "50%\xC3\x97" "50%"},
        {{0, 0, 1.0 / 3, 0.99}, "33%"},
        {{0, 0, 1.0 / 3, 0.98}, "33%\xC3\x97" "98%"},
        {{0.25, 0.5, 0.75, 1}, "50%\xC3\x97" "50%"},
        {{0, 0, 0.666, 0.334}, "67%\xC3\x97" "33%"},
    };
    for (const Case& c : cases) EXPECT_EQ(zone_size_label(c.z), c.label);
}

TEST(LayoutPreviews, SizedCardLabelsOnlyWideZonesAndSkipsEmptyOnes) {
    ThemeGuard theme(false);
    const std::vector<LayoutPreview> previews = {
        {"Screen 1", "1920\xC3\x97" "1080",
         {{0, 0, 0.5, 1}, {0.5, 0, 0.6, 0.5}, {0.7, 0.7, 0.7, 0.9}, {0.6, 0, 1, 0.5}},
         true},
    };
    WidgetItem it;
    it.kind = 23;
    it.rect = {0, 0, 200, 124};  // thumbnail 200 x 100
    RecordingCanvas canvas;
    paint_item(canvas, it, previews);

    const auto fills = canvas.of(Op::FillRoundedRect);
    ASSERT_EQ(fills.size(), 1u + 3u);  // thumbnail + three non-empty zones
    EXPECT_EQ(fills[0].rect, (RectF{0, 0, 200, 100}));
    EXPECT_FLOAT_EQ(fills[0].radius, 8);
    EXPECT_EQ(fills[1].rect, (RectF{1, 1, 99, 99}));
    EXPECT_FLOAT_EQ(fills[1].radius, 3);
    const auto texts = canvas.texts();
    ASSERT_EQ(texts.size(), 3u);  // left half, right quarter, name; the 18-DIP zone has none
    EXPECT_EQ(texts[0].text, "50%");
    EXPECT_EQ(texts[0].rect, (RectF{1, 1, 99, 99}));
    EXPECT_FLOAT_EQ(texts[0].brush.opacity, 0.6f);
    EXPECT_EQ(texts[1].text, "40%\xC3\x97" "50%");
    EXPECT_EQ(texts[2].text, "Screen 1");
    EXPECT_EQ(texts[2].rect, (RectF{0, 104, 200, 124}));
    EXPECT_FLOAT_EQ(texts[2].brush.opacity, 0.55f);
    const auto outline = canvas.of(Op::StrokeRoundedRect).back();
    EXPECT_EQ(outline.rect, (RectF{0, 0, 200, 100}));
    EXPECT_FLOAT_EQ(outline.stroke, 2);
    EXPECT_FLOAT_EQ(outline.brush.opacity, 0.95f);
}

TEST(LayoutPreviews, DisabledPreviewFadesSizedCardAndShortCardKeepsThumbnailAtTop) {
    const std::vector<LayoutPreview> previews = {{"Off", "", {{0, 0, 1, 1}}, false}};
    WidgetItem it;
    it.kind = 23;
    it.rect = {0, 50, 100, 60};  // shorter than the name band
    RecordingCanvas canvas;
    paint_item(canvas, it, previews);
    const auto fills = canvas.of(Op::FillRoundedRect);
    ASSERT_EQ(fills.size(), 1u);  // zone collapses to nothing in an empty thumbnail
    EXPECT_EQ(fills[0].rect, (RectF{0, 50, 100, 50}));
    EXPECT_FLOAT_EQ(fills[0].brush.opacity, 0.45f * 0.05f);
    EXPECT_FLOAT_EQ(canvas.texts().at(0).brush.opacity, 0.45f * 0.55f);
}

TEST(LayoutPreviews, ChoiceCardStrengthSelectionAndTexts) {
    const std::vector<LayoutPreview> previews = {
        {"Halves", "2 zones", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}, true},
    };
    struct Case { bool strong, selected, hovered; float a; };
    for (const Case& c : {Case{true, true, false, 1.0f}, Case{false, false, true, 0.45f}}) {
        ThemeGuard theme(false);
        WidgetItem it;
        it.kind = 21;
        it.rect = {10, 10, 110, 100};
        it.strong = c.strong;
        it.selected = c.selected;
        it.hovered = c.hovered;
        RecordingCanvas canvas;
        paint_item(canvas, it, previews);
        auto fills = canvas.of(Op::FillRoundedRect);
        if (c.hovered) {
            EXPECT_FLOAT_EQ(fills[0].brush.opacity, 0.06f);
            fills.erase(fills.begin());
        }
        ASSERT_EQ(fills.size(), 3u);
        EXPECT_EQ(fills[0].rect, (RectF{10, 10, 110, 56}));
        EXPECT_FLOAT_EQ(fills[0].brush.opacity, c.a * 0.05f);
        EXPECT_EQ(fills[1].rect, (RectF{10.5f, 10.5f, 59.5f, 55.5f}));
        EXPECT_FLOAT_EQ(fills[1].brush.opacity, c.a * 0.1f);
        const auto outline = canvas.of(Op::StrokeRoundedRect).back();
        EXPECT_EQ(outline.rect, (RectF{10, 10, 110, 56}));
        EXPECT_FLOAT_EQ(outline.stroke, c.selected ? 2.0f : 1.0f);
        EXPECT_FLOAT_EQ(outline.brush.opacity, c.selected ? 0.95f : c.a * 0.3f);
        const auto texts = canvas.texts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].text, "Halves");
        EXPECT_EQ(texts[0].rect, (RectF{10, 58, 110, 74}));
        EXPECT_FLOAT_EQ(texts[0].brush.opacity, c.a * 0.95f);
        EXPECT_EQ(texts[1].text, "2 zones");
        EXPECT_EQ(texts[1].rect.top, 73);
        EXPECT_FLOAT_EQ(texts[1].brush.opacity, c.a * 0.5f);
    }
}

TEST(LayoutPreviews, LargeChoiceCardIsClippedTabWithAccentBar) {
    struct Case { bool selected; bool hovered; bool strong; size_t fills; float text_opacity; };
    const Case cases[] = {
        {true, false, true, 2, 0.95f},
        {false, true, true, 1, 0.62f},
        {false, false, false, 0, 0.62f * 0.45f},
    };
    for (const Case& c : cases) {
        ThemeGuard theme(true);
        WidgetItem it;
        it.kind = 22;
        it.text = "DELL U2720Q";
        it.rect = {16, 116, 156, 146};
        it.selected = c.selected;
        it.hovered = c.hovered;
        it.strong = c.strong;
        RecordingCanvas canvas;
        paint_item(canvas, it, {});  // a tab needs no preview
        ASSERT_FALSE(canvas.calls.empty());
        EXPECT_EQ(canvas.calls.front().op, Op::PushClip);
        EXPECT_EQ(canvas.calls.front().rect, (RectF{16, 116, 156, 146}));
        EXPECT_EQ(canvas.calls.back().op, Op::PopClip);
        const auto fills = canvas.of(Op::FillRoundedRect);
        ASSERT_EQ(fills.size(), c.fills);
        if (c.fills > 0) {
            EXPECT_EQ(fills[0].rect, (RectF{16, 116, 156, 162}));
        }
        if (c.selected) {
            EXPECT_FLOAT_EQ(fills[0].brush.opacity, 1.0f);  // light card surface
            EXPECT_EQ(fills[1].rect, (RectF{25, 116.5f, 147, 119}));
            EXPECT_FLOAT_EQ(fills[1].radius, 1.5f);
        }
        const DrawCall name = canvas.texts().at(0);
        EXPECT_EQ(name.text, "DELL U2720Q");
        EXPECT_FLOAT_EQ(name.brush.opacity, c.text_opacity);
    }
}

}  // namespace
}  // namespace tw
