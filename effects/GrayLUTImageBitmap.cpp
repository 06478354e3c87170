#include "effects/GrayLUTImageBitmap.h"

#include <bit>
#include <cstddef>

#include "effects/GrayLevel.h"
#include "effects/PixelLoop.h"

namespace zorbel {

namespace {

std::uint8_t rampByte(float value) {
    if (!(value > 0.0f))
        return 0;
    return value >= 255.0f ? 255 : std::uint8_t(int(value));
}

// The table's colours as the upper three bytes of a pixel word, to be joined with an alpha.
using PackedColors = std::array<std::uint32_t, 256>;

PackedColors packColors(const ColorLUT& table) {
    PackedColors packed;
    for (std::size_t g = 0; g < 256; ++g)
        packed[g] = pixelWithColor(0, table[g * 4 + 1], table[g * 4 + 2], table[g * 4 + 3]);
    return packed;
}

} // namespace

void createLUT(ColorLUT& table, float r0, float r1, float g0, float g1, float b0, float b1) {
    const float step = std::bit_cast<float>(0x3B800000u); // 1/256
    float red = r0;
    float green = g0;
    float blue = b0;
    const float redStep = (r1 - r0) * step;
    const float greenStep = (g1 - g0) * step;
    const float blueStep = (b1 - b0) * step;
    for (int i = 0; i < 256; ++i) {
        table[std::size_t(i) * 4 + 1] = rampByte(red);
        table[std::size_t(i) * 4 + 2] = rampByte(green);
        table[std::size_t(i) * 4 + 3] = rampByte(blue);
        red += redStep;
        green += greenStep;
        blue += blueStep;
        if (!(red < 255.0f))
            red = 255.0f;
        if (!(green < 255.0f))
            green = 255.0f;
        if (!(blue < 255.0f))
            blue = 255.0f;
    }
}

void createSepiaLUT(ColorLUT& table) {
    createLUT(table, 0.0f, 255.0f, 0.0f, 210.0f, 0.0f, 170.0f);
}

void grayLUTImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                        const ColorLUT& table) {
    if (src == nullptr || dst == nullptr || width <= 0 || height <= 0)
        return;
    const PackedColors colors = packColors(table);
    std::size_t count = std::size_t(width) * std::size_t(height);
    std::size_t done = 0;
#if defined(__SSE2__)
    alignas(16) std::int32_t levels[4];
    alignas(16) std::uint32_t words[4];
    for (; done + 4 <= count; done += 4) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + done * 4));
        _mm_store_si128(reinterpret_cast<__m128i*>(levels), grayLevels4(pixels));
        for (std::size_t k = 0; k < 4; ++k)
            words[k] = colors[std::size_t(levels[k])];
        __m128i alpha = _mm_and_si128(pixels, _mm_set1_epi32(0xFF));
        __m128i color = _mm_load_si128(reinterpret_cast<const __m128i*>(words));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + done * 4), _mm_or_si128(alpha, color));
    }
#endif
    mapEachPixel(src + done * 4, dst + done * 4, int(count - done), 1, [&](std::uint32_t p) {
        return (p & 0xFFu) |
               colors[std::size_t(grayLevel((p >> 8) & 0xFF, (p >> 16) & 0xFF, p >> 24))];
    });
}

} // namespace zorbel
