#pragma once

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace platform {

// The camera's live picture, scaled to fill the view (the middle shows).
class CameraPreviewView : public View {
public:
    CameraPreviewView();
    std::string className() const override { return "CameraPreviewView"; }

    // The newest camera frame.
    const ImageRef& picture() const { return frame_; }
    void setPicture(ImageRef frame);

    void drawRect(Context& context, const Rect& dirty) override;

private:
    ImageRef frame_;
};

} // namespace platform
