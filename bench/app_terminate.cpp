// Termination: the painting, the original and the undo picture written as
// PNGs to the Documents folder, then every setting to the settings file.
// Target: under 60 ms.

#include <benchmark/benchmark.h>

#include "AppBenchSupport.h"

namespace {

void BM_Termination(benchmark::State& state) {
    zorbel::bench::AppBench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.launch();
        // A setting changed in the run, so the settings file is written too.
        bench.app().setOverlayIndex(int(state.iterations() % 50));
        state.ResumeTiming();
        bench.terminate();
    }
}
BENCHMARK(BM_Termination)->Unit(benchmark::kMillisecond);

} // namespace
