#include "platform/graphics/Rasterizer.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/PixelMath.h"

namespace platform::detail {

Rasterizer::Rasterizer(int x0, int y0, int x1, int y1)
    : bx0_(x0), by0_(y0), w_(std::max(0, x1 - x0)), h_(std::max(0, y1 - y0)),
      acc_(std::size_t(w_ + 2) * std::size_t(h_), 0.0f), minY_(h_), maxY_(-1), minX_(float(w_)),
      maxX_(0) {}

void Rasterizer::addPolygon(const std::vector<Point>& points) {
    const std::size_t n = points.size();
    if (n < 3 || w_ == 0 || h_ == 0)
        return;
    for (std::size_t i = 0; i < n; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % n];
        addEdge(p.x - float(bx0_), p.y - float(by0_), q.x - float(bx0_), q.y - float(by0_));
    }
}

void Rasterizer::addPositivePolygon(std::vector<Point> points) {
    double area = 0;
    for (std::size_t i = 0, n = points.size(); i < n; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % n];
        area += double(p.x) * q.y - double(q.x) * p.y;
    }
    if (area < 0)
        std::reverse(points.begin(), points.end());
    addPolygon(points);
}

// Cuts an edge to the box's rows (outside them it covers nothing) and splits
// it at the box's left and right sides: a part left of the box still covers
// everything to its right, so it becomes a vertical edge on the left side; a
// part right of the box covers nothing inside it. Done in double precision so
// that enormous coordinates still give the right line inside the box.
void Rasterizer::addEdge(float fx0, float fy0, float fx1, float fy1) {
    double x0 = fx0, y0 = fy0, x1 = fx1, y1 = fy1;
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1)))
        return;
    if (y0 == y1)
        return;
    {
        const double t0 = (0 - y0) / (y1 - y0), t1 = (double(h_) - y0) / (y1 - y0);
        const double tMin = std::max(0.0, std::min(t0, t1)), tMax = std::min(1.0, std::max(t0, t1));
        if (!(tMin < tMax))
            return;
        const double dx = x1 - x0, dy = y1 - y0;
        const double nx0 = x0 + dx * tMin, ny0 = tMin == 0 ? y0 : y0 + dy * tMin;
        const double nx1 = x0 + dx * tMax, ny1 = tMax == 1 ? y1 : y0 + dy * tMax;
        x0 = nx0;
        y0 = ny0;
        x1 = nx1;
        y1 = ny1;
        if (!(std::isfinite(x0) && std::isfinite(x1)))
            return;
    }
    const double right = double(w_);
    auto crossAt = [&](double x) { return y0 + (y1 - y0) * (x - x0) / (x1 - x0); };
    auto line = [&](double ax, double ay, double bx, double by) {
        accumulateLine(float(std::clamp(ax, 0.0, right)), float(ay),
                       float(std::clamp(bx, 0.0, right)), float(by));
    };
    // Left side.
    if (x0 < 0 || x1 < 0) {
        if (x0 < 0 && x1 < 0) {
            line(0, y0, 0, y1);
            return;
        }
        const double yc = crossAt(0);
        if (x0 < 0) {
            line(0, y0, 0, yc);
            x0 = 0;
            y0 = yc;
        } else {
            line(0, yc, 0, y1);
            x1 = 0;
            y1 = yc;
        }
    }
    // Right side.
    if (x0 > right || x1 > right) {
        maxX_ = float(right); // the shape goes on past the box: cover to its side
        if (x0 > right && x1 > right)
            return;
        const double yc = crossAt(right);
        if (x0 > right) {
            x0 = right;
            y0 = yc;
        } else {
            x1 = right;
            y1 = yc;
        }
    }
    line(x0, y0, x1, y1);
}

namespace {

// One row's share of an edge that crosses it from xa to xb (xl and xr the
// lesser and the greater), whose signed height in the row is d: the area
// right of the edge in each pixel it passes, as differences along the row.
inline void accumulateCrossing(float* a, float xa, float xb, float xl, float xr, float d) {
    const float xlFloor = float(floorOf(xl));
    const int xli = int(xlFloor);
    const float xrCeil = float(ceilOf(xr));
    const int xri = int(xrCeil);
    if (xri <= xli + 1) {
        // Within one pixel: the area right of the edge's midpoint.
        const float xmf = 0.5f * (xa + xb) - xlFloor;
        a[xli] += d - d * xmf;
        a[xli + 1] += d * xmf;
        return;
    }
    const float s = 1.0f / (xr - xl);
    const float xlf = xl - xlFloor;
    const float a0 = 0.5f * s * (1 - xlf) * (1 - xlf);
    const float xrf = xr - xrCeil + 1;
    const float am = 0.5f * s * xrf * xrf;
    a[xli] += d * a0;
    if (xri == xli + 2) {
        a[xli + 1] += d * (1 - a0 - am);
    } else {
        const float a1 = s * (1.5f - xlf);
        a[xli + 1] += d * (a1 - a0);
        for (int xi = xli + 2; xi < xri - 1; ++xi)
            a[xi] += d * s;
        const float a2 = a1 + float(xri - xli - 3) * s;
        a[xri - 1] += d * (1 - a2 - am);
    }
    a[xri] += d * am;
}

} // namespace

// Adds the signed area the edge sweeps in each pixel of the rows it crosses;
// a running sum along a row then gives the coverage (the accumulation
// rasterizer of font-rs).
void Rasterizer::accumulateLine(float x0, float y0, float x1, float y1) {
    if (!(y0 != y1) || !std::isfinite(x0) || !std::isfinite(x1))
        return;
    float dir = 1.0f;
    if (y0 > y1) {
        dir = -1.0f;
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const float dxdy = (x1 - x0) / (y1 - y0);
    if (!std::isfinite(dxdy))
        return; // so nearly horizontal that it covers nothing
    const float yTop = std::max(y0, 0.0f);
    const float yBottom = std::min(y1, float(h_));
    if (yTop >= yBottom)
        return;
    float x = x0 + (yTop - y0) * dxdy;
    const int rowStart = int(floorOf(yTop));
    const int rowEnd = std::min(h_, int(ceilOf(yBottom)));
    minY_ = std::min(minY_, rowStart);
    maxY_ = std::max(maxY_, rowEnd - 1);
    const std::size_t rowLen = std::size_t(w_ + 2);
    for (int row = rowStart; row < rowEnd; ++row) {
        const float top = std::max(float(row), yTop);
        const float bottom = std::min(float(row + 1), yBottom);
        if (bottom <= top)
            continue;
        const float dy = bottom - top;
        const float xNext = std::clamp(x + dxdy * dy, 0.0f, float(w_));
        const float xa = std::clamp(x, 0.0f, float(w_));
        const float d = dy * dir;
        const float xl = std::min(xa, xNext), xr = std::max(xa, xNext);
        minX_ = std::min(minX_, xl);
        maxX_ = std::max(maxX_, xr);
        accumulateCrossing(acc_.data() + std::size_t(row) * rowLen, xa, xNext, xl, xr, d);
        x += dxdy * dy;
    }
}

CoverageMask Rasterizer::finish() {
    CoverageMask mask;
    if (maxY_ < minY_ || w_ == 0)
        return mask;
    // Past the rightmost edge the running sum is back to zero.
    const int cx0 = std::clamp(int(floorOf(minX_)), 0, w_);
    const int cx1 = std::clamp(int(ceilOf(maxX_)) + 1, 0, w_);
    if (cx0 >= cx1)
        return mask;
    mask.x0 = bx0_ + cx0;
    mask.y0 = by0_ + minY_;
    mask.width = cx1 - cx0;
    mask.height = maxY_ - minY_ + 1;
    mask.stride = (std::size_t(mask.width) + 3) & ~std::size_t(3);
    mask.bytes.assign(mask.stride * std::size_t(mask.height), 0);
    const std::size_t rowLen = std::size_t(w_ + 2);
    for (int row = minY_; row <= maxY_; ++row) {
        const float* a = acc_.data() + std::size_t(row) * rowLen;
        std::uint8_t* out = mask.bytes.data() + std::size_t(row - minY_) * mask.stride;
        float sum = 0;
        for (int x = 0; x < cx0; ++x)
            sum += a[x];
        for (int x = cx0; x < cx1; ++x) {
            sum += a[x];
            const float c = std::min(std::fabs(sum), 1.0f);
            out[x - cx0] = std::uint8_t(c * 255.0f + 0.5f);
        }
    }
    return mask;
}

} // namespace platform::detail
