#include "effects/BulgeImageBitmap.h"

#include "effects/WarpFrame.h"

namespace zorbel {

float bulgeRadius(float r) {
    return r * r;
}

void bulgeImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height) {
    warpWholeBuffer(src, dst, width, height, WarpAngle::Exact, eachRadius<bulgeRadius>);
}

} // namespace zorbel
