#include "app/ShakeFilter.h"

#include <cmath>

namespace zorbel {

bool ShakeFilter::takeSample(double x, double y, double z, double now) {
    const double reading[3] = {x, y, z};
    double movement[3];
    for (int a = 0; a < 3; ++a) {
        filtered_[a] = reading[a] * kNewWeight + filtered_[a] * kOldWeight;
        movement[a] = reading[a] - filtered_[a];
    }
    const double strength = std::sqrt(movement[0] * movement[0] + movement[1] * movement[1] +
                                      movement[2] * movement[2]);
    if (strength < kThreshold)
        return false;
    // Exactly half a second on is still the same shake.
    if (!(now > lastTime_ + kInterval))
        return false;
    lastTime_ = now;
    return true;
}

} // namespace zorbel
