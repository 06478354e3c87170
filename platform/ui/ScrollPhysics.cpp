#include "platform/ui/ScrollPhysics.h"

#include <algorithm>
#include <cmath>

namespace platform::scroll {

namespace {

// Coasting ends when the speed falls below this.
constexpr float kStopVelocity = 4;
// How stiff the spring back from past an edge is (a critically damped
// spring of this angular frequency settles in about half a second).
constexpr double kSpringFrequency = 14;
// Resistance past the edges while dragging: the shown overshoot for a
// finger overshoot x in a view of length d is (1 - 1 / (x * k / d + 1)) * d.
constexpr float kRubberBand = 0.55f;

float rubberBand(float overshoot, float length) {
    if (length <= 0)
        return 0;
    return (1 - 1 / (overshoot * kRubberBand / length + 1)) * length;
}

// The finger overshoot that shows as `shown` (inverse of rubberBand).
float unRubberBand(float shown, float length) {
    if (length <= 0)
        return 0;
    shown = std::min(shown, length * 0.999f);
    return length / kRubberBand * (shown / (length - shown));
}

} // namespace

// One axis of rubber banding: `raw` is the finger's offset, [0, max] the
// resting range.
float bandAxis(float raw, float max, float length, bool bounces) {
    if (raw < 0)
        return bounces ? -rubberBand(-raw, length) : 0;
    if (raw > max)
        return bounces ? max + rubberBand(raw - max, length) : max;
    return raw;
}

float unBandAxis(float shown, float max, float length) {
    if (shown < 0)
        return -unRubberBand(-shown, length);
    if (shown > max)
        return max + unRubberBand(shown - max, length);
    return shown;
}

// Advances one axis of a coasting view by h seconds. Inside the resting
// range the velocity decays by kDecelerationRate per millisecond; past an
// edge a critically damped spring pulls back to it:
//   x(t) = (x0 + (v0 + w x0) t) e^(-w t),  v(t) = (v0 - w (v0 + w x0) t) e^(-w t)
// with x the distance past the edge. Answers whether the axis still moves.
bool coastAxis(float& pos, float& vel, float max, bool bounces, double h) {
    if (pos >= 0 && pos <= max) {
        // v(t) = v0 e^(-k t) with k = 1000 ln(1 / rate); the distance is its integral.
        const double k = -1000 * std::log(kDecelerationRate);
        const double decay = std::exp(-k * h);
        pos += float(double(vel) * (1 - decay) / k);
        vel = float(double(vel) * decay);
        if ((pos < 0 || pos > max) && !bounces) {
            pos = std::clamp(pos, 0.0f, max);
            vel = 0;
        }
        if (pos >= 0 && pos <= max && std::fabs(vel) < kStopVelocity) {
            vel = 0;
            return false;
        }
        return true;
    }
    const float edge = pos < 0 ? 0 : max;
    const double w = kSpringFrequency;
    const double x = pos - edge;
    const double c = vel + w * x;
    const double e = std::exp(-w * h);
    const double nx = (x + c * h) * e;
    const double nv = (vel - w * c * h) * e;
    if (x * nx <= 0 || (std::fabs(nx) < 0.5 && std::fabs(nv) < 10)) {
        pos = edge;
        vel = 0;
        return false;
    }
    pos = float(edge + nx);
    vel = float(nv);
    return true;
}

} // namespace platform::scroll
