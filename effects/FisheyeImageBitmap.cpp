#include "effects/FisheyeImageBitmap.h"

#include <bit>
#include <cstdint>

#include "effects/WarpFrame.h"

namespace zorbel {

float fisheyeRadius(float r) {
    const double sqrt2 = std::bit_cast<double>(std::uint64_t(0x3FF6A09E667F3BCDull));
    return float(double(r * r) / sqrt2);
}

void fisheyeImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height) {
    warpWholeBuffer(src, dst, width, height, WarpAngle::Exact, eachRadius<fisheyeRadius>);
}

} // namespace zorbel
