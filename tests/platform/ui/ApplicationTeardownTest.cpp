// The end of a process: the delegate and everything it owns (screens, timers,
// the accelerometer's samples) go without touching anything already gone,
// whichever shared object the app happened to use first. Each case runs in a
// fresh child process that ends with exit(), so the objects destroyed at exit
// are the ones the case made; a use after free there fails the child under
// the address sanitizer. The delegate says when it is released, so a case
// also fails if the delegate is never torn down.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// An app delegate as apps write them: it owns its window and screens, keeps a
// repeating timer and takes the accelerometer's samples; its destructor stops
// what it started.
class OwningDelegate : public ApplicationDelegate, public AccelerometerDelegate {
public:
    OwningDelegate() {
        window_ = std::make_shared<Window>();
        for (int i = 0; i < 3; ++i) {
            auto screen = std::make_shared<ViewController>();
            window_->addSubview(screen->view());
            screens_.push_back(std::move(screen));
        }
    }
    ~OwningDelegate() override {
        Accelerometer::shared().setDelegate(nullptr);
        if (timer_)
            timer_->invalidate();
        window_.reset();
        screens_.clear();
        std::fputs("delegate released\n", stderr);
    }
    void applicationDidFinishLaunching() override {
        window_->makeKeyAndVisible();
        timer_ = Timer::scheduledTimer(
            0.5, [this](Timer&) { ++ticks_; }, true);
        Accelerometer::shared().setDelegate(this);
    }
    void accelerometerDidAccelerate(Accelerometer&, const Acceleration&) override { ++samples_; }

private:
    std::shared_ptr<Window> window_;
    std::vector<std::shared_ptr<ViewController>> screens_;
    std::shared_ptr<Timer> timer_;
    int ticks_ = 0;
    int samples_ = 0;
};

// A delegate that leaves its timer and the accelerometer to the platform.
class CarelessDelegate : public ApplicationDelegate, public AccelerometerDelegate {
public:
    ~CarelessDelegate() override { std::fputs("delegate released\n", stderr); }
    void applicationDidFinishLaunching() override {
        screen_ = std::make_shared<ViewController>();
        (void)screen_->view();
        timer_ = Timer::scheduledTimer(
            1, [screen = screen_](Timer&) { (void)screen; }, true);
        Accelerometer::shared().setDelegate(this);
    }
    void accelerometerDidAccelerate(Accelerometer&, const Acceleration&) override {}

private:
    std::shared_ptr<ViewController> screen_;
    std::shared_ptr<Timer> timer_;
};

// A run of the app: launch, a few seconds of samples and timers, termination.
void runBriefly() {
    RunLoop::main().advanceBy(2);
    Application::shared().terminate();
}

class ApplicationTeardown : public ::testing::Test {
protected:
    void SetUp() override {
        // Each case needs a process of its own that starts with nothing made.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        const char* base = std::getenv("ZORBEL_TEST_TMP");
        home_ = fs::path(base ? base : "/tmp") / "application-teardown";
        fs::create_directories(home_);
    }
    fs::path home_;
};

// The driver's order: the application takes the delegate, then launching
// starts the run loop's timers and the accelerometer.
TEST_F(ApplicationTeardown, AnOwnedDelegateGoesCleanlyAtExit) {
    EXPECT_EXIT(
        {
            setLogQuiet(true);
            Paths::setHome(home_);
            Application::shared().setOwnedDelegate(std::make_unique<OwningDelegate>());
            RunLoop::main().reset(ClockMode::Virtual);
            Application::shared().finishLaunching();
            runBriefly();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "delegate released");
}

// The accelerometer and the run loop in use before the application is.
TEST_F(ApplicationTeardown, AnOwnedDelegateGoesCleanlyWhenTheAccelerometerCameFirst) {
    EXPECT_EXIT(
        {
            setLogQuiet(true);
            Paths::setHome(home_);
            Accelerometer::shared().setUpdateInterval(0.04);
            RunLoop::main().reset(ClockMode::Virtual);
            Application::shared().setOwnedDelegate(std::make_unique<OwningDelegate>());
            Application::shared().finishLaunching();
            runBriefly();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "delegate released");
}

// A delegate that stops nothing: its timer still runs and the accelerometer
// still points at it when the process ends.
TEST_F(ApplicationTeardown, ADelegateThatStopsNothingGoesCleanlyAtExit) {
    EXPECT_EXIT(
        {
            setLogQuiet(true);
            Paths::setHome(home_);
            Application::shared().setOwnedDelegate(std::make_unique<CarelessDelegate>());
            RunLoop::main().reset(ClockMode::Virtual);
            Application::shared().finishLaunching();
            runBriefly();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "delegate released");
}

// The app keeps its delegate itself, in an object made before the
// application, and so destroyed after it.
TEST_F(ApplicationTeardown, ADelegateKeptInAStaticGoesCleanlyAtExit) {
    EXPECT_EXIT(
        {
            setLogQuiet(true);
            Paths::setHome(home_);
            static std::unique_ptr<OwningDelegate> kept;
            kept = std::make_unique<OwningDelegate>();
            Application::shared().setDelegate(kept.get());
            RunLoop::main().reset(ClockMode::Virtual);
            Application::shared().finishLaunching();
            runBriefly();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "delegate released");
}

// Settings belong to the platform: whatever the delegate set, up to its last
// change in will-terminate, is on disk when termination returns.
TEST(ApplicationTermination, WritesTheSettingsAfterWillTerminate) {
    struct Delegate : ApplicationDelegate {
        void applicationWillTerminate() override {
            UserDefaults::standardUserDefaults().setInteger(7, "LastThing");
        }
    } delegate;
    const char* base = std::getenv("ZORBEL_TEST_TMP");
    const fs::path home = fs::path(base ? base : "/tmp") / "application-termination";
    fs::remove_all(home);
    Paths::setHome(home);
    UserDefaults::resetStandardUserDefaults();
    Application::shared().resetForTesting();
    Application::shared().setDelegate(&delegate);
    Application::shared().finishLaunching();
    ASSERT_TRUE(Application::shared().terminate());

    std::ifstream in(Paths::configDirectory() / "defaults.json");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\"LastThing\""), std::string::npos) << text.str();

    Application::shared().resetForTesting();
    UserDefaults::resetStandardUserDefaults();
    Paths::setHome({});
    fs::remove_all(home);
}

} // namespace
