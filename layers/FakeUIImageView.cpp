#include "layers/FakeUIImageView.h"

namespace zorbel {

using platform::Rect;

FakeUIImageView::FakeUIImageView() {
    setOpaque(false);
}

FakeUIImageView::FakeUIImageView(const Rect& frame) : View(frame) {
    setOpaque(false);
}

FakeUIImageView::FakeUIImageView(platform::ImageRef image)
    : View(image ? Rect(platform::Point{0, 0}, image->size()) : Rect()) {
    setOpaque(false);
    image_ = std::move(image);
}

void FakeUIImageView::setImage(platform::ImageRef image) {
    if (image == image_)
        return;
    image_ = std::move(image);
    setNeedsDisplay();
}

Rect FakeUIImageView::pictureRect() const {
    if (!image_)
        return Rect::null();
    const platform::Size size = image_->size();
    if (!(size.width > 0) || !(size.height > 0))
        return Rect::null();
    const Rect b = bounds();
    return Rect(b.minX() + (b.width() - kPictureWidth) * 0.5f, b.minY(), kPictureWidth,
                kPictureWidth * size.height / size.width);
}

void FakeUIImageView::drawRect(platform::Context& context, const Rect&) {
    // The backing store arrives cleared to transparent in the dirty area.
    const Rect r = pictureRect();
    if (r.isNull())
        return;
    context.drawImageUpright(r, *image_);
}

} // namespace zorbel
