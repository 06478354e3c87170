#include "platform/graphics/Rect.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();
}

Rect Rect::null() {
    return Rect(kInf, kInf, 0, 0);
}

Rect Rect::standardized() const {
    if (isNull())
        return null();
    return Rect(minX(), minY(), width(), height());
}

Rect Rect::integral() const {
    if (isNull())
        return null();
    const float x0 = std::floor(minX());
    const float y0 = std::floor(minY());
    const float x1 = std::ceil(maxX());
    const float y1 = std::ceil(maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

bool Rect::contains(Point p) const {
    if (isEmpty())
        return false;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::contains(const Rect& r) const {
    if (isNull() || r.isNull())
        return false;
    return r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() && r.maxY() <= maxY();
}

bool Rect::intersects(const Rect& r) const {
    return !intersection(r).isEmpty();
}

Rect Rect::unionWith(const Rect& r) const {
    if (isNull())
        return r.standardized();
    if (r.isNull())
        return standardized();
    const float x0 = std::min(minX(), r.minX());
    const float y0 = std::min(minY(), r.minY());
    const float x1 = std::max(maxX(), r.maxX());
    const float y1 = std::max(maxY(), r.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::intersection(const Rect& r) const {
    if (isNull() || r.isNull())
        return null();
    const float x0 = std::max(minX(), r.minX());
    const float y0 = std::max(minY(), r.minY());
    const float x1 = std::min(maxX(), r.maxX());
    const float y1 = std::min(maxY(), r.maxY());
    if (x1 < x0 || y1 < y0)
        return null();
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::inset(float dx, float dy) const {
    if (isNull())
        return null();
    const Rect s = standardized();
    const float w = s.size.width - 2 * dx;
    const float h = s.size.height - 2 * dy;
    if (w < 0 || h < 0)
        return null();
    return Rect(s.origin.x + dx, s.origin.y + dy, w, h);
}

Rect Rect::offset(float dx, float dy) const {
    if (isNull())
        return null();
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
}

} // namespace platform
