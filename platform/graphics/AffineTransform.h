#pragma once

#include <string>
#include <string_view>

#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"

namespace platform {

// Maps (x, y) to (a*x + c*y + tx, b*x + d*y + ty). Composition follows the
// drawing convention: t.translated(dx, dy) first translates, then applies t.
struct AffineTransform {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static constexpr AffineTransform identity() { return {}; }
    static AffineTransform makeTranslation(float dx, float dy);
    static AffineTransform makeScale(float sx, float sy);
    static AffineTransform makeRotation(float radians);

    AffineTransform translated(float dx, float dy) const;
    AffineTransform scaled(float sx, float sy) const;
    AffineTransform rotated(float radians) const;
    // this followed by other: p -> other(this(p)).
    AffineTransform concat(const AffineTransform& other) const;
    // The inverse; a singular transform is returned unchanged, as the platform we mimic does.
    AffineTransform inverted() const;
    bool isIdentity() const;

    Point apply(Point p) const;
    Rect apply(const Rect& r) const; // bounding box of the transformed corners

    // "[a, b, c, d, tx, ty]"; fromString gives the identity for malformed text.
    std::string toString() const;
    static AffineTransform fromString(std::string_view text);

    friend bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

} // namespace platform
