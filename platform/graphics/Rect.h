#pragma once

#include "platform/graphics/Point.h"
#include "platform/graphics/Size.h"

namespace platform {

// An axis-aligned rectangle. A negative size is allowed and is read as its
// standardized form by every operation. The null rectangle (the result of
// intersecting disjoint rectangles) has infinite origin; it is empty.
struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(float x, float y, float w, float h) : origin{x, y}, size{w, h} {}
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}

    static Rect null();
    static constexpr Rect zero() { return {}; }

    float minX() const { return size.width < 0 ? origin.x + size.width : origin.x; }
    float minY() const { return size.height < 0 ? origin.y + size.height : origin.y; }
    float maxX() const { return size.width < 0 ? origin.x : origin.x + size.width; }
    float maxY() const { return size.height < 0 ? origin.y : origin.y + size.height; }
    float midX() const { return (minX() + maxX()) / 2; }
    float midY() const { return (minY() + maxY()) / 2; }
    float width() const { return size.width < 0 ? -size.width : size.width; } // never negative
    float height() const { return size.height < 0 ? -size.height : size.height; }
    Point center() const { return {midX(), midY()}; }

    bool isNull() const { return isInfinite(origin.x) || isInfinite(origin.y); }
    // Null, or zero (or NaN) width or height.
    bool isEmpty() const {
        return isNull() || size.width == 0 || size.height == 0 || size.width != size.width ||
               size.height != size.height;
    }
    Rect standardized() const;
    Rect integral() const;        // smallest integer rectangle containing this one
    bool contains(Point p) const; // half-open: min edges in, max edges out
    bool contains(const Rect& r) const;
    bool intersects(const Rect& r) const;

    Rect unionWith(const Rect& r) const;    // null is the identity
    Rect intersection(const Rect& r) const; // null when disjoint
    Rect inset(float dx, float dy) const;   // null when it turns negative
    Rect offset(float dx, float dy) const;

    friend bool operator==(const Rect&, const Rect&) = default;

private:
    static constexpr bool isInfinite(float v) {
        return v > 3.402823466e38f || v < -3.402823466e38f;
    }
};

} // namespace platform
