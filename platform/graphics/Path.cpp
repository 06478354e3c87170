#include "platform/graphics/Path.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Largest distance, in points, between a flattened curve and the true one.
constexpr float kFlatness = 0.05f;
constexpr float kPi = 3.14159265358979f;
constexpr float kKappa = 0.5522847498f; // cubic approximation of a quarter circle

float length(Point p) {
    return std::sqrt(p.x * p.x + p.y * p.y);
}

} // namespace

void Path::moveTo(Point p) {
    if (!subpaths_.empty() && subpaths_.back().size() == 1 && !closed_.back()) {
        subpaths_.back()[0] = p; // a lone moveTo is replaced, not kept
        return;
    }
    subpaths_.push_back({p});
    closed_.push_back(false);
}

void Path::lineTo(Point p) {
    if (subpaths_.empty()) {
        moveTo(p);
        return;
    }
    if (closed_.back()) {
        // After close, drawing continues from the closed subpath's start.
        const Point start = subpaths_.back().front();
        subpaths_.push_back({start});
        closed_.push_back(false);
    }
    subpaths_.back().push_back(p);
}

void Path::curveTo(Point c1, Point c2, Point end) {
    if (subpaths_.empty())
        moveTo(c1);
    const Point p0 = closed_.back() ? subpaths_.back().front() : subpaths_.back().back();
    const Point dd1{p0.x - 2 * c1.x + c2.x, p0.y - 2 * c1.y + c2.y};
    const Point dd2{c1.x - 2 * c2.x + end.x, c1.y - 2 * c2.y + end.y};
    const float dd = std::max(length(dd1), length(dd2));
    const float segments = std::ceil(std::sqrt(0.75f * dd / kFlatness));
    const int n = std::isfinite(segments) ? int(std::clamp(segments, 1.0f, 256.0f)) : 1;
    for (int i = 1; i <= n; ++i) {
        const float t = float(i) / float(n);
        const float u = 1 - t;
        const float w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        lineTo(i == n ? end
                      : Point{w0 * p0.x + w1 * c1.x + w2 * c2.x + w3 * end.x,
                              w0 * p0.y + w1 * c1.y + w2 * c2.y + w3 * end.y});
    }
}

void Path::close() {
    if (!subpaths_.empty())
        closed_.back() = true;
}

void Path::addRect(const Rect& r) {
    if (r.isNull())
        return;
    moveTo({r.minX(), r.minY()});
    lineTo({r.maxX(), r.minY()});
    lineTo({r.maxX(), r.maxY()});
    lineTo({r.minX(), r.maxY()});
    close();
}

void Path::addRoundedRect(const Rect& r, float radius) {
    if (r.isNull())
        return;
    const float rad = std::clamp(radius, 0.0f, std::min(r.width(), r.height()) / 2);
    if (rad <= 0) {
        addRect(r);
        return;
    }
    const float x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
    const float k = rad * (1 - kKappa);
    moveTo({x0 + rad, y0});
    lineTo({x1 - rad, y0});
    curveTo({x1 - k, y0}, {x1, y0 + k}, {x1, y0 + rad});
    lineTo({x1, y1 - rad});
    curveTo({x1, y1 - k}, {x1 - k, y1}, {x1 - rad, y1});
    lineTo({x0 + rad, y1});
    curveTo({x0 + k, y1}, {x0, y1 - k}, {x0, y1 - rad});
    lineTo({x0, y0 + rad});
    curveTo({x0, y0 + k}, {x0 + k, y0}, {x0 + rad, y0});
    close();
}

void Path::addEllipseInRect(const Rect& r) {
    if (r.isNull())
        return;
    const float cx = r.midX(), cy = r.midY();
    const float rx = r.width() / 2, ry = r.height() / 2;
    const float kx = rx * kKappa, ky = ry * kKappa;
    moveTo({cx + rx, cy});
    curveTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
    curveTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
    curveTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
    curveTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
    close();
}

void Path::addArc(Point center, float radius, float startAngle, float endAngle, bool clockwise) {
    radius = std::fabs(radius);
    float sweep = clockwise ? startAngle - endAngle : endAngle - startAngle;
    if (!std::isfinite(sweep) || !std::isfinite(radius))
        return;
    // A sweep of a full turn or more draws the whole circle once.
    if (sweep >= 2 * kPi)
        sweep = 2 * kPi;
    else
        sweep = std::fmod(sweep + 4 * kPi, 2 * kPi);
    const float direction = clockwise ? -1.0f : 1.0f;
    const Point start{center.x + radius * std::cos(startAngle),
                      center.y + radius * std::sin(startAngle)};
    if (subpaths_.empty() || closed_.back())
        moveTo(start);
    else
        lineTo(start);
    const float step =
        radius > kFlatness ? 2 * std::acos(1 - kFlatness / radius) : kPi / 2; // chord error bound
    const float steps = std::ceil(sweep / step);
    const int n = std::isfinite(steps) ? int(std::clamp(steps, 1.0f, 1024.0f)) : 1;
    for (int i = 1; i <= n; ++i) {
        const float angle = startAngle + direction * sweep * float(i) / float(n);
        lineTo({center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)});
    }
}

bool Path::isEmpty() const {
    return subpaths_.empty();
}

Rect Path::bounds() const {
    Rect box = Rect::null();
    for (const auto& sub : subpaths_)
        for (const Point& p : sub)
            box = box.unionWith(Rect(p.x, p.y, 0, 0));
    return box;
}

} // namespace platform
