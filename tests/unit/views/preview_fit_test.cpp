// Previews of layouts that a hand-edited file made odd: long names end in "…" on one
// line in the layout manager, and zones that reach beyond the screen are cut to the
// preview in every place that draws one.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/ui/text_fit.h"
#include "core/views/editor_view.h"
#include "support/recording_canvas.h"

namespace tw {
namespace {

using test::DrawCall;

// Every zone fill lies inside the box it is drawn in.
void expect_inside(const std::vector<DrawCall>& fills, const RectF& box, const char* where) {
    for (const DrawCall& f : fills) {
        EXPECT_GE(f.rect.left, box.left) << where;
        EXPECT_GE(f.rect.top, box.top) << where;
        EXPECT_LE(f.rect.right, box.right) << where;
        EXPECT_LE(f.rect.bottom, box.bottom) << where;
    }
}

TEST(PreviewFit, ZonesBeyondTheScreenAreCutToThePreview) {
    struct Case { Zone zone; std::optional<RectF> mapped; };
    const RectF box{100, 50, 200, 150};
    const Case cases[] = {
        {{0.5, 0.5, 1.4, 1.2}, RectF{150, 100, 200, 150}},  {{-0.3, 0, 0.5, 1}, RectF{100, 50, 150, 150}},
        {{1.2, 0, 1.5, 1}, std::nullopt},                    // wholly off screen: nothing
        {{0, 0, std::nan(""), 1}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(zone_in_preview(c.zone, box, 0), c.mapped) << c.zone.left;

    // The main window's card, the choice card and the manage row all cut the zone.
    const std::vector<Zone> zones = {{0, 0, 0.5, 1}, {0.5, -0.5, 1.8, 1.6}};
    const std::vector<LayoutPreview> previews = {{"Odd", "2 zones", zones, true}};
    for (const uint8_t kind : {uint8_t{21}, uint8_t{23}}) {
        std::vector<WidgetItem> items;
        push_item(items, 0, kind, {20, 20, 220, 140}).preview = 0;
        test::RecordingCanvas canvas;
        paint_frame(canvas, items, std::nullopt, previews, 300, 200);
        const auto fills = canvas.of(DrawCall::Op::FillRoundedRect);
        ASSERT_GE(fills.size(), 3u);
        expect_inside({fills.begin() + 1, fills.end()}, {20, 20, 220, 140}, kind == 21 ? "choice" : "sized");
    }
    EditorState st;
    st.layouts = {{"Odd", zones}};
    test::RecordingCanvas canvas;
    paint_editor(canvas, st, build_manage_view(st).widgets, false, 480, 400);
    std::vector<DrawCall> zone_fills;
    for (const DrawCall& f : canvas.of(DrawCall::Op::FillRoundedRect))
        if (f.radius == 2) zone_fills.push_back(f);
    ASSERT_EQ(zone_fills.size(), 2u);
    expect_inside(zone_fills, {30, 64, 114, 104}, "manage row");
}

TEST(PreviewFit, LongNamesEndInAnEllipsisOnOneLine) {
    struct Case { std::string name; bool cut; };
    const Case cases[] = {
        {"Short", false},
        {std::string(80, 'W'), true},
        {"Two words " + std::string(60, 'x'), true},
    };
    for (const Case& c : cases) {
        EditorState st;
        st.layouts = {{c.name, {{0, 0, 1, 1}}}};
        test::RecordingCanvas canvas;
        paint_editor(canvas, st, build_manage_view(st).widgets, false, 480, 400);
        bool found = false;
        for (const DrawCall& t : canvas.texts()) {
            if (t.rect.left != 126 || t.rect.top != 64) continue;  // the row's name
            found = true;
            EXPECT_EQ(t.text.ends_with(kEllipsis), c.cut) << t.text;
            EXPECT_LE(canvas.measure_text_width(t.text, t.format), t.rect.right - t.rect.left);
            EXPECT_EQ(t.text.find('\n'), std::string::npos);
        }
        EXPECT_TRUE(found) << c.name;
    }
}

}  // namespace
}  // namespace tw
