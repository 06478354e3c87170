#include "canvas/ShapeRecogniser.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorbel {

using platform::Point;
using platform::Rect;

namespace {

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

// Whether the pairs' directions follow the overall one from first to last:
// on average within 5 degrees, or (for the last pair with a slope) within 0.5
// of its slope.
bool directionsFollowTheEnds(const ShapeRecogniser::Points& points) {
    const Point first = points.front()->xyPosition();
    const Point last = points.back()->xyPosition();
    const float dx = first.x - last.x;
    const float dy = first.y - last.y;
    if (dx == 0 || dy == 0)
        return false;
    const float slope = dy / dx;
    const double base = std::atan(double(slope)) * kDegreesPerRadian;
    double sum = 0;
    int counted = 0;
    bool near = false; // about the last pair with a slope only
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point a = points[i - 1]->xyPosition();
        const Point b = points[i]->xyPosition();
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

std::vector<Point> ellipseIn(const Rect& box) {
    const double rx = double(box.width()) / 2;
    const double ry = double(box.height()) / 2;
    const double cx = double(box.minX()) + rx;
    const double cy = double(box.minY()) + ry;
    std::vector<Point> outline{{float(cx + rx), float(cy)}};
    for (int degree = 1; degree <= 360; ++degree) {
        const double angle = degree / kDegreesPerRadian;
        outline.push_back({float(cx + rx * std::cos(angle)), float(cy + ry * std::sin(angle))});
    }
    return outline;
}

} // namespace

Rect ShapeRecogniser::getEnclosingRect(const Points& points) {
    if (points.size() < 2)
        return Rect::null();
    // The touch-down point is left out.
    Point low = points[1]->xyPosition();
    Point high = low;
    for (std::size_t i = 2; i < points.size(); ++i) {
        const Point p = points[i]->xyPosition();
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    return Rect(low.x, low.y, high.x - low.x, high.y - low.y);
}

bool ShapeRecogniser::wasClosedObjectDrawn(const Points& points) {
    if (points.empty())
        return false;
    const Point first = points.front()->xyPosition();
    const Point last = points.back()->xyPosition();
    return truncatesWithin(first.x - last.x, 20) && truncatesWithin(first.y - last.y, 20);
}

bool ShapeRecogniser::wasRectDrawn(const Points& points) {
    const std::size_t count = points.size();
    if (count <= 3)
        return false;
    const Rect box = getEnclosingRect(points);
    if (box.width() < 20 && box.height() < 20)
        return false;
    double previous = pairDirection(points[0]->xyPosition(), points[1]->xyPosition());
    int turns = 0;
    // The pair that ends at the last point is not looked at.
    for (std::size_t i = 1; i + 1 < count; ++i) {
        const double d = pairDirection(points[i - 1]->xyPosition(), points[i]->xyPosition());
        const double turn = std::fabs(previous - d);
        if (turn > 65 && turn < 115)
            ++turns;
        previous = d;
    }
    return turns == 3 || turns == 4;
}

bool ShapeRecogniser::wasLineDrawn(const Points& points) {
    if (wasClosedObjectDrawn(points) || points.size() <= 1)
        return false;
    const Rect box = getEnclosingRect(points);
    const float w = box.width();
    const float h = box.height();
    if (w < 20 && h < 20)
        return false; // too small to be anything
    if (h > w ? w < 20 : h < 20)
        return true; // a thin box
    return directionsFollowTheEnds(points);
}

std::vector<Point> ShapeRecogniser::recognisedOutline(const Points& points) {
    if (points.empty())
        return {};
    if (wasLineDrawn(points))
        return {points.front()->xyPosition(), points.back()->xyPosition()};
    if (!wasClosedObjectDrawn(points))
        return {};
    const Rect box = getEnclosingRect(points);
    if (box.isNull())
        return {};
    if (wasRectDrawn(points))
        return {{box.minX(), box.minY()},
                {box.maxX(), box.minY()},
                {box.maxX(), box.maxY()},
                {box.minX(), box.maxY()},
                {box.minX(), box.minY()}};
    return ellipseIn(box);
}

} // namespace zorbel
