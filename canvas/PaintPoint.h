#pragma once

#include "platform/graphics/Point.h"

namespace zorbel {

// One recorded stroke position, boxed so that a stroke can be kept as a list
// of records shared between the canvas and the shape tests.
class PaintPoint {
public:
    PaintPoint() = default;
    explicit PaintPoint(platform::Point point) : xyPosition_(point) {}

    platform::Point xyPosition() const { return xyPosition_; }
    void setXyPosition(platform::Point point) { xyPosition_ = point; }

private:
    platform::Point xyPosition_;
};

} // namespace zorbel
