#include "layers/TouchImageView.h"

#include "layers/LayersDelegate.h"

namespace zorbel {

using platform::AffineTransform;

TouchImageView::TouchImageView() {
    setUpTouchHandling();
}

TouchImageView::TouchImageView(const platform::Rect& frame)
    : FakeUIImageView(frame), orgFrameRect_(frame) {
    setUpTouchHandling();
}

void TouchImageView::setUpTouchHandling() {
    setUserInteractionEnabled(true);
    setMultipleTouchEnabled(true);
    setExclusiveTouch(false);
}

std::shared_ptr<TouchImageView> TouchImageView::sharedSelf() {
    return std::static_pointer_cast<TouchImageView>(weak_from_this().lock());
}

int TouchImageView::owningTool() const {
    return LayersDelegate::kShapeTool;
}

void TouchImageView::noteTouched(LayersDelegate& delegate, bool) {
    delegate.setLastMovedTouchImageView(sharedSelf());
}

void TouchImageView::fingerJoined(LayersDelegate& delegate) {
    delegate.setDirtyFlag(true);
}

void TouchImageView::deleteLayer(LayersDelegate* delegate) {
    removeFromSuperview();
    if (delegate)
        delegate->setLastMovedTouchImageView(nullptr);
}

void TouchImageView::flipView() {
    AffineTransform flip = AffineTransform::makeScale(-1, 1);
    if (LayersDelegate* delegate = LayersDelegate::shared()) {
        const int orientation = delegate->getCurrentOrientation();
        if (orientation == 3 || orientation == 4)
            flip = AffineTransform::makeRotation(-LayerGesture::kQuarterTurn)
                       .scaled(-1, 1)
                       .rotated(LayerGesture::kQuarterTurn);
    }
    gesture_.setOriginalTransform(gesture_.originalTransform().concat(flip));
    setTransform(gesture_.originalTransform());
}

void TouchImageView::touchesBegan(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesBegan(touches, event);
}

void TouchImageView::touchesMoved(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesMoved(touches, event);
}

void TouchImageView::touchesEnded(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesEnded(touches, event);
}

void TouchImageView::touchesCancelled(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesEnded(touches, event);
}

} // namespace zorbel
