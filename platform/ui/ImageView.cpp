#include "platform/ui/ImageView.h"

namespace platform {

ImageView::ImageView() : ImageView(Rect()) {}

ImageView::ImageView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(ImageRef image) : ImageView(image ? Rect(Point{}, image->size()) : Rect()) {
    image_ = std::move(image);
}

void ImageView::setImage(ImageRef image) {
    if (image == image_)
        return;
    image_ = std::move(image);
    setNeedsDisplay();
}

Size ImageView::sizeThatFits(Size) const {
    return image_ ? image_->size() : Size{};
}

void ImageView::drawRect(Context& context, const Rect&) {
    if (!image_)
        return;
    context.drawImageUpright(rectForContentMode(contentMode(), image_->size(), bounds()), *image_);
}

} // namespace platform
