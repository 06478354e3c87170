#include "effects/TwirlImage3.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

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
    const int columns = x1 - x0;
    std::vector<float> us(static_cast<std::size_t>(std::max(columns, 0)));
    for (int x = x0; x < x1; ++x)
        us[std::size_t(x - x0)] = (float(x) - cx) / cx;
    parallelRows(y0, y1, [&](int first, int last) {
        std::vector<float> angles(us.size());
        for (int y = first; y < last; ++y) {
            const float v = (float(y) - cy) / cy;
            fastAtan2Row(v, us.data(), angles.data(), columns);
            std::uint8_t* out = dst + (std::size_t(y) * std::size_t(width) + std::size_t(x0)) * 4;
            for (std::size_t i = 0; i < us.size(); ++i, out += 4) {
                const float u = us[i];
                const float r = std::sqrt(u * u + v * v);
                float sx;
                float sy;
                warpSourcePosition(cx, cy, r, twirlAngle(angles[i], r, amount), sx, sy);
                if (interpolate)
                    sampleBilinear(src, width, height, sx, sy, out);
                else
                    sampleNearest(src, width, height, sx, sy, out);
            }
        }
    });
}

} // namespace zorbel
