// Scrolling the shape and colour-brush pickers under a finger: each frame is
// one finger movement of 6 points handed to the scroll view and the window
// composed. The finger sweeps the whole content up and down. "max_ms" is the
// slowest single frame seen on the clock, "max_cpu_ms" the one that took the
// thread longest (the first also counts time the machine gave to others).
// Scale 1 and 2.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>

#include "PickerBenchSupport.h"
#include "pickers/ColorBrushSelectionViewController.h"
#include "pickers/ShapeSelectionViewController.h"
#include "platform/ui/ScrollView.h"

namespace {

using namespace zorbel;
using zorbel::bench::PickerScreen;

double threadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template <class Picker>
void scrollFrames(benchmark::State& state, const std::vector<std::string>& names) {
    PickerScreen screen(float(state.range(0)));
    auto picker = std::make_shared<Picker>(screen.delegate, names);
    screen.presenter->presentModalViewController(picker, false);
    screen.window->render(*screen.framebuffer);
    platform::ScrollView& scroll = *picker->scrollView();

    // A finger that has already started dragging the content.
    const float x = 150;
    float y = 400;
    float step = -6;
    screen.window->touchDown(1, {x, y});
    for (int i = 0; i < 4; ++i) {
        y += step;
        platform::RunLoop::main().advanceBy(1.0 / 60);
        screen.window->touchMove(1, {x, y});
    }
    screen.window->render(*screen.framebuffer);

    double slowest = 0;
    double slowestCpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = threadMilliseconds();
        // Back and forth across the content: the finger turns at either end.
        const float offset = scroll.contentOffset().y;
        if (offset >= scroll.maximumContentOffset().y - 1)
            step = 6;
        else if (offset <= 1)
            step = -6;
        y += step;
        platform::RunLoop::main().advanceBy(1.0 / 60);
        screen.window->touchMove(1, {x, y});
        benchmark::DoNotOptimize(screen.window->render(*screen.framebuffer));
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        slowest = std::max(slowest, took.count());
        slowestCpu = std::max(slowestCpu, threadMilliseconds() - cpuStart);
    }
    screen.window->touchUp(1, {x, y});
    state.counters["max_ms"] = slowest;
    state.counters["max_cpu_ms"] = slowestCpu;
}

void BM_ScrollShapePicker(benchmark::State& state) {
    scrollFrames<ShapeSelectionViewController>(state, bench::shapeCatalogue());
}
void BM_ScrollColorBrushPicker(benchmark::State& state) {
    scrollFrames<ColorBrushSelectionViewController>(state, bench::colorBrushCatalogue());
}

} // namespace

BENCHMARK(BM_ScrollShapePicker)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollColorBrushPicker)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
