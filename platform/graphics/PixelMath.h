#pragma once

// Rounding without libm calls: on the baseline x86-64 (SSE2) floor, ceil and
// nearbyint are function calls, and a stamp's placement needs a dozen of them.
// Internal to platform/graphics.

#include <cmath>
#include <cstdint>

namespace platform::detail {

// Values this large are already whole (or not finite) and pass through.
inline bool roundable(double v) {
    return std::fabs(v) < 4.5e15;
}

inline double floorOf(double v) {
    if (!roundable(v))
        return v;
    const double t = double(std::int64_t(v));
    return t > v ? t - 1 : t;
}

inline double ceilOf(double v) {
    if (!roundable(v))
        return v;
    const double t = double(std::int64_t(v));
    return t < v ? t + 1 : t;
}

// Halves round up.
inline double roundOf(double v) {
    return floorOf(v + 0.5);
}

} // namespace platform::detail
