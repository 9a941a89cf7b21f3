#include <benchmark/benchmark.h>

#include "core/engine/monitors.h"
#include "core/engine/overlay_geometry.h"

namespace {

std::vector<tw::Rect> grid(int cols, int rows, int w, int h) {
    std::vector<tw::Rect> zones;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            zones.push_back({c * w / cols, r * h / rows, (c + 1) * w / cols, (r + 1) * h / rows});
    return zones;
}

void BM_OutlineRegion(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto zones = grid(n, n, 3840, 2160);
    for (auto _ : state) benchmark::DoNotOptimize(tw::outline_region(zones));
    state.SetLabel(std::to_string(zones.size()) + " zones");
}
BENCHMARK(BM_OutlineRegion)->Arg(2)->Arg(3)->Arg(10);

void BM_OverlayWithShares(benchmark::State& state) {
    tw::MonitorZones row{"S", grid(3, 3, 3840, 2160), {0, 0, 3840, 2160}, {0, 0, 3840, 2120}};
    for (auto _ : state) benchmark::DoNotOptimize(tw::overlay_shape(row, {0, 4, 8}));
}
BENCHMARK(BM_OverlayWithShares);

void BM_DashedFrame(benchmark::State& state) {
    const tw::Rect zone{0, 0, 3840, 2160};
    for (auto _ : state) benchmark::DoNotOptimize(tw::dashed_frame_region(3840, 2160, zone, {{3840, 0, 7680, 2160}}));
}
BENCHMARK(BM_DashedFrame);

void BM_BuildMonitorZones(benchmark::State& state) {
    std::vector<tw::ScreenInfo> screens;
    std::vector<tw::ScreenLayout> entries;
    for (int i = 0; i < 4; ++i) {
        const std::string id = "MONITOR\\" + std::to_string(i);
        screens.push_back({id, id, {i * 2560, 0, (i + 1) * 2560, 1440}, {i * 2560, 0, (i + 1) * 2560, 1400}, i, i == 0});
        tw::ScreenLayout e;
        e.id = id;
        e.enabled = true;
        e.active_layout = "thirds";
        e.layouts = {{"thirds", {{0, 0, 1.0 / 3, 1}, {1.0 / 3, 0, 2.0 / 3, 1}, {2.0 / 3, 0, 1, 1}}}};
        entries.push_back(e);
    }
    for (auto _ : state) benchmark::DoNotOptimize(tw::build_monitor_zones(entries, screens));
}
BENCHMARK(BM_BuildMonitorZones);

}  // namespace
