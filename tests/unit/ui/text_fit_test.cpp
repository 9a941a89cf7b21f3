#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/ui/text_fit.h"
#include "core/ui/text_metrics.h"
#include "core/ui/widgets.h"
#include "support/recording_canvas.h"
#include "support/theme_guard.h"

namespace tw {
namespace {

using test::DrawCall;
using test::RecordingCanvas;

// The recording canvas measures 7 DIPs per character: a width of 7k + 7 holds k
// characters and the ellipsis.
TEST(TextFit, OneLineCutAtACharacterBoundaryWithAnEllipsis) {
    struct Case { const char* name; std::string text; float width; std::string shown; };
    const Case cases[] = {
        {"fits exactly", "abcd", 28, "abcd"},
        {"cut", "abcdefghij", 50, "abcdef\u2026"},
        {"spaces before the cut go", "abc   defgh", 49, "abc\u2026"},
        {"line breaks become spaces", "two\r\nlines\there", 200, "two  lines here"},
        {"line separator and NEL", "a\u2028b\u0085c", 200, "a b c"},
        {"broken line cut", "first\nsecond line", 56, "first s\u2026"},
        {"Cyrillic",
         "\u0420\u0430\u0441\u043A\u043B\u0430\u0434\u043A\u0430 \u0434\u043B\u044F", 49,
         "\u0420\u0430\u0441\u043A\u043B\u0430\u2026"},
        {"CJK", "\u7F16\u8F91\u5668\u5DE6\u4FA7\u6D4F\u89C8\u5668", 35,
         "\u7F16\u8F91\u5668\u5DE6\u2026"},
        {"accent kept with its letter", "e\u0301e\u0301e\u0301e\u0301", 28, "e\u0301\u2026"},
        {"Arabic marks kept", "\u0645\u064E\u0631\u0652\u062D\u064E\u0628\u064B\u0627", 28,
         "\u0645\u064E\u2026"},
        {"Devanagari conjunct kept whole", "\u0928\u092E\u0938\u094D\u0924\u0947", 35,
         "\u0928\u092E\u2026"},
        {"joined emoji kept whole", "ab\U0001F469\u200D\U0001F469\u200D\U0001F467", 35, "ab\u2026"},
        {"flags are pairs", "\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7\U0001F1EE\U0001F1F9", 28,
         "\U0001F1E9\U0001F1EA\u2026"},
        {"only the ellipsis fits", "abcdef", 8, "\u2026"},
        {"not even the ellipsis fits", "abcdef", 6, ""},
        {"no width", "abc", 0, ""},
        {"negative width", "abc", -10, ""},
        {"NaN width", "abc", std::nanf(""), ""},
        {"empty", "", 100, ""},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        EXPECT_EQ(fit_single_line(canvas, c.text, TextFormat::Label, c.width), c.shown) << c.name;
    }
}

TEST(TextFit, HostileLengthCostsAFewBoundedMeasurements) {
    const std::string huge(1000000, 'x');
    RecordingCanvas canvas;
    const std::string shown = fit_single_line(canvas, huge, TextFormat::Label, 200);
    EXPECT_EQ(shown, std::string(27, 'x') + "\u2026");
    EXPECT_LE(canvas.measure_calls, 12);
}

// A measure that failed (NaN or 0) draws the text whole; the clip still holds it.
TEST(TextFit, BrokenMeasureDrawsTheWholeTextClipped) {
    struct Broken : RecordingCanvas {
        float value;
        explicit Broken(float v) : value(v) {}
        float measure_text_width(std::string_view, TextFormat) override { return value; }
    };
    for (float v : {std::nanf(""), 0.0f}) {
        Broken canvas(v);
        draw_single_line(canvas, "a long name", {0, 0, 20, 20}, TextFormat::Label,
                         Brush::solid({}, 1));
        ASSERT_EQ(canvas.texts().size(), 1u);
        EXPECT_EQ(canvas.texts()[0].text, "a long name");
        EXPECT_TRUE(canvas.texts()[0].clip);
    }
}

// Every single-line kind keeps a long text on one line inside its text area, in any
// script, and clips it there.
TEST(TextFit, EverySingleLineKindCutsLongTextsToItsWidth) {
    const std::string latin =
        "Coding: editor left, browser and terminal right " + std::string(250, 'w');
    std::string cyrillic, cjk;
    for (int i = 0; i < 100; ++i) cyrillic += "\u0440\u0430\u0431\u043E\u0442\u0430 ";
    for (int i = 0; i < 100; ++i) cjk += "\u7F16\u8F91\u5668";
    const std::vector<LayoutPreview> previews(1, LayoutPreview{latin, latin, {{0, 0, 1, 1}}, true});
    const uint8_t kinds[] = {1, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 21, 22, 23, 25, 29};
    for (const bool light : {false, true}) {
        test::ThemeGuard theme(light);
        for (const std::string& text : {latin, cyrillic, cjk}) {
            for (uint8_t kind : kinds) {
                SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " light " << light);
                WidgetItem it;
                it.kind = kind;
                it.rect = {10, 20, 210, 220};
                it.text = text;
                std::vector<LayoutPreview> p = previews;
                p[0].name = p[0].secondary = text;
                RecordingCanvas canvas;
                paint_item(canvas, it, p);
                const std::vector<DrawCall> texts = canvas.texts();
                ASSERT_FALSE(texts.empty());
                bool cut = false;
                for (const DrawCall& t : texts) {
                    EXPECT_TRUE(t.clip);
                    EXPECT_EQ(t.text.find('\n'), std::string::npos);
                    EXPECT_LE(canvas.measure_text_width(t.text, t.format),
                              t.rect.right - t.rect.left);
                    EXPECT_GE(t.rect.left, 10);
                    EXPECT_LE(t.rect.right, 210);
                    cut = cut || t.text.ends_with("\u2026");
                }
                EXPECT_TRUE(cut);
            }
        }
    }
}

}  // namespace
}  // namespace tw
