#pragma once

// The arithmetic helpers the warps share. They are part of the warps' definition: each one is
// written so that its result is the same to the last bit on every build (no fused or reordered
// floating-point operations), and the warps' output depends on exactly these values.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zorbel {

// 0 below edge0, 1 from edge1 on, the cubic 3t^2 - 2t^3 between; all in float.
float smoothstep(float edge0, float edge1, float x);

// A fast approximation of atan2(y, x) in float, within about 0.005 radians. Returns values in
// (-pi, pi]; (0, 0) gives 0.
float fast_atan2f(float y, float x);

// An approximation of x^p for x >= 0 that works on the bit pattern of x. myPow(1, p) is exactly 1;
// myPow(0, p) is a tiny positive number, not 0.
float myPow(float x, float p);

// fast_atan2f(y, x[i]) for count values of x, into angles (four at a time where it can).
void fastAtan2Row(float y, const float* x, float* angles, int count);

#if defined(__SSE2__)
// fast_atan2f of four (y, x) pairs at once, with the same operations: the same bits.
__m128 fast_atan2f4(__m128 y, __m128 x);

// myPow of four values at once, with the same operations: the same bits as four myPow calls.
__m128 myPow4(__m128 x, float p);
#endif

} // namespace zorbel
