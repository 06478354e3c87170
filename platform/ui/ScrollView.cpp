#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/ui/Animation.h"
#include "platform/ui/Event.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/ScrollPhysics.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

// Below this release speed (points per second) a drag just stops.
constexpr float kMinimumFlingVelocity = 20;
constexpr float kMaximumVelocity = 8000;
// Finger positions older than this do not count towards the release speed.
constexpr double kVelocityWindow = 0.1;
// Integration step of the coasting physics.
constexpr double kPhysicsStep = 1.0 / 120;

} // namespace

ScrollView::ScrollView() {
    construct();
}

ScrollView::ScrollView(const Rect& frame) : View(frame) {
    construct();
}

void ScrollView::construct() {
    setClipsToBounds(true);
}

ScrollView::~ScrollView() {
    if (delayTimer_)
        delayTimer_->invalidate();
    if (frameTimer_)
        frameTimer_->invalidate();
}

// --- Geometry ---

void ScrollView::setContentSize(Size size) {
    contentSize_ = Size{std::max(0.0f, size.width), std::max(0.0f, size.height)};
    updateIndicators();
}

Point ScrollView::maximumContentOffset() const {
    return {std::max(0.0f, contentSize_.width - bounds().width()),
            std::max(0.0f, contentSize_.height - bounds().height())};
}

bool ScrollView::canScrollHorizontally() const {
    return scrollEnabled_ &&
           (contentSize_.width > bounds().width() || (bounces_ && alwaysBounceHorizontal_));
}

bool ScrollView::canScrollVertically() const {
    return scrollEnabled_ &&
           (contentSize_.height > bounds().height() || (bounces_ && alwaysBounceVertical_));
}

Point ScrollView::clampedOffset(Point p) const {
    const Point max = maximumContentOffset();
    return {std::clamp(p.x, 0.0f, max.x), std::clamp(p.y, 0.0f, max.y)};
}

bool ScrollView::isOutsideRestingRange(Point p) const {
    const Point c = clampedOffset(p);
    return std::fabs(c.x - p.x) > 0.01f || std::fabs(c.y - p.y) > 0.01f;
}

void ScrollView::setBounds(const Rect& bounds) {
    const Point before = contentOffset();
    View::setBounds(bounds);
    if (contentOffset() == before)
        return;
    updateIndicators();
    if (delegate_)
        delegate_->scrollViewDidScroll(*this);
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    auto keep = weak_from_this().lock();
    if (motion_ != Motion::None)
        stopMotion();
    if (animated && !(offset == contentOffset())) {
        startAnimation(offset);
        return;
    }
    setBounds(Rect(offset, bounds().size));
}

bool ScrollView::scrollWheel(Point, float dx, float dy) {
    if (!canScrollVertically() && !canScrollHorizontally())
        return false;
    if (isTracking())
        return true;
    // A notch away from the person shows what lies above.
    const Point offset = contentOffset();
    const Point target =
        clampedOffset({canScrollHorizontally() ? offset.x - dx * kWheelStep : offset.x,
                       canScrollVertically() ? offset.y - dy * kWheelStep : offset.y});
    if (!(target == offset))
        setContentOffset(target);
    return true;
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
    const Rect r = rect.standardized();
    if (r.isNull())
        return;
    const Rect b = bounds();
    auto axis = [](float offset, float length, float lo, float hi) {
        if (hi - lo > length || lo < offset)
            return lo;
        if (hi > offset + length)
            return hi - length;
        return offset;
    };
    const Point target = clampedOffset({axis(b.minX(), b.width(), r.minX(), r.maxX()),
                                        axis(b.minY(), b.height(), r.minY(), r.maxY())});
    if (target == contentOffset())
        return;
    setContentOffset(target, animated);
}

bool ScrollView::scrollToTop() {
    if (!scrollsToTop_ || !scrollEnabled_)
        return false;
    if (delegate_ && !delegate_->scrollViewShouldScrollToTop(*this))
        return false;
    const Point top{contentOffset().x, 0};
    if (!(top == contentOffset()))
        setContentOffset(top, true);
    if (delegate_)
        delegate_->scrollViewDidScrollToTop(*this);
    return true;
}

void ScrollView::setScrollEnabled(bool enabled) {
    if (enabled == scrollEnabled_)
        return;
    scrollEnabled_ = enabled;
    if (!enabled && dragging_)
        endDragging(false);
}

// --- Hit testing ---

View* ScrollView::contentHitTest(Point p, const Event* event) {
    View* hit = View::hitTest(p, event);
    return hit == this ? nullptr : hit;
}

View* ScrollView::hitTest(Point p, const Event* event) {
    View* hit = View::hitTest(p, event);
    if (!hit || hit == this)
        return hit;
    // Touches on the content come here first, so a drag can take them over.
    if (!canScrollHorizontally() && !canScrollVertically())
        return hit;
    return this;
}

// --- Touches ---

Point ScrollView::dragPoint(const Touch& touch) const {
    // The superview's space stays put while the content moves.
    return touch.locationInView(superview());
}

void ScrollView::touchesBegan(const TouchSet& touches, Event& event) {
    Touch* touch = touches.anyObject();
    auto keep = weak_from_this().lock();
    if (tracked_ && trackedRef_.expired()) {
        // The finger went without an end (its window closed): let it go.
        if (dragging_)
            endDragging(false);
        cancelContentTouch(nullptr);
        tracked_ = nullptr;
    }
    if (!touch || tracked_ || !scrollEnabled_)
        return;
    const bool wasMoving = motion_ != Motion::None;
    if (wasMoving)
        stopMotion();
    tracked_ = touch;
    trackedRef_.reset();
    for (const auto& t : touches)
        if (t.get() == touch)
            trackedRef_ = t;
    downPoint_ = dragPoint(*touch);
    dragging_ = false;
    lock_ = Lock::Free;
    samples_.clear();
    contentState_ = ContentTouch::None;
    contentTouch_.reset();
    contentTarget_.reset();
    // A finger that stops the content only stops it.
    if (wasMoving)
        return;
    View* target = contentHitTest(touch->locationInView(this), &event);
    if (!target)
        return;
    contentTarget_ = target->weak_from_this();
    contentTouch_ =
        std::make_shared<Touch>(touch->finger(), target, touch->window(), touch->locationInWindow(),
                                touch->timestamp(), touch->tapCount());
    if (delaysContentTouches_ && (canScrollHorizontally() || canScrollVertically())) {
        contentState_ = ContentTouch::Pending;
        delayTimer_ = Timer::scheduledTimer(kContentTouchDelay, [this](Timer&) {
            auto keepAlive = weak_from_this().lock();
            deliverPendingBegan();
        });
    } else {
        contentState_ = ContentTouch::Delivered;
        deliverToContent(TouchPhase::Began, &event);
    }
}

void ScrollView::touchesMoved(const TouchSet& touches, Event& event) {
    if (!tracked_ || !touches.contains(tracked_))
        return;
    auto keep = weak_from_this().lock();
    const Point p = dragPoint(*tracked_);
    if (!dragging_) {
        const Point d{p.x - downPoint_.x, p.y - downPoint_.y};
        const bool canX = canScrollHorizontally();
        const bool canY = canScrollVertically();
        const float along = std::hypot(canX ? d.x : 0.0f, canY ? d.y : 0.0f);
        const bool contentKeeps =
            contentState_ == ContentTouch::Delivered && !canCancelContentTouches_;
        if (along < kDragThreshold || contentKeeps) {
            if (contentState_ == ContentTouch::Delivered)
                deliverToContent(TouchPhase::Moved, &event);
            return;
        }
        cancelContentTouch(&event);
        lock_ = Lock::Free;
        if (directionalLock_ && canX && canY) {
            if (std::fabs(d.x) >= 2 * std::fabs(d.y))
                lock_ = Lock::Horizontal;
            else if (std::fabs(d.y) >= 2 * std::fabs(d.x))
                lock_ = Lock::Vertical;
        }
        beginDragging();
        if (!dragging_ || !tracked_)
            return; // the delegate stopped it
    }
    samples_.push_back({RunLoop::main().now(), p});
    Point raw{dragStartOffset_.x - (p.x - dragStartPoint_.x),
              dragStartOffset_.y - (p.y - dragStartPoint_.y)};
    if (lock_ == Lock::Vertical || !canScrollHorizontally())
        raw.x = dragStartOffset_.x;
    if (lock_ == Lock::Horizontal || !canScrollVertically())
        raw.y = dragStartOffset_.y;
    setBounds(Rect(rubberBanded(raw), bounds().size));
}

void ScrollView::touchesEnded(const TouchSet& touches, Event& event) {
    if (!tracked_ || !touches.contains(tracked_))
        return;
    auto keep = weak_from_this().lock();
    if (dragging_) {
        samples_.push_back({RunLoop::main().now(), dragPoint(*tracked_)});
        tracked_ = nullptr;
        endDragging(true);
        return;
    }
    if (contentState_ == ContentTouch::Pending) {
        // A quick tap: the content gets its touch now, whole.
        deliverPendingBegan();
    }
    if (contentState_ == ContentTouch::Delivered)
        deliverToContent(TouchPhase::Ended, &event);
    tracked_ = nullptr;
    contentState_ = ContentTouch::None;
    contentTouch_.reset();
}

void ScrollView::touchesCancelled(const TouchSet& touches, Event& event) {
    if (!tracked_ || !touches.contains(tracked_))
        return;
    auto keep = weak_from_this().lock();
    if (dragging_) {
        tracked_ = nullptr;
        endDragging(false);
        return;
    }
    cancelContentTouch(&event);
    tracked_ = nullptr;
    contentTouch_.reset();
}

void ScrollView::deliverToContent(TouchPhase phase, Event* event) {
    std::shared_ptr<View> target = contentTarget_.lock();
    std::shared_ptr<Touch> touch = contentTouch_;
    if (!target || !touch)
        return;
    if (auto finger = trackedRef_.lock(); finger && finger.get() == tracked_)
        touch->update(phase, finger->locationInWindow(), RunLoop::main().now());
    else
        touch->setPhase(phase);
    // The gesture as the content sees it: its own copy instead of ours.
    TouchSet all;
    if (event)
        for (const auto& t : event->allTouches())
            all.add(t.get() == tracked_ ? touch : t);
    all.add(touch);
    Event forwarded(std::move(all), RunLoop::main().now());
    TouchSet set;
    set.add(touch);
    switch (phase) {
    case TouchPhase::Began:
        target->touchesBegan(set, forwarded);
        break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary:
        target->touchesMoved(set, forwarded);
        break;
    case TouchPhase::Ended:
        target->touchesEnded(set, forwarded);
        break;
    case TouchPhase::Cancelled:
        target->touchesCancelled(set, forwarded);
        break;
    }
}

void ScrollView::deliverPendingBegan() {
    if (delayTimer_) {
        delayTimer_->invalidate();
        delayTimer_.reset();
    }
    if (contentState_ != ContentTouch::Pending)
        return;
    contentState_ = ContentTouch::Delivered;
    deliverToContent(TouchPhase::Began, nullptr);
}

void ScrollView::cancelContentTouch(Event* event) {
    if (delayTimer_) {
        delayTimer_->invalidate();
        delayTimer_.reset();
    }
    const ContentTouch state = contentState_;
    contentState_ = ContentTouch::None;
    if (state == ContentTouch::Delivered)
        deliverToContent(TouchPhase::Cancelled, event);
}

// --- Dragging ---

Point ScrollView::rubberBanded(Point raw) const {
    const Point max = maximumContentOffset();
    const Rect b = bounds();
    return {scroll::bandAxis(raw.x, max.x, b.width(), bounces_),
            scroll::bandAxis(raw.y, max.y, b.height(), bounces_)};
}

void ScrollView::beginDragging() {
    dragging_ = true;
    dragStartPoint_ = downPoint_;
    // A drag that catches the content past an edge goes on from there.
    const Point max = maximumContentOffset();
    const Point shown = contentOffset();
    dragStartOffset_ = {scroll::unBandAxis(shown.x, max.x, bounds().width()),
                        scroll::unBandAxis(shown.y, max.y, bounds().height())};
    samples_.clear();
    showIndicators();
    if (delegate_)
        delegate_->scrollViewWillBeginDragging(*this);
}

Point ScrollView::releaseVelocity() const {
    if (samples_.size() < 2)
        return {};
    const Sample& last = samples_.back();
    const Sample* first = nullptr;
    for (const Sample& s : samples_)
        if (last.time - s.time <= kVelocityWindow + 1e-9) {
            first = &s;
            break;
        }
    const double dt = last.time - (first ? first->time : last.time);
    if (!first || dt < 1e-6)
        return {};
    // The content moves against the finger.
    Point v{float(-(last.point.x - first->point.x) / dt),
            float(-(last.point.y - first->point.y) / dt)};
    if (lock_ == Lock::Vertical || !canScrollHorizontally())
        v.x = 0;
    if (lock_ == Lock::Horizontal || !canScrollVertically())
        v.y = 0;
    const float speed = std::hypot(v.x, v.y);
    if (speed > kMaximumVelocity)
        v = {v.x * kMaximumVelocity / speed, v.y * kMaximumVelocity / speed};
    if (speed < kMinimumFlingVelocity)
        return {};
    return v;
}

void ScrollView::endDragging(bool keepVelocity) {
    auto keep = weak_from_this().lock();
    dragging_ = false;
    tracked_ = nullptr;
    const Point velocity = keepVelocity ? releaseVelocity() : Point{};
    samples_.clear();
    const bool willDecelerate =
        !(velocity == Point{}) || (bounces_ && isOutsideRestingRange(contentOffset()));
    if (delegate_)
        delegate_->scrollViewDidEndDragging(*this, willDecelerate);
    if (!willDecelerate) {
        if (isOutsideRestingRange(contentOffset()))
            setBounds(Rect(clampedOffset(contentOffset()), bounds().size));
        hideIndicators();
        return;
    }
    if (delegate_)
        delegate_->scrollViewWillBeginDecelerating(*this);
    // The delegate may have started something else meanwhile.
    if (motion_ == Motion::None && !tracked_)
        startDeceleration(velocity);
}

// --- Coasting and animation ---

void ScrollView::startDeceleration(Point velocity) {
    motion_ = Motion::Decelerating;
    velocity_ = velocity;
    lastStep_ = RunLoop::main().now();
    showIndicators();
    scheduleFrame();
}

void ScrollView::startAnimation(Point target) {
    motion_ = Motion::Animating;
    animationFrom_ = contentOffset();
    animationTo_ = target;
    animationStart_ = RunLoop::main().now();
    lastStep_ = animationStart_;
    showIndicators();
    scheduleFrame();
}

void ScrollView::scheduleFrame() {
    if (frameTimer_)
        frameTimer_->invalidate();
    // One-shot frames, so that a headless `wait` waits for the motion to end.
    frameTimer_ = Timer::scheduledTimer(kFrameInterval, [this](Timer&) {
        auto keep = weak_from_this().lock();
        step();
    });
}

void ScrollView::step() {
    const double now = RunLoop::main().now();
    if (motion_ == Motion::Animating) {
        const double t = (now - animationStart_) / kScrollAnimationDuration;
        if (t >= 1) {
            motion_ = Motion::None;
            frameTimer_.reset();
            setBounds(Rect(animationTo_, bounds().size));
            motionEnded(Motion::Animating);
            return;
        }
        const float e = float(Animator::ease(AnimationCurve::EaseInOut, std::max(0.0, t)));
        const Point p{animationFrom_.x + (animationTo_.x - animationFrom_.x) * e,
                      animationFrom_.y + (animationTo_.y - animationFrom_.y) * e};
        setBounds(Rect(p, bounds().size));
        if (motion_ == Motion::Animating)
            scheduleFrame();
        return;
    }
    if (motion_ != Motion::Decelerating)
        return;
    const double dt = std::clamp(now - lastStep_, 0.0, 0.1);
    lastStep_ = now;
    const int steps = std::max(1, int(std::ceil(dt / kPhysicsStep - 1e-9)));
    const double h = dt / steps;
    const Point max = maximumContentOffset();
    Point p = contentOffset();
    bool movingX = true, movingY = true;
    for (int i = 0; i < steps; ++i) {
        movingX = scroll::coastAxis(p.x, velocity_.x, max.x, bounces_, h);
        movingY = scroll::coastAxis(p.y, velocity_.y, max.y, bounces_, h);
    }
    setBounds(Rect(p, bounds().size));
    if (motion_ != Motion::Decelerating)
        return; // the delegate changed course
    if (movingX || movingY)
        scheduleFrame();
    else
        finishMotion();
}

void ScrollView::finishMotion() {
    const Motion ended = motion_;
    motion_ = Motion::None;
    velocity_ = {};
    if (frameTimer_) {
        frameTimer_->invalidate();
        frameTimer_.reset();
    }
    if (ended == Motion::Decelerating) {
        // Come to rest on whole pixels, so the content is drawn sharp.
        const float scale = window() ? window()->scale() : 1.0f;
        const Point p = contentOffset();
        setBounds(Rect(std::round(p.x * scale) / scale, std::round(p.y * scale) / scale,
                       bounds().width(), bounds().height()));
    }
    motionEnded(ended);
}

void ScrollView::motionEnded(Motion ended) {
    hideIndicators();
    if (!delegate_)
        return;
    if (ended == Motion::Decelerating)
        delegate_->scrollViewDidEndDecelerating(*this);
    else if (ended == Motion::Animating)
        delegate_->scrollViewDidEndScrollingAnimation(*this);
}

void ScrollView::stopMotion() {
    if (motion_ == Motion::None)
        return;
    finishMotion();
}

// --- Scroll indicators ---

void ScrollView::layoutSubviews() {
    updateIndicators();
}

void ScrollView::showIndicators() {
    indicators_.show(showsHorizontalIndicator_ && contentSize_.width > bounds().width(),
                     showsVerticalIndicator_ && contentSize_.height > bounds().height());
    updateIndicators();
}

void ScrollView::hideIndicators() {
    indicators_.hide();
}

void ScrollView::updateIndicators() {
    indicators_.update(bounds(), maximumContentOffset(), contentSize_);
}

} // namespace platform
