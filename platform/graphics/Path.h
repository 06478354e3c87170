#pragma once

#include <vector>

#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"

namespace platform {

// An outline made of closed or open polygons; curves are flattened when added,
// finely enough for the display.
class Path {
public:
    void moveTo(Point p);
    void lineTo(Point p);
    void curveTo(Point c1, Point c2, Point end); // cubic Bezier
    void close();
    void addRect(const Rect& r);
    void addRoundedRect(const Rect& r, float radius);
    void addEllipseInRect(const Rect& r);
    void addArc(Point center, float radius, float startAngle, float endAngle, bool clockwise);

    bool isEmpty() const;
    Rect bounds() const;
    // Each subpath as a list of points; closed ones repeat nothing.
    const std::vector<std::vector<Point>>& subpaths() const { return subpaths_; }
    const std::vector<bool>& closed() const { return closed_; }

private:
    std::vector<std::vector<Point>> subpaths_;
    std::vector<bool> closed_;
};

} // namespace platform
