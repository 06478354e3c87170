#pragma once

// The motion of a scroll view's content along one axis, as pure functions of
// where it is: rubber banding past the edges while a finger drags it, and
// coasting after a fling with a spring back from past an edge. The resting
// range of an axis is [0, max]; `length` is the view's length on that axis.

namespace platform::scroll {

// Velocity kept per millisecond while coasting.
inline constexpr double kDecelerationRate = 0.998;

// The offset shown for a finger's offset `raw`: past an edge a bouncing view
// follows with growing resistance, one that does not bounce stops there.
float bandAxis(float raw, float max, float length, bool bounces);
// The finger's offset that shows as `shown` (inverse of bandAxis when bouncing).
float unBandAxis(float shown, float max, float length);

// Advances a coasting axis by h seconds; answers whether it still moves.
bool coastAxis(float& pos, float& vel, float max, bool bounces, double h);

} // namespace platform::scroll
