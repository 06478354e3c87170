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
    // Columns from `kept` on copy themselves (one block per row); only those before it move.
    int kept = width;
    while (kept > 0 && mirrorSourceIndex(kept - 1, width) == kept - 1)
        --kept;
    std::vector<std::uint32_t> sourceColumn(static_cast<std::size_t>(kept));
    for (int column = 0; column < kept; ++column)
        sourceColumn[std::size_t(column)] = std::uint32_t(mirrorSourceIndex(column, width));
    const std::size_t keptBytes = std::size_t(width - kept) * 4;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = src + std::size_t(row) * rowBytes;
        std::uint8_t* out = dst + std::size_t(row) * rowBytes;
        for (std::size_t column = 0; column < sourceColumn.size(); ++column)
            std::memcpy(out + column * 4, in + std::size_t(sourceColumn[column]) * 4, 4);
        std::memcpy(out + std::size_t(kept) * 4, in + std::size_t(kept) * 4, keptBytes);
    }
}

} // namespace zorbel
