// Rasterizing and stroking in device pixels, for the context's paths, strokes
// and clips.

#include "platform/graphics/PathCoverage.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/PixelMath.h"

namespace platform::detail {

namespace {

constexpr float kMiterLimit = 10.0f;

Point sub(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}

Point add(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}

Point scale(Point a, float s) {
    return {a.x * s, a.y * s};
}

} // namespace

CoverageMask rasterize(const std::vector<std::vector<Point>>& polygons, bool positive,
                       const Box& clip) {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    for (const auto& poly : polygons)
        for (const Point& p : poly) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                continue;
            if (!any) {
                x0 = x1 = p.x;
                y0 = y1 = p.y;
                any = true;
            }
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
    if (!any)
        return {};
    auto lo = [](float v) { return int(std::clamp(detail::floorOf(v), -1e8, 1e8)); };
    auto hi = [](float v) { return int(std::clamp(detail::ceilOf(v), -1e8, 1e8)); };
    const Box box = Box{lo(x0), lo(y0), hi(x1), hi(y1)}.intersect(clip);
    if (box.empty())
        return {};
    detail::Rasterizer raster(box.x0, box.y0, box.x1, box.y1);
    for (const auto& poly : polygons) {
        if (positive)
            raster.addPositivePolygon(poly);
        else
            raster.addPolygon(poly);
    }
    return raster.finish();
}

void addStrokePieces(std::vector<Point> pts, bool closed, float halfWidth,
                     const AffineTransform& toDevice, std::vector<std::vector<Point>>& out) {
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    if (closed && pts.size() > 1 && pts.front() == pts.back())
        pts.pop_back();
    const std::size_t n = pts.size();
    if (n < 2)
        return;
    const std::size_t segments = closed && n > 2 ? n : n - 1;
    auto device = [&](std::vector<Point> poly) {
        for (Point& p : poly)
            p = toDevice.apply(p);
        out.push_back(std::move(poly));
    };
    auto direction = [&](std::size_t i) {
        const Point d = sub(pts[(i + 1) % n], pts[i]);
        const float len = std::sqrt(d.x * d.x + d.y * d.y);
        return scale(d, 1.0f / len);
    };
    for (std::size_t i = 0; i < segments; ++i) {
        const Point p = pts[i], q = pts[(i + 1) % n];
        const Point dir = direction(i);
        const Point nrm{-dir.y * halfWidth, dir.x * halfWidth};
        device({add(p, nrm), add(q, nrm), sub(q, nrm), sub(p, nrm)});
    }
    const std::size_t firstJoint = closed && n > 2 ? 0 : 1;
    const std::size_t lastJoint = closed && n > 2 ? n : n - 1;
    for (std::size_t j = firstJoint; j < lastJoint; ++j) {
        const Point v = pts[j];
        const Point d0 = direction((j + n - 1) % n);
        const Point d1 = direction(j);
        const float cross = d0.x * d1.y - d0.y * d1.x;
        const float dot = d0.x * d1.x + d0.y * d1.y;
        if (std::fabs(cross) < 1e-6f)
            continue; // straight on, or a full reversal whose ends coincide
        const float side = cross > 0 ? -1.0f : 1.0f; // the outer side of the turn
        const Point n0{-d0.y * halfWidth * side, d0.x * halfWidth * side};
        const Point n1{-d1.y * halfWidth * side, d1.x * halfWidth * side};
        const Point o0 = add(v, n0), o1 = add(v, n1);
        const float ratio = 1.0f / std::sqrt(std::max((1.0f + dot) / 2.0f, 1e-12f));
        if (ratio <= kMiterLimit) {
            Point bis = add(n0, n1);
            const float bl = std::sqrt(bis.x * bis.x + bis.y * bis.y);
            bis = scale(bis, halfWidth * ratio / bl);
            device({v, o0, add(v, bis), o1});
        } else {
            device({v, o0, o1});
        }
    }
}

} // namespace platform::detail
