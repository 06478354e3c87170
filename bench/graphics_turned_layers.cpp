// The composition a two-finger move of one layer asks of the graphics layer:
// ten overlay layers' backing stores (700 x 310 points at the window scale,
// mostly transparent around an opaque shape) drawn turned and scaled over the
// painting into a 320 x 480 point frame, one of them at a new place in every
// frame, the nine others where they were. Arguments: the window scale (1 or
// 2), and 1 for the fast paths or 0 for pixman alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/FastPaths.h"

using namespace platform;

namespace {

std::unique_ptr<Context> overlay(float scale, int which) {
    auto c = Context::createBitmap(int(700 * scale), int(310 * scale), nullptr, YAxis::Down);
    c->scaleCTM(scale, scale);
    c->setFillColor(Color::rgb(0.1f * float(which), 0.5f, 0.9f - 0.05f * float(which), 0.9f));
    Path p;
    p.addEllipseInRect(Rect(175, 30, 350, 250));
    c->fillPath(p);
    return c;
}

void BM_TurnedLayersFrame(benchmark::State& state) {
    const float scale = float(state.range(0));
    detail::setFastPathsEnabled(state.range(1) != 0);
    auto frame = Context::createBitmap(int(320 * scale), int(480 * scale), nullptr, YAxis::Down);
    auto painting = Context::createBitmap(320, 480, nullptr);
    std::vector<std::uint8_t> grey(std::size_t(320) * 480 * 4, 160);
    std::copy(grey.begin(), grey.end(), painting->data());
    std::vector<std::unique_ptr<Context>> layers;
    for (int i = 0; i < 10; ++i)
        layers.push_back(overlay(scale, i));
    auto place = [&](int i, float angle, float size, Point centre) {
        Context& f = *frame;
        GStateGuard g(f);
        f.scaleCTM(scale, scale);
        f.translateCTM(centre.x, centre.y);
        f.rotateCTM(angle);
        f.scaleCTM(size, size);
        f.drawContext(Rect(-350, -155, 700, 310), *layers[std::size_t(i)]);
    };
    int step = 0;
    for (auto _ : state) {
        ++step;
        {
            GStateGuard g(*frame);
            frame->scaleCTM(scale, scale);
            frame->drawContext(Rect(0, 0, 320, 480), *painting);
        }
        for (int i = 0; i < 9; ++i)
            place(i, 0.2f * float(i - 5), 0.5f + 0.07f * float(i),
                  {60.0f + 22 * float(i), 80.0f + 34 * float(i)});
        place(9, 0.02f * float(step), 1.5f + 0.5f * std::sin(0.05f * float(step)), {160, 240});
        benchmark::DoNotOptimize(frame->data());
    }
    detail::setFastPathsEnabled(true);
}

} // namespace

BENCHMARK(BM_TurnedLayersFrame)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond);
