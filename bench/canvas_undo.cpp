// The undo copy (copyToUndoBuffer) and undo itself (switchUndoBuffer).
#include <benchmark/benchmark.h>

#include "CanvasBenchSupport.h"

namespace {

void BM_CopyToUndoBuffer(benchmark::State& state) {
    zorbel::bench::CanvasBench bench;
    for (auto _ : state) {
        bench.view->copyToUndoBuffer();
        benchmark::DoNotOptimize(bench.view->undoBitmapData());
    }
}

void BM_SwitchUndoBuffer(benchmark::State& state) {
    zorbel::bench::CanvasBench bench;
    bench.view->rawcopyToUndoBuffer();
    for (auto _ : state) {
        bench.view->switchUndoBuffer();
        benchmark::DoNotOptimize(bench.view->offscreenBitmapData());
    }
}

} // namespace

BENCHMARK(BM_CopyToUndoBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwitchUndoBuffer)->Unit(benchmark::kMicrosecond);
