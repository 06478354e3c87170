// PNG encoding of a painted 320 x 480 canvas at the fast setting the canvas
// uses for its files and at zlib's default, and decoding it back.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

using namespace platform;

namespace {

// A white sheet with soft strokes, a photo-like gradient band and noise: what
// a painted canvas compresses like, neither flat nor random.
ImageRef paintedCanvas() {
    auto c = Context::createBitmap(320, 480, nullptr);
    c->setFillColor(Color::white());
    c->fillRect(Rect(0, 0, 320, 480));
    std::uint32_t seed = 12345;
    std::uint8_t* p = c->data();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 320; ++x, p += 4) {
            if (y > 160 && y < 320) {
                seed = seed * 1103515245u + 12345u;
                const int noise = int((seed >> 16) & 7);
                p[1] = std::uint8_t(x * 255 / 320 + noise);
                p[2] = std::uint8_t(y - 160 + noise);
                p[3] = std::uint8_t(128 + noise);
            }
        }
    for (int i = 0; i < 12; ++i) {
        c->setStrokeColor(Color::rgb(i / 12.0f, 0.3f, 1 - i / 12.0f));
        c->setLineWidth(6 + i);
        const Point line[] = {{float(10 + i * 25), 20}, {float(300 - i * 20), 460}};
        c->strokeLineSegments(line);
    }
    return c->makeImage();
}

void encode(benchmark::State& state, int level) {
    auto image = paintedCanvas();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto png = image->pngData(level);
        bytes = png->size();
        benchmark::DoNotOptimize(png);
    }
    state.counters["bytes"] = double(bytes);
}

void decode(benchmark::State& state) {
    auto png = *paintedCanvas()->pngData(Image::kFastPngCompression);
    for (auto _ : state) {
        auto image = Image::decode(png);
        benchmark::DoNotOptimize(image);
    }
}

} // namespace

BENCHMARK_CAPTURE(encode, fast_level1_up, Image::kFastPngCompression)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encode, default_level, Image::kDefaultPngCompression)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(decode)->Unit(benchmark::kMillisecond);
