#include "layers/KeptPictureView.h"

#include <cmath>

#include "platform/graphics/Context.h"

namespace zorbel {

using platform::AffineTransform;
using platform::Rect;

namespace {

bool isInvertible(const AffineTransform& t) {
    const double det = double(t.a) * t.d - double(t.b) * t.c;
    return std::isfinite(det) && std::fabs(det) > 1e-12;
}

} // namespace

KeptPictureView::KeptPictureView() {
    setUserInteractionEnabled(false);
    setOpaque(false);
    setContentMode(platform::ContentMode::Redraw);
}

void KeptPictureView::showPicture(platform::ImageRef image, const Rect& rect,
                                  const AffineTransform& kept) {
    AffineTransform linear = kept;
    linear.tx = 0;
    linear.ty = 0;
    if (!isInvertible(linear))
        linear = AffineTransform::identity();
    if (image == image_ && rect.size == pictureSize_ && linear == kept_ &&
        center() == rect.center() && !bounds().isEmpty())
        return;
    image_ = std::move(image);
    pictureSize_ = rect.size;
    kept_ = linear;
    const Rect centred(-rect.width() / 2, -rect.height() / 2, rect.width(), rect.height());
    const Rect drawn = linear.apply(centred);
    setTransform(AffineTransform::identity());
    setBounds(Rect(0, 0, std::ceil(drawn.width()), std::ceil(drawn.height())));
    setCenter(rect.center());
    setTransform(linear.inverted());
    setNeedsDisplay();
}

void KeptPictureView::drawRect(platform::Context& context, const Rect&) {
    if (!image_)
        return;
    const Rect b = bounds();
    context.translateCTM(b.midX(), b.midY());
    context.concatCTM(kept_);
    context.drawImageUpright(Rect(-pictureSize_.width / 2, -pictureSize_.height / 2,
                                  pictureSize_.width, pictureSize_.height),
                             *image_);
}

} // namespace zorbel
