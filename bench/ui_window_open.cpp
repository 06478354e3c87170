// Opening the window: SDL's video start-up (the display connection, the
// keyboard map, the input method), the window at the screen's scale and its
// shared-memory surface made and painted. The app runs this on a worker while
// it launches (app_launch times that part); the first frame then costs its
// render and one whole present (ui_window_upload, range 0) on top of the
// longer of the two. Run under a display (xvfb-run, or with WAYLAND_DISPLAY
// under a compositor); without one SDL's offscreen driver is used.

#include <cstdlib>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include "platform/drivers/SdlDriver.h"

using namespace platform;

namespace {

void BM_OpenWindow(benchmark::State& state) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    for (auto _ : state) {
        auto driver = SdlDriver::openWindow(PixelUpload::NativeOrder);
        if (!driver) {
            state.SkipWithError(("no window: " + driver.error()).c_str());
            return;
        }
        state.PauseTiming();
        state.SetLabel(SDL_GetCurrentVideoDriver());
        driver.value().reset(); // closes the window and SDL's video
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
