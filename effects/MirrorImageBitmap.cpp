#include "effects/MirrorImageBitmap.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

namespace zorbel {

int mirrorSourceIndex(int k, int n) {
    const float centre = float(n) * 0.5f;
    int s = int(centre + std::fabs(float(k) - centre));
    // Output index 0 reaches n itself: the last index stands in for it.
    return s >= n ? n - 1 : s;
}

void mirrorImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                       bool vertical) {
    if (src == nullptr || dst == nullptr || width <= 0 || height <= 0)
        return;
    const std::size_t rowBytes = std::size_t(width) * 4;
    if (vertical) {
        for (int row = 0; row < height; ++row)
            std::memcpy(dst + std::size_t(row) * rowBytes,
                        src + std::size_t(mirrorSourceIndex(row, height)) * rowBytes, rowBytes);
        return;
    }
    std::vector<std::size_t> sourceOffset(static_cast<std::size_t>(width));
    for (int column = 0; column < width; ++column)
        sourceOffset[std::size_t(column)] = std::size_t(mirrorSourceIndex(column, width)) * 4;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = src + std::size_t(row) * rowBytes;
        std::uint8_t* out = dst + std::size_t(row) * rowBytes;
        for (std::size_t column = 0; column < std::size_t(width); ++column)
            std::memcpy(out + column * 4, in + sourceOffset[column], 4);
    }
}

} // namespace zorbel
