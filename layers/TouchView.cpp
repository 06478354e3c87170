#include "layers/TouchView.h"

#include "layers/LayersDelegate.h"

namespace zorbel {

TouchView::TouchView() : LayerGestureOwner(*this, *this) {
    setUpTouchHandling();
}

TouchView::TouchView(const platform::Rect& frame) : View(frame), LayerGestureOwner(*this, *this) {
    setUpTouchHandling();
}

void TouchView::setUpTouchHandling() {
    setUserInteractionEnabled(true);
    setMultipleTouchEnabled(true);
    setExclusiveTouch(false);
}

int TouchView::owningTool() const {
    return LayersDelegate::kTextTool;
}

void TouchView::deleteLayer(LayersDelegate*) {
    removeFromSuperview();
}

void TouchView::touchesBegan(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesBegan(touches, event);
}

void TouchView::touchesMoved(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesMoved(touches, event);
}

void TouchView::touchesEnded(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesEnded(touches, event);
}

void TouchView::touchesCancelled(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesEnded(touches, event);
}

bool TouchView::scrollWheel(platform::Point location, float dx, float dy) {
    return gesture_.scrollWheel(location, dx, dy);
}

} // namespace zorbel
