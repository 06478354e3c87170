#include "layers/FakeUIImageView.h"

#include <algorithm>
#include <cmath>

#include "layers/KeptPictureView.h"

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
    setImage(std::move(image));
}

void FakeUIImageView::setImage(platform::ImageRef image) {
    if (image == image_)
        return;
    image_ = std::move(image);
    placePicture();
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

void FakeUIImageView::setTransform(const platform::AffineTransform& transform) {
    View::setTransform(transform);
    if (!isBeingTransformed())
        keepPictureAsShown();
}

void FakeUIImageView::keepPictureAsShown() {
    platform::AffineTransform linear = transform();
    linear.tx = 0;
    linear.ty = 0;
    // The transforms of a layer turn, mirror and scale evenly: the scale is
    // the square root of the determinant's size. An enlarged picture is kept
    // at its drawn size and stretched when composed, so it costs no more
    // memory than an upright one.
    const double scale =
        std::sqrt(std::fabs(double(linear.a) * linear.d - double(linear.b) * linear.c));
    if (!std::isfinite(scale) || scale < kMinPictureScale)
        linear = platform::AffineTransform::makeScale(kMinPictureScale, kMinPictureScale);
    else if (scale > 1)
        linear =
            linear.concat(platform::AffineTransform::makeScale(float(1 / scale), float(1 / scale)));
    if (linear == kept_)
        return;
    kept_ = linear;
    placePicture();
}

void FakeUIImageView::layoutSubviews() {
    placePicture();
}

void FakeUIImageView::placePicture() {
    const Rect r = pictureRect();
    if (r.isNull()) {
        if (pictureView_)
            pictureView_->removeFromSuperview();
        pictureView_.reset();
        return;
    }
    if (!pictureView_) {
        pictureView_ = std::make_shared<KeptPictureView>();
        insertSubviewAtIndex(pictureView_, 0);
    }
    pictureView_->showPicture(image_, r, kept_);
}

} // namespace zorbel
