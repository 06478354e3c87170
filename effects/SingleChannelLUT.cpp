#include "effects/SingleChannelLUT.h"

#include <cstddef>

#include "effects/PixelLoop.h"

namespace zorbel {

void createIdentityLUT(SingleChannelLUT& table) {
    for (int i = 0; i < 256; ++i)
        table[std::size_t(i)] = std::uint8_t(i);
}

void createBrightnessLUT(SingleChannelLUT& table, int amount) {
    for (int i = 0; i < 256; ++i) {
        long long value = (long long)i + amount;
        table[std::size_t(i)] = value > 254 ? 255 : value < 0 ? 0 : std::uint8_t(value);
    }
}

void applySingleChannelLUTRaw(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                              const SingleChannelLUT& table) {
    mapEachPixel(src, dst, width, height, [&](std::uint32_t p) {
        return pixelWithColor(p, table[(p >> 8) & 0xFF], table[(p >> 16) & 0xFF], table[p >> 24]);
    });
}

} // namespace zorbel
