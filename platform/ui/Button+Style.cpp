#include "platform/ui/Button+Style.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Path.h"

namespace platform::style {

void fillRoundedRect(Context& c, const Rect& r, float radius, const Color& color) {
    if (r.isEmpty())
        return;
    Path p;
    p.addRoundedRect(r, std::min(radius, std::min(r.width(), r.height()) / 2));
    GStateGuard g(c);
    c.setFillColor(color);
    c.fillPath(p);
}

void strokeRoundedRect(Context& c, const Rect& r, float radius, const Color& color, float width) {
    const Rect inner = r.inset(width / 2, width / 2);
    if (inner.isNull() || inner.isEmpty())
        return;
    Path p;
    p.addRoundedRect(inner, std::min(radius, std::min(inner.width(), inner.height()) / 2));
    GStateGuard g(c);
    c.setStrokeColor(color);
    c.setLineWidth(width);
    c.strokePath(p);
}

void fillEllipse(Context& c, const Rect& r, const Color& color) {
    if (r.isEmpty())
        return;
    Path p;
    p.addEllipseInRect(r);
    GStateGuard g(c);
    c.setFillColor(color);
    c.fillPath(p);
}

void dropShadow(Context& c, const Rect& r, float radius, float offsetY, float alpha) {
    constexpr int kRings = 4;
    for (int i = kRings; i >= 1; --i) {
        const float grow = float(i);
        const Rect ring = Rect(r.minX() - grow, r.minY() - grow + offsetY, r.width() + 2 * grow,
                               r.height() + 2 * grow);
        fillRoundedRect(c, ring, radius + grow, Color::rgb(0, 0, 0, alpha / kRings));
    }
}

void hairline(Context& c, Point from, Point to, const Color& color) {
    const AffineTransform m = c.ctm();
    const float scale = std::max(1.0f, std::sqrt(std::fabs(m.a * m.d - m.b * m.c)));
    const float w = 1 / scale;
    GStateGuard g(c);
    c.setFillColor(color);
    if (from.y == to.y)
        c.fillRect(Rect(std::min(from.x, to.x), from.y, std::fabs(to.x - from.x), w));
    else
        c.fillRect(Rect(from.x, std::min(from.y, to.y), w, std::fabs(to.y - from.y)));
}

namespace {

// Draws the source span [s0, s1) x [t0, t1) of the picture onto the
// destination rectangle by clipping and scaling the whole picture.
void drawSlice(Context& c, const Image& image, float s0, float s1, float t0, float t1,
               const Rect& dest) {
    if (s1 <= s0 || t1 <= t0 || dest.isEmpty())
        return;
    const float sx = dest.width() / (s1 - s0);
    const float sy = dest.height() / (t1 - t0);
    const Rect whole(dest.minX() - s0 * sx, dest.minY() - t0 * sy, float(image.width()) * sx,
                     float(image.height()) * sy);
    GStateGuard g(c);
    c.clipToRect(dest);
    c.drawImageUpright(whole, image);
}

} // namespace

void drawStretchable(Context& c, const Image& image, const Rect& r, int leftCap, int topCap) {
    const float w = float(image.width());
    const float h = float(image.height());
    // Source column and row edges: caps keep their size, the middle stretches.
    float sx[4] = {0, 0, w, w};
    float dx[4] = {r.minX(), r.minX(), r.maxX(), r.maxX()};
    if (leftCap > 0 && float(leftCap) + 1 < w) {
        const float right = w - float(leftCap) - 1;
        const float squeeze = std::min(1.0f, r.width() / (float(leftCap) + right));
        sx[1] = float(leftCap);
        sx[2] = float(leftCap) + 1;
        dx[1] = r.minX() + float(leftCap) * squeeze;
        dx[2] = r.maxX() - right * squeeze;
    } else {
        sx[1] = sx[2] = 0;
        dx[1] = dx[2] = r.minX();
    }
    float sy[4] = {0, 0, h, h};
    float dy[4] = {r.minY(), r.minY(), r.maxY(), r.maxY()};
    if (topCap > 0 && float(topCap) + 1 < h) {
        const float bottom = h - float(topCap) - 1;
        const float squeeze = std::min(1.0f, r.height() / (float(topCap) + bottom));
        sy[1] = float(topCap);
        sy[2] = float(topCap) + 1;
        dy[1] = r.minY() + float(topCap) * squeeze;
        dy[2] = r.maxY() - bottom * squeeze;
    } else {
        sy[1] = sy[2] = 0;
        dy[1] = dy[2] = r.minY();
    }
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            drawSlice(c, image, sx[col], sx[col + 1], sy[row], sy[row + 1],
                      Rect(dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]));
}

} // namespace platform::style
