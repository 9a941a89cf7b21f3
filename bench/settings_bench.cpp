// Load and save of a large settings file: 30 screens, 50 layouts each, 16 zones per
// layout (about 1.5 MB of text).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/base/files.h"
#include "core/model/settings.h"
#include "core/model/settings_copy.h"

namespace {

tw::Settings large_settings() {
    tw::Settings s;
    for (int sc = 0; sc < 30; ++sc) {
        tw::ScreenLayout screen;
        screen.id = "\\\\?\\DISPLAY#GSM5B09#" + std::to_string(sc) + "&1f2e3d4c&0&UID" + std::to_string(4352 + sc);
        screen.name = "Monitor " + std::to_string(sc);
        screen.enabled = sc % 2 == 0;
        for (int l = 0; l < 50; ++l) {
            tw::Layout layout;
            layout.name = "Layout " + std::to_string(l) + " | grid";
            for (int z = 0; z < 16; ++z) {
                const double col = z % 4, row = z / 4;
                layout.zones.push_back({col / 4 + l / 997.0, row / 3.0, (col + 1) / 4, (row + 1) / 3.0});
            }
            screen.layouts.push_back(std::move(layout));
        }
        screen.active_layout = screen.layouts[sc % 50].name;
        s.screens.push_back(std::move(screen));
    }
    s.selected_screen = s.screens[3].id;
    s.extra = {{"Plugin", "{\"a\": [1, 2, 3]}"}, {"Note", "\"kept\""}};
    return s;
}

void BM_ParseLarge(benchmark::State& state) {
    const std::string text = tw::serialize_settings(large_settings());
    for (auto _ : state) benchmark::DoNotOptimize(tw::parse_settings(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseLarge)->Unit(benchmark::kMillisecond);

// What the start-up check for content the save would drop adds to a load.
void BM_ReadLossesLarge(benchmark::State& state) {
    const std::string text = tw::serialize_settings(large_settings());
    for (auto _ : state) benchmark::DoNotOptimize(tw::settings_read_losses(text));
}
BENCHMARK(BM_ReadLossesLarge)->Unit(benchmark::kMillisecond);

void BM_LoadLargeFromDisk(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "tw_bench_settings_load.json";
    tw::write_atomically(path, tw::serialize_settings(large_settings()));
    for (auto _ : state) {
        auto file = tw::read_file(path);
        benchmark::DoNotOptimize(tw::is_valid_utf8(*file.bytes));
        benchmark::DoNotOptimize(tw::parse_settings(*file.bytes));
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_LoadLargeFromDisk)->Unit(benchmark::kMillisecond);

void BM_SerializeLarge(benchmark::State& state) {
    const tw::Settings s = large_settings();
    for (auto _ : state) benchmark::DoNotOptimize(tw::serialize_settings(s));
}
BENCHMARK(BM_SerializeLarge)->Unit(benchmark::kMillisecond);

void BM_SaveLarge(benchmark::State& state) {
    const tw::Settings s = large_settings();
    const auto path = std::filesystem::temp_directory_path() / "tw_bench_settings_save.json";
    for (auto _ : state) benchmark::DoNotOptimize(tw::write_atomically(path, tw::serialize_settings(s)));
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_SaveLarge)->Unit(benchmark::kMillisecond);

}  // namespace
