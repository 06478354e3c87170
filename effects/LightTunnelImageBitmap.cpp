#include "effects/LightTunnelImageBitmap.h"

#include "effects/WarpFrame.h"

namespace zorbel {

float lightTunnelRadius(float r) {
    return r > 0.5f ? 0.5f : r;
}

void lightTunnelImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height) {
    warpWholeBuffer(src, dst, width, height, WarpAngle::Exact, eachRadius<lightTunnelRadius>);
}

} // namespace zorbel
