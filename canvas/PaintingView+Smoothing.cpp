// What a finished paint-brush stroke becomes: the clean shape it resembles, or
// a chain of fitted Bezier curves when smoothing is on. Everything is redrawn
// through the segment renderer, so the replacement has the stroke's brush,
// opacity and blend mode.

#include <algorithm>

#include "canvas/PaintingView.h"
#include "canvas/ShapeRecogniser.h"
#include "effects/FitCurves.h"

namespace zorbel {

using platform::Point;
using platform::Rect;

namespace {

// Smoothing fits at most this many points; the rest is drawn as recorded.
constexpr int kSmoothingMaxPoints = 1000;

// The fitter's input and output: scratch space shared by every smoothing, so
// that a stroke's end allocates nothing for them (main thread only).
std::array<Point2, kSmoothingMaxPoints> stdPoints;
std::array<Point2, kFitCurveMaxPoints> crvPoints;

// The most segments one curve is drawn with.
constexpr float kMaxBezierResolution = 1000;

} // namespace

bool PaintingView::wasClosedObjectDrawn() const {
    return ShapeRecogniser::wasClosedObjectDrawn(touch_.points);
}

bool PaintingView::wasLineDrawn() const {
    return ShapeRecogniser::wasLineDrawn(touch_.points);
}

bool PaintingView::wasRectDrawn() const {
    return ShapeRecogniser::wasRectDrawn(touch_.points);
}

Rect PaintingView::getEnclosingRect() const {
    return ShapeRecogniser::getEnclosingRect(touch_.points);
}

bool PaintingView::redrawRecognisedShape() {
    const std::vector<Point> outline = ShapeRecogniser::recognisedOutline(touch_.points);
    if (outline.empty())
        return false;
    copyFromUndoBuffer();
    renderPolyline(outline);
    mergePaintLayer();
    return true;
}

void PaintingView::renderPolyline(const std::vector<Point>& points) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        renderLineFromPoint(points[i], points[i + 1]);
}

// The curves run from point 0 through split points to their last end point,
// in stroke order. Where that end is, the curves stop: the part of the stroke
// after it (points past the fitter's room, or segments it had no room to
// keep) is drawn as recorded. With repeated coordinates the earliest match is
// taken, which may redraw a piece twice but loses none.
void PaintingView::curveFit() {
    const std::size_t total = touch_.points.size();
    if (total < 3)
        return;
    const int n = int(std::min<std::size_t>(total, kSmoothingMaxPoints));
    for (int i = 0; i < n; ++i) {
        const Point p = touch_.points[std::size_t(i)]->xyPosition();
        stdPoints[std::size_t(i)] = {double(p.x), double(p.y)};
    }
    const double tolerance = double(host().paintingViewSmoothingTolerance());
    const int written = FitCurveList2(stdPoints.data(), n, tolerance, 0, crvPoints.data());
    drawCurves(crvPoints.data(), written);

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
    if (std::size_t(covered) + 1 < total) {
        std::vector<Point> rest;
        for (std::size_t i = std::size_t(covered); i < total; ++i)
            rest.push_back(touch_.points[i]->xyPosition());
        renderPolyline(rest);
    }
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

// A resolution that is not a positive number takes the default; a huge one
// would never finish (or, at infinity, never advance).
void PaintingView::bez_draw(const std::array<Point, 4>& curve) {
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
