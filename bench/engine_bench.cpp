// How much one confiner pass and one keyboard-move decision cost, with many held
// windows: passes run on every location-change event, so a drag produces hundreds.
#include <benchmark/benchmark.h>

#include "support/fake_desktop.h"
#include "core/engine/confiner.h"
#include "core/engine/keyboard_move.h"
#include "core/base/log.h"

namespace {

using tw::Rect;

void BM_ConfinerPass(benchmark::State& state) {
    tw::set_log_sink([](std::string_view) {});
    tw::test::FakeDesktop d;
    tw::test::FakeClock clock;
    d.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
    std::vector<Rect> zones;
    for (int i = 0; i < 4; ++i) zones.push_back({i * 480, 0, (i + 1) * 480, 1040});
    tw::Confiner c(d, clock);
    c.set_monitor_table({{{0, 0, 1920, 1080}, zones}});
    const auto held = state.range(0);
    for (tw::WindowId w = 1; w <= held; ++w) {
        const Rect& z = zones[static_cast<size_t>(w) % zones.size()];
        d.add_window(w, z);
        c.record_hold(w, z, z);
    }
    d.add_window(1000, {300, 300, 800, 700});
    d.foreground = 1000;
    for (auto _ : state) {
        clock.advance(1);
        c.confine_tick();
        benchmark::DoNotOptimize(c.take_events());
    }
    tw::set_log_sink(nullptr);
}
BENCHMARK(BM_ConfinerPass)->Arg(1)->Arg(16)->Arg(64)->Arg(100)->Arg(256);

void BM_NeighbourZone(benchmark::State& state) {
    std::vector<Rect> zones;
    const int n = static_cast<int>(state.range(0));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) zones.push_back({i * 100, j * 100, (i + 1) * 100, (j + 1) * 100});
    const Rect from = zones[zones.size() / 2];
    for (auto _ : state) benchmark::DoNotOptimize(tw::neighbour_zone(from, zones, tw::Direction::Left));
}
BENCHMARK(BM_NeighbourZone)->Arg(3)->Arg(10);

}  // namespace
