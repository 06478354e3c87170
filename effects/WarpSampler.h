#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The sampler every warp reads the source through: a clamped nearest or bilinear read of 4-byte
// pixels (width * 4 bytes per row, no padding) at a floating-point position. The four bytes of a
// pixel are treated alike.

namespace zorbel {

// floorf without the library call (the sampler and myPow take two each per pixel): the same
// value, sign of zero included, for every float.
inline float floorFloat(float x) {
    if (!(std::fabs(x) < 8388608.0f) || x == 0.0f)
        return x; // already whole (or NaN, or infinite), or a zero that keeps its sign
    float whole = float(int(x));
    return whole > x ? whole - 1.0f : whole;
}

// The base index of a sample along one axis of n >= 2 pixels: the position truncated toward
// zero, then held to 0 ... n - 2, so that the 2 x 2 neighbourhood stays inside. Written with
// comparisons first so that no out-of-range float is converted (that would be undefined).
inline int warpBaseIndex(float position, int n) {
    if (position >= float(n - 1))
        return n - 2;
    if (position > -1.0f)
        return int(position);
    return 0;
}

// A colour value to a byte: 255 from 255 up (and for NaN), truncated between, 0 from 0 down.
inline std::uint8_t warpByte(float value) {
    if (!(value < 255.0f))
        return 255;
    if (value > 0.0f)
        return std::uint8_t(int(value));
    return 0;
}

// Copies the pixel at the clamped truncated position.
inline void sampleNearest(const std::uint8_t* src, int width, int height, float x, float y,
                          std::uint8_t* out) {
    const std::uint8_t* p = src + (std::size_t(warpBaseIndex(y, height)) * std::size_t(width) +
                                   std::size_t(warpBaseIndex(x, width))) *
                                      4;
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
    out[3] = p[3];
}

// The bilinear read one byte at a time. The weights are the fractions of the unclamped
// position, so at a clamped border they still come from the far-away coordinate.
inline void sampleBilinearScalar(const std::uint8_t* src, int width, int height, float x, float y,
                                 std::uint8_t* out) {
    const std::uint8_t* p00 = src + (std::size_t(warpBaseIndex(y, height)) * std::size_t(width) +
                                     std::size_t(warpBaseIndex(x, width))) *
                                        4;
    const std::uint8_t* p10 = p00 + std::size_t(width) * 4;
    float fx = x - floorFloat(x);
    float fy = y - floorFloat(y);
    for (int c = 0; c < 4; ++c) {
        float top = float(p00[c]) + fx * float(int(p00[c + 4]) - int(p00[c]));
        float bottom = float(p10[c]) + fx * float(int(p10[c + 4]) - int(p10[c]));
        out[c] = warpByte(top + fy * (bottom - top));
    }
}

// The same read with the four bytes in one SSE2 register: the same single-precision operations
// in the same order, so the bytes are identical to sampleBilinearScalar's.
inline void sampleBilinear(const std::uint8_t* src, int width, int height, float x, float y,
                           std::uint8_t* out) {
#if defined(__SSE2__)
    const std::uint8_t* p00 = src + (std::size_t(warpBaseIndex(y, height)) * std::size_t(width) +
                                     std::size_t(warpBaseIndex(x, width))) *
                                        4;
    const std::uint8_t* p10 = p00 + std::size_t(width) * 4;
    const __m128i zero = _mm_setzero_si128();
    __m128i upper = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p00)), zero);
    __m128i lower = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p10)), zero);
    __m128i i00 = _mm_unpacklo_epi16(upper, zero);
    __m128i i01 = _mm_unpackhi_epi16(upper, zero);
    __m128i i10 = _mm_unpacklo_epi16(lower, zero);
    __m128i i11 = _mm_unpackhi_epi16(lower, zero);
    __m128 fx = _mm_set1_ps(x - floorFloat(x));
    __m128 fy = _mm_set1_ps(y - floorFloat(y));
    __m128 top =
        _mm_add_ps(_mm_cvtepi32_ps(i00), _mm_mul_ps(fx, _mm_cvtepi32_ps(_mm_sub_epi32(i01, i00))));
    __m128 bottom =
        _mm_add_ps(_mm_cvtepi32_ps(i10), _mm_mul_ps(fx, _mm_cvtepi32_ps(_mm_sub_epi32(i11, i10))));
    __m128 value = _mm_add_ps(top, _mm_mul_ps(fy, _mm_sub_ps(bottom, top)));
    // minps answers its second operand when either is NaN, so NaN becomes 255 as in warpByte.
    value = _mm_max_ps(_mm_min_ps(value, _mm_set1_ps(255.0f)), _mm_setzero_ps());
    __m128i bytes = _mm_cvttps_epi32(value);
    bytes = _mm_packus_epi16(_mm_packs_epi32(bytes, bytes), zero);
    std::uint32_t packed = std::uint32_t(_mm_cvtsi128_si32(bytes));
    out[0] = std::uint8_t(packed);
    out[1] = std::uint8_t(packed >> 8);
    out[2] = std::uint8_t(packed >> 16);
    out[3] = std::uint8_t(packed >> 24);
#else
    sampleBilinearScalar(src, width, height, x, y, out);
#endif
}

} // namespace zorbel
