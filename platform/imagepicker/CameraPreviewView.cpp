#include "platform/imagepicker/CameraPreviewView.h"

#include <algorithm>

namespace platform {

CameraPreviewView::CameraPreviewView() {
    setBackgroundColor(Color::black());
    setOpaque(true);
    setClipsToBounds(true);
}

void CameraPreviewView::setPicture(ImageRef frame) {
    frame_ = std::move(frame);
    setNeedsDisplay();
}

void CameraPreviewView::drawRect(Context& context, const Rect&) {
    if (!frame_)
        return;
    context.drawImageUpright(rectForContentMode(ContentMode::ScaleAspectFill, frame_->size(), bounds()),
                             *frame_);
}

} // namespace platform
