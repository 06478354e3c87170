// The warps on a 320 x 480 canvas buffer, as the app runs them (all cores).
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "effects/BulgeImageBitmap.h"
#include "effects/DentImageBitmap.h"
#include "effects/FisheyeImageBitmap.h"
#include "effects/LightTunnelImageBitmap.h"
#include "effects/ParallelRows.h"
#include "effects/SqueezeImage2.h"
#include "effects/TwirlImage3.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 480;

std::vector<std::uint8_t> picture() {
    std::mt19937 random(1);
    std::vector<std::uint8_t> bytes(std::size_t(kWidth) * kHeight * 4);
    for (auto& b : bytes)
        b = std::uint8_t(random());
    return bytes;
}

template <void (*Warp)(const std::uint8_t*, std::uint8_t*, int, int)>
void BM_Warp(benchmark::State& state) {
    zorbel::setEffectThreadLimit(int(state.range(0)));
    auto src = picture();
    std::vector<std::uint8_t> dst(src.size());
    for (auto _ : state) {
        Warp(src.data(), dst.data(), kWidth, kHeight);
        benchmark::DoNotOptimize(dst.data());
    }
    zorbel::setEffectThreadLimit(0);
}

void BM_Twirl(benchmark::State& state) {
    zorbel::setEffectThreadLimit(int(state.range(0)));
    auto src = picture();
    std::vector<std::uint8_t> dst(src);
    bool interpolate = state.range(1) != 0;
    for (auto _ : state) {
        zorbel::twirlImage3(src.data(), dst.data(), kWidth, kHeight, 1.2f, interpolate);
        benchmark::DoNotOptimize(dst.data());
    }
    zorbel::setEffectThreadLimit(0);
}

// Argument: thread limit (0 = every core, 1 = one core).
BENCHMARK(BM_Warp<zorbel::bulgeImageBitmap>)
    ->Name("bulgeImageBitmap")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Warp<zorbel::dentImageBitmap>)
    ->Name("dentImageBitmap")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Warp<zorbel::fisheyeImageBitmap>)
    ->Name("fisheyeImageBitmap")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Warp<zorbel::lightTunnelImageBitmap>)
    ->Name("lightTunnelImageBitmap")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Warp<zorbel::squeezeImage2>)
    ->Name("squeezeImage2")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// Arguments: thread limit, interpolate (0 = the nearest-pixel preview, 1 = the final render).
BENCHMARK(BM_Twirl)
    ->Name("twirlImage3")
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
