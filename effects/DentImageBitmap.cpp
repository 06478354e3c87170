#include "effects/DentImageBitmap.h"

#include <bit>

#include "effects/WarpFrame.h"
#include "effects/WarpMath.h"

namespace zorbel {

float dentRadius(float r) {
    const float edge = std::bit_cast<float>(0x3F333333u); // 0.7
    float s = smoothstep(0.0f, edge, r);
    return float((double(r) + double(r)) - double(r * s));
}

void dentImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height) {
    warpWholeBuffer(src, dst, width, height, WarpAngle::Exact, eachRadius<dentRadius>);
}

} // namespace zorbel
