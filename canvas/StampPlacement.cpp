#include "canvas/StampPlacement.h"

#include <algorithm>
#include <cmath>

namespace zorbel {

using platform::Point;

namespace {

// The first i in [0, count] for which `past` holds, `past` being false and
// then true along the indices.
template <class Past>
unsigned firstPast(unsigned count, Past past) {
    unsigned low = 0;
    unsigned high = count;
    while (low < high) {
        const unsigned mid = low + (high - low) / 2;
        if (past(mid))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

// The indices whose coordinate value(i) lies strictly between low and high.
// value(i) = start + delta * (i / count) in float arithmetic never decreases
// along i when delta >= 0 and never increases when it is negative.
template <class Value>
StampPlacement::Run runBetween(unsigned count, float delta, float low, float high, Value value) {
    if (delta >= 0)
        return {firstPast(count, [&](unsigned i) { return value(i) > low; }),
                firstPast(count, [&](unsigned i) { return value(i) >= high; })};
    return {firstPast(count, [&](unsigned i) { return value(i) < high; }),
            firstPast(count, [&](unsigned i) { return value(i) <= low; })};
}

} // namespace

StampPlacement::StampPlacement(Point from, Point to, float step)
    : from_(from), dx_(to.x - from.x), dy_(to.y - from.y) {
    const float length = std::sqrt(dx_ * dx_ + dy_ * dy_);
    const float n = std::ceil(length / step);
    count_ = n > 1 ? unsigned(std::min(double(n), double(kMaxStamps))) : 1u;
}

Point StampPlacement::at(unsigned i) const {
    const float t = float(i) / float(count_);
    return {from_.x + dx_ * t, from_.y + dy_ * t};
}

StampPlacement::Run StampPlacement::inside(const platform::Rect& window) const {
    if (!std::isfinite(from_.x) || !std::isfinite(from_.y) || !std::isfinite(dx_) ||
        !std::isfinite(dy_))
        return {};
    const Run xs = runBetween(count_, dx_, window.minX(), window.maxX(),
                              [this](unsigned i) { return at(i).x; });
    const Run ys = runBetween(count_, dy_, window.minY(), window.maxY(),
                              [this](unsigned i) { return at(i).y; });
    const Run both{std::max(xs.first, ys.first), std::min(xs.end, ys.end)};
    return both.empty() ? Run{} : both;
}

} // namespace zorbel
