#pragma once

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace platform {

// Shows a picture laid into the bounds by the content mode (scale to fill by
// default). Takes no touches unless user interaction is switched on.
class ImageView : public View {
public:
    ImageView();
    explicit ImageView(const Rect& frame);
    // A view of the picture's size at (0, 0).
    explicit ImageView(ImageRef image);
    std::string className() const override { return "ImageView"; }

    const ImageRef& image() const { return image_; }
    void setImage(ImageRef image);

    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& dirty) override;

private:
    ImageRef image_;
};

} // namespace platform
