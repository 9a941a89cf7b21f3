// Cost of drawing a frame's worth of widgets and of the text field's scroll search,
// against a canvas that only counts calls (the renderer's own cost is not measured).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/ui/text_field.h"
#include "core/ui/text_fit.h"
#include "core/ui/text_metrics.h"
#include "core/ui/widgets.h"

namespace {

class CountingCanvas : public tw::Canvas {
public:
    float measure_text_width(std::string_view utf8, tw::TextFormat) override {
        return static_cast<float>(tw::count_scalars(utf8)) * 7.0f;
    }
    void fill_rect(const tw::RectF&, const tw::Brush&) override { ++calls; }
    void fill_rounded_rect(const tw::RectF&, float, const tw::Brush&) override { ++calls; }
    void stroke_rounded_rect(const tw::RectF&, float, const tw::Brush&, float) override { ++calls; }
    void draw_text(std::string_view, const tw::RectF&, tw::TextFormat, const tw::Brush&,
                   bool) override {
        ++calls;
    }
    void push_clip(const tw::RectF&) override { ++calls; }
    void pop_clip() override { ++calls; }
    long calls = 0;
};

// A main-window-sized list: every kind a few times, one preview with twelve zones.
void BM_PaintFrame(benchmark::State& state) {
    std::vector<tw::WidgetItem> items;
    for (int i = 0; i < 60; ++i) {
        tw::WidgetItem& it = tw::push_item(items, 100 + static_cast<uint64_t>(i),
                                           static_cast<uint8_t>(i % 31),
                                           {16, 16 + 10 * i, 300, 40 + 10 * i}, "Label text");
        it.hovered = i % 3 == 0;
    }
    tw::LayoutPreview preview{"Grid", "12 zones", {}, true};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) preview.zones.push_back({c / 4.0, r / 3.0, (c + 1) / 4.0, (r + 1) / 3.0});
    }
    const std::vector<tw::LayoutPreview> previews{preview};
    CountingCanvas canvas;
    for (auto _ : state) {
        tw::paint_frame(canvas, items, size_t{4}, previews, 580, 700);
    }
    benchmark::DoNotOptimize(canvas.calls);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(items.size()));
}
BENCHMARK(BM_PaintFrame);

// Drawing a field whose text is much wider than the field, caret at the end: the
// worst case of the scroll search.
void BM_TextFieldDrawLongText(benchmark::State& state) {
    tw::TextField field(std::string(static_cast<size_t>(state.range(0)), 'w'));
    CountingCanvas canvas;
    for (auto _ : state) field.draw(canvas, {0, 0, 200, 28}, true, true);
    benchmark::DoNotOptimize(canvas.calls);
}
BENCHMARK(BM_TextFieldDrawLongText)->Arg(16)->Arg(64)->Arg(256);

// A single-line text cut to a 200-DIP field with an ellipsis: how the cost grows with
// the text (a long name, then hostile lengths), measurements counted per cut.
void BM_FitSingleLine(benchmark::State& state) {
    const std::string text(static_cast<size_t>(state.range(0)), 'w');
    CountingCanvas canvas;
    struct Counting : CountingCanvas {
        float measure_text_width(std::string_view utf8, tw::TextFormat f) override {
            ++measures;
            return CountingCanvas::measure_text_width(utf8, f);
        }
        long measures = 0;
    } measure;
    for (auto _ : state)
        benchmark::DoNotOptimize(tw::fit_single_line(measure, text, tw::TextFormat::Label, 200));
    state.counters["measures_per_cut"] =
        static_cast<double>(measure.measures) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FitSingleLine)->Arg(20)->Arg(300)->Arg(100000)->Arg(1000000);

void BM_EstimateTextWidth(benchmark::State& state) {
    const std::string text = "Start with Windows \xE2\x80\x94 \xC3\xA9t\xC3\xA9";
    for (auto _ : state) benchmark::DoNotOptimize(tw::estimate_text_width(text));
}
BENCHMARK(BM_EstimateTextWidth);

}  // namespace
