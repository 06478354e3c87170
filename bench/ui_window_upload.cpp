// Copying the composed framebuffer (A, R, G, B bytes) to the window: letting
// SDL convert it, or writing the window's native B, G, R, X order ourselves.
// Run under a display (xvfb-run works); without one SDL's offscreen driver
// is used, which times the conversion alone.

#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>

#include "platform/drivers/SdlScreen.h"
#include "platform/graphics/Context.h"

using namespace platform;

namespace {

constexpr int kWidth = 640; // 320 x 480 points at scale 2
constexpr int kHeight = 960;

std::unique_ptr<SdlScreen> openScreen(PixelUpload upload) {
    auto screen = SdlScreen::open("Zorbel upload", kWidth, kHeight, upload);
    if (!screen) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        screen = SdlScreen::open("Zorbel upload", kWidth, kHeight, upload);
    }
    return screen ? std::move(screen.value()) : nullptr;
}

std::unique_ptr<Context> framebuffer() {
    auto fb = Context::createBitmap(kWidth, kHeight, nullptr, YAxis::Down);
    for (int i = 0; i < 16; ++i) {
        fb->setFillColor(Color::rgb(float(i % 4) / 3, float(i / 4) / 3, 0.5f));
        fb->fillRect(Rect(float(i * 40), float(i * 60), 200, 200));
    }
    return fb;
}

// range(0): side of the square area copied (the whole window when 0).
void presentArea(benchmark::State& state, PixelUpload upload) {
    auto screen = openScreen(upload);
    if (!screen) {
        state.SkipWithError("no SDL video driver");
        return;
    }
    auto fb = framebuffer();
    const int side = int(state.range(0));
    const Rect area =
        side == 0 ? Rect(0, 0, kWidth, kHeight) : Rect(200, 300, float(side), float(side));
    screen->present(*fb, Rect(0, 0, kWidth, kHeight));
    for (auto _ : state)
        benchmark::DoNotOptimize(screen->present(*fb, area));
    state.SetItemsProcessed(state.iterations() * std::int64_t(area.width() * area.height()));
    state.SetLabel(screen->surfaceFormatName());
}

void BM_PresentSdlConverts(benchmark::State& state) {
    presentArea(state, PixelUpload::SdlConverts);
}
void BM_PresentNativeOrder(benchmark::State& state) {
    presentArea(state, PixelUpload::NativeOrder);
}

} // namespace

BENCHMARK(BM_PresentSdlConverts)->Arg(0)->Arg(64);
BENCHMARK(BM_PresentNativeOrder)->Arg(0)->Arg(64);
