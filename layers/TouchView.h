#pragma once

#include <string>

#include "layers/LayerGesture.h"
#include "layers/LayerGestureHost.h"
#include "platform/ui/View.h"

namespace zorbel {

// The base of movable layers that draw themselves (text layers): a view that
// the text tool drags with one finger and moves, scales and turns with two.
// Under any other tool its touches go to the canvas, so painting over it
// works as if it were not there. Its transform between gestures is
// originalTransform. Make it with std::make_shared (a triple tap removes it
// from its superview).
class TouchView : public platform::View, protected LayerGestureHost {
public:
    TouchView();
    explicit TouchView(const platform::Rect& frame);
    std::string className() const override { return "TouchView"; }

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

    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesMoved(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesEnded(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesCancelled(const platform::TouchSet& touches, platform::Event& event) override;
    // Under the owning tool the wheel scales the layer and Shift+wheel turns
    // it, about the pointer (LayerGesture::scrollWheel).
    bool scrollWheel(platform::Point location, float dx, float dy) override;

protected:
    int owningTool() const override;
    // Redrawn once a gesture step is committed.
    void fingersLifted() override { setNeedsDisplay(); }
    void deleteLayer(LayersDelegate* delegate) override;

private:
    void setUpTouchHandling();
    LayerGesture gesture_{*this, *this};
};

} // namespace zorbel
