// One touch-move event on the canvas with the 32-point hard brush: the
// movement's segment rendered (touchesMoved) and the redisplay of its box
// (displayIfNeeded), as the run loop handles one event. The finger moves 8
// points an event, back and forth across the canvas; every 500 events the
// stroke ends and a new one begins, outside the timing.
#include <benchmark/benchmark.h>

#include <memory>

#include "CanvasBenchSupport.h"
#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace {

using platform::Point;

class TouchMoveBench {
public:
    explicit TouchMoveBench(float opacity) {
        bench_.delegate.setPaintBrushAlpha(opacity);
        bench_.delegate.setPaintBrushBlendMode(platform::BlendMode::Normal);
        bench_.delegate.setCursorDisplayFlag(false);
        bench_.useBrush("brushhard32.png");
        bench_.view->touchState().fingerOffset = {0, 0};
        bench_.view->displayIfNeeded();
    }

    float brushSize() const { return bench_.view->brush().size(); }

    void begin() {
        touch_ = std::make_shared<platform::Touch>(1, bench_.view.get(), nullptr, next(), time_, 1);
        send(&platform::View::touchesBegan);
        bench_.view->displayIfNeeded();
    }
    void move() {
        time_ += 1.0 / 60;
        touch_->update(platform::TouchPhase::Moved, next(), time_);
        send(&platform::View::touchesMoved);
        bench_.view->displayIfNeeded();
    }
    void end() {
        touch_->update(platform::TouchPhase::Ended, touch_->locationInWindow(), time_);
        send(&platform::View::touchesEnded);
        bench_.view->displayIfNeeded();
    }

private:
    // A zigzag over the canvas, 8 points an event.
    Point next() {
        x_ += dx_;
        if (x_ > 290 || x_ < 30) {
            dx_ = -dx_;
            y_ = y_ > 420 ? 80 : y_ + 20;
        }
        return {x_, y_};
    }
    void send(void (platform::View::*handler)(const platform::TouchSet&, platform::Event&)) {
        platform::TouchSet touches({touch_});
        platform::Event event(touches, time_);
        (bench_.view.get()->*handler)(touches, event);
    }

    zorbel::bench::CanvasBench bench_;
    std::shared_ptr<platform::Touch> touch_;
    double time_ = 0;
    float x_ = 40, y_ = 80, dx_ = 8;
};

void touchMove(benchmark::State& state, float opacity) {
    TouchMoveBench bench(opacity);
    bench.begin();
    if (bench.brushSize() != 32) {
        state.SkipWithError("brushhard32.png is missing: build the resources first");
        return;
    }
    int moves = 0;
    for (auto _ : state) {
        bench.move();
        if (++moves == 500) {
            state.PauseTiming();
            bench.end();
            bench.begin();
            moves = 0;
            state.ResumeTiming();
        }
    }
    bench.end();
}

// Opaque strokes stamp straight into the picture.
void BM_TouchMoveBrush32IntoPicture(benchmark::State& state) {
    touchMove(state, 1.0f);
}
// Strokes below full opacity go into the stroke layer, shown over the picture.
void BM_TouchMoveBrush32IntoStrokeLayer(benchmark::State& state) {
    touchMove(state, 0.5f);
}

} // namespace

BENCHMARK(BM_TouchMoveBrush32IntoPicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TouchMoveBrush32IntoStrokeLayer)->Unit(benchmark::kMicrosecond);
