#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"
#include "platform/ui/View.h"

using namespace platform;

namespace {

class VirtualClock : public ::testing::Test {
protected:
    void SetUp() override {
        RunLoop::main().reset(ClockMode::Virtual);
        Animator::shared().reset();
    }
    void TearDown() override {
        Animator::shared().reset();
        RunLoop::main().reset(ClockMode::Virtual);
    }
    RunLoop& loop = RunLoop::main();
    std::vector<std::string> fired;
};

} // namespace

TEST_F(VirtualClock, TimeMovesOnlyWhenAdvanced) {
    EXPECT_EQ(loop.now(), 0.0);
    loop.runOnce();
    EXPECT_EQ(loop.now(), 0.0);
    loop.advanceBy(1.5);
    EXPECT_DOUBLE_EQ(loop.now(), 1.5);
    // The absolute clock moves with it.
    const double before = absoluteTimeGetCurrent();
    loop.advanceBy(2);
    EXPECT_DOUBLE_EQ(absoluteTimeGetCurrent() - before, 2.0);
}

TEST_F(VirtualClock, OneShotTimersFireInDateOrderAtTheirTime) {
    // The paint timer story: a stroke ends at 0 (timer at 1.75), another
    // ends at 1.5 (timer at 3.25).
    double firstAt = -1, secondAt = -1;
    Timer::scheduledTimer(1.75, [&](Timer&) { firstAt = loop.now(); });
    loop.advanceBy(1.5);
    Timer::scheduledTimer(1.75, [&](Timer&) { secondAt = loop.now(); });
    loop.advanceBy(0.2);
    EXPECT_EQ(firstAt, -1);
    loop.advanceBy(0.1);
    EXPECT_DOUBLE_EQ(firstAt, 1.75);
    EXPECT_EQ(secondAt, -1);
    loop.advanceBy(10);
    EXPECT_DOUBLE_EQ(secondAt, 3.25);
    EXPECT_FALSE(loop.hasPendingOneShotWork());
}

TEST_F(VirtualClock, RepeatingTimerKeepsItsBeatUntilInvalidated) {
    std::vector<double> at;
    auto timer = Timer::scheduledTimer(
        0.04, [&](Timer&) { at.push_back(loop.now()); }, true);
    loop.advanceBy(0.2);
    ASSERT_EQ(at.size(), 5u);
    EXPECT_NEAR(at[4], 0.2, 1e-9);
    timer->invalidate();
    loop.advanceBy(1);
    EXPECT_EQ(at.size(), 5u);
    // Repeating timers are not pending work for settle.
    auto keep = Timer::scheduledTimer(
        0.5, [](Timer&) {}, true);
    EXPECT_FALSE(loop.hasPendingOneShotWork());
    EXPECT_TRUE(loop.settle());
}

TEST_F(VirtualClock, TimersScheduledForTheSameDateFireInScheduleOrder) {
    Timer::scheduledTimer(1, [&](Timer&) { fired.push_back("a"); });
    Timer::scheduledTimer(1, [&](Timer&) { fired.push_back("b"); });
    Timer::scheduledTimer(0.5, [&](Timer&) {
        fired.push_back("c");
        // Scheduled at 0.5 for 1.0: after a and b, which were first.
        Timer::scheduledTimer(0.5, [&](Timer&) { fired.push_back("d"); });
    });
    loop.settle();
    EXPECT_EQ(fired, (std::vector<std::string>{"c", "a", "b", "d"}));
}

TEST_F(VirtualClock, InvalidatingFromItsOwnCallbackStopsARepeatingTimer) {
    int count = 0;
    Timer::scheduledTimer(
        0.1,
        [&](Timer& t) {
            if (++count == 3)
                t.invalidate();
        },
        true);
    loop.advanceBy(1);
    EXPECT_EQ(count, 3);
}

TEST_F(VirtualClock, WorkPostedFromAnotherThreadRunsOnTheMainThread) {
    const auto mainId = std::this_thread::get_id();
    std::atomic<bool> ranOnMain{false};
    loop.performInBackground([&] {
        loop.performOnMainThread([&] { ranOnMain = std::this_thread::get_id() == mainId; });
    });
    loop.drain();
    EXPECT_TRUE(ranOnMain);
    EXPECT_EQ(loop.backgroundWorkCount(), 0);
}

TEST_F(VirtualClock, SettleWaitsForBackgroundWorkThenOneShotTimers) {
    bool timerFired = false;
    loop.performInBackground([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.performOnMainThread(
            [&] { Timer::scheduledTimer(3, [&](Timer&) { timerFired = true; }); });
    });
    EXPECT_TRUE(loop.settle());
    EXPECT_TRUE(timerFired);
    EXPECT_DOUBLE_EQ(loop.now(), 3.0);
}

TEST_F(VirtualClock, AnimationMovesTheShownValueNotTheModel) {
    auto v = std::make_shared<View>(Rect(0, 0, 100, 100));
    View::beginAnimations("fade");
    View::setAnimationDuration(0.5);
    View::setAnimationCurve(AnimationCurve::Linear);
    v->setAlpha(0);
    View::commitAnimations();
    EXPECT_EQ(v->alpha(), 0.0f); // the model at once
    EXPECT_EQ(v->presentation().alpha, 1.0f);
    loop.advanceBy(0.25);
    EXPECT_NEAR(v->presentation().alpha, 0.5f, 1e-5f);
    loop.advanceBy(0.25);
    EXPECT_EQ(v->presentation().alpha, 0.0f);
    EXPECT_FALSE(Animator::shared().hasRunningAnimations());
}

TEST_F(VirtualClock, AnimationWaitsForItsDelayAndEases) {
    auto v = std::make_shared<View>(Rect(0, 0, 10, 10));
    View::beginAnimations();
    View::setAnimationDelay(5.0);
    View::setAnimationDuration(5.0);
    View::setAnimationCurve(AnimationCurve::EaseInOut);
    v->setAlpha(0);
    View::commitAnimations();
    loop.advanceBy(4.9);
    EXPECT_EQ(v->presentation().alpha, 1.0f);
    loop.advanceBy(0.1 + 1.25); // a quarter in: smoothstep(0.25) = 0.15625
    EXPECT_NEAR(v->presentation().alpha, 1 - 0.15625f, 1e-4f);
}

TEST_F(VirtualClock, DidStopIsCalledOnceWhenTheBlockEnds) {
    auto a = std::make_shared<View>(Rect(0, 0, 10, 10));
    auto b = std::make_shared<View>(Rect(0, 0, 10, 10));
    std::vector<std::string> stops;
    View::beginAnimations("move");
    View::setAnimationDuration(0.3);
    View::setAnimationDidStop([&](const std::string& name, bool finished, void*) {
        stops.push_back(name + (finished ? " finished" : " cut"));
    });
    a->setCenter(Point{100, 100});
    b->setAlpha(0.5f);
    View::commitAnimations();
    loop.advanceBy(0.29);
    EXPECT_TRUE(stops.empty());
    loop.advanceBy(0.01);
    EXPECT_EQ(stops, (std::vector<std::string>{"move finished"}));
    EXPECT_EQ(a->presentation().center, (Point{100, 100}));
}

TEST_F(VirtualClock, SettingAValueWithoutAnimationCutsItShort) {
    auto v = std::make_shared<View>(Rect(0, 0, 10, 10));
    bool finished = true;
    int calls = 0;
    View::animate(
        0.5,
        [&] {
            v->setAlpha(1);
            v->setAlpha(0);
        },
        [&](bool f) {
            finished = f;
            ++calls;
        });
    loop.advanceBy(0.1);
    v->setAlpha(0.7f); // hide the tools at once, as the chrome does
    EXPECT_EQ(v->presentation().alpha, 0.7f);
    loop.settle();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(finished);
    EXPECT_EQ(v->presentation().alpha, 0.7f);
}

TEST_F(VirtualClock, ABlockWithoutChangesStillReports) {
    bool called = false;
    View::animate(
        0.5, [] {}, [&](bool) { called = true; });
    EXPECT_FALSE(called);
    loop.runOnce();
    EXPECT_TRUE(called);
}

TEST_F(VirtualClock, TransformAnimationTurnsThroughTheMiddle) {
    auto v = std::make_shared<View>(Rect(0, 0, 10, 10));
    View::beginAnimations();
    View::setAnimationDuration(1);
    View::setAnimationCurve(AnimationCurve::Linear);
    v->setTransform(AffineTransform::makeRotation(-1.5707964f));
    View::commitAnimations();
    loop.advanceBy(0.5);
    // Half way: an eighth turn back, not a squashed matrix.
    const AffineTransform t = v->presentation().transform;
    EXPECT_NEAR(t.a, 0.70710677f, 1e-4f);
    EXPECT_NEAR(t.b, -0.70710677f, 1e-4f);
    EXPECT_NEAR(t.c, 0.70710677f, 1e-4f);
    EXPECT_NEAR(t.d, 0.70710677f, 1e-4f);
}

TEST_F(VirtualClock, AViewDestroyedWhileAnimatingEndsItsAnimation) {
    auto v = std::make_shared<View>(Rect(0, 0, 10, 10));
    bool finished = false;
    View::animate(
        1, [&] { v->setAlpha(0); }, [&](bool f) { finished = f; });
    v.reset();
    loop.advanceBy(0.1);
    EXPECT_FALSE(Animator::shared().hasRunningAnimations());
    EXPECT_TRUE(finished);
}

// A repeating timer nobody needs beat by beat costs one firing per jump of the clock, where
// the clock stops; one that is observed again fires on every beat.
TEST_F(VirtualClock, UnobservedBeatsAreJumpedAndObservedOnesFireEachBeat) {
    bool observed = false;
    std::vector<double> beats;
    auto timer = Timer::scheduledTimer(
        1.0, [&](Timer&) { beats.push_back(loop.now()); }, true);
    timer->setObservedWhile([&] { return observed; });
    Timer::scheduledTimer(100.5, [&](Timer&) { observed = true; });
    loop.advanceBy(200);
    // One firing where the clock stopped for the one-shot timer, then beats 101 to 200.
    ASSERT_EQ(beats.size(), 101u);
    EXPECT_DOUBLE_EQ(beats[0], 100.5);
    EXPECT_DOUBLE_EQ(beats[1], 101.0);
    EXPECT_DOUBLE_EQ(beats.back(), 200.0);

    observed = false;
    beats.clear();
    loop.advanceBy(1e7);
    ASSERT_EQ(beats.size(), 1u);
    EXPECT_DOUBLE_EQ(beats[0], 200.0 + 1e7);
    timer->invalidate();
}

// What a jumped timer shows follows from the time, as if every beat had fired.
TEST_F(VirtualClock, AJumpedSpinnerShowsTheStepOfItsTime) {
    auto spinner = std::make_shared<ActivityIndicatorView>();
    spinner->startAnimating();
    loop.advanceBy(100.3);
    EXPECT_EQ(spinner->step(), int(std::floor(100.3 * 12)) % 12);
    spinner->stopAnimating();
}

namespace {
bool stopRequested = false;
bool askStop() {
    return stopRequested;
}
} // namespace

// A termination request ends a long wait at the moment it is made.
TEST_F(VirtualClock, TheInterruptCheckEndsAdvanceAndSettle) {
    stopRequested = false;
    loop.setInterruptCheck(&askStop);
    Timer::scheduledTimer(5, [](Timer&) { stopRequested = true; });
    loop.advanceBy(1e6);
    EXPECT_DOUBLE_EQ(loop.now(), 5.0);
    stopRequested = false;
    Timer::scheduledTimer(3, [](Timer&) { stopRequested = true; });
    Timer::scheduledTimer(500, [](Timer&) {});
    EXPECT_FALSE(loop.settle());
    EXPECT_DOUBLE_EQ(loop.now(), 8.0);
    loop.setInterruptCheck(nullptr);
    stopRequested = false;
}

TEST(RunLoopWake, WorkPostedFromAnotherThreadWakesTheDriverAndWaitsForItsTurn) {
    RunLoop& loop = RunLoop::main();
    loop.reset(ClockMode::Virtual);
    std::atomic<int> woken{0};
    loop.setWakeHandler([&woken] { woken.fetch_add(1); });
    bool ran = false;
    std::thread([&loop, &ran] { loop.performOnMainThread([&ran] { ran = true; }); }).join();
    EXPECT_GE(woken.load(), 1);
    EXPECT_TRUE(loop.hasPostedWork());
    EXPECT_FALSE(ran);
    loop.runOnce();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(loop.hasPostedWork());
    loop.setWakeHandler({});
}
