#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace zorbel::test {

// A buffer of width x height pixels of seeded random bytes (the warps treat all four bytes alike).
inline std::vector<std::uint8_t> randomPicture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(std::size_t(width) * std::size_t(height) * 4);
    for (auto& b : bytes)
        b = std::uint8_t(random());
    return bytes;
}

// A smooth picture: neighbouring pixels differ by little, so a one-pixel shift shows as small.
inline std::vector<std::uint8_t> gradientPicture(int width, int height) {
    std::vector<std::uint8_t> bytes(std::size_t(width) * std::size_t(height) * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &bytes[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
            p[0] = 255;
            p[1] = std::uint8_t(x * 255 / (width - 1));
            p[2] = std::uint8_t(y * 255 / (height - 1));
            p[3] = std::uint8_t((x + y) * 255 / (width + height - 2));
        }
    return bytes;
}

inline const std::uint8_t* pixelAt(const std::vector<std::uint8_t>& picture, int width, int x,
                                   int y) {
    return &picture[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
}

} // namespace zorbel::test
