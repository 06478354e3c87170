#pragma once

#include <string>

#include "layers/LayerGestureHost.h"
#include "layers/LayerGestureOwner.h"
#include "platform/ui/View.h"

namespace zorbel {

// The base of movable layers that draw themselves (text layers): a view that
// the text tool drags with one finger and moves, scales and turns with two.
// Under any other tool its touches go to the canvas, so painting over it
// works as if it were not there. Its transform between gestures is
// originalTransform. Make it with std::make_shared (a triple tap removes it
// from its superview).
class TouchView : public platform::View, protected LayerGestureHost, public LayerGestureOwner {
public:
    TouchView();
    explicit TouchView(const platform::Rect& frame);
    std::string className() const override { return "TouchView"; }

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
};

} // namespace zorbel
