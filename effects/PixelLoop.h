#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The loop every tone effect shares: each supplies only its rule for one pixel.

namespace zorbel {

// A pixel as a little-endian word: byte 0 (alpha) in the low 8 bits, then red, green, blue.
inline std::uint32_t loadPixel(const std::uint8_t* p) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    return word;
}

inline void storePixel(std::uint8_t* p, std::uint32_t word) {
    std::memcpy(p, &word, 4);
}

// Builds a pixel from the alpha of `alphaFrom` and the three colour bytes.
inline std::uint32_t pixelWithColor(std::uint32_t alphaFrom, std::uint32_t red, std::uint32_t green,
                                    std::uint32_t blue) {
    return (alphaFrom & 0xFFu) | (red << 8) | (green << 16) | (blue << 24);
}

// Writes rule(source pixel) for every pixel, in order. The rule keeps the alpha byte itself
// (pixelWithColor). Nothing happens when a pointer is null or a side is not positive.
template <class Rule>
void mapEachPixel(const std::uint8_t* src, std::uint8_t* dst, int width, int height, Rule rule) {
    if (src == nullptr || dst == nullptr || width <= 0 || height <= 0)
        return;
    const std::size_t count = std::size_t(width) * std::size_t(height);
    for (std::size_t i = 0; i < count; ++i)
        storePixel(dst + i * 4, rule(loadPixel(src + i * 4)));
}

} // namespace zorbel
