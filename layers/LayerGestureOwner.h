#pragma once

#include "layers/LayerGesture.h"
#include "layers/LayerGestureHost.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/ui/Touch.h"

namespace zorbel {

// The gesture of a movable layer and the members the layer answers to for it,
// written once for both layer bases (TouchView, TouchImageView).
class LayerGestureOwner {
public:
    const platform::AffineTransform& originalTransform() const {
        return gesture_.originalTransform();
    }
    void setOriginalTransform(const platform::AffineTransform& t) {
        gesture_.setOriginalTransform(t);
    }

    // Transformation (see LayerGesture).
    void setLandscapeRotation() { gesture_.setLandscapeRotation(); }
    platform::AffineTransform incrementalTransformWithTouches(const platform::TouchSet& touches) {
        return gesture_.incrementalTransformWithTouches(touches);
    }
    void updateOriginalTransformForTouches(const platform::TouchSet& touches) {
        gesture_.updateOriginalTransformForTouches(touches);
    }
    void cacheBeginPointForTouches(const platform::TouchSet& touches) {
        gesture_.cacheBeginPointForTouches(touches);
    }
    void removeTouchesFromCache(const platform::TouchSet& touches) {
        gesture_.removeTouchesFromCache(touches);
    }
    const LayerGesture& gesture() const { return gesture_; }

protected:
    // `layer` is the view the gesture moves; both are the layer itself.
    LayerGestureOwner(platform::View& layer, LayerGestureHost& host) : gesture_(layer, host) {}
    ~LayerGestureOwner() = default;

    LayerGesture gesture_;
};

} // namespace zorbel
