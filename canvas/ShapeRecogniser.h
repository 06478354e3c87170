#pragma once

#include <memory>
#include <vector>

#include "canvas/PaintPoint.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"

namespace zorbel {

// What a finished stroke looks like, from its recorded points alone (touch-down
// first): cheap tests on the points' box, the distance between the ends and
// the directions of successive pairs.
class ShapeRecogniser {
public:
    using Points = std::vector<std::shared_ptr<PaintPoint>>;

    // Ends within 20 points of its start, per axis (differences truncated).
    static bool wasClosedObjectDrawn(const Points& points);
    // A thin box, or pair directions that follow the first-to-last direction.
    static bool wasLineDrawn(const Points& points);
    // Three or four turns of 65 to 115 degrees between successive pairs.
    static bool wasRectDrawn(const Points& points);
    // The box of the points after the first; null with fewer than 2 points.
    static platform::Rect getEnclosingRect(const Points& points);
    // The clean shape to draw instead, as one polyline: the segment from the
    // first to the last point for a line; for a closed stroke its box's
    // outline (rectangle) or the ellipse inscribed in the box, one point a
    // degree. Empty when the stroke is none of these.
    static std::vector<platform::Point> recognisedOutline(const Points& points);
};

} // namespace zorbel
