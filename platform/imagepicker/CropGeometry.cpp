#include "platform/imagepicker/CropGeometry.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"

namespace platform {

CropGeometry CropGeometry::fitted(Size picture, const Rect& square) {
    CropGeometry g;
    g.picture = {std::max(1.0f, picture.width), std::max(1.0f, picture.height)};
    g.square = square;
    g.scale = g.minimumScale();
    const float w = g.picture.width * g.scale, h = g.picture.height * g.scale;
    g.origin = {square.midX() - w / 2, square.midY() - h / 2};
    return g;
}

float CropGeometry::minimumScale() const {
    return std::max(square.width() / picture.width, square.height() / picture.height);
}

float CropGeometry::maximumScale() const {
    return minimumScale() * kMaxZoom;
}

Rect CropGeometry::pictureRect() const {
    return Rect(origin.x, origin.y, picture.width * scale, picture.height * scale);
}

CropGeometry CropGeometry::moved(float dx, float dy) const {
    CropGeometry g = *this;
    g.origin = {origin.x + dx, origin.y + dy};
    return g;
}

CropGeometry CropGeometry::zoomed(float factor, Point anchor) const {
    CropGeometry g = *this;
    if (!(factor > 0) || !std::isfinite(factor))
        return g;
    const float s = std::clamp(scale * factor, minimumScale(), maximumScale());
    const float f = s / scale;
    g.scale = s;
    g.origin = {anchor.x - (anchor.x - origin.x) * f, anchor.y - (anchor.y - origin.y) * f};
    return g;
}

CropGeometry CropGeometry::clamped() const {
    CropGeometry g = *this;
    g.scale = std::clamp(scale, minimumScale(), maximumScale());
    const float w = picture.width * g.scale, h = picture.height * g.scale;
    // The picture's left edge at most at the square's left, its right edge
    // at least at the square's right; the same up and down.
    g.origin.x = std::clamp(origin.x, square.maxX() - w, square.minX());
    g.origin.y = std::clamp(origin.y, square.maxY() - h, square.minY());
    return g;
}

Rect CropGeometry::cropRect() const {
    return Rect((square.minX() - origin.x) / scale, (square.minY() - origin.y) / scale,
                square.width() / scale, square.height() / scale);
}

ImageRef CropGeometry::editedImage(const Image& image, int maxSide) const {
    const Rect crop = cropRect();
    const int side = std::clamp(int(std::lround(std::min(crop.width(), crop.height()))), 1,
                                std::max(1, maxSide));
    auto bitmap = Context::createBitmap(side, side, nullptr, YAxis::Down);
    if (!bitmap)
        return nullptr;
    // Points of the square to pixels of the result.
    const float k = float(side) / square.width();
    const Rect r = pictureRect();
    bitmap->drawImageUpright(Rect((r.minX() - square.minX()) * k, (r.minY() - square.minY()) * k,
                           r.width() * k, r.height() * k),
                      image);
    return bitmap->makeImage();
}

} // namespace platform
