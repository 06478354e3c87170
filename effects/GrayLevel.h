#pragma once

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zorbel {

// The weights of the grey level, by their float bit patterns: 0.3, 0.59, 0.11.
inline const float kGrayRed = std::bit_cast<float>(0x3E99999Au);
inline const float kGrayGreen = std::bit_cast<float>(0x3F170A3Du);
inline const float kGrayBlue = std::bit_cast<float>(0x3DE147AEu);

// The grey level of a colour: (0.3 red + 0.59 green) + 0.11 blue in float, in that order,
// truncated, held to 0 ... 255. Pure red gives 76, white 255, blue 28.
inline int grayLevel(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    float sum = (kGrayRed * float(red) + kGrayGreen * float(green)) + kGrayBlue * float(blue);
    int level = int(sum); // the sum is never negative nor far above 255
    return level > 255 ? 255 : level;
}

#if defined(__SSE2__)
// The grey levels of four pixels (words as loadPixel gives them), with the same float
// operations as grayLevel, so the same values.
inline __m128i grayLevels4(__m128i pixels) {
    const __m128i byteMask = _mm_set1_epi32(0xFF);
    __m128 red = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(pixels, 8), byteMask));
    __m128 green = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(pixels, 16), byteMask));
    __m128 blue = _mm_cvtepi32_ps(_mm_srli_epi32(pixels, 24));
    __m128 sum = _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(kGrayRed), red),
                                       _mm_mul_ps(_mm_set1_ps(kGrayGreen), green)),
                            _mm_mul_ps(_mm_set1_ps(kGrayBlue), blue));
    // Held at 255 before truncating: the same as truncating and then holding, for sums >= 0.
    return _mm_cvttps_epi32(_mm_min_ps(sum, _mm_set1_ps(255.0f)));
}
#endif

} // namespace zorbel
