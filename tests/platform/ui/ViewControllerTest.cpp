#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

std::vector<std::string>* journal = nullptr;

void note(const std::string& s) {
    if (journal)
        journal->push_back(s);
}

class Screen : public ViewController {
public:
    explicit Screen(std::string name) : name_(std::move(name)) {}
    ~Screen() override { note(name_ + " released"); }
    void viewDidLoad() override { note(name_ + " didLoad"); }
    void viewWillAppear(bool) override { note(name_ + " willAppear"); }
    void viewDidAppear(bool) override { note(name_ + " didAppear"); }
    void viewWillDisappear(bool) override { note(name_ + " willDisappear"); }
    void viewDidDisappear(bool) override { note(name_ + " didDisappear"); }
    void didReceiveMemoryWarning() override { note(name_ + " memoryWarning"); }
    bool shouldAutorotateToInterfaceOrientation(int o) override {
        return o == 1 || (allowLandscape && o == 3);
    }
    void willRotateToInterfaceOrientation(int o, double d) override {
        note(name_ + " willRotate " + std::to_string(o) + " " + std::to_string(int(d * 10)));
    }
    void didRotateFromInterfaceOrientation(int from) override {
        note(name_ + " didRotate from " + std::to_string(from));
    }
    bool allowLandscape = false;

private:
    std::string name_;
};

class Controllers : public ::testing::Test {
protected:
    void SetUp() override {
        journal = &log;
        Application::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Virtual);
        Animator::shared().reset();
        window = std::make_shared<Window>();
        window->makeKeyAndVisible();
        master = std::make_shared<Screen>("master");
        window->addSubview(master->view());
    }
    void TearDown() override {
        journal = nullptr;
        Application::shared().resetForTesting();
    }
    std::vector<std::string> log;
    std::shared_ptr<Window> window;
    std::shared_ptr<Screen> master;
};

} // namespace

TEST_F(Controllers, ViewLoadsOnceOnFirstUse) {
    auto s = std::make_shared<Screen>("s");
    EXPECT_FALSE(s->isViewLoaded());
    View* v = s->view().get();
    EXPECT_EQ(s->view().get(), v);
    EXPECT_EQ(v->viewController(), s.get());
    EXPECT_EQ(std::count(log.begin(), log.end(), "s didLoad"), 1);
}

TEST_F(Controllers, AnimatedPresentationSlidesUpThenAppears) {
    {
        auto picker = std::make_shared<Screen>("picker");
        master->presentModalViewController(picker, true);
    } // the presenter releases it at once; the presentation keeps it
    ASSERT_NE(master->modalViewController(), nullptr);
    View* pickerView = master->modalViewController()->view().get();
    EXPECT_EQ(master->modalViewController()->parentViewController(), master.get());
    EXPECT_EQ(pickerView->superview(), window.get());
    // Below the status bar, the rest of the window.
    EXPECT_EQ(pickerView->frame(), Rect(0, 20, 320, 460));
    EXPECT_EQ(log, (std::vector<std::string>{"master didLoad", "picker didLoad",
                                             "picker willAppear", "master willDisappear"}));
    RunLoop::main().advanceBy(ViewController::kModalTransitionDuration / 2);
    EXPECT_GT(pickerView->presentation().center.y, pickerView->center().y);
    log.clear();
    RunLoop::main().settle();
    EXPECT_EQ(log, (std::vector<std::string>{"picker didAppear", "master didDisappear"}));
    EXPECT_EQ(window->frontmostViewController(), master->modalViewController());
}

TEST_F(Controllers, DismissalAskedOfThePresentedScreenReleasesIt) {
    auto picker = std::make_shared<Screen>("picker");
    master->presentModalViewController(picker, false);
    std::weak_ptr<Screen> weak = picker;
    picker.reset();
    log.clear();
    weak.lock()->dismissModalViewControllerAnimated(true);
    // Cleared as the dismissal starts.
    EXPECT_EQ(master->modalViewController(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"picker willDisappear", "master willAppear"}));
    RunLoop::main().settle();
    EXPECT_EQ(log, (std::vector<std::string>{"picker willDisappear", "master willAppear",
                                             "picker didDisappear", "master didAppear",
                                             "picker released"}));
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(window->subviews().size(), 1u);
}

TEST_F(Controllers, DismissingTheLowerScreenTakesTheUpperOneToo) {
    auto settings = std::make_shared<Screen>("settings");
    auto offset = std::make_shared<Screen>("offset");
    master->presentModalViewController(settings, false);
    settings->presentModalViewController(offset, false);
    EXPECT_EQ(window->frontmostViewController(), offset.get());
    master->dismissModalViewControllerAnimated(false);
    EXPECT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(settings->modalViewController(), nullptr);
    EXPECT_EQ(window->frontmostViewController(), master.get());
}

TEST_F(Controllers, PresentingTwiceKeepsTheFirstScreen) {
    auto a = std::make_shared<Screen>("a");
    auto b = std::make_shared<Screen>("b");
    master->presentModalViewController(a, false);
    master->presentModalViewController(b, false);
    EXPECT_EQ(master->modalViewController(), a.get());
}

TEST_F(Controllers, TheInterfaceTurnsOnlyWhenTheFrontmostControllerAllows) {
    window->setDeviceOrientation(3);
    EXPECT_EQ(window->interfaceOrientation(), 1);
    EXPECT_EQ(window->size(), (Size{320, 480}));
    master->allowLandscape = true;
    log.clear();
    window->setDeviceOrientation(1);
    window->setDeviceOrientation(3);
    EXPECT_EQ(window->interfaceOrientation(), 3);
    EXPECT_EQ(window->size(), (Size{480, 320}));
    EXPECT_EQ(window->statusBar().frame(), Rect(0, 0, 480, 20));
    EXPECT_EQ(log, (std::vector<std::string>{"master willRotate 3 3"}));
    RunLoop::main().settle();
    EXPECT_EQ(log.back(), "master didRotate from 1");
}

TEST_F(Controllers, APresentedScreenDecidesAboutRotation) {
    master->allowLandscape = true;
    auto picker = std::make_shared<Screen>("picker"); // portrait only
    master->presentModalViewController(picker, false);
    window->setDeviceOrientation(3);
    EXPECT_EQ(window->interfaceOrientation(), 1);
    picker->allowLandscape = true;
    log.clear();
    window->setDeviceOrientation(1);
    window->setDeviceOrientation(3);
    // Both the presenter and the presented screen hear of the turn.
    EXPECT_EQ(log, (std::vector<std::string>{"master willRotate 3 3", "picker willRotate 3 3"}));
    // The presented view follows the window's new size.
    EXPECT_EQ(picker->view()->frame(), Rect(0, 20, 480, 300));
}

TEST_F(Controllers, MemoryWarningReachesTheDelegateThenEveryController) {
    struct Delegate : ApplicationDelegate {
        void applicationDidReceiveMemoryWarning() override { note("delegate memoryWarning"); }
    } delegate;
    Application::shared().setDelegate(&delegate);
    auto other = std::make_shared<Screen>("other");
    Application::shared().receiveMemoryWarning();
    EXPECT_EQ(log, (std::vector<std::string>{"master didLoad", "delegate memoryWarning",
                                             "master memoryWarning", "other memoryWarning"}));
    Application::shared().setDelegate(nullptr);
}

// After the controllers, the warning lets go of the pictures only the
// picture cache still holds: the next use reads the file again.
TEST_F(Controllers, MemoryWarningLetsGoOfPicturesNobodyHolds) {
    const auto dir = std::filesystem::path(ZORBEL_BINARY_DIR) / "test-tmp" / "ui-memory-pictures";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto write = [&](int width) {
        auto picture =
            Image::create(width, 1, std::vector<std::uint8_t>(std::size_t(width) * 4, 255));
        ASSERT_TRUE(picture);
        ASSERT_TRUE(writeFileAtomically(dir / "zzuimemory.png", *(*picture)->pngData()));
    };
    write(2);
    ResourceBundle::setOverrideDirectory(dir);
    ASSERT_TRUE(Image::named("zzuimemory"));
    write(7);
    EXPECT_EQ(Image::named("zzuimemory")->width(), 2);
    Application::shared().receiveMemoryWarning();
    auto again = Image::named("zzuimemory");
    ResourceBundle::setOverrideDirectory({});
    ASSERT_TRUE(again);
    EXPECT_EQ(again->width(), 7);
}

TEST_F(Controllers, TerminationHappensOnce) {
    struct Delegate : ApplicationDelegate {
        int launched = 0, terminated = 0;
        void applicationDidFinishLaunching() override { ++launched; }
        void applicationWillTerminate() override { ++terminated; }
    } delegate;
    Application::shared().setDelegate(&delegate);
    Application::shared().finishLaunching();
    Application::shared().finishLaunching();
    EXPECT_TRUE(Application::shared().terminate());
    EXPECT_FALSE(Application::shared().terminate());
    EXPECT_EQ(delegate.launched, 1);
    EXPECT_EQ(delegate.terminated, 1);
    Application::shared().setDelegate(nullptr);
}

TEST_F(Controllers, StatusBarHidesAndShowsWithASlide) {
    Application::shared().setStatusBarHidden(true, false);
    EXPECT_EQ(window->statusBar().frame().minY(), -20);
    Application::shared().setStatusBarHidden(false, true);
    EXPECT_EQ(window->statusBar().frame().minY(), 0); // the model at once
    EXPECT_EQ(window->statusBar().presentation().center.y, -10);
    RunLoop::main().settle();
    EXPECT_EQ(window->statusBar().presentation().center.y, 10);
    Application::shared().setStatusBarStyle(2);
    EXPECT_EQ(window->statusBar().style(), StatusBarStyle::BlackTranslucent);
}
