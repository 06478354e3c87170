#pragma once

#include <memory>
#include <vector>

#include "platform/ui/ScrollIndicators.h"
#include "platform/ui/ScrollPhysics.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

namespace platform {

class ScrollView;
class Timer;

// What a scroll view tells its delegate. Every default does nothing.
//
// Order for a drag that is flung: willBeginDragging, didScroll (each move),
// didEndDragging(willDecelerate = true), willBeginDecelerating, didScroll
// (each frame), didEndDecelerating. A drag released at rest ends with
// didEndDragging(false). setContentOffset / scrollRectToVisible with
// animation end with didEndScrollingAnimation. A finger that stops a
// deceleration or an animation ends it at once, with its end callback.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(ScrollView& /*scrollView*/) {}
    virtual void scrollViewWillBeginDragging(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndDragging(ScrollView& /*scrollView*/, bool /*willDecelerate*/) {}
    virtual void scrollViewWillBeginDecelerating(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndDecelerating(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndScrollingAnimation(ScrollView& /*scrollView*/) {}
    // Zooming: the content view to scale when a zoom begins (null refuses the
    // zoom), and the end of one. The scroll view itself does not zoom yet.
    virtual View* viewForZoomingInScrollView(ScrollView& /*scrollView*/) { return nullptr; }
    virtual void scrollViewDidEndZooming(ScrollView& /*scrollView*/, View* /*view*/,
                                         float /*scale*/) {}
    // Asked by scrollToTop (the status bar's tap); false leaves the view.
    virtual bool scrollViewShouldScrollToTop(ScrollView& /*scrollView*/) { return true; }
    virtual void scrollViewDidScrollToTop(ScrollView& /*scrollView*/) {}
};

// A view that shows part of a larger content and moves it under the finger.
//
// The content is the scroll view's subviews, laid out in a plane of
// `contentSize`; `contentOffset` is the point of that plane shown at the top
// left, and is the bounds' origin. At rest it lies between (0, 0) and
// maximumContentOffset().
//
// Touches: the scroll view takes every touch that lands on it or its content
// while scrolling is enabled, and hands it on to the content view under the
// finger (that view gets a touch whose view() is itself). With
// delaysContentTouches the content hears of the touch only after
// kContentTouchDelay seconds, or at once when the finger lifts sooner, so a
// quick drag never highlights a button. Once the finger has moved
// kDragThreshold points along an axis that can scroll, the drag begins: with
// canCancelContentTouches the content's touch is cancelled (a button sends
// TouchCancel, not TouchUpInside) and the content follows the finger;
// without it the content keeps the touch and nothing scrolls. With scrolling
// disabled, touches reach the content directly.
//
// An axis can scroll when the content is larger than the bounds on it, or
// when the view bounces and alwaysBounce is set for it. Directional lock
// keeps a drag that starts mostly along one axis (twice as far as along the
// other) on that axis. Past the edges a bouncing view follows the finger
// with growing resistance and springs back; otherwise it stops at the edge.
//
// Deceleration after a fling and the scrolling animations run on the main
// run loop's clock (virtual in headless runs), one frame each 1/60 second.
// Only one finger drives the view; further fingers are ignored.
class ScrollView : public View {
public:
    ScrollView();
    explicit ScrollView(const Rect& frame);
    ~ScrollView() override;
    std::string className() const override { return "ScrollView"; }

    // Not owned; clear it before the delegate goes.
    ScrollViewDelegate* delegate() const { return delegate_; }
    void setDelegate(ScrollViewDelegate* delegate) { delegate_ = delegate; }

    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size);
    Point contentOffset() const { return bounds().origin; }
    // Any offset is taken as given (also outside the resting range); with
    // animation the view moves there over kScrollAnimationDuration.
    void setContentOffset(Point offset, bool animated = false);
    // The largest resting offset: content size less bounds size, at least 0.
    Point maximumContentOffset() const;
    // Scrolls as little as needed to show `rect` (content coordinates), kept
    // within the resting range. Nothing happens when it is already shown.
    void scrollRectToVisible(const Rect& rect, bool animated);
    // Scrolls to offset y = 0 (animated) if the delegate agrees; answers whether it did.
    bool scrollToTop();

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled);
    bool bounces() const { return bounces_; }
    void setBounces(bool bounces) { bounces_ = bounces; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool v) { alwaysBounceVertical_ = v; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool v) { alwaysBounceHorizontal_ = v; }
    bool isDirectionalLockEnabled() const { return directionalLock_; }
    void setDirectionalLockEnabled(bool enabled) { directionalLock_ = enabled; }
    bool delaysContentTouches() const { return delaysContentTouches_; }
    void setDelaysContentTouches(bool delays) { delaysContentTouches_ = delays; }
    bool canCancelContentTouches() const { return canCancelContentTouches_; }
    void setCanCancelContentTouches(bool can) { canCancelContentTouches_ = can; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontalIndicator_; }
    void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontalIndicator_ = shows; }
    bool showsVerticalScrollIndicator() const { return showsVerticalIndicator_; }
    void setShowsVerticalScrollIndicator(bool shows) { showsVerticalIndicator_ = shows; }
    bool scrollsToTop() const { return scrollsToTop_; }
    void setScrollsToTop(bool v) { scrollsToTop_ = v; }

    // A finger is on the view / it has moved far enough to drag / the content
    // is coasting after a fling (or springing back).
    bool isTracking() const { return tracked_ != nullptr; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return motion_ == Motion::Decelerating; }
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;

    // The content view a touch at `p` (bounds coordinates) is handed to: the
    // frontmost hit below the scroll view, or null when the point hits only
    // the scroll view itself.
    View* contentHitTest(Point p, const Event* event);

    static constexpr float kDragThreshold = 10;
    static constexpr double kContentTouchDelay = 0.15;
    // Velocity kept per millisecond while coasting.
    static constexpr double kDecelerationRate = scroll::kDecelerationRate;
    static constexpr double kScrollAnimationDuration = 0.3;
    static constexpr double kFrameInterval = 1.0 / 60;

    void setBounds(const Rect& bounds) override;
    View* hitTest(Point p, const Event* event) override;
    void layoutSubviews() override;
    // Scrolls by kWheelStep points a notch, within the resting range.
    bool scrollWheel(Point location, float dx, float dy) override;
    static constexpr float kWheelStep = 40;
    void touchesBegan(const TouchSet& touches, Event& event) override;
    void touchesMoved(const TouchSet& touches, Event& event) override;
    void touchesEnded(const TouchSet& touches, Event& event) override;
    void touchesCancelled(const TouchSet& touches, Event& event) override;

private:
    enum class Motion { None, Decelerating, Animating };
    enum class ContentTouch { None, Pending, Delivered };
    enum class Lock { Free, Horizontal, Vertical };
    struct Sample {
        double time;
        Point point;
    };

    void construct();
    Point dragPoint(const Touch& touch) const;
    Point rubberBanded(Point raw) const;
    Point clampedOffset(Point p) const;
    bool isOutsideRestingRange(Point p) const;
    Point releaseVelocity() const;

    // Content touch forwarding.
    void deliverToContent(TouchPhase phase, Event* event);
    void deliverPendingBegan();
    void cancelContentTouch(Event* event);

    void beginDragging();
    void endDragging(bool keepVelocity);
    void startDeceleration(Point velocity);
    void startAnimation(Point target);
    // Ends the deceleration or animation where it is, with its end callback.
    void stopMotion();
    void scheduleFrame();
    void step();
    void finishMotion();
    void motionEnded(Motion ended);

    void updateIndicators();
    void showIndicators();
    void hideIndicators();

    ScrollViewDelegate* delegate_ = nullptr;
    Size contentSize_{};
    bool scrollEnabled_ = true;
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool alwaysBounceHorizontal_ = false;
    bool directionalLock_ = false;
    bool delaysContentTouches_ = true;
    bool canCancelContentTouches_ = true;
    bool showsHorizontalIndicator_ = true;
    bool showsVerticalIndicator_ = true;
    bool scrollsToTop_ = true;

    // The finger being followed (owned by the window; a key only).
    const Touch* tracked_ = nullptr;
    std::weak_ptr<Touch> trackedRef_;
    Point downPoint_{};
    bool dragging_ = false;
    Lock lock_ = Lock::Free;
    Point dragStartOffset_{};
    Point dragStartPoint_{};
    std::vector<Sample> samples_;

    // The content's copy of the tracked finger.
    ContentTouch contentState_ = ContentTouch::None;
    std::weak_ptr<View> contentTarget_;
    std::shared_ptr<Touch> contentTouch_;
    std::shared_ptr<Timer> delayTimer_;

    Motion motion_ = Motion::None;
    std::shared_ptr<Timer> frameTimer_;
    double lastStep_ = 0;
    Point velocity_{};
    Point animationFrom_{};
    Point animationTo_{};
    double animationStart_ = 0;

    ScrollIndicators indicators_{*this};
};

} // namespace platform
