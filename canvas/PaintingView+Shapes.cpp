// What a finished paint-brush stroke becomes: a straight line, a rectangle
// outline or an ellipse when it looks like one, or a chain of fitted Bezier
// curves when smoothing is on. Everything is redrawn through the segment
// renderer, so the replacement has the stroke's brush, opacity and blend mode.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "canvas/PaintingView.h"
#include "effects/FitCurves.h"

namespace zorbel {

using platform::Point;
using platform::Rect;

namespace {

// The fitter's input and output: scratch space shared by every smoothing, so
// that a stroke's end allocates nothing for them (main thread only).
std::array<Point2, PaintingView::kSmoothingMaxPoints> stdPoints;
std::array<Point2, kFitCurveMaxPoints> crvPoints;

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// Direction of the pair A, B in degrees (-90 ... 90): a line and its reverse
// agree. A zero difference becomes 0.0001 so that no pair divides by zero.
double pairDirection(Point a, Point b) {
    float dx = a.x - b.x;
    float dy = a.y - b.y;
    if (dx == 0)
        dx = 0.0001f;
    if (dy == 0)
        dy = 0.0001f;
    return std::atan(double(dy / dx)) * kDegreesPerRadian;
}

// |trunc(v)| <= limit, without converting v to an integer (NaN is not within).
bool truncatesWithin(float v, float limit) {
    return v > -(limit + 1) && v < limit + 1;
}

// The most segments one curve is drawn with.
constexpr float kMaxBezierResolution = 1000;

} // namespace

Rect PaintingView::getEnclosingRect() const {
    if (mPointArray_.size() < 2)
        return Rect::null();
    // The touch-down point is left out.
    Point low = mPointArray_[1]->xyPosition();
    Point high = low;
    for (std::size_t i = 2; i < mPointArray_.size(); ++i) {
        const Point p = mPointArray_[i]->xyPosition();
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    return Rect(low.x, low.y, high.x - low.x, high.y - low.y);
}

bool PaintingView::wasClosedObjectDrawn() const {
    if (mPointArray_.empty())
        return false;
    const Point first = mPointArray_.front()->xyPosition();
    const Point last = mPointArray_.back()->xyPosition();
    return truncatesWithin(first.x - last.x, 20) && truncatesWithin(first.y - last.y, 20);
}

bool PaintingView::wasRectDrawn() const {
    const std::size_t count = mPointArray_.size();
    if (count <= 3)
        return false;
    const Rect box = getEnclosingRect();
    if (box.width() < 20 && box.height() < 20)
        return false;
    double previous = pairDirection(mPointArray_[0]->xyPosition(), mPointArray_[1]->xyPosition());
    int turns = 0;
    // The pair that ends at the last point is not looked at.
    for (std::size_t i = 1; i + 1 < count; ++i) {
        const double d =
            pairDirection(mPointArray_[i - 1]->xyPosition(), mPointArray_[i]->xyPosition());
        const double turn = std::fabs(previous - d);
        if (turn > 65 && turn < 115)
            ++turns;
        previous = d;
    }
    return turns == 3 || turns == 4;
}

bool PaintingView::wasLineDrawn() const {
    if (wasClosedObjectDrawn())
        return false;
    const std::size_t count = mPointArray_.size();
    if (count <= 1)
        return false;
    const Rect box = getEnclosingRect();
    const float w = box.width();
    const float h = box.height();
    if (w < 20 && h < 20)
        return false; // too small to be anything
    if (h > w ? w < 20 : h < 20)
        return true; // a thin box

    const Point first = mPointArray_.front()->xyPosition();
    const Point last = mPointArray_.back()->xyPosition();
    const float dx = first.x - last.x;
    const float dy = first.y - last.y;
    if (dx == 0 || dy == 0)
        return false;
    const float slope = dy / dx;
    const double base = std::atan(double(slope)) * kDegreesPerRadian;
    double sum = 0;
    int counted = 0;
    bool near = false; // about the last pair with a slope only
    for (std::size_t i = 1; i < count; ++i) {
        const Point a = mPointArray_[i - 1]->xyPosition();
        const Point b = mPointArray_[i]->xyPosition();
        const float pdx = a.x - b.x;
        const float pdy = a.y - b.y;
        if (pdx == 0 || pdy == 0)
            continue;
        const float g = pdy / pdx;
        sum += std::atan(double(g)) * kDegreesPerRadian;
        ++counted;
        near = slope - 0.5f < g && g < slope + 0.5f;
    }
    const bool averageAlong = counted > 0 && std::fabs(sum / counted - base) < 5;
    return averageAlong || near;
}

bool PaintingView::redrawRecognisedShape() {
    if (mPointArray_.empty())
        return false;
    const Point first = mPointArray_.front()->xyPosition();
    const Point last = mPointArray_.back()->xyPosition();
    if (wasLineDrawn()) {
        copyFromUndoBuffer();
        renderLineFromPoint(first, last);
        mergePaintLayer();
        return true;
    }
    if (!wasClosedObjectDrawn())
        return false;
    const Rect box = getEnclosingRect();
    if (box.isNull())
        return false;
    copyFromUndoBuffer();
    if (wasRectDrawn()) {
        const Point corners[] = {{box.minX(), box.minY()},
                                 {box.maxX(), box.minY()},
                                 {box.maxX(), box.maxY()},
                                 {box.minX(), box.maxY()},
                                 {box.minX(), box.minY()}};
        for (std::size_t i = 0; i + 1 < std::size(corners); ++i)
            renderLineFromPoint(corners[i], corners[i + 1]);
    } else {
        const double rx = double(box.width()) / 2;
        const double ry = double(box.height()) / 2;
        const double cx = double(box.minX()) + rx;
        const double cy = double(box.minY()) + ry;
        Point previous{float(cx + rx), float(cy)};
        for (int degree = 1; degree <= 360; ++degree) {
            const double angle = degree / kDegreesPerRadian;
            const Point p{float(cx + rx * std::cos(angle)), float(cy + ry * std::sin(angle))};
            renderLineFromPoint(previous, p);
            previous = p;
        }
    }
    mergePaintLayer();
    return true;
}

void PaintingView::renderRecordedPoints(std::size_t first) {
    for (std::size_t i = first; i + 1 < mPointArray_.size(); ++i)
        renderLineFromPoint(mPointArray_[i]->xyPosition(), mPointArray_[i + 1]->xyPosition());
}

void PaintingView::curveFit() {
    const std::size_t total = mPointArray_.size();
    if (total < 3)
        return;
    // The fitter takes at most kSmoothingMaxPoints points; never more go in.
    const int n = int(std::min<std::size_t>(total, kSmoothingMaxPoints));
    for (int i = 0; i < n; ++i) {
        const Point p = mPointArray_[std::size_t(i)]->xyPosition();
        stdPoints[std::size_t(i)] = {double(p.x), double(p.y)};
    }
    const double tolerance = double(host().paintingViewSmoothingTolerance());
    const int written = FitCurveList2(stdPoints.data(), n, tolerance, 0, crvPoints.data());
    drawCurves(crvPoints.data(), written);

    // The curves run from point 0 through split points to their last end
    // point, in stroke order. Where that end is, the curves stop: the part of
    // the stroke after it (points past the fitter's room, or segments it had
    // no room to keep) is drawn as recorded. With repeated coordinates the
    // earliest match is taken, which may redraw a piece twice but loses none.
    int covered = 0;
    for (int k = 0; k + 3 < written; k += 4) {
        const Point2& end = crvPoints[std::size_t(k + 3)];
        int j = covered + 1;
        while (j < n && !(stdPoints[std::size_t(j)] == end))
            ++j;
        if (j >= n)
            break;
        covered = j;
    }
    if (std::size_t(covered) + 1 < total)
        renderRecordedPoints(std::size_t(covered));
}

void PaintingView::drawCurves(const Point2* points, int numPoints) {
    if (!points)
        return;
    for (int k = 0; k + 4 <= numPoints; k += 4)
        drawBezCurve(points + k);
}

void PaintingView::drawBezCurve(const Point2* p) {
    bez_draw({Point{float(p[0].x), float(p[0].y)}, Point{float(p[1].x), float(p[1].y)},
              Point{float(p[2].x), float(p[2].y)}, Point{float(p[3].x), float(p[3].y)}});
}

void PaintingView::bez_draw(const std::array<Point, 4>& curve) {
    // A resolution that is not a positive number takes the default; a huge
    // one would never finish (or, at infinity, never advance).
    float step = 0.05f;
    if (bezierResolution_ > 0)
        step = 1.0f / std::min(bezierResolution_, kMaxBezierResolution);
    Point previous = bez_Position_StepBezier(curve, 0);
    const double end = double(step) * 0.5 + 1.0;
    for (float t = step; double(t) < end; t += step) {
        const Point p = bez_Position_StepBezier(curve, t);
        renderLineFromPoint(previous, p);
        previous = p;
    }
}

Point PaintingView::bez_Position_StepBezier(const std::array<Point, 4>& c, float t) {
    const float u = 1 - t;
    const float b0 = u * u * u;
    const float b1 = float(3.0 * double(t) * double(u) * double(u));
    const float b2 = float(3.0 * double(t) * double(t) * double(u));
    const float b3 = t * t * t;
    return {b0 * c[0].x + b1 * c[1].x + b2 * c[2].x + b3 * c[3].x,
            b0 * c[0].y + b1 * c[1].y + b2 * c[2].y + b3 * c[3].y};
}

bool PaintingView::pnt_closePoint(Point a, Point b, float tolerance) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return dx * dx + dy * dy <= tolerance * tolerance;
}

} // namespace zorbel
