#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

// Writes down every phase it gets: "began f1 (10,20) tap1 all1".
class RecordingView : public View {
public:
    using View::View;
    std::vector<std::string> log;
    View* handOnTo = nullptr;

    void record(const char* phase, const TouchSet& touches, Event& event) {
        for (const auto& t : touches) {
            const Point p = t->locationInView(this);
            log.push_back(std::string(phase) + " f" + std::to_string(t->finger()) + " (" +
                          std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) + ") tap" +
                          std::to_string(t->tapCount()) + " all" +
                          std::to_string(event.allTouches().count()) + " mine" +
                          std::to_string(event.touchesForView(this).count()));
        }
    }
    void touchesBegan(const TouchSet& t, Event& e) override {
        record("began", t, e);
        if (handOnTo)
            handOnTo->touchesBegan(t, e);
    }
    void touchesMoved(const TouchSet& t, Event& e) override { record("moved", t, e); }
    void touchesEnded(const TouchSet& t, Event& e) override { record("ended", t, e); }
    void touchesCancelled(const TouchSet& t, Event& e) override { record("cancelled", t, e); }
};

class TouchDelivery : public ::testing::Test {
protected:
    void SetUp() override {
        Application::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Virtual);
        Animator::shared().reset();
        window = std::make_shared<Window>();
        window->makeKeyAndVisible();
        Application::shared().setStatusBarHidden(true);
        left = std::make_shared<RecordingView>(Rect(0, 0, 160, 480));
        right = std::make_shared<RecordingView>(Rect(160, 0, 160, 480));
        window->addSubview(left);
        window->addSubview(right);
    }
    void TearDown() override { Application::shared().resetForTesting(); }

    std::shared_ptr<Window> window;
    std::shared_ptr<RecordingView> left, right;
};

} // namespace

TEST_F(TouchDelivery, ATouchStaysWithTheViewItBeganIn) {
    window->touchDown(1, Point{100, 100});
    window->touchMove(1, Point{200, 100}); // over the right view now
    window->touchUp(1, Point{250, 110});
    ASSERT_EQ(left->log.size(), 3u);
    EXPECT_EQ(left->log[0], "began f1 (100,100) tap1 all1 mine1");
    EXPECT_EQ(left->log[1], "moved f1 (200,100) tap1 all1 mine1");
    EXPECT_EQ(left->log[2], "ended f1 (250,110) tap1 all1 mine1");
    EXPECT_TRUE(right->log.empty());
}

TEST_F(TouchDelivery, PreviousLocationIsTheLastEventsPoint) {
    struct Probe : View {
        using View::View;
        Point previous, current;
        void touchesMoved(const TouchSet& t, Event&) override {
            previous = t.anyObject()->previousLocationInView(this);
            current = t.anyObject()->locationInView(this);
        }
    };
    auto probe = std::make_shared<Probe>(Rect(0, 0, 320, 480));
    window->addSubview(probe);
    window->touchDown(1, Point{10, 10});
    window->touchMove(1, Point{20, 30});
    window->touchMove(1, Point{25, 35});
    EXPECT_EQ(probe->previous, (Point{20, 30}));
    EXPECT_EQ(probe->current, (Point{25, 35}));
}

TEST_F(TouchDelivery, TapCountGrowsWithinTheIntervalAndDistance) {
    auto tapAt = [&](float x, float y) {
        window->touchDown(1, Point{x, y});
        window->touchUp(1, Point{x, y});
    };
    tapAt(50, 50);
    RunLoop::main().advanceBy(0.2);
    tapAt(55, 55); // 7 points away, 0.2 s later: a double tap
    RunLoop::main().advanceBy(0.35);
    tapAt(50, 58); // exactly 0.35 s later and 5.8 points away: a triple tap
    RunLoop::main().advanceBy(0.36);
    tapAt(50, 58); // too late: starts again
    tapAt(70, 58); // too far: starts again
    std::vector<std::string> began;
    for (const auto& l : left->log)
        if (l.rfind("began", 0) == 0)
            began.push_back(l.substr(l.find("tap"), 4));
    EXPECT_EQ(began, (std::vector<std::string>{"tap1", "tap2", "tap3", "tap1", "tap1"}));
}

TEST_F(TouchDelivery, ADraggedTouchIsNoTapForTheNext) {
    window->touchDown(1, Point{50, 50});
    window->touchMove(1, Point{80, 50});
    window->touchUp(1, Point{80, 50});
    window->touchDown(1, Point{80, 50});
    EXPECT_NE(left->log.back().find("tap1"), std::string::npos);
}

TEST_F(TouchDelivery, AViewWithoutMultipleTouchGetsOnlyItsFirstFinger) {
    window->touchDown(1, Point{10, 10});
    window->touchDown(2, Point{20, 20});
    window->touchMove(2, Point{30, 30});
    window->touchUp(2, Point{30, 30});
    window->touchUp(1, Point{10, 10});
    ASSERT_EQ(left->log.size(), 2u);
    EXPECT_EQ(left->log[0], "began f1 (10,10) tap1 all1 mine1");
    EXPECT_EQ(left->log[1], "ended f1 (10,10) tap1 all1 mine1");
}

TEST_F(TouchDelivery, FingersDownTogetherFormOneGesture) {
    left->setMultipleTouchEnabled(true);
    window->touchDown(1, Point{10, 10});
    window->touchDown(2, Point{20, 20});
    window->touchDown(3, Point{200, 20}); // in the right view
    ASSERT_EQ(left->log.size(), 2u);
    EXPECT_EQ(left->log[1], "began f2 (20,20) tap1 all2 mine2");
    ASSERT_EQ(right->log.size(), 1u);
    EXPECT_EQ(right->log[0], "began f3 (40,20) tap1 all3 mine1");
}

TEST_F(TouchDelivery, AnExclusiveTouchKeepsOtherViewsOut) {
    left->setExclusiveTouch(true);
    window->touchDown(1, Point{10, 10});
    window->touchDown(2, Point{200, 10});
    EXPECT_TRUE(right->log.empty());
}

TEST_F(TouchDelivery, AViewCanHandAPhaseOnToAnother) {
    left->handOnTo = right.get();
    window->touchDown(1, Point{10, 10});
    ASSERT_EQ(right->log.size(), 1u);
    // The touch is the left view's; the right view reads it in its own space.
    EXPECT_EQ(right->log[0], "began f1 (-150,10) tap1 all1 mine0");
}

TEST_F(TouchDelivery, CancelReachesTheCancelHandler) {
    window->touchDown(1, Point{10, 10});
    window->cancelAllTouches();
    ASSERT_EQ(left->log.size(), 2u);
    EXPECT_EQ(left->log[1].substr(0, 9), "cancelled");
    EXPECT_EQ(window->activeTouchCount(), 0);
}

TEST_F(TouchDelivery, ARemovedAndReleasedViewGetsNothingMore) {
    window->touchDown(1, Point{10, 10});
    left->removeFromSuperview();
    std::weak_ptr<RecordingView> weak = left;
    left.reset();
    EXPECT_TRUE(weak.expired());
    window->touchMove(1, Point{12, 12});
    window->touchUp(1, Point{12, 12});
    EXPECT_EQ(window->activeTouchCount(), 0);
}

TEST_F(TouchDelivery, TheStatusBarTakesTouchesOnlyWhileShown) {
    window->touchDown(1, Point{10, 10});
    window->touchUp(1, Point{10, 10});
    EXPECT_EQ(left->log.size(), 2u);
    Application::shared().setStatusBarHidden(false);
    window->touchDown(1, Point{10, 10});
    window->touchUp(1, Point{10, 10});
    EXPECT_EQ(left->log.size(), 2u);
    window->touchDown(1, Point{10, 30});
    EXPECT_EQ(left->log.size(), 3u);
}

// The wheel goes to the view under the pointer, then up its superviews; over
// views that do not take it, it ends at the window instead of looping there.
TEST_F(TouchDelivery, TheWheelClimbsToAViewThatTakesItOrIsRefused) {
    struct Taker : View {
        using View::View;
        Point at;
        float dy = 0;
        bool scrollWheel(Point p, float, float wheelDy) override {
            at = p;
            dy = wheelDy;
            return true;
        }
    };
    EXPECT_FALSE(window->scrollWheel(Point{40, 40}, 0, 1));
    auto taker = std::make_shared<Taker>(Rect(0, 100, 160, 100));
    left->addSubview(taker);
    auto inner = std::make_shared<RecordingView>(Rect(20, 20, 50, 50));
    taker->addSubview(inner);
    EXPECT_TRUE(window->scrollWheel(Point{30, 130}, 0, -2));
    EXPECT_EQ(taker->at, (Point{30, 30}));
    EXPECT_EQ(taker->dy, -2);
    EXPECT_FALSE(window->scrollWheel(Point{200, 130}, 0, 1));
}

// The hovering pointer is offered as the wheel is; the view that took it hears
// that it left when another view takes it, none does, or the window loses it.
TEST_F(TouchDelivery, TheHoveringPointerTellsItsViewWhenItLeaves) {
    struct Hover : View {
        using View::View;
        std::vector<std::string> log;
        bool pointerHovered(Point p) override {
            log.push_back("at " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
            return true;
        }
        void pointerLeft() override { log.push_back("left"); }
    };
    auto a = std::make_shared<Hover>(Rect(0, 0, 100, 100));
    auto b = std::make_shared<Hover>(Rect(0, 200, 100, 100));
    left->addSubview(a);
    left->addSubview(b);
    window->pointerMoved(Point{10, 20});
    window->pointerMoved(Point{30, 40});
    window->pointerMoved(Point{30, 240}); // onto b
    window->pointerMoved(Point{30, 150}); // onto left, which does not take it
    window->pointerMoved(Point{50, 250});
    window->pointerLeftWindow();
    window->pointerLeftWindow();
    EXPECT_EQ(a->log, (std::vector<std::string>{"at 10,20", "at 30,40", "left"}));
    EXPECT_EQ(b->log, (std::vector<std::string>{"at 30,40", "left", "at 50,50", "left"}));
}

namespace {

struct ControlFixture : TouchDelivery {
    void SetUp() override {
        TouchDelivery::SetUp();
        control = std::make_shared<Control>(Rect(100, 100, 50, 50));
        window->addSubview(control);
        control->addTarget(
            this, [this](ActionSender*) { events.push_back("down"); }, ControlEventTouchDown,
            "down:");
        control->addTarget(
            this, [this](ActionSender*) { events.push_back("upInside"); },
            ControlEventTouchUpInside, "save:");
        control->addTarget(
            this, [this](ActionSender*) { events.push_back("upOutside"); },
            ControlEventTouchUpOutside);
        control->addTarget(
            this, [this](ActionSender*) { events.push_back("exit"); }, ControlEventTouchDragExit);
    }
    std::shared_ptr<Control> control;
    std::vector<std::string> events;
};

} // namespace

TEST_F(ControlFixture, TouchUpInsideAfterATap) {
    window->touchDown(1, Point{120, 120});
    EXPECT_TRUE(control->isHighlighted());
    window->touchUp(1, Point{121, 121});
    EXPECT_FALSE(control->isHighlighted());
    EXPECT_EQ(events, (std::vector<std::string>{"down", "upInside"}));
}

TEST_F(ControlFixture, LeavingFarOutsideEndsOutside) {
    window->touchDown(1, Point{120, 120});
    window->touchMove(1, Point{190, 120}); // within the 70-point slop: still inside
    EXPECT_TRUE(control->isTouchInside());
    window->touchMove(1, Point{300, 120});
    window->touchUp(1, Point{300, 120});
    EXPECT_EQ(events, (std::vector<std::string>{"down", "exit", "upOutside"}));
}

TEST_F(ControlFixture, ADisabledControlTakesNoTouches) {
    control->setEnabled(false);
    window->touchDown(1, Point{120, 120});
    window->touchUp(1, Point{120, 120});
    EXPECT_TRUE(events.empty());
}

TEST_F(ControlFixture, RemovingATargetStopsItsActions) {
    control->removeTarget(this, ControlEventTouchDown);
    window->touchDown(1, Point{120, 120});
    window->touchUp(1, Point{120, 120});
    EXPECT_EQ(events, (std::vector<std::string>{"upInside"}));
    EXPECT_EQ(control->actionNames(ControlEventTouchUpInside), (std::vector<std::string>{"save:"}));
}

TEST_F(ControlFixture, AnswersToItsActionNameWithOrWithoutTheColon) {
    EXPECT_TRUE(control->answersToPressName("save"));
    EXPECT_TRUE(control->answersToPressName("save:"));
    EXPECT_FALSE(control->answersToPressName("sav"));
    control->setAccessibilityLabel("Keep");
    EXPECT_TRUE(control->answersToPressName("Keep"));
}

TEST_F(ControlFixture, TheFirstResponderGetsTextAndKeys) {
    struct Field : View {
        std::string text;
        int returns = 0;
        bool canBecomeFirstResponder() const override { return true; }
        void insertText(const std::string& t) override { text += t; }
        void deleteBackward() override {
            if (!text.empty())
                text.pop_back();
        }
        void keyReturn() override { ++returns; }
    };
    auto field = std::make_shared<Field>();
    window->addSubview(field);
    window->insertText("lost");
    EXPECT_TRUE(field->becomeFirstResponder());
    window->insertText("Hello");
    window->key(Key::Backspace);
    window->key(Key::Return);
    EXPECT_EQ(field->text, "Hell");
    EXPECT_EQ(field->returns, 1);
    field->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
}
