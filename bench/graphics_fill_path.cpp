// Filling and stroking paths through the coverage rasterizer: a recognised
// ellipse and a freehand outline redrawn at stroke width over a double-density
// painting, as a shape's redraw asks of it.
#include <benchmark/benchmark.h>

#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/graphics/Path.h"

using namespace platform;

namespace {

void BM_FillEllipse(benchmark::State& state) {
    auto c = Context::createBitmap(640, 960, nullptr);
    c->setFillColor(Color::rgb(0.2f, 0.4f, 0.8f, 0.7f));
    Path p;
    p.addEllipseInRect(Rect(40.5f, 60.25f, 550, 820));
    for (auto _ : state) {
        c->fillPath(p);
        benchmark::DoNotOptimize(c->data());
    }
}

void BM_StrokeOutline(benchmark::State& state) {
    auto c = Context::createBitmap(640, 960, nullptr);
    c->setStrokeColor(Color::rgb(0.9f, 0.1f, 0.1f, 1));
    c->setLineWidth(float(state.range(0)));
    Path p;
    p.moveTo({320, 100});
    for (int i = 1; i <= 200; ++i) {
        const float t = float(i) * 0.0314159f;
        p.lineTo({320 + 260 * std::sin(t) * std::cos(3 * t), 480 - 360 * std::cos(t)});
    }
    for (auto _ : state) {
        c->strokePath(p);
        benchmark::DoNotOptimize(c->data());
    }
}

} // namespace

BENCHMARK(BM_FillEllipse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrokeOutline)->Arg(2)->Arg(20)->Unit(benchmark::kMicrosecond);
