// Turning a photo upright: a 4000 x 3000 camera JPEG decoded at a quarter
// (1000 x 750 pixels) with each EXIF orientation, walked pixel by pixel
// (Image::upright), and for comparison drawn upright through the general
// transform into a bitmap then made an image, as pictures were turned before.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

using namespace platform;

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 750;

ImageRef photo(int exif) {
    std::vector<std::uint8_t> px(std::size_t(kWidth) * 4 * kHeight);
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < px.size(); i += 4) {
        seed = seed * 1103515245u + 12345u;
        px[i] = 255;
        px[i + 1] = std::uint8_t(seed >> 24);
        px[i + 2] = std::uint8_t(seed >> 16);
        px[i + 3] = std::uint8_t(seed >> 8);
    }
    return *Image::create(kWidth, kHeight, std::move(px), int(pictureOrientationFromExif(exif)));
}

void walked(benchmark::State& state) {
    const ImageRef stored = photo(int(state.range(0)));
    for (auto _ : state) {
        auto upright = Image::upright(stored);
        benchmark::DoNotOptimize(upright->data());
    }
}

void generalTransform(benchmark::State& state) {
    const ImageRef stored = photo(int(state.range(0)));
    for (auto _ : state) {
        const Size s = stored->size();
        auto bitmap = Context::createBitmap(int(s.width), int(s.height), nullptr, YAxis::Down);
        bitmap->drawImageUpright(Rect(0, 0, s.width, s.height), *stored);
        auto upright = bitmap->makeImage();
        benchmark::DoNotOptimize(upright->data());
    }
}

} // namespace

// EXIF 6 and 8: quarter turns; 3: half a turn; 2 and 4: mirrors; 5 and 7: quarter turns mirrored.
BENCHMARK(walked)->ArgName("exif")->DenseRange(2, 8)->Unit(benchmark::kMillisecond);
BENCHMARK(generalTransform)->ArgName("exif")->Args({6})->Args({3})->Args({2})->Unit(benchmark::kMillisecond);
