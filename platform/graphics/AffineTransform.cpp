#include "platform/graphics/AffineTransform.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace platform {

AffineTransform AffineTransform::makeTranslation(float dx, float dy) {
    return {1, 0, 0, 1, dx, dy};
}

AffineTransform AffineTransform::makeScale(float sx, float sy) {
    return {sx, 0, 0, sy, 0, 0};
}

AffineTransform AffineTransform::makeRotation(float radians) {
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

AffineTransform AffineTransform::translated(float dx, float dy) const {
    return makeTranslation(dx, dy).concat(*this);
}

AffineTransform AffineTransform::scaled(float sx, float sy) const {
    return makeScale(sx, sy).concat(*this);
}

AffineTransform AffineTransform::rotated(float radians) const {
    return makeRotation(radians).concat(*this);
}

AffineTransform AffineTransform::concat(const AffineTransform& o) const {
    AffineTransform r;
    r.a = a * o.a + b * o.c;
    r.b = a * o.b + b * o.d;
    r.c = c * o.a + d * o.c;
    r.d = c * o.b + d * o.d;
    r.tx = tx * o.a + ty * o.c + o.tx;
    r.ty = tx * o.b + ty * o.d + o.ty;
    return r;
}

AffineTransform AffineTransform::inverted() const {
    const double det = double(a) * d - double(b) * c;
    if (det == 0 || !std::isfinite(det))
        return *this;
    AffineTransform r;
    r.a = float(d / det);
    r.b = float(-b / det);
    r.c = float(-c / det);
    r.d = float(a / det);
    r.tx = float((double(c) * ty - double(d) * tx) / det);
    r.ty = float((double(b) * tx - double(a) * ty) / det);
    return r;
}

bool AffineTransform::isIdentity() const {
    return *this == identity();
}

Point AffineTransform::apply(Point p) const {
    return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

Rect AffineTransform::apply(const Rect& r) const {
    if (r.isNull())
        return Rect::null();
    const Point corners[4] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                              apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
    float x0 = corners[0].x, x1 = corners[0].x, y0 = corners[0].y, y1 = corners[0].y;
    for (const Point& p : corners) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

namespace {

void appendNumber(std::string& out, float v) {
    char buf[32];
    // Shortest text that reads back as the same float.
    const auto res = std::to_chars(buf, buf + sizeof buf, v == 0 ? 0.0f : v);
    out.append(buf, res.ptr);
}

void skipSpaces(std::string_view& s) {
    while (!s.empty() &&
           (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
        s.remove_prefix(1);
}

bool expect(std::string_view& s, char c) {
    skipSpaces(s);
    if (s.empty() || s.front() != c)
        return false;
    s.remove_prefix(1);
    return true;
}

bool readNumber(std::string_view& s, float& out) {
    skipSpaces(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    const auto res = std::from_chars(s.data(), s.data() + s.size(), out);
    if (res.ec != std::errc() || !std::isfinite(out))
        return false;
    s.remove_prefix(std::size_t(res.ptr - s.data()));
    return true;
}

} // namespace

std::string AffineTransform::toString() const {
    std::string out = "[";
    const float v[6] = {a, b, c, d, tx, ty};
    for (int i = 0; i < 6; ++i) {
        if (i)
            out += ", ";
        appendNumber(out, v[i]);
    }
    out += "]";
    return out;
}

AffineTransform AffineTransform::fromString(std::string_view text) {
    float v[6];
    std::string_view s = text;
    if (!expect(s, '['))
        return identity();
    for (int i = 0; i < 6; ++i) {
        if (i && !expect(s, ','))
            return identity();
        if (!readNumber(s, v[i]))
            return identity();
    }
    if (!expect(s, ']'))
        return identity();
    skipSpaces(s);
    if (!s.empty())
        return identity();
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

} // namespace platform
