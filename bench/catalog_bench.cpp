#include <benchmark/benchmark.h>

#include "core/model/catalog.h"
#include "core/base/log_file.h"

namespace {

void BM_ParseEnglishCatalog(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tw::parse_catalog(tw::english_catalog_text()));
}
BENCHMARK(BM_ParseEnglishCatalog);

// A widget-list rebuild looks up a few dozen texts; most fall back to English.
void BM_TrFallbackToEnglish(benchmark::State& state) {
    tw::set_language("de", {{"common.save", "Speichern"}});
    for (auto _ : state) benchmark::DoNotOptimize(tw::tr("main.pref_usage_statistics"));
    tw::set_language("", {});
}
BENCHMARK(BM_TrFallbackToEnglish);

void BM_TrArgs(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tw::tr_args("about.used_count", {{"count", "1234"}, {"date", "1/2/2024"}}));
}
BENCHMARK(BM_TrArgs);

void BM_FormatLogLine(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tw::format_log_line(123456, "confiner: CONFINE hwnd=132456 -> [0,0,960,1040]"));
}
BENCHMARK(BM_FormatLogLine);

}  // namespace
