#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

// Writes down the callbacks; a run of did-scroll calls counts once.
struct Recorder : ScrollViewDelegate {
    std::vector<std::string> calls;
    int scrolls = 0;
    void note(const std::string& call) {
        if (call == "scroll" && !calls.empty() && calls.back() == "scroll")
            return;
        calls.push_back(call);
    }
    void scrollViewDidScroll(ScrollView&) override {
        ++scrolls;
        note("scroll");
    }
    void scrollViewWillBeginDragging(ScrollView&) override { note("beginDrag"); }
    void scrollViewDidEndDragging(ScrollView&, bool willDecelerate) override {
        note(willDecelerate ? "endDrag(decelerate)" : "endDrag");
    }
    void scrollViewWillBeginDecelerating(ScrollView&) override { note("beginDecelerate"); }
    void scrollViewDidEndDecelerating(ScrollView&) override { note("endDecelerate"); }
    void scrollViewDidEndScrollingAnimation(ScrollView&) override { note("endAnimation"); }
};

using Calls = std::vector<std::string>;

struct ScrollFixture : ::testing::Test {
    std::shared_ptr<Window> window;
    std::shared_ptr<ScrollView> scroll;
    std::shared_ptr<Button> button;
    Recorder recorder;
    std::vector<std::string> buttonEvents;

    void SetUp() override {
        RunLoop::main().reset(ClockMode::Virtual);
        Application::shared().resetForTesting();
        window = std::make_shared<Window>();
        window->makeKeyAndVisible();
        // 320 x 400 points of a 320 x 1000 content, 20 points down the window.
        scroll = std::make_shared<ScrollView>(Rect(0, 20, 320, 400));
        scroll->setContentSize({320, 1000});
        scroll->setDelegate(&recorder);
        window->addSubview(scroll);
        button = std::make_shared<Button>(ButtonType::RoundedRect);
        button->setFrame(Rect(100, 100, 120, 40)); // window (100, 120)
        button->setTitle("Go");
        auto note = [this](const char* what, ControlEvents events) {
            button->addTarget(
                nullptr, [this, what](ActionSender*) { buttonEvents.push_back(what); }, events);
        };
        note("down", ControlEventTouchDown);
        note("upInside", ControlEventTouchUpInside);
        note("cancel", ControlEventTouchCancel);
        scroll->addSubview(button);
    }
    void TearDown() override {
        RunLoop::main().settle();
        scroll->setDelegate(nullptr);
        window.reset();
        Application::shared().resetForTesting();
    }
    // A finger from `a` to `b` in `steps` moves, `dt` seconds apart.
    void drag(Point a, Point b, int steps = 10, double dt = 0, bool lift = true) {
        window->touchDown(1, a);
        for (int k = 1; k <= steps; ++k) {
            if (dt > 0)
                RunLoop::main().advanceBy(dt);
            const float f = float(k) / float(steps);
            window->touchMove(1, {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f});
        }
        if (lift)
            window->touchUp(1, b);
    }
    float offsetY() const { return scroll->contentOffset().y; }
};

} // namespace

TEST_F(ScrollFixture, DragMovesTheContentWithTheFinger) {
    drag({30, 300}, {30, 200});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 100}));
    // The content point under the finger stays under it.
    EXPECT_EQ(button->convertPointToView({0, 0}, nullptr), (Point{100, 20}));
    EXPECT_FALSE(scroll->isDragging());
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(recorder.calls, (Calls{"beginDrag", "scroll", "endDrag"}));
}

// Below the threshold the finger is not a drag; along an axis that cannot
// scroll it never is.
TEST_F(ScrollFixture, SmallOrSidewaysMovesDoNotScroll) {
    drag({30, 300}, {30, 291});
    EXPECT_EQ(offsetY(), 0);
    drag({30, 300}, {200, 300});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));
    EXPECT_TRUE(recorder.calls.empty());
}

// 100 points in 0.1 s is 1000 points a second; coasting at 0.998 per
// millisecond adds v / (1000 ln(1 / 0.998)) = 499.5 points, less the tail
// below the stopping speed.
TEST_F(ScrollFixture, FlingDeceleratesAndStopsOnAWholePoint) {
    scroll->setContentSize({320, 2000});
    drag({30, 300}, {30, 200}, 10, 0.01);
    EXPECT_TRUE(scroll->isDecelerating());
    EXPECT_EQ(offsetY(), 100);
    RunLoop::main().advanceBy(0.5);
    const float halfway = offsetY();
    EXPECT_GT(halfway, 300);
    ASSERT_TRUE(RunLoop::main().settle());
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_GT(offsetY(), 590);
    EXPECT_LT(offsetY(), 600);
    EXPECT_EQ(offsetY(), std::round(offsetY()));
    EXPECT_EQ(recorder.calls, (Calls{"beginDrag", "scroll", "endDrag(decelerate)",
                                     "beginDecelerate", "scroll", "endDecelerate"}));
}

// A finger that lifts after resting gives no fling.
TEST_F(ScrollFixture, ReleaseAfterRestingDoesNotCoast) {
    drag({30, 300}, {30, 200}, 10, 0.01, false);
    RunLoop::main().advanceBy(0.3);
    window->touchUp(1, {30, 200});
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(recorder.calls.back(), "endDrag");
}

TEST_F(ScrollFixture, FlingPastTheEndBouncesBackInside) {
    scroll->setContentOffset({0, 550});
    recorder.calls.clear();
    drag({30, 300}, {30, 100}, 10, 0.01);
    ASSERT_TRUE(RunLoop::main().settle());
    EXPECT_EQ(offsetY(), 600);
    EXPECT_EQ(recorder.calls.back(), "endDecelerate");
}

// Past the top the content follows with resistance: 100 points of finger
// show as (1 - 1 / (100 * 0.55 / 400 + 1)) * 400 = 48.35 points.
TEST_F(ScrollFixture, PullPastTheTopStretchesAndSpringsBack) {
    drag({30, 100}, {30, 200}, 10, 0, false);
    EXPECT_NEAR(offsetY(), -48.35f, 0.01f);
    window->touchUp(1, {30, 200});
    EXPECT_EQ(recorder.calls.back(), "beginDecelerate");
    RunLoop::main().advanceBy(0.1);
    EXPECT_LT(offsetY(), 0);
    EXPECT_GT(offsetY(), -48.35f);
    ASSERT_TRUE(RunLoop::main().settle());
    EXPECT_EQ(offsetY(), 0);
    EXPECT_EQ(recorder.calls.back(), "endDecelerate");
}

TEST_F(ScrollFixture, WithoutBounceTheContentStopsAtTheEdges) {
    scroll->setBounces(false);
    drag({30, 100}, {30, 200});
    EXPECT_EQ(offsetY(), 0);
    scroll->setContentOffset({0, 590});
    drag({30, 300}, {30, 100}, 10, 0.01);
    ASSERT_TRUE(RunLoop::main().settle());
    EXPECT_EQ(offsetY(), 600);
}

// A drag that starts twice as far along one axis as along the other stays on it.
TEST_F(ScrollFixture, DirectionalLockKeepsAMostlyVerticalDragVertical) {
    scroll->setContentSize({1000, 1000});
    for (bool locked : {true, false}) {
        scroll->setDirectionalLockEnabled(locked);
        scroll->setContentOffset({200, 200});
        drag({100, 300}, {110, 200});
        EXPECT_EQ(scroll->contentOffset(), locked ? (Point{200, 300}) : (Point{190, 300}));
    }
    // A diagonal drag stays free.
    scroll->setDirectionalLockEnabled(true);
    scroll->setContentOffset({200, 200});
    drag({100, 100}, {160, 160});
    EXPECT_EQ(scroll->contentOffset(), (Point{140, 140}));
}

TEST_F(ScrollFixture, ScrollRectToVisibleAnimatesTheLeastMove) {
    scroll->scrollRectToVisible(Rect(0, 900, 10, 10), true);
    EXPECT_EQ(offsetY(), 0);
    RunLoop::main().advanceBy(ScrollView::kScrollAnimationDuration / 2);
    EXPECT_GT(offsetY(), 0);
    EXPECT_LT(offsetY(), 510);
    ASSERT_TRUE(RunLoop::main().settle());
    EXPECT_EQ(offsetY(), 910 - 400);
    EXPECT_EQ(recorder.calls, (Calls{"scroll", "endAnimation"}));
    // Already shown: nothing moves and nothing is reported.
    recorder.calls.clear();
    scroll->scrollRectToVisible(Rect(0, 600, 10, 10), true);
    scroll->scrollRectToVisible(Rect(0, 0, 10, 10), false);
    EXPECT_EQ(offsetY(), 0);
    EXPECT_EQ(recorder.calls, (Calls{"scroll"}));
}

// A quick tap reaches the button whole; the button hears nothing before it
// is sure the finger is not a drag.
TEST_F(ScrollFixture, TapOnContentButtonReachesItAfterTheDelay) {
    EXPECT_EQ(window->hitTest({160, 140}, nullptr), scroll.get());
    window->touchDown(1, {160, 140});
    EXPECT_FALSE(button->isHighlighted());
    window->touchUp(1, {160, 140});
    EXPECT_EQ(buttonEvents, (std::vector<std::string>{"down", "upInside"}));

    buttonEvents.clear();
    window->touchDown(1, {160, 140});
    RunLoop::main().advanceBy(ScrollView::kContentTouchDelay + 0.01);
    EXPECT_TRUE(button->isHighlighted());
    window->touchUp(1, {160, 140});
    EXPECT_EQ(buttonEvents, (std::vector<std::string>{"down", "upInside"}));
}

TEST_F(ScrollFixture, DragStartingOnAButtonScrollsAndCancelsTheButton) {
    window->touchDown(1, {160, 140});
    RunLoop::main().advanceBy(0.2);
    EXPECT_TRUE(button->isHighlighted());
    window->touchMove(1, {160, 120});
    window->touchMove(1, {160, 100});
    window->touchUp(1, {160, 100});
    EXPECT_EQ(offsetY(), 40);
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(buttonEvents, (std::vector<std::string>{"down", "cancel"}));
    // A quick drag over the button never reaches it.
    buttonEvents.clear();
    scroll->setContentOffset({0, 0});
    drag({160, 140}, {160, 60});
    EXPECT_EQ(offsetY(), 80);
    EXPECT_TRUE(buttonEvents.empty());
}

TEST_F(ScrollFixture, ContentKeepsItsTouchWhenTouchesCannotBeCancelled) {
    scroll->setCanCancelContentTouches(false);
    window->touchDown(1, {160, 140});
    RunLoop::main().advanceBy(0.2);
    window->touchMove(1, {160, 110});
    window->touchUp(1, {160, 110});
    EXPECT_EQ(offsetY(), 0);
    EXPECT_EQ(buttonEvents, (std::vector<std::string>{"down", "upInside"}));
}

// Touching coasting content stops it; that touch presses nothing.
TEST_F(ScrollFixture, TouchDuringDecelerationStopsItWithoutPressing) {
    button->setFrame(Rect(100, 400, 120, 40));
    drag({30, 400}, {30, 300}, 10, 0.01);
    RunLoop::main().advanceBy(0.1);
    ASSERT_TRUE(scroll->isDecelerating());
    const float stoppedAt = offsetY();
    const Point onButton = button->convertPointToView({60, 20}, nullptr);
    window->touchDown(1, onButton);
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(recorder.calls.back(), "endDecelerate");
    window->touchUp(1, onButton);
    RunLoop::main().advanceBy(1);
    EXPECT_NEAR(offsetY(), stoppedAt, 0.5f); // held on the nearest whole point
    EXPECT_TRUE(buttonEvents.empty());
}

// Content that fits (or scrolling turned off) lets touches go straight to it.
TEST_F(ScrollFixture, ContentThatCannotScrollTakesItsTouchesDirectly) {
    scroll->setContentSize({320, 276});
    EXPECT_EQ(window->hitTest({160, 140}, nullptr), button.get());
    scroll->setContentSize({320, 1000});
    scroll->setScrollEnabled(false);
    EXPECT_EQ(window->hitTest({160, 140}, nullptr), button.get());
    drag({30, 300}, {30, 100});
    EXPECT_EQ(offsetY(), 0);
    scroll->setScrollEnabled(true);
    scroll->setContentSize({320, 276});
    scroll->setAlwaysBounceVertical(true);
    EXPECT_EQ(window->hitTest({160, 140}, nullptr), scroll.get());
    EXPECT_EQ(scroll->contentHitTest({160, 120}, nullptr), button.get());
}

namespace {
struct ScrollOwner : InterfaceOwner, ScrollViewDelegate {};
} // namespace

TEST(ScrollViewInterface, LoadsItsSettingsAndTheOwnerAsDelegate) {
    ScrollOwner owner;
    auto loaded = InterfaceLoader::loadString(
        R"({"class": "ScrollView", "frame": [0, 0, 320, 276], "contentSize": [320, 1860],
            "bounces": false, "directionalLockEnabled": true, "canCancelContentTouches": true,
            "delaysContentTouches": false, "showsScrollIndicators": false,
            "delegate": "owner", "contentOffset": [0, 30],
            "subviews": [{"class": "View", "tag": 200, "frame": [0, 0, 320, 1860]}]})",
        "test", &owner);
    ASSERT_TRUE(loaded) << loaded.error();
    auto* s = dynamic_cast<ScrollView*>(loaded.value().get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->contentSize(), (Size{320, 1860}));
    EXPECT_EQ(s->contentOffset(), (Point{0, 30}));
    EXPECT_EQ(s->bounds().size, (Size{320, 276}));
    EXPECT_FALSE(s->bounces());
    EXPECT_TRUE(s->isDirectionalLockEnabled());
    EXPECT_FALSE(s->delaysContentTouches());
    EXPECT_FALSE(s->showsVerticalScrollIndicator());
    EXPECT_EQ(s->delegate(), &owner);
    EXPECT_NE(s->viewWithTag(200), nullptr);

    InterfaceOwner plain;
    auto bad = InterfaceLoader::loadString(R"({"class": "ScrollView", "delegate": "owner"})",
                                           "test", &plain);
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error().find("not a scroll view delegate"), std::string::npos);
}

// A finger that vanished with its window (no end reported) is let go at the
// next touch.
TEST_F(ScrollFixture, AFingerLostWithItsWindowDoesNotBlockTheNext) {
    window->touchDown(1, {30, 300});
    window->touchMove(1, {30, 250});
    ASSERT_TRUE(scroll->isDragging());
    scroll->removeFromSuperview();
    window = std::make_shared<Window>();
    window->makeKeyAndVisible();
    window->addSubview(scroll);
    drag({30, 300}, {30, 200});
    EXPECT_EQ(offsetY(), 150);
    EXPECT_EQ(recorder.calls,
              (Calls{"beginDrag", "scroll", "endDrag", "beginDrag", "scroll", "endDrag"}));
}
