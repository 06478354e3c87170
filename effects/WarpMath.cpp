#include "effects/WarpMath.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace zorbel {

namespace {

// The constants are given by their bit patterns: they are part of the definition, and a decimal
// literal could round to a neighbouring float on some other compiler.
const float kHalfPi = std::bit_cast<float>(0x3FC90FDAu);        // 1.57079625, one unit below pi/2
const float kPi = std::bit_cast<float>(0x40490FDBu);            // 3.14159274
const float kAtanCoeff = std::bit_cast<float>(0x3E8F5C29u);     // 0.28
const float OOshift23 = std::bit_cast<float>(0x34000000u);      // 2^-23
const float shift23 = std::bit_cast<float>(0x4B000000u);        // 2^23
const float kLogCorrection = std::bit_cast<float>(0x3EB17679u); // 0.346607
const float kExpCorrection = std::bit_cast<float>(0x3EADEE78u); // 0.33971

} // namespace

float smoothstep(float edge0, float edge1, float x) {
    if (x < edge0)
        return 0.0f;
    if (x >= edge1)
        return 1.0f;
    float t = (x - edge0) / (edge1 - edge0);
    return (t * t) * (t * -2.0f + 3.0f);
}

float fast_atan2f(float y, float x) {
    if (x == 0.0f) {
        if (y > 0.0f)
            return kHalfPi;
        if (y == 0.0f)
            return 0.0f;
        return -kHalfPi;
    }
    float z = y / x;
    if (std::fabs(z) < 1.0f) {
        float t = z / (1.0f + z * (z * kAtanCoeff));
        if (x < 0.0f) {
            if (y < 0.0f)
                return t - kPi;
            return t + kPi;
        }
        return t;
    }
    float t = kHalfPi - z / (z * z + kAtanCoeff);
    if (y < 0.0f)
        return t - kPi;
    return t;
}

float myPow(float x, float p) {
    // log2 from the exponent and mantissa bits, corrected by a parabola; the power is then
    // built back into the bits the same way.
    float l = float(std::bit_cast<std::int32_t>(x)) * OOshift23 - 127.0f;
    float f = l - std::floor(l);
    l = l + (f - f * f) * kLogCorrection;
    l = l * p;
    f = l - std::floor(l);
    float w = (l + 127.0f) - (f - f * f) * kExpCorrection;
    float scaled = w * shift23;
    // Out of range (only for inputs far outside x >= 0, moderate p) the conversion would be
    // undefined; give what the processor's truncating conversion gives.
    std::int32_t bits =
        (scaled >= -2147483648.0f && scaled < 2147483648.0f) ? std::int32_t(scaled) : INT32_MIN;
    return std::bit_cast<float>(bits);
}

} // namespace zorbel
