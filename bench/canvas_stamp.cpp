// One stamp of a 32 x 32 brush (drawBrushAt), into the picture and into the
// stroke layer.
#include <benchmark/benchmark.h>

#include "CanvasBenchSupport.h"

namespace {

void stamp(benchmark::State& state, float opacity) {
    zorbel::bench::CanvasBench bench;
    bench.useBrush("brushsoft32.png");
    bench.view->strokeRenderer().setBrushAlpha(opacity);
    bench.view->reloadPaintLayerIfNecessary();
    int i = 0;
    for (auto _ : state) {
        // Whole-point positions spread over the canvas.
        const float x = float(20 + (i * 37) % 280);
        const float y = float(20 + (i * 53) % 440);
        bench.view->drawBrushAt(x, y);
        ++i;
    }
}

void BM_DrawBrushAtIntoPicture(benchmark::State& state) {
    stamp(state, 1.0f);
}
void BM_DrawBrushAtIntoStrokeLayer(benchmark::State& state) {
    stamp(state, 0.5f);
}

} // namespace

BENCHMARK(BM_DrawBrushAtIntoPicture);
BENCHMARK(BM_DrawBrushAtIntoStrokeLayer);
