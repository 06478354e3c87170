#include "layers/LayerGesture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "layers/LayerGestureHost.h"
#include "layers/LayersDelegate.h"
#include "platform/ui/View.h"

namespace zorbel {

using platform::AffineTransform;
using platform::Event;
using platform::Point;
using platform::Touch;
using platform::TouchSet;
using platform::View;

namespace {

TouchSet without(const TouchSet& all, const TouchSet& removed) {
    TouchSet rest;
    for (const auto& t : all)
        if (!removed.contains(t.get()))
            rest.add(t);
    return rest;
}

} // namespace

LayerGesture::LayerGesture(View& layer, LayerGestureHost& host) : layer_(layer), host_(host) {}

int LayerGesture::compareAddress(const Touch* a, const Touch* b) {
    if (a == b)
        return 0;
    return std::less<const Touch*>()(a, b) ? -1 : 1;
}

std::vector<const Touch*> LayerGesture::sortedByAddress(const TouchSet& touches) {
    std::vector<const Touch*> sorted;
    sorted.reserve(touches.count());
    for (const auto& t : touches)
        sorted.push_back(t.get());
    std::sort(sorted.begin(), sorted.end(),
              [](const Touch* a, const Touch* b) { return compareAddress(a, b) < 0; });
    return sorted;
}

Point LayerGesture::locationInSuperview(const Touch* touch) const {
    return touch->locationInView(layer_.superview());
}

Point LayerGesture::beginPointCachingIfMissing(const Touch* touch) {
    const auto it = touchBeginPoints_.find(touch);
    if (it != touchBeginPoints_.end())
        return it->second;
    const Point now = locationInSuperview(touch);
    touchBeginPoints_.emplace(touch, now);
    return now;
}

std::optional<Point> LayerGesture::beginPointForTouch(const Touch* touch) const {
    const auto it = touchBeginPoints_.find(touch);
    if (it == touchBeginPoints_.end())
        return std::nullopt;
    return it->second;
}

AffineTransform LayerGesture::incrementalTransformWithTouches(const TouchSet& touches) {
    const std::vector<const Touch*> sorted = sortedByAddress(touches);
    if (sorted.empty())
        return AffineTransform::identity();
    if (sorted.size() == 1) {
        const Point b = beginPointCachingIfMissing(sorted[0]);
        const Point c = locationInSuperview(sorted[0]);
        return AffineTransform::makeTranslation(c.x - b.x, c.y - b.y);
    }
    // Fingers past the second do not steer.
    return similarityCarrying(beginPointCachingIfMissing(sorted[0]),
                              beginPointCachingIfMissing(sorted[1]), locationInSuperview(sorted[0]),
                              locationInSuperview(sorted[1]), layer_.center());
}

AffineTransform LayerGesture::similarityCarrying(Point b1, Point b2, Point c1, Point c2,
                                                 Point center) {
    const double cx = center.x, cy = center.y;
    // Relative to the layer's centre, where the transform is applied.
    const double x1 = double(b1.x) - cx, y1 = double(b1.y) - cy;
    const double x2 = double(b2.x) - cx, y2 = double(b2.y) - cy;
    const double x3 = double(c1.x) - cx, y3 = double(c1.y) - cy;
    const double x4 = double(c2.x) - cx, y4 = double(c2.y) - cy;

    const double D = (y1 - y2) * (y1 - y2) + (x1 - x2) * (x1 - x2);
    if (D < kCoincidentDistanceSquared)
        return AffineTransform::makeTranslation(float(x3 - x1), float(y3 - y1));

    // The rotation-and-scale (A, B) and the offset (TX, TY) that carry (x1, y1)
    // to (x3, y3) and (x2, y2) to (x4, y4), each still multiplied by D.
    const double A = (y1 - y2) * (y3 - y4) + (x1 - x2) * (x3 - x4);
    const double B = (y1 - y2) * (x3 - x4) - (x1 - x2) * (y3 - y4);
    const double TX = (y1 * x2 - x1 * y2) * (y4 - y3) - (x1 * x2 + y1 * y2) * (x3 + x4) +
                      x3 * (x2 * x2 + y2 * y2) + x4 * (x1 * x1 + y1 * y1);
    const double TY = (x1 * x2 + y1 * y2) * (-y4 - y3) + (y1 * x2 - x1 * y2) * (x3 - x4) +
                      y3 * (x2 * x2 + y2 * y2) + y4 * (x1 * x1 + y1 * y1);
    AffineTransform t;
    t.a = float(A / D);
    t.b = float(-B / D);
    t.c = float(B / D);
    t.d = float(A / D);
    t.tx = float(TX / D);
    t.ty = float(TY / D);
    return t;
}

void LayerGesture::updateOriginalTransformForTouches(const TouchSet& touches) {
    if (touches.empty())
        return;
    layer_.setTransform(originalTransform_.concat(incrementalTransformWithTouches(touches)));
    originalTransform_ = layer_.transform();
}

void LayerGesture::cacheBeginPointForTouches(const TouchSet& touches) {
    for (const auto& t : touches)
        touchBeginPoints_[t.get()] = locationInSuperview(t.get());
}

void LayerGesture::removeTouchesFromCache(const TouchSet& touches) {
    for (const auto& t : touches)
        touchBeginPoints_.erase(t.get());
}

void LayerGesture::forgetTouchesNotIn(const TouchSet& live) {
    // An entry left by a touch that ended elsewhere must not be found again by
    // a new touch that happens to get the same address.
    std::erase_if(touchBeginPoints_,
                  [&](const auto& entry) { return !live.contains(entry.first); });
}

void LayerGesture::setLandscapeRotation() {
    originalTransform_ = AffineTransform::makeRotation(kQuarterTurn);
    layer_.setTransform(originalTransform_);
    layer_.setNeedsDisplay();
}

TouchSet LayerGesture::layerTouches(const TouchSet& touches, const Event& event) const {
    TouchSet mine = event.touchesForView(&layer_);
    for (const auto& t : touches)
        if (!mine.contains(t.get()))
            mine.add(t);
    return mine;
}

bool LayerGesture::passedOn(Phase phase, const TouchSet& touches, Event& event) {
    LayersDelegate* delegate = LayersDelegate::shared();
    if (!delegate)
        return false; // no application around it: the layer is on its own
    View* canvas = delegate->layersCanvas();
    if (delegate->layersSelectedTool() != host_.owningTool()) {
        if (canvas) {
            switch (phase) {
            case Phase::Began:
                canvas->touchesBegan(touches, event);
                break;
            case Phase::Moved:
                canvas->touchesMoved(touches, event);
                break;
            case Phase::Ended:
                canvas->touchesEnded(touches, event);
                break;
            }
        }
        return true;
    }
    if (const Touch* any = touches.anyObject()) {
        const Point inWindow = layer_.convertPointToView(any->locationInView(&layer_), nullptr);
        if (inWindow.x < kCornerZone && inWindow.y < kCornerZone) {
            if (canvas)
                canvas->touchesBegan(touches, event);
            return true;
        }
    }
    return false;
}

void LayerGesture::touchesBegan(const TouchSet& touches, Event& event) {
    if (passedOn(Phase::Began, touches, event))
        return;
    LayersDelegate* delegate = LayersDelegate::shared();
    if (delegate)
        host_.noteTouched(*delegate, /*began=*/true);
    const TouchSet mine = layerTouches(touches, event);
    forgetTouchesNotIn(mine);
    const TouchSet others = without(mine, touches);
    if (!others.empty()) {
        // The fingers already down start a new segment from where they are.
        updateOriginalTransformForTouches(others);
        cacheBeginPointForTouches(others);
        if (delegate)
            host_.fingerJoined(*delegate);
    }
    cacheBeginPointForTouches(touches);
}

void LayerGesture::touchesMoved(const TouchSet& touches, Event& event) {
    if (passedOn(Phase::Moved, touches, event))
        return;
    if (LayersDelegate* delegate = LayersDelegate::shared())
        host_.noteTouched(*delegate, /*began=*/false);
    layer_.setTransform(
        originalTransform_.concat(incrementalTransformWithTouches(layerTouches(touches, event))));
}

void LayerGesture::touchesEnded(const TouchSet& touches, Event& event) {
    if (passedOn(Phase::Ended, touches, event))
        return;
    // A triple tap may take the last reference to the layer away.
    const std::shared_ptr<View> keep = layer_.weak_from_this().lock();
    LayersDelegate* delegate = LayersDelegate::shared();
    if (delegate)
        host_.noteTouched(*delegate, /*began=*/false);
    const TouchSet mine = layerTouches(touches, event);
    updateOriginalTransformForTouches(mine);
    removeTouchesFromCache(touches);
    handleTaps(touches, delegate);
    // The fingers still down continue from where they are, without a jump.
    cacheBeginPointForTouches(without(mine, touches));
    host_.fingersLifted();
}

bool LayerGesture::scrollWheel(Point pointer, float dx, float dy) {
    LayersDelegate* delegate = LayersDelegate::shared();
    if (delegate && delegate->layersSelectedTool() != host_.owningTool())
        return false;
    // A pinch in progress owns the transform until its fingers lift.
    if (!touchBeginPoints_.empty())
        return true;
    // Keep the layer within reach: never so small it cannot be found again,
    // never so large that it hides the whole picture.
    const AffineTransform& t = originalTransform_;
    const double now = std::sqrt(std::fabs(double(t.a) * t.d - double(t.b) * t.c));
    double scale = std::pow(double(kWheelScaleStep), double(dy));
    if (now > 0 && std::isfinite(now))
        scale = std::clamp(scale, kWheelMinScale / now, kWheelMaxScale / now);
    const double angle = double(dx) * kWheelTurnStep;
    if (!std::isfinite(scale) || !std::isfinite(angle))
        return true;

    // Two fingers either side of the pointer, spread and turned about it.
    constexpr double kReach = 50;
    const Point p = layer_.convertPointToView(pointer, layer_.superview());
    const double ux = kReach * scale * std::cos(angle), uy = kReach * scale * std::sin(angle);
    const Point b1{float(p.x - kReach), p.y}, b2{float(p.x + kReach), p.y};
    const Point c1{float(p.x - ux), float(p.y - uy)}, c2{float(p.x + ux), float(p.y + uy)};
    if (delegate) {
        host_.noteTouched(*delegate, /*began=*/true);
        delegate->setDirtyFlag(true);
    }
    layer_.setTransform(originalTransform_.concat(similarityCarrying(b1, b2, c1, c2, layer_.center())));
    originalTransform_ = layer_.transform();
    host_.fingersLifted();
    return true;
}

void LayerGesture::handleTaps(const TouchSet& ended, LayersDelegate* delegate) {
    for (const auto& t : ended) {
        const int taps = t->tapCount();
        if (taps == 2) {
            View* parent = layer_.superview();
            if (parent && parent->subviews().back().get() != &layer_) {
                parent->bringSubviewToFront(&layer_);
            } else {
                const bool landscape = delegate && (delegate->getCurrentOrientation() == 3 ||
                                                    delegate->getCurrentOrientation() == 4);
                originalTransform_ = landscape ? AffineTransform::makeRotation(kQuarterTurn)
                                               : AffineTransform::identity();
                layer_.setTransform(originalTransform_);
            }
        } else if (taps >= 3) {
            host_.deleteLayer(delegate);
            return;
        }
    }
}

} // namespace zorbel
