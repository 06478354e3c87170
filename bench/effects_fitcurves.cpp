// The curve fitter on a 1,000-point stroke, the longest the canvas passes.
#include <cmath>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "effects/FitCurves.h"

namespace {

// A finger stroke: a scribble of loops across the canvas, a point every couple of pixels, each
// off the smooth path by up to half a pixel (touch positions are not exact).
std::vector<zorbel::Point2> stroke() {
    std::vector<zorbel::Point2> points;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> jitter(-0.5, 0.5);
    for (int i = 0; i < 1000; ++i) {
        double t = i * 0.01;
        points.push_back({160 + 130 * std::sin(t * 1.3) + 25 * std::cos(t * 7) + jitter(random),
                          240 + 200 * std::sin(t * 0.9) + 25 * std::sin(t * 7) + jitter(random)});
    }
    return points;
}

void BM_FitCurveList2(benchmark::State& state) {
    auto points = stroke();
    std::vector<zorbel::Point2> out(zorbel::kFitCurveMaxPoints);
    double error = double(state.range(0));
    int written = 0;
    for (auto _ : state) {
        written = zorbel::FitCurveList2(points.data(), int(points.size()), error, 0, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["segments"] = written / 4;
}

// Argument: the smoothing tolerance (20 is the app's default).
BENCHMARK(BM_FitCurveList2)
    ->Name("FitCurveList2/1000points")
    ->Arg(20)
    ->Arg(4)
    ->Unit(benchmark::kMicrosecond);

} // namespace
