#pragma once

#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"

namespace platform {

// Where a picture lies under the editing square: its top-left corner
// (`origin`, in the view's points) and its scale (points per picture pixel).
// At rest the picture always covers the square, and it is never shown
// smaller than that nor more than kMaxZoom times larger.
struct CropGeometry {
    static constexpr float kMaxZoom = 6;

    Size picture; // pixels, upright
    Rect square;  // the editing square, in the view's points
    float scale = 1;
    Point origin;

    // The picture as small as it can be while covering the square, centred on it.
    static CropGeometry fitted(Size picture, const Rect& square);

    float minimumScale() const;
    float maximumScale() const;
    // Where the picture is drawn, in the view's points.
    Rect pictureRect() const;
    // Moves the picture by (dx, dy) points.
    CropGeometry moved(float dx, float dy) const;
    // Scales the picture by `factor` about `anchor` (the point that stays put).
    CropGeometry zoomed(float factor, Point anchor) const;
    // Scale within range, and the picture pulled back over the square.
    CropGeometry clamped() const;
    // The part of the picture inside the square, in its pixels.
    Rect cropRect() const;
    // That part as a square picture of at most maxSide pixels a side (fewer
    // when the crop has fewer pixels), drawn from `image` (upright, of the
    // size `picture`). Null if no memory.
    ImageRef editedImage(const Image& image, int maxSide) const;
};

} // namespace platform
