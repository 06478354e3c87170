#pragma once

// The coverage of what a context fills and strokes, in device pixels.
// Internal to platform/graphics.

#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Compositor.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rasterizer.h"

namespace platform::detail {

// Device polygons rasterized over their own bounds within the clip, so a
// small shape in a large bitmap costs what the shape covers. Positive sets
// (stroke pieces) are oriented so that overlaps add up.
CoverageMask rasterize(const std::vector<std::vector<Point>>& polygons, bool positive,
                       const Box& clip);

// The outline of a stroked polyline as positively oriented pieces: one quad a
// segment (butt ends) and a miter or bevel wedge at each joint.
void addStrokePieces(std::vector<Point> pts, bool closed, float halfWidth,
                     const AffineTransform& toDevice, std::vector<std::vector<Point>>& out);

} // namespace platform::detail
