// One 100-point stroke segment with a 32-point brush (renderLineFromPoint),
// the stamp spacing a touch-down gives the paint brush (0.15 x 32).
#include <benchmark/benchmark.h>

#include "CanvasBenchSupport.h"

namespace {

void segment(benchmark::State& state, float opacity) {
    zorbel::bench::CanvasBench bench;
    bench.useBrush("brushhard32.png");
    bench.view->strokeRenderer().setBrushAlpha(opacity);
    bench.view->strokeRenderer().setBrushPixelStep(0.15f * 32);
    bench.view->reloadPaintLayerIfNecessary();
    int i = 0;
    for (auto _ : state) {
        const float y = float(40 + (i * 7) % 400);
        bench.view->renderLineFromPoint({100, y}, {160, y + 80}); // length 100
        ++i;
    }
}

void BM_RenderLineFromPointIntoPicture(benchmark::State& state) {
    segment(state, 1.0f);
}
void BM_RenderLineFromPointIntoStrokeLayer(benchmark::State& state) {
    segment(state, 0.5f);
}

} // namespace

BENCHMARK(BM_RenderLineFromPointIntoPicture);
BENCHMARK(BM_RenderLineFromPointIntoStrokeLayer);
