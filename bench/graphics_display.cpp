// The canvas display: the 320 x 480 picture drawn into a y-down view context,
// alone and with a stroke layer over it at 50 % multiply.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/FastPaths.h"
#include "platform/graphics/Layer.h"

using namespace platform;

namespace {

struct Scene {
    std::unique_ptr<Context> picture = Context::createBitmap(320, 480, nullptr);
    std::unique_ptr<Layer> stroke;
    std::unique_ptr<Context> view = Context::createBitmap(320, 480, nullptr, YAxis::Down);

    Scene() {
        std::uint8_t* p = picture->data();
        for (int i = 0; i < 320 * 480; ++i, p += 4) {
            p[0] = 255;
            p[1] = std::uint8_t(i);
            p[2] = std::uint8_t(i >> 3);
            p[3] = std::uint8_t(i >> 7);
        }
        stroke = Layer::create(*picture, {320, 480});
        // A wide diagonal band of paint, the rest transparent, as a stroke is.
        Context& s = stroke->context();
        s.setStrokeColor(Color::rgb(0.8f, 0.1f, 0.3f));
        s.setLineWidth(40);
        const Point line[] = {{20, 40}, {300, 440}};
        s.strokeLineSegments(line);
    }
};

void display(benchmark::State& state, bool withStroke, bool fast) {
    Scene scene;
    detail::setFastPathsEnabled(fast);
    const Rect bounds(0, 0, 320, 480);
    for (auto _ : state) {
        GStateGuard g(*scene.view);
        scene.view->clipToRect(bounds);
        scene.view->drawContext(bounds, *scene.picture);
        if (withStroke) {
            scene.view->setAlpha(0.5f);
            scene.view->setBlendMode(BlendMode::Multiply);
            scene.view->drawLayerInRect(bounds, *scene.stroke);
        }
        benchmark::ClobberMemory();
    }
    detail::setFastPathsEnabled(true);
}

void displaySnapshot(benchmark::State& state) {
    Scene scene;
    const Rect bounds(0, 0, 320, 480);
    for (auto _ : state) {
        auto snapshot = scene.picture->makeImage();
        scene.view->drawImage(bounds, *snapshot);
        benchmark::ClobberMemory();
    }
}

// A window at twice the density draws the same picture stretched.
void displayDoubleDensity(benchmark::State& state) {
    Scene scene;
    auto view = Context::createBitmap(640, 960, nullptr, YAxis::Down);
    const Rect bounds(0, 0, 320, 480);
    for (auto _ : state) {
        GStateGuard g(*view);
        view->scaleCTM(2, 2);
        view->drawContext(bounds, *scene.picture);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(displayDoubleDensity)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(display, picture_fast, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(display, picture_and_multiply_stroke_fast, true, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(display, picture_pixman, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(display, picture_and_multiply_stroke_pixman, true, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(displaySnapshot)->Unit(benchmark::kMicrosecond);
