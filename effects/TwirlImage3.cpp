#include "effects/TwirlImage3.h"

#include <cmath>
#include <cstddef>

#include "effects/ParallelRows.h"
#include "effects/WarpFrame.h"
#include "effects/WarpMath.h"
#include "effects/WarpSampler.h"

namespace zorbel {

float twirlAngle(float a, float r, float amount) {
    float s = smoothstep(-0.5f, 0.5f, r);
    return float(double(a) + (1.0 - double(s)) * 4.0 * double(amount));
}

void twirlImage3(const std::uint8_t* src, std::uint8_t* dst, int width, int height, float amount,
                 bool interpolate) {
    if (src == nullptr || dst == nullptr || width < 2 || height < 2)
        return;
    const float cx = float(width) * 0.5f;
    const float cy = float(height) * 0.5f;
    const int x0 = int(cx * 0.5f);
    const int x1 = int(cx + float(x0));
    const int y0 = int(cy * 0.5f);
    const int y1 = int(cy + float(y0));
    const auto sample = interpolate ? sampleBilinear : sampleNearest;
    parallelRows(y0, y1, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            const float v = (float(y) - cy) / cy;
            std::uint8_t* out = dst + (std::size_t(y) * std::size_t(width) + std::size_t(x0)) * 4;
            for (int x = x0; x < x1; ++x, out += 4) {
                const float u = (float(x) - cx) / cx;
                const float r = std::sqrt(u * u + v * v);
                float sx;
                float sy;
                warpSourcePosition(cx, cy, r, twirlAngle(fast_atan2f(v, u), r, amount), sx, sy);
                sample(src, width, height, sx, sy, out);
            }
        }
    });
}

} // namespace zorbel
