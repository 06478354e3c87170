#pragma once

#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"

namespace zorbel {

// Where the stamps of one segment go: count() points evenly spaced from the
// from point on, at t = i / count, the to point left to the next segment. A
// segment shorter than two steps has one stamp, at its from point; a step of
// 0 or a NaN point gives one stamp too, and no segment has more than
// kMaxStamps.
class StampPlacement {
public:
    static constexpr unsigned kMaxStamps = 1u << 20;

    StampPlacement(platform::Point from, platform::Point to, float step);

    unsigned count() const { return count_; }
    platform::Point at(unsigned i) const;

private:
    platform::Point from_;
    float dx_ = 0;
    float dy_ = 0;
    unsigned count_ = 1;
};

} // namespace zorbel
