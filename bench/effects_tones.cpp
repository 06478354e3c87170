// The tone effects and the mirror on a 320 x 480 canvas buffer.
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "effects/ContrastLUT.h"
#include "effects/GrayLUTImageBitmap.h"
#include "effects/GrayScaleImageBitmap.h"
#include "effects/MirrorImageBitmap.h"
#include "effects/SingleChannelLUT.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 480;

struct Buffers {
    std::vector<std::uint8_t> src;
    std::vector<std::uint8_t> dst;
    Buffers() : src(std::size_t(kWidth) * kHeight * 4), dst(src.size()) {
        std::mt19937 random(1);
        for (auto& b : src)
            b = std::uint8_t(random());
    }
};

void BM_GrayScale(benchmark::State& state) {
    Buffers b;
    for (auto _ : state) {
        zorbel::grayScaleImageBitmap(b.src.data(), b.dst.data(), kWidth, kHeight);
        benchmark::DoNotOptimize(b.dst.data());
    }
}

// The table is built on every run, as the canvas method does.
void BM_Sepia(benchmark::State& state) {
    Buffers b;
    for (auto _ : state) {
        zorbel::ColorLUT table;
        zorbel::createSepiaLUT(table);
        zorbel::grayLUTImageBitmap(b.src.data(), b.dst.data(), kWidth, kHeight, table);
        benchmark::DoNotOptimize(b.dst.data());
    }
}

void BM_Brightness(benchmark::State& state) {
    Buffers b;
    for (auto _ : state) {
        zorbel::SingleChannelLUT table;
        zorbel::createBrightnessLUT(table, 40);
        zorbel::applySingleChannelLUTRaw(b.src.data(), b.dst.data(), kWidth, kHeight, table);
        benchmark::DoNotOptimize(b.dst.data());
    }
}

void BM_Contrast(benchmark::State& state) {
    Buffers b;
    for (auto _ : state) {
        zorbel::SingleChannelLUT table;
        zorbel::createIdentityLUT(table);
        zorbel::createNewContrastLUT(table, 37);
        zorbel::applySingleChannelLUTRaw(b.src.data(), b.dst.data(), kWidth, kHeight, table);
        benchmark::DoNotOptimize(b.dst.data());
    }
}

void BM_Mirror(benchmark::State& state) {
    Buffers b;
    bool vertical = state.range(0) != 0;
    for (auto _ : state) {
        zorbel::mirrorImageBitmap(b.src.data(), b.dst.data(), kWidth, kHeight, vertical);
        benchmark::DoNotOptimize(b.dst.data());
    }
}

BENCHMARK(BM_GrayScale)->Name("grayScaleImageBitmap")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sepia)->Name("sepia")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Brightness)->Name("brightness")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Contrast)->Name("contrast")->Unit(benchmark::kMicrosecond);
// Argument: vertical.
BENCHMARK(BM_Mirror)->Name("mirrorImageBitmap")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
