// A low-memory warning (every buffer written to its file and freed) followed
// by the reload of every buffer, on a painted photo-like canvas.
#include <benchmark/benchmark.h>

#include <cmath>

#include "CanvasBenchSupport.h"

namespace {

void BM_LowMemoryWarningThenReloadAll(benchmark::State& state) {
    zorbel::bench::CanvasBench bench;
    // Smooth gradients and strokes, closer to a painted photo than a white sheet.
    auto& context = *bench.view->offscreenPaintContext();
    for (int y = 0; y < 480; y += 4)
        for (int x = 0; x < 320; x += 4) {
            context.setFillColor(platform::Color::rgb(float(x) / 320, float(y) / 480,
                                                      0.5f + 0.5f * std::sin(float(x + y) / 40)));
            context.fillRect({float(x), float(y), 4, 4});
        }
    bench.useBrush("brushsoft32.png");
    bench.view->strokeRenderer().setBrushAlpha(1);
    bench.view->strokeRenderer().setBrushPixelStep(5);
    bench.view->renderLineFromPoint({20, 20}, {300, 460});
    bench.view->rawcopyToUndoBuffer();
    bench.view->copyToOrgImageBuffer();
    for (auto _ : state) {
        bench.view->lowMemoryWarning();
        bench.view->reloadPaintOffscreensIfNecessary();
        bench.view->reloadOrgImageBufferIfNecessary();
        benchmark::DoNotOptimize(bench.view->orgImageBitmapData());
    }
}

} // namespace

BENCHMARK(BM_LowMemoryWarningThenReloadAll)->Unit(benchmark::kMillisecond);
