#include "platform/ui/BackingStore.h"

#include <cmath>

#include "platform/graphics/AffineTransform.h"
#include "platform/ui/GraphicsContext.h"

namespace platform {

BackingStore::PixelSize BackingStore::pixelSize(Size size, float scale) {
    // Converted to int, a larger size would be undefined.
    constexpr double kMaxBackingSide = 16384;
    const double wantW = std::ceil(double(size.width) * scale);
    const double wantH = std::ceil(double(size.height) * scale);
    const bool drawable = wantW <= kMaxBackingSide && wantH <= kMaxBackingSide;
    return {drawable ? int(wantW) : 0, drawable ? int(wantH) : 0};
}

Rect BackingStore::pixelAlignedArea(const Rect& dirty, const Rect& bounds, float scale) {
    const Rect pixelArea = AffineTransform::makeScale(scale, scale)
                               .apply(dirty.offset(-bounds.minX(), -bounds.minY()))
                               .integral();
    return AffineTransform::makeScale(1 / scale, 1 / scale)
        .apply(pixelArea)
        .offset(bounds.minX(), bounds.minY())
        .intersection(bounds);
}

bool BackingStore::fits(PixelSize pixels, float scale) const {
    return bitmap_ && bitmap_->width() == pixels.width && bitmap_->height() == pixels.height &&
           scale_ == scale;
}

bool BackingStore::recreate(PixelSize pixels, float scale) {
    bitmap_ = Context::createBitmap(pixels.width, pixels.height, nullptr, YAxis::Down);
    scale_ = scale;
    return bitmap_ != nullptr;
}

void BackingStore::drawInto(Context& context, ContentMode mode, const Rect& shownBounds) const {
    if (!bitmap_)
        return;
    const Rect place = drawnSize_ == shownBounds.size
                           ? shownBounds
                           : rectForContentMode(mode, drawnSize_, shownBounds);
    drawContextInRect(context, *bitmap_, place);
}

} // namespace platform
