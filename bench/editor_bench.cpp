// Cost of the layout editor's edit view with the largest grid (64 zones): the widget
// list rebuilt after every change, and one frame of it drawn against a canvas that
// only counts calls. Both must stay far below a frame (16 ms).
#include <benchmark/benchmark.h>

#include <vector>

#include "core/views/editor_command.h"
#include "core/views/editor_view.h"

namespace {

class CountingCanvas : public tw::Canvas {
public:
    float measure_text_width(std::string_view utf8, tw::TextFormat) override {
        return static_cast<float>(utf8.size()) * 7.0f;
    }
    void fill_rect(const tw::RectF&, const tw::Brush&) override { ++calls; }
    void fill_rounded_rect(const tw::RectF&, float, const tw::Brush&) override { ++calls; }
    void stroke_rounded_rect(const tw::RectF&, float, const tw::Brush&, float) override { ++calls; }
    void draw_text(std::string_view, const tw::RectF&, tw::TextFormat, const tw::Brush&, bool) override {
        ++calls;
    }
    void push_clip(const tw::RectF&) override { ++calls; }
    void pop_clip() override { ++calls; }
    long calls = 0;
};

// 64 columns, each split so that the editor shows the most zones it can hold.
tw::EditorState largest_grid() {
    tw::EditorState st = tw::open_editor_state(tw::Settings{}, {}, {0, 0, 1920, 1080});
    st.page = tw::EditorPage::Edit;
    std::vector<tw::Zone> zones;
    for (int i = 0; i < 64; ++i) zones.push_back({i / 64.0, 0, (i + 1) / 64.0, 1});
    st.grid = tw::fit_grid(zones).grid;
    tw::reset_size_fields(st);
    st.focus = {tw::EditorFocus::Field::Width, 10};
    return st;
}

// What a change costs before painting: the size table written again from the grid
// and the whole widget list built.
void BM_EditViewRebuild64Zones(benchmark::State& state) {
    tw::EditorState st = largest_grid();
    for (auto _ : state) {
        tw::reset_size_fields(st);
        tw::EditorView view = tw::build_edit_view(st, 1040);
        benchmark::DoNotOptimize(view.widgets.data());
    }
    state.SetLabel("64 zones");
}
BENCHMARK(BM_EditViewRebuild64Zones)->Unit(benchmark::kMicrosecond);

// One live step of a border drag: the line moved, the table and the list rebuilt.
void BM_BorderDragStep64Zones(benchmark::State& state) {
    tw::EditorState st = largest_grid();
    const tw::Rect canvas = tw::canvas_rect(st);
    const int32_t y = canvas.top + 100;
    tw::canvas_press(st, {canvas.left + canvas.width() / 2, y}, false);
    int32_t dx = 0;
    for (auto _ : state) {
        dx = (dx + 1) % 5;
        tw::canvas_move(st, {canvas.left + canvas.width() / 2 + 3 + dx, y});
        tw::EditorView view = tw::build_edit_view(st, 1040);
        benchmark::DoNotOptimize(view.widgets.data());
    }
}
BENCHMARK(BM_BorderDragStep64Zones)->Unit(benchmark::kMicrosecond);

void BM_EditViewPaint64Zones(benchmark::State& state) {
    const tw::EditorState st = largest_grid();
    const tw::EditorView view = tw::build_edit_view(st, 100000);
    CountingCanvas canvas;
    for (auto _ : state) tw::paint_editor(canvas, st, view.widgets, true, 480, 2400);
    benchmark::DoNotOptimize(canvas.calls);
}
BENCHMARK(BM_EditViewPaint64Zones)->Unit(benchmark::kMicrosecond);

}  // namespace
