// The editor's views: the manage and edit widget lists at their rectangles, the canvas
// size, the window height, the canvas hit test, the size texts and the drawing of the
// kinds the editor draws itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/views/editor_command.h"
#include "core/views/editor_view.h"
#include "support/recording_canvas.h"

namespace tw {
namespace {

using test::DrawCall;

Layout columns(std::string name, size_t n) {
    Layout l{std::move(name), {}};
    for (size_t i = 0; i < n; ++i)
        l.zones.push_back({static_cast<double>(i) / n, 0, static_cast<double>(i + 1) / n, 1});
    return l;
}

const WidgetItem* find(const std::vector<WidgetItem>& items, uint64_t id, int kind = -1) {
    for (const auto& w : items)
        if (w.id == id && (kind < 0 || w.kind == kind)) return &w;
    return nullptr;
}

EditorState manage_state(size_t layouts) {
    EditorState st;
    for (size_t i = 0; i < layouts; ++i) st.layouts.push_back(columns("L" + std::to_string(i), 1 + i % 3));
    return st;
}

TEST(EditorView, CanvasTakesTheScreensShape) {
    struct Case {
        int64_t w, h;
        CanvasSize size;
    };
    const Case cases[] = {
        {1920, 1080, {391, 220}}, {1080, 1920, {124, 220}}, {448, 220, {448, 220}},  {3440, 1440, {448, 188}},
        {0, 1080, {448, 220}},    {1920, -1, {448, 220}},   {100000, 1, {448, 1}},   {1, 100000, {1, 220}},
    };
    for (const Case& c : cases) EXPECT_EQ(canvas_size(c.w, c.h), c.size) << c.w << "x" << c.h;
}

TEST(EditorView, ManageViewRowsButtonsAndScrolledWindow) {
    struct Case {
        size_t layouts;
        size_t first_row;
        std::optional<size_t> hover;
        size_t rows;           // rows shown
        int32_t buttons_top;   // Add, Restore Defaults, Close
        std::string first_name;
    };
    const Case cases[] = {
        {0, 0, std::nullopt, 0, 124, ""},
        {3, 0, 1, 3, 76 + 56 * 3, "L0"},
        {7, 0, std::nullopt, 6, 76 + 56 * 6, "L0"},
        {7, 1, 5, 6, 76 + 56 * 6, "L1"},
        {7, 9, std::nullopt, 6, 76 + 56 * 6, "L1"},  // a stale scroll is held to the list
    };
    for (const Case& c : cases) {
        EditorState st = manage_state(c.layouts);
        st.first_row = c.first_row;
        st.hover_row = c.hover;
        const EditorView v = build_manage_view(st);
        const auto& w = v.widgets;
        EXPECT_EQ(find(w, 800, 17)->rect, (Rect{440, 0, 480, 40}));
        size_t rows = 0;
        for (const auto& it : w) rows += it.kind == 20;
        EXPECT_EQ(rows, c.rows) << c.layouts;
        for (size_t i = 0; i < c.rows; ++i) {
            const WidgetItem* row = find(w, 810 + i, 20);
            ASSERT_NE(row, nullptr);
            const int32_t y = 56 * static_cast<int32_t>(i);
            EXPECT_EQ(row->rect, (Rect{22, 56 + y, 458, 112 + y}));
            EXPECT_EQ(row->on, c.hover == i ? 1 : 0);
            EXPECT_EQ(find(w, 871 + i) != nullptr, c.hover == i);
            if (c.hover == i) {
                EXPECT_EQ(find(w, 871 + i, 13)->rect, (Rect{414 - 56, 70 + y, 414, 98 + y}));
                EXPECT_EQ(find(w, 878 + i, 25)->rect, (Rect{422, 70 + y, 450, 98 + y}));
            }
        }
        if (c.rows > 0) {
            EXPECT_EQ(find(w, 810, 20)->text, c.first_name);
            EXPECT_EQ(w[2].rect, (Rect{16, 52, 464, 60 + 56 * static_cast<int32_t>(c.rows)}));
        } else {
            EXPECT_EQ(w[2].rect, (Rect{16, 52, 464, 108}));
            EXPECT_EQ(w[3].text, tr("manage.empty_state"));
        }
        const int32_t b = c.buttons_top;
        EXPECT_EQ(find(w, 864, 11)->rect, (Rect{16, b, 100, b + 30}));
        EXPECT_EQ(find(w, 830, 13)->rect, (Rect{108, b, 258, b + 30}));
        EXPECT_EQ(find(w, 867, 13)->rect, (Rect{380, b, 464, b + 30}));
        EXPECT_EQ(v.content_bottom, b + 30 + 16);
    }
}

TEST(EditorView, RestoreDefaultsOnlyWhileADefaultIsMissing) {
    EditorState st;
    st.layouts = default_layouts();
    EXPECT_EQ(find(build_manage_view(st).widgets, 830)->enabled, 0);
    st.layouts.erase(st.layouts.begin() + 3);
    EXPECT_EQ(find(build_manage_view(st).widgets, 830)->enabled, 1);
    st.layouts[0].name = "Mine";  // a renamed default counts as missing
    st.layouts.push_back(default_layouts()[3]);
    EXPECT_EQ(find(build_manage_view(st).widgets, 830)->enabled, 1);
}

TEST(EditorView, EditViewItemsFollowTheCanvasAndZones) {
    EditorState st = open_editor_state(Settings{}, {}, {0, 0, 1920, 1080});
    st.page = EditorPage::Edit;
    st.grid = uniform_grid(1, 2);
    st.unit_px = {1, 0};
    reset_size_fields(st);
    const int32_t W = 391, H = 220;
    ASSERT_EQ(st.canvas_width, W);
    const EditorView v = build_edit_view(st, 10000);
    const auto& w = v.widgets;
    struct Expect {
        uint64_t id;
        int kind;
        Rect rect;
        std::string text;
    };
    const int32_t m = H + 288 + 28 * 2;
    const Expect expected[] = {
        {831, 18, {16, 74, 280, 102}, ""},
        {840, 13, {16, 134, 100, 160}, "25/50/25"},
        {843, 13, {272, 134, 336, 160}, "100%"},
        {850, 13, {66, 172, 94, 198}, "\u2212"},
        {853, 13, {236, 172, 264, 198}, "+"},
        {870, 19, {16, 212, 16 + W, 212 + H}, ""},
        {900, 18, {80, H + 289, 152, H + 313}, "960"},
        {1000, 18, {160, H + 289, 232, H + 313}, "1080"},
        {1100, 13, {240, H + 289, 280, H + 313}, "px"},
        {901, 18, {80, H + 317, 152, H + 341}, "50.0%"},
        {1101, 13, {240, H + 317, 280, H + 341}, "%"},
        {860, 11, {16, m + 36, 100, m + 66}, "Save"},
        {863, 13, {380, m + 36, 464, m + 66}, "Cancel"},
    };
    for (const Expect& e : expected) {
        const WidgetItem* it = find(w, e.id, e.kind);
        ASSERT_NE(it, nullptr) << e.id;
        EXPECT_EQ(it->rect, e.rect) << e.id;
        EXPECT_EQ(it->text, e.text) << e.id;
    }
    EXPECT_EQ(v.content_bottom, m + 66 + 16);
    // One row: the row steppers stop at 1, the column steppers are both open.
    EXPECT_EQ(find(w, 850)->enabled, 0);
    EXPECT_EQ(find(w, 851)->enabled, 1);
    EXPECT_EQ(find(w, 852)->enabled, 1);
    // The error line above Save shows the error, else the reshape notice, else nothing.
    auto line = [&](const EditorState& s) {
        for (const auto& it : build_edit_view(s, 10000).widgets)
            if (it.kind == 6) return it.text;
        return std::string("(none)");
    };
    EXPECT_EQ(line(st), "");
    st.reshaped = true;
    EXPECT_EQ(line(st), tr("edit.notice_reshaped"));
    st.error = tr("edit.error_name_empty");
    EXPECT_EQ(line(st), tr("edit.error_name_empty"));
}

TEST(EditorView, TallEditViewScrollsAndTheWindowStopsAtTheWorkArea) {
    EditorState st = open_editor_state(Settings{}, {}, {0, 0, 1920, 1080});
    st.page = EditorPage::Edit;
    st.grid = uniform_grid(6, 6);
    reset_size_fields(st);
    st.scroll = 5000;
    const EditorView v = build_edit_view(st, 1000);
    EXPECT_EQ(v.content_bottom, 220 + 288 + 28 * 36 + 66 + 16);
    // Save and Cancel stay at the bottom edge; the part above them scrolls to 8 DIPs
    // below the zone table.
    EXPECT_EQ(v.body_bottom, 1000 - 16 - 66);
    EXPECT_EQ(v.scroll, 220 + 288 + 28 * 36 + 8 - v.body_bottom);
    EXPECT_EQ(find(v.widgets, 860)->rect.bottom, 1000 - 16);
    st.scroll = v.scroll;
    EXPECT_EQ(canvas_rect(st).top, 212 - v.scroll);

    struct Case {
        int32_t content;
        double scale;
        int32_t work, height;
    };
    const Case heights[] = {{458, 1.0, 1040, 458}, {458, 1.5, 1040, 687}, {1606, 1.0, 1040, 1040}, {100, 1.0, 0, 1}};
    for (const Case& c : heights) EXPECT_EQ(editor_window_height(c.content, c.scale, c.work), c.height);
}

TEST(EditorView, CanvasHitTestFindsBordersBeforeZones) {
    // Two columns over two rows on the right: 0 | 1 over 2.
    const std::vector<Rect> zones = {{16, 212, 211, 432}, {211, 212, 407, 322}, {211, 322, 407, 432}};
    struct Case {
        Point p;
        CanvasHover hit;
    };
    using K = CanvasHover::Kind;
    const Case cases[] = {
        {{100, 300}, {K::Zone, 0, 0}},
        {{206, 300}, {K::Border, 0, 1}},   // within 6 of the shared edge, first pair wins
        {{216, 400}, {K::Border, 0, 2}},
        {{300, 318}, {K::Border, 1, 2}},
        {{300, 250}, {K::Zone, 1, 0}},
        {{500, 300}, {K::None, 0, 0}},
        {{211, 206}, {K::Border, 0, 1}},   // 6 DIPs beyond the common extent still counts
        {{211, 205}, {K::None, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(canvas_hit(zones, c.p), c.hit) << c.p.x << "," << c.p.y;
    EXPECT_EQ(canvas_zone_rects(uniform_grid(1, 2), {16, 212, 407, 432}),
              (std::vector<Rect>{{16, 212, 212, 432}, {212, 212, 407, 432}}));
}

TEST(EditorView, SizeTexts) {
    struct Case {
        double fraction;
        int64_t area;
        bool pixels;
        const char* text;
    };
    const Case cases[] = {
        {0.25, 1920, false, "25.0%"}, {1 / 3.0, 1920, false, "33.3%"}, {0.33333333333333337, 0, false, "33.3%"},
        {0.0005, 1920, false, "0.1%"}, {1.0, 1920, false, "100.0%"}, {0.5, 1920, true, "960"},
        {1 / 3.0, 1080, true, "360"},  {std::nan(""), 1920, true, "0"}, {-0.25, 1920, false, "-25.0%"},
    };
    for (const Case& c : cases) EXPECT_EQ(size_text(c.fraction, c.area, c.pixels), c.text) << c.fraction;
}

TEST(EditorView, DrawsRowsCanvasAndFields) {
    EditorState st = manage_state(2);
    st.hover_row = 0;
    test::RecordingCanvas canvas;
    paint_editor(canvas, st, build_manage_view(st).widgets, false, 480, 400);
    std::vector<std::string> texts;
    for (const DrawCall& t : canvas.texts()) texts.push_back(t.text);
    // Row 0 (hovered, L0 with one zone) stops its texts before its Edit button.
    const auto row_name = std::find_if(canvas.calls.begin(), canvas.calls.end(),
                                       [](const DrawCall& c) { return c.op == DrawCall::Op::Text && c.text == "L0"; });
    ASSERT_NE(row_name, canvas.calls.end());
    EXPECT_EQ(row_name->rect, (RectF{126, 64, 350, 86.8f}));
    EXPECT_TRUE(row_name->clip);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "1 zone"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "2 zones"), texts.end());

    EditorState ed = open_editor_state(Settings{}, {}, {0, 0, 1920, 1080});
    ed.page = EditorPage::Edit;
    ed.grid = uniform_grid(1, 2);
    reset_size_fields(ed);
    ed.focus = {EditorFocus::Field::Width, 1};
    ed.canvas_hover = {CanvasHover::Kind::Border, 0, 1};
    canvas.clear();
    paint_editor(canvas, ed, build_edit_view(ed, 2000).widgets, true, 480, 700);
    // The border bar: 3 DIPs wide on the shared edge, as long as the zones.
    const auto bars = canvas.of(DrawCall::Op::FillRect);
    EXPECT_NE(std::find_if(bars.begin(), bars.end(),
                           [](const DrawCall& c) { return c.rect == RectF{210.5f, 212, 213.5f, 432}; }),
              bars.end());
    // Zone numbers, the field texts, and one focus outline in the accent.
    texts.clear();
    for (const DrawCall& t : canvas.texts()) texts.push_back(t.text);
    for (const char* t : {"1", "2", "50.0%", "100.0%"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
    size_t outlines = 0;
    for (const DrawCall& c : canvas.of(DrawCall::Op::StrokeRoundedRect))
        outlines += c.brush.opacity == 0.9f && c.radius == 6;
    EXPECT_EQ(outlines, 1u);
}

}  // namespace
}  // namespace tw
