#pragma once

#include <cmath>
#include <cstdint>

// The frame the warps share: normalised polar coordinates about the buffer centre. An output
// pixel (x, y) has u = (x - cx) / cx, v = (y - cy) / cy with cx = width / 2, cy = height / 2,
// radius r = sqrt(u^2 + v^2) and an angle a; a warp remaps r (and the twirl a) and reads the
// source at the remapped point. Used by the warp functions; callers use those.

namespace zorbel {

// How the angle of (u, v) is taken: the library atan2 in double rounded to float, or
// fast_atan2f.
enum class WarpAngle { Exact, Fast };

// A warp's new radii for a row of radii (count values; the two arrays do not overlap).
using WarpRadiusRule = void (*)(const float* radii, float* newRadii, int count);

// A WarpRadiusRule from a rule for one radius.
template <float (*NewRadius)(float)>
void eachRadius(const float* radii, float* newRadii, int count) {
    for (int i = 0; i < count; ++i)
        newRadii[i] = NewRadius(radii[i]);
}

// The source position in buffer pixels for the new radius and angle: the cosine and sine in
// double, times the radius in double, rounded to float; then scaled and offset in float.
inline void warpSourcePosition(float cx, float cy, float radius, float angle, float& x, float& y) {
    double sine;
    double cosine;
    ::sincos(double(angle), &sine, &cosine);
    float rhoX = float(double(radius) * cosine);
    float rhoY = float(double(radius) * sine);
    x = cx + cx * rhoX;
    y = cy + cy * rhoY;
}

// Runs a radius-only warp over the whole buffer with bilinear sampling. Returns without writing
// when a pointer is null or a side is below 2.
void warpWholeBuffer(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                     WarpAngle angle, WarpRadiusRule newRadius);

} // namespace zorbel
