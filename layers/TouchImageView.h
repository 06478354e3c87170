#pragma once

#include <string>

#include "layers/FakeUIImageView.h"
#include "layers/LayerGesture.h"
#include "layers/LayerGestureHost.h"

namespace zorbel {

// An overlay picture on the canvas (a hat, glasses, a speech bubble): the
// shape tool drags it with one finger and moves, scales and turns it with
// two; a double tap brings it to the front or resets it, a triple tap deletes
// it. Under any other tool its touches go to the canvas. The picture is found
// again after a restart by orgImageFilename, a resource name. Make it with
// std::make_shared.
class TouchImageView : public FakeUIImageView, protected LayerGestureHost {
public:
    TouchImageView();
    // orgFrameRect becomes the frame.
    explicit TouchImageView(const platform::Rect& frame);
    std::string className() const override { return "TouchImageView"; }

    const platform::AffineTransform& getTheOriginalTransform() const {
        return gesture_.originalTransform();
    }
    const platform::AffineTransform& originalTransform() const {
        return gesture_.originalTransform();
    }
    void setOriginalTransform(const platform::AffineTransform& t) {
        gesture_.setOriginalTransform(t);
    }
    const std::string& orgImageFilename() const { return orgImageFilename_; }
    void setOrgImageFilename(const std::string& name) { orgImageFilename_ = name; }
    const platform::Rect& orgFrameRect() const { return orgFrameRect_; }
    void setOrgFrameRect(const platform::Rect& r) { orgFrameRect_ = r; }

    // Mirrors the layer across its vertical axis as the person sees it (its
    // horizontal one on a turned landscape document); twice gives it back.
    void flipView();

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

protected:
    int owningTool() const override;
    void noteTouched(LayersDelegate& delegate, bool began) override;
    void fingerJoined(LayersDelegate& delegate) override;
    void deleteLayer(LayersDelegate* delegate) override;

private:
    void setUpTouchHandling();
    std::shared_ptr<TouchImageView> sharedSelf();

    LayerGesture gesture_{*this, *this};
    std::string orgImageFilename_;
    platform::Rect orgFrameRect_;
};

} // namespace zorbel
