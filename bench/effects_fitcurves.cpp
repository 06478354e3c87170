// The curve fitter on a 1,000-point stroke, the longest the canvas passes.
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "effects/FitCurves.h"

namespace {

// A finger stroke: a wandering loop sampled every couple of pixels with a little jitter.
std::vector<zorbel::Point2> stroke() {
    std::vector<zorbel::Point2> points;
    for (int i = 0; i < 1000; ++i) {
        double t = i * 0.012;
        points.push_back(
            {160 + 120 * std::sin(t) + 3 * std::sin(i * 1.7),
             240 + 200 * std::sin(t * 0.7) * std::cos(t * 0.3) + 3 * std::cos(i * 2.3)});
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
