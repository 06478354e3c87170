#include "effects/GrayScaleImageBitmap.h"

#include <cstddef>

#include "effects/GrayLevel.h"
#include "effects/PixelLoop.h"

namespace zorbel {

void grayScaleImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height) {
    if (src == nullptr || dst == nullptr || width <= 0 || height <= 0)
        return;
    std::size_t count = std::size_t(width) * std::size_t(height);
    std::size_t done = 0;
#if defined(__SSE2__)
    for (; done + 4 <= count; done += 4) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + done * 4));
        __m128i level = grayLevels4(pixels);
        __m128i color =
            _mm_or_si128(_mm_or_si128(_mm_slli_epi32(level, 8), _mm_slli_epi32(level, 16)),
                         _mm_slli_epi32(level, 24));
        __m128i alpha = _mm_and_si128(pixels, _mm_set1_epi32(0xFF));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + done * 4), _mm_or_si128(alpha, color));
    }
#endif
    mapEachPixel(src + done * 4, dst + done * 4, int(count - done), 1, [](std::uint32_t p) {
        std::uint32_t level = std::uint32_t(grayLevel((p >> 8) & 0xFF, (p >> 16) & 0xFF, p >> 24));
        return pixelWithColor(p, level, level, level);
    });
}

} // namespace zorbel
