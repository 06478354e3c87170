#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <unistd.h>

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/NewMasterViewController.h"
#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

namespace zorbel::testing {

// The whole application in the test process: each test gets a fresh home
// folder (Documents and settings) and the virtual clock. launch() makes the
// main interface and finishes launching; terminate() ends the run normally;
// kill() drops it without termination; launching again reads what the last
// run left, as a new process would.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        const char* base = std::getenv("ZORBEL_TEST_TMP");
        home_ = std::filesystem::path(base ? base : "/tmp") /
                ("app-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_);
        platform::Paths::setHome(home_);
        platform::setLogQuiet(true);
        platform::clearLogCapture();
        resetPlatform();
    }

    void TearDown() override {
        kill();
        platform::Paths::setHome({});
        platform::setLogQuiet(false);
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }

    // A new run: nothing of the last one is kept in memory.
    static void resetPlatform() {
        platform::Application::shared().resetForTesting();
        platform::Accelerometer::shared().resetForTesting();
        platform::Animator::shared().reset();
        platform::RunLoop::main().reset(platform::ClockMode::Virtual);
        platform::UserDefaults::resetStandardUserDefaults();
    }

    CanvoAppDelegate& launch() {
        kill();
        app_ = CanvoAppDelegate::makeFromMainInterface();
        platform::Application::shared().finishLaunching();
        return *app_;
    }

    void terminate() {
        if (!app_)
            return;
        platform::Application::shared().terminate();
        kill();
    }

    void kill() {
        if (!app_)
            return;
        resetPlatform();
        app_.reset();
    }

    void wait(double seconds) { platform::RunLoop::main().advanceBy(seconds); }

    CanvoAppDelegate& app() { return *app_; }
    PaintingView& canvas() { return *app_->getThePaintingView(); }
    NewMasterViewController& chrome() { return *app_->newMasterViewController(); }
    platform::Window& window() { return *app_->window(); }
    platform::UserDefaults& defaults() { return platform::UserDefaults::standardUserDefaults(); }

    // Sets stored values as a previous run would have left them.
    template <class F>
    void storeSettings(F&& set) {
        platform::UserDefaults::resetStandardUserDefaults();
        set(defaults());
        ASSERT_TRUE(defaults().synchronize().ok());
        platform::UserDefaults::resetStandardUserDefaults();
    }

    static bool logHas(std::string_view line) {
        const auto lines = platform::logLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::filesystem::path home_;
    std::unique_ptr<CanvoAppDelegate> app_;
};

// The pixel the canvas shows at screen point (x, y): alpha, red, green, blue.
inline ARGBColorBytes shownPixel(const PaintingView& canvas, int x, int y) {
    return canvas.getPixelValueAt(x, PaintingView::kCanvasHeight - 1 - y);
}

// The first alert in the view's tree (the view itself included), or null.
inline platform::AlertView* findAlert(platform::View& view) {
    if (auto* alert = dynamic_cast<platform::AlertView*>(&view))
        return alert;
    for (const auto& sub : view.subviews())
        if (auto* alert = findAlert(*sub))
            return alert;
    return nullptr;
}

} // namespace zorbel::testing
