#include "effects/SqueezeImage2.h"

#include <bit>

#include "effects/WarpFrame.h"
#include "effects/WarpMath.h"

namespace zorbel {

float squeezeRadius(float r) {
    const float exponent = std::bit_cast<float>(0x3F0E38E4u); // 0.5555556
    return float(double(myPow(r, exponent)) * 0.8);
}

void squeezeImage2(const std::uint8_t* src, std::uint8_t* dst, int width, int height) {
    warpWholeBuffer(src, dst, width, height, WarpAngle::Fast, squeezeRadius);
}

} // namespace zorbel
