// Composing the window into its framebuffer: everything (a new framebuffer,
// a turn of the device), a small area redrawn under a finger (a stroke
// segment on a full-screen opaque view under the chrome), and a view that
// only moves (its stored drawing reused), at scale 1 and 2.
#include <benchmark/benchmark.h>

#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"

namespace {

using namespace platform;

class Sheet : public View {
public:
    using View::View;
    void drawRect(Context& c, const Rect& dirty) override {
        c.setFillColor(Color::rgb(0.9f, 0.8f, 0.7f));
        c.fillRect(dirty);
    }
};

struct Screen {
    explicit Screen(float scale) {
        Application::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Virtual);
        window = std::make_shared<Window>();
        window->setScale(scale);
        window->makeKeyAndVisible();
        Application::shared().setStatusBarStyle(StatusBarStyle::BlackTranslucent);
        sheet = std::make_shared<Sheet>(Rect(0, 0, 320, 480));
        sheet->setOpaque(true);
        window->addSubview(sheet);
        auto chrome = std::make_shared<View>(Rect(0, 20, 320, 460));
        for (float y : {0.0f, 416.0f}) {
            auto bar = std::make_shared<View>(Rect(0, y, 320, 44));
            bar->setBackgroundColor(Color::grey(0.2f, 0.8f));
            chrome->addSubview(bar);
        }
        window->addSubview(chrome);
        sticker = std::make_shared<Sheet>(Rect(100, 100, 80, 80));
        window->addSubview(sticker);
        fb = Context::createBitmap(int(320 * scale), int(480 * scale), nullptr, YAxis::Down);
        window->render(*fb);
    }
    ~Screen() { Application::shared().resetForTesting(); }
    std::shared_ptr<Window> window;
    std::shared_ptr<Sheet> sheet, sticker;
    std::unique_ptr<Context> fb;
};

void BM_ComposeWholeWindow(benchmark::State& state) {
    Screen s(float(state.range(0)));
    for (auto _ : state) {
        s.window->makeKeyAndVisible(); // forgets what the framebuffer holds
        benchmark::DoNotOptimize(s.window->render(*s.fb));
    }
}

void BM_RedrawStrokeSegment(benchmark::State& state) {
    Screen s(float(state.range(0)));
    float x = 0;
    for (auto _ : state) {
        s.sheet->setNeedsDisplayInRect(Rect(x, 200, 24, 24));
        benchmark::DoNotOptimize(s.window->render(*s.fb));
        x = x > 280 ? 0 : x + 8;
    }
}

void BM_MoveStoredView(benchmark::State& state) {
    Screen s(float(state.range(0)));
    float y = 100;
    for (auto _ : state) {
        s.sticker->setCenter(Point{140, y});
        benchmark::DoNotOptimize(s.window->render(*s.fb));
        y = y > 380 ? 100 : y + 3;
    }
}

} // namespace

BENCHMARK(BM_ComposeWholeWindow)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawStrokeSegment)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveStoredView)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
