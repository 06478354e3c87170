// A slider movement in the open slider panel to the next frame: the value-
// changed action recomputes the picture from the snapshot, then the window
// draws the canvas and composes the frame (320 x 480 at one pixel a point,
// and at two). Brightness and contrast should stay under 1 ms, the twirl's
// nearest-pixel preview under 2 ms.
#include <benchmark/benchmark.h>

#include "AppBenchSupport.h"
#include "app/NewMasterViewController.h"
#include "pickers/ScreenSlidersViewController.h"
#include "platform/ui/Slider.h"

namespace {

void slide(benchmark::State& state, zorbel::Tool filterTool, float low, float high) {
    zorbel::bench::AppBench bench;
    bench.launch();
    zorbel::CanvoAppDelegate& app = bench.app();
    platform::Window& window = *app.window();
    const float scale = float(state.range(0));
    window.setScale(scale);
    auto framebuffer = platform::Context::createBitmap(int(320 * scale), int(480 * scale), nullptr,
                                                       platform::YAxis::Down);
    window.render(*framebuffer);
    app.setFilterTool(filterTool);
    app.doInteractiveFilter();
    platform::Slider* slider = app.screenSlidersViewController()->getSlider();
    platform::RunLoop::main().advanceBy(1);
    window.render(*framebuffer);
    bool up = false;
    for (auto _ : state) {
        up = !up;
        slider->setValue(up ? high : low);
        slider->sendActionsForControlEvents(platform::ControlEventValueChanged);
        window.render(*framebuffer);
        benchmark::DoNotOptimize(framebuffer->data());
    }
}

void BM_SliderBrightnessToFrame(benchmark::State& state) {
    slide(state, zorbel::Tool::BrightnessTool, -60, 90);
}
void BM_SliderContrastToFrame(benchmark::State& state) {
    slide(state, zorbel::Tool::ContrastTool, -30, 45);
}
void BM_SliderTwirlPreviewToFrame(benchmark::State& state) {
    slide(state, zorbel::Tool::TwirlTool, -0.7f, 1.3f);
}

} // namespace

BENCHMARK(BM_SliderBrightnessToFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SliderContrastToFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SliderTwirlPreviewToFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
