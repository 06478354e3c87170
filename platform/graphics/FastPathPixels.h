#pragma once

// The per-pixel arithmetic that the fast path kernels share, scalar and in
// SSE2 lanes. Internal to platform/graphics.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#define ZORBEL_SSE2 1
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif
#endif

// Pixels are the bytes A, R, G, B; read as a little-endian word the alpha is
// the low byte. Every formula below is pixman's, rounding included:
//   mul(x, a) = round(x * a / 255) computed as t = x * a + 128, (t + (t >> 8)) >> 8
//   sat(v)    = min(v, 255)

namespace platform::detail {

inline std::uint32_t mul8(std::uint32_t x, std::uint32_t a) {
    const std::uint32_t t = x * a + 0x80;
    return (t + (t >> 8)) >> 8;
}

inline std::uint32_t sat8(std::uint32_t v) {
    return v > 255 ? 255 : v;
}

inline std::uint32_t channel(std::uint32_t p, int i) {
    return (p >> (8 * i)) & 0xFF;
}

// s * m / 255 per channel (pixman's combine_mask).
inline std::uint32_t applyAlpha(std::uint32_t s, std::uint32_t m) {
    if (m == 255)
        return s;
    if (m == 0)
        return 0;
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i)
        r |= mul8(channel(s, i), m) << (8 * i);
    return r;
}

// OVER: d = s + d * (1 - sa), per channel, saturated.
inline std::uint32_t overPixel(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t isa = 255 - (s & 0xFF);
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i)
        r |= sat8(channel(s, i) + mul8(channel(d, i), isa)) << (8 * i);
    return r;
}

// MULTIPLY: d = s * (1 - da) + d * (1 - sa) + s * d, each product rounded.
inline std::uint32_t multiplyPixel(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t isa = 255 - (s & 0xFF), ida = 255 - (d & 0xFF);
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t sc = channel(s, i), dc = channel(d, i);
        const std::uint32_t ss = sat8(mul8(sc, ida) + mul8(dc, isa));
        r |= sat8(mul8(dc, sc) + ss) << (8 * i);
    }
    return r;
}

#ifdef ZORBEL_SSE2

inline __m128i mul8x8(__m128i x, __m128i a) {
    const __m128i t = _mm_adds_epu16(_mm_mullo_epi16(x, a), _mm_set1_epi16(0x80));
    return _mm_mulhi_epu16(t, _mm_set1_epi16(0x0101));
}

inline __m128i expandAlpha(__m128i v) { // lanes A R G B A R G B -> A A A A A A A A
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(0, 0, 0, 0));
    return _mm_shufflehi_epi16(v, _MM_SHUFFLE(0, 0, 0, 0));
}

inline __m128i over16(__m128i s, __m128i d) { // two pixels in 16-bit lanes
    const __m128i isa = _mm_xor_si128(expandAlpha(s), _mm_set1_epi16(0xFF));
    return _mm_min_epi16(_mm_add_epi16(s, mul8x8(d, isa)), _mm_set1_epi16(0xFF));
}

inline __m128i multiply16(__m128i s, __m128i d) {
    const __m128i ff = _mm_set1_epi16(0xFF);
    const __m128i isa = _mm_xor_si128(expandAlpha(s), ff);
    const __m128i ida = _mm_xor_si128(expandAlpha(d), ff);
    const __m128i ss = _mm_min_epi16(_mm_add_epi16(mul8x8(s, ida), mul8x8(d, isa)), ff);
    return _mm_min_epi16(_mm_add_epi16(mul8x8(d, s), ss), ff);
}

#endif

} // namespace platform::detail
