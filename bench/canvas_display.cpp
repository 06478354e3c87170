// The display of the whole canvas (drawRect) into a y-down 320 x 480 context,
// with and without the stroke layer showing.
#include <benchmark/benchmark.h>

#include "CanvasBenchSupport.h"

namespace {

void display(benchmark::State& state, float opacity, int blendMode) {
    zorbel::bench::CanvasBench bench;
    bench.useBrush("brushhard32.png");
    bench.view->strokeRenderer().setBrushAlpha(opacity);
    bench.view->strokeRenderer().setBrushBlendMode(platform::BlendMode(blendMode));
    bench.view->reloadPaintLayerIfNecessary();
    bench.view->strokeRenderer().setBrushPixelStep(5);
    bench.view->renderLineFromPoint({20, 20}, {300, 460});
    auto screen = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    const platform::Rect all = bench.view->bounds();
    for (auto _ : state) {
        bench.view->drawRect(*screen, all);
        benchmark::DoNotOptimize(screen->data());
    }
}

void BM_DrawRectWithoutStrokeLayer(benchmark::State& state) {
    display(state, 1.0f, 0);
}
void BM_DrawRectWithStrokeLayerMultiplyHalf(benchmark::State& state) {
    display(state, 0.5f, 1);
}

} // namespace

BENCHMARK(BM_DrawRectWithoutStrokeLayer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawRectWithStrokeLayerMultiplyHalf)->Unit(benchmark::kMicrosecond);
