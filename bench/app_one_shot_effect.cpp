// A one-shot effect from the tap on its control in the tool picker to the
// first frame that shows the new picture: the picker goes, the indicator is
// drawn into a frame, the worker thread does the pixel work, and the
// completion on the main thread puts the result into the painting. Driven as
// a window driver drives the app (a turn of the run loop, then a frame), on
// the real clock, with the picker's slide switched off (it runs beside the
// effect and does not hold it up). It should stay under 8 ms.
#include <benchmark/benchmark.h>

#include "AppBenchSupport.h"
#include "app/NewMasterViewController.h"
#include "pickers/ToolViewController.h"
#include "platform/ui/Control.h"

namespace {

void oneShot(benchmark::State& state, const char* action) {
    zorbel::bench::AppBench bench;
    bench.launch();
    platform::RunLoop::main().reset(platform::ClockMode::Real);
    platform::View::setAnimationsEnabled(false);
    zorbel::CanvoAppDelegate& app = bench.app();
    platform::Window& window = *app.window();
    auto framebuffer = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    auto frame = [&] { window.render(*framebuffer); };
    // A turn waits (up to a frame) for posted work, as the window driver does.
    auto turn = [&] {
        platform::RunLoop::main().runOnce(1.0 / 60);
        frame();
    };
    zorbel::NewMasterViewController& chrome = *app.newMasterViewController();
    frame();
    int frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Undo keeps the picture from drifting; the picker slides in.
        chrome.undo(nullptr);
        chrome.selectToolAction(nullptr);
        turn();
        auto* picker = dynamic_cast<zorbel::ToolViewController*>(chrome.modalViewController());
        platform::View* control = picker->view()->viewWithTag(0);
        for (const auto& place : zorbel::ToolViewController::placements())
            if (auto* c = dynamic_cast<platform::Control*>(picker->view()->viewWithTag(place.tag)))
                for (const auto& name : c->actionNames())
                    if (name == action)
                        control = c;
        const platform::Point p = control->convertPointToView(control->bounds().center(), nullptr);
        window.touchDown(1, p);
        frame();
        state.ResumeTiming();

        window.touchUp(1, p);
        turn();
        while (app.tooBusyForUserInteraction()) {
            turn();
            ++frames;
        }
        frame();
        benchmark::DoNotOptimize(framebuffer->data());
    }
    platform::View::setAnimationsEnabled(true);
    state.counters["frames"] =
        benchmark::Counter(double(frames), benchmark::Counter::kAvgIterations);
}

void BM_OneShotGrayScaleTapToFrame(benchmark::State& state) {
    oneShot(state, "setGrayScaleTool:");
}
void BM_OneShotBulgeTapToFrame(benchmark::State& state) {
    oneShot(state, "setBulgeTool:");
}
void BM_OneShotSqueezeTapToFrame(benchmark::State& state) {
    oneShot(state, "setSqueezeTool:");
}

} // namespace

BENCHMARK(BM_OneShotGrayScaleTapToFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneShotBulgeTapToFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneShotSqueezeTapToFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
