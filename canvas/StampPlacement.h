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

    // Indices first <= i < end.
    struct Run {
        unsigned first = 0;
        unsigned end = 0;
        bool empty() const { return first >= end; }
        unsigned size() const { return empty() ? 0 : end - first; }
    };

    StampPlacement(platform::Point from, platform::Point to, float step);

    unsigned count() const { return count_; }
    platform::Point at(unsigned i) const;
    // The stamps whose point lies strictly inside `window`. Each coordinate
    // moves one way along the segment, so they are one run, found without
    // visiting the others; none when a coordinate is not a finite number.
    Run inside(const platform::Rect& window) const;

private:
    platform::Point from_;
    float dx_ = 0;
    float dy_ = 0;
    unsigned count_ = 1;
};

} // namespace zorbel
