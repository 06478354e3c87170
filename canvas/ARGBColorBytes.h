#pragma once

#include <cstdint>

namespace zorbel {

// One pixel as it lies in a canvas buffer: alpha, red, green, blue.
struct ARGBColorBytes {
    std::uint8_t alpha = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const ARGBColorBytes&, const ARGBColorBytes&) = default;
};

} // namespace zorbel
