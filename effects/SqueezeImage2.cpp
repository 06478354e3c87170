#include "effects/SqueezeImage2.h"

#include <bit>

#include "effects/WarpFrame.h"
#include "effects/WarpMath.h"

namespace zorbel {

namespace {

const float kExponent = std::bit_cast<float>(0x3F0E38E4u); // 0.5555556

// myPow is a long chain of dependent steps; four lanes at a time hide most of its latency.
void squeezeRadii(const float* radii, float* newRadii, int count) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(newRadii + i, myPow4(_mm_loadu_ps(radii + i), kExponent));
    for (int k = 0; k < i; ++k)
        newRadii[k] = float(double(newRadii[k]) * 0.8);
#endif
    for (; i < count; ++i)
        newRadii[i] = squeezeRadius(radii[i]);
}

} // namespace

float squeezeRadius(float r) {
    return float(double(myPow(r, kExponent)) * 0.8);
}

void squeezeImage2(const std::uint8_t* src, std::uint8_t* dst, int width, int height) {
    warpWholeBuffer(src, dst, width, height, WarpAngle::Fast, squeezeRadii);
}

} // namespace zorbel
