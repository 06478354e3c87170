#include "effects/WarpMath.h"

#include "effects/WarpSampler.h"

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
    float f = l - floorFloat(l);
    l = l + (f - f * f) * kLogCorrection;
    l = l * p;
    f = l - floorFloat(l);
    float w = (l + 127.0f) - (f - f * f) * kExpCorrection;
    float scaled = w * shift23;
    // Out of range (only for inputs far outside x >= 0, moderate p) the conversion would be
    // undefined; give what the processor's truncating conversion gives.
    std::int32_t bits =
        (scaled >= -2147483648.0f && scaled < 2147483648.0f) ? std::int32_t(scaled) : INT32_MIN;
    return std::bit_cast<float>(bits);
}

#if defined(__SSE2__)
namespace {

// floorFloat on four lanes.
__m128 floor4(__m128 x) {
    __m128 whole = _mm_cvtepi32_ps(_mm_cvttps_epi32(x));
    __m128 adjusted = _mm_sub_ps(whole, _mm_and_ps(_mm_cmpgt_ps(whole, x), _mm_set1_ps(1.0f)));
    __m128 magnitude = _mm_and_ps(x, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
    __m128 fractional = _mm_and_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(8388608.0f)),
                                   _mm_cmpneq_ps(x, _mm_setzero_ps()));
    return _mm_or_ps(_mm_and_ps(fractional, adjusted), _mm_andnot_ps(fractional, x));
}

__m128 select(__m128 mask, __m128 ifTrue, __m128 ifFalse) {
    return _mm_or_ps(_mm_and_ps(mask, ifTrue), _mm_andnot_ps(mask, ifFalse));
}

} // namespace

__m128 fast_atan2f4(__m128 y, __m128 x) {
    const __m128 zero = _mm_setzero_ps();
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 pi = _mm_set1_ps(kPi);
    const __m128 halfPi = _mm_set1_ps(kHalfPi);
    const __m128 coeff = _mm_set1_ps(kAtanCoeff);
    const __m128 yNegative = _mm_cmplt_ps(y, zero);
    // Lanes with x = 0 divide by zero here; their result is replaced below.
    const __m128 z = _mm_div_ps(y, x);
    const __m128 magnitude = _mm_and_ps(z, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
    const __m128 small = _mm_cmplt_ps(magnitude, one);

    const __m128 inner = _mm_div_ps(z, _mm_add_ps(one, _mm_mul_ps(z, _mm_mul_ps(z, coeff))));
    const __m128 innerTurned = select(yNegative, _mm_sub_ps(inner, pi), _mm_add_ps(inner, pi));
    const __m128 innerResult = select(_mm_cmplt_ps(x, zero), innerTurned, inner);

    const __m128 outer = _mm_sub_ps(halfPi, _mm_div_ps(z, _mm_add_ps(_mm_mul_ps(z, z), coeff)));
    const __m128 outerResult = select(yNegative, _mm_sub_ps(outer, pi), outer);

    const __m128 onAxis =
        select(_mm_cmpgt_ps(y, zero), halfPi, select(yNegative, _mm_sub_ps(zero, halfPi), zero));
    return select(_mm_cmpeq_ps(x, zero), onAxis, select(small, innerResult, outerResult));
}

__m128 myPow4(__m128 x, float p) {
    __m128 l = _mm_sub_ps(_mm_mul_ps(_mm_cvtepi32_ps(_mm_castps_si128(x)), _mm_set1_ps(OOshift23)),
                          _mm_set1_ps(127.0f));
    __m128 f = _mm_sub_ps(l, floor4(l));
    l = _mm_add_ps(l, _mm_mul_ps(_mm_sub_ps(f, _mm_mul_ps(f, f)), _mm_set1_ps(kLogCorrection)));
    l = _mm_mul_ps(l, _mm_set1_ps(p));
    f = _mm_sub_ps(l, floor4(l));
    __m128 w = _mm_sub_ps(_mm_add_ps(l, _mm_set1_ps(127.0f)),
                          _mm_mul_ps(_mm_sub_ps(f, _mm_mul_ps(f, f)), _mm_set1_ps(kExpCorrection)));
    // cvttps gives INT32_MIN out of range, as myPow's guarded conversion does.
    return _mm_castsi128_ps(_mm_cvttps_epi32(_mm_mul_ps(w, _mm_set1_ps(shift23))));
}
#endif

void fastAtan2Row(float y, const float* x, float* angles, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128 ys = _mm_set1_ps(y);
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(angles + i, fast_atan2f4(ys, _mm_loadu_ps(x + i)));
#endif
    for (; i < count; ++i)
        angles[i] = fast_atan2f(y, x[i]);
}

} // namespace zorbel
