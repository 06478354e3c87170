#include "canvas/StampPlacement.h"

#include <algorithm>
#include <cmath>

namespace zorbel {

using platform::Point;

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

} // namespace zorbel
