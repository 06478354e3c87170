// Launch to the first frame with a full Documents folder: the main interface
// (the canvas restores the painting, the original and the undo picture), the
// launch steps (settings, brush, colour brush, tool) and the first render of
// the window. Target: under 150 ms.

#include <benchmark/benchmark.h>

#include "AppBenchSupport.h"

namespace {

void BM_LaunchToFirstFrame(benchmark::State& state) {
    zorbel::bench::AppBench bench;
    for (auto _ : state) {
        bench.launch();
        bench.renderFirstFrame();
        state.PauseTiming();
        bench.shutDown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LaunchToFirstFrame)->Unit(benchmark::kMillisecond);

} // namespace
