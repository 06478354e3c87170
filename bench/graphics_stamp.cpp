// One 32 x 32 brush stamp (drawLayerAtPoint) into a 320 x 480 canvas bitmap,
// at whole and fractional positions, through the fast path and through pixman.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/FastPaths.h"
#include "platform/graphics/Layer.h"

using namespace platform;

namespace {

std::unique_ptr<Layer> softStamp(const Context& canvas) {
    auto layer = Layer::create(canvas, {32, 32});
    std::uint8_t* p = layer->context().data();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x, p += 4) {
            const float d = std::hypot(x - 15.5f, y - 15.5f) / 16.0f;
            const int a = d >= 1 ? 0 : int(255 * (1 - d * d));
            p[0] = std::uint8_t(a);
            p[1] = std::uint8_t(a / 3);
            p[2] = 0;
            p[3] = std::uint8_t(a);
        }
    return layer;
}

void stamp(benchmark::State& state, bool fractional, bool fast) {
    std::vector<std::uint8_t> memory(320 * 480 * 4, 255);
    auto canvas = Context::createBitmap(320, 480, memory.data());
    auto layer = softStamp(*canvas);
    detail::setFastPathsEnabled(fast);
    float x = 10, y = 10;
    for (auto _ : state) {
        canvas->drawLayerAtPoint({fractional ? x + 0.37f : x, fractional ? y + 0.61f : y}, *layer);
        x = x > 270 ? 10 : x + 3;
        y = y > 430 ? 10 : y + 2;
        benchmark::ClobberMemory();
    }
    detail::setFastPathsEnabled(true);
}

} // namespace

BENCHMARK_CAPTURE(stamp, whole_fast, false, true);
BENCHMARK_CAPTURE(stamp, fractional_fast, true, true);
BENCHMARK_CAPTURE(stamp, whole_pixman, false, false);
BENCHMARK_CAPTURE(stamp, fractional_pixman, true, false);
