#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../app/AppTestSupport.h"
#include "app/EffectWorker.h"
#include "pickers/ScreenSlidersViewController.h"
#include "pickers/ToolViewController.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Slider.h"

namespace zorbel::testing {

using Pixels = std::vector<std::uint8_t>;

// Holds a one-shot effect's worker before its pixel work until released.
class WorkerGate {
public:
    void wait() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// The launched application with a picture of seeded random opaque pixels on
// the canvas, reached through the toolbar and the pickers as a person does.
class PipelineTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        launch();
        paintPattern(7);
    }
    void TearDown() override {
        if (gate_)
            gate_->release();
        finishEffect();
        EffectWorker::setBeforeWorkHook({});
        AppTest::TearDown();
    }

    void paintPattern(std::uint32_t seed) {
        std::uint8_t* p = canvas().offscreenBitmapData();
        ASSERT_NE(p, nullptr);
        std::uint32_t state = seed;
        for (std::int32_t i = 0; i < canvas().bitmapByteCount(); i += 4) {
            state = state * 1664525u + 1013904223u;
            p[i] = 255;
            p[i + 1] = std::uint8_t(state >> 24);
            p[i + 2] = std::uint8_t(state >> 16);
            p[i + 3] = std::uint8_t(state >> 8);
        }
        canvas().setNeedsDisplay();
    }

    Pixels picture() {
        const std::uint8_t* p = canvas().offscreenBitmapData();
        return Pixels(p, p + canvas().bitmapByteCount());
    }

    // One frame of the window, as a driver draws after a turn of the loop.
    void frame() {
        const platform::Size s = window().size();
        if (!framebuffer_ || framebuffer_->width() != int(s.width) ||
            framebuffer_->height() != int(s.height))
            framebuffer_ = platform::Context::createBitmap(int(s.width), int(s.height), nullptr,
                                                           platform::YAxis::Down);
        window().render(*framebuffer_);
    }

    // Frames and turns of the loop until a running one-shot effect has completed.
    void finishEffect() {
        if (!app_)
            return;
        for (int i = 0; i < 200 && app().tooBusyForUserInteraction(); ++i) {
            frame();
            platform::RunLoop::main().drain();
        }
    }

    ToolViewController* openPicker() {
        chrome().selectToolAction(nullptr);
        wait(0.5);
        return dynamic_cast<ToolViewController*>(chrome().modalViewController());
    }

    // Opens the tool picker and chooses; the picker's slide away is over
    // (and a slider panel open) on return.
    void choose(const std::string& action) {
        ToolViewController* picker = openPicker();
        ASSERT_NE(picker, nullptr) << "the tool picker did not open";
        ASSERT_TRUE(picker->perform(action)) << action;
        wait(0.5);
    }

    ScreenSlidersViewController* panel() { return app().screenSlidersViewController().get(); }
    platform::Slider& slider() { return *panel()->getSlider(); }
    // Sets the slider as a finger does: a change sends its value-changed actions.
    void slide(float value) {
        const float before = slider().value();
        slider().setValue(value);
        if (slider().value() != before)
            slider().sendActionsForControlEvents(platform::ControlEventValueChanged);
    }

    void holdWorkers() {
        gate_ = std::make_shared<WorkerGate>();
        std::shared_ptr<WorkerGate> gate = gate_;
        EffectWorker::setBeforeWorkHook([gate] { gate->wait(); });
    }
    void releaseWorkers() { gate_->release(); }

    std::unique_ptr<platform::Context> framebuffer_;
    std::shared_ptr<WorkerGate> gate_;
};

} // namespace zorbel::testing
