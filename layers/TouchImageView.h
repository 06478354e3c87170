#pragma once

#include <string>

#include "layers/FakeUIImageView.h"
#include "layers/LayerGestureHost.h"
#include "layers/LayerGestureOwner.h"
#include "platform/foundation/Codable.h"
#include "platform/foundation/Result.h"

namespace platform {
class KeyedUnarchiver;
}

namespace zorbel {

// An overlay picture on the canvas (a hat, glasses, a speech bubble): the
// shape tool drags it with one finger and moves, scales and turns it with
// two; a double tap brings it to the front or resets it, a triple tap deletes
// it. Under any other tool its touches go to the canvas. The picture is found
// again after a restart by orgImageFilename, a resource name. Make it with
// std::make_shared.
//
// Coded form (keys): "ImageFileName" (the resource name), "OrgFrame",
// "CurrentFrame" (the transformed bounding box; written, never read),
// "Center", "OriginalTransform" (as text).
class TouchImageView : public FakeUIImageView,
                       public platform::Codable,
                       protected LayerGestureHost,
                       public LayerGestureOwner {
public:
    // A coded frame wider or taller than this is refused: it would only
    // ask for an absurd backing store.
    static constexpr float kMaxCodedSide = 4096;

    TouchImageView();
    // orgFrameRect becomes the frame.
    explicit TouchImageView(const platform::Rect& frame);
    std::string className() const override { return "TouchImageView"; }

    const platform::AffineTransform& getTheOriginalTransform() const {
        return gesture_.originalTransform();
    }
    const std::string& orgImageFilename() const { return orgImageFilename_; }
    void setOrgImageFilename(const std::string& name) { orgImageFilename_ = name; }
    const platform::Rect& orgFrameRect() const { return orgFrameRect_; }
    void setOrgFrameRect(const platform::Rect& r) { orgFrameRect_ = r; }

    void encodeWithCoder(platform::KeyedArchiver& coder) const override;
    // The layer the coder's keys describe, its picture read from the
    // resources (none when the name is not a plain resource name or the
    // picture is missing: the layer still moves, codes and deletes). It
    // becomes the delegate's last moved picture layer.
    [[nodiscard]] static platform::Result<std::shared_ptr<platform::Codable>>
    initWithCoder(platform::KeyedUnarchiver& coder);

    // Mirrors the layer across its vertical axis as the person sees it (its
    // horizontal one on a turned landscape document); twice gives it back.
    void flipView();

    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesMoved(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesEnded(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesCancelled(const platform::TouchSet& touches, platform::Event& event) override;
    // Under the owning tool the wheel scales the layer and Shift+wheel turns
    // it, about the pointer (LayerGesture::scrollWheel).
    bool scrollWheel(platform::Point location, float dx, float dy) override;

protected:
    int owningTool() const override;
    void noteTouched(LayersDelegate& delegate, bool began) override;
    void fingerJoined(LayersDelegate& delegate) override;
    void deleteLayer(LayersDelegate* delegate) override;
    void fingersLifted() override;
    bool isBeingTransformed() const override { return gesture_.cachedTouchCount() > 0; }

private:
    void setUpTouchHandling();
    std::shared_ptr<TouchImageView> sharedSelf();

    std::string orgImageFilename_;
    platform::Rect orgFrameRect_;
};

} // namespace zorbel
