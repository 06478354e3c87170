#include "effects/WarpFrame.h"

#include <cstddef>
#include <vector>

#include "effects/ParallelRows.h"
#include "effects/WarpMath.h"
#include "effects/WarpSampler.h"

namespace zorbel {

namespace {

std::vector<float> columnCoordinates(int width, float cx) {
    std::vector<float> u(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        u[std::size_t(x)] = (float(x) - cx) / cx;
    return u;
}

void rowRadii(const std::vector<float>& us, float v, std::vector<float>& radii) {
    for (std::size_t x = 0; x < us.size(); ++x)
        radii[x] = std::sqrt(us[x] * us[x] + v * v);
}

// Rows y and height - y have v and -v exactly (both are small multiples of 0.5 before the
// division), so r is the same, the library atan2 gives exactly the negated angle (it is odd in
// y), the cosine is the same and the sine negated. The lower row therefore reuses the upper
// row's trigonometry, which is most of the cost, and still gets the bytes the direct
// computation gives.
void warpExactAngle(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                    WarpRadiusRule newRadius) {
    const float cx = float(width) * 0.5f;
    const float cy = float(height) * 0.5f;
    const std::vector<float> us = columnCoordinates(width, cx);
    const std::size_t rowBytes = std::size_t(width) * 4;
    parallelRows(0, height / 2 + 1, [&](int first, int last) {
        std::vector<float> radii(us.size());
        std::vector<float> newRadii(us.size());
        for (int y = first; y < last; ++y) {
            const float v = (float(y) - cy) / cy;
            const int mirror = height - y;
            const bool hasMirror = y >= 1 && mirror > y;
            std::uint8_t* out = dst + std::size_t(y) * rowBytes;
            std::uint8_t* mirrorOut = dst + std::size_t(mirror) * rowBytes;
            rowRadii(us, v, radii);
            newRadius(radii.data(), newRadii.data(), width);
            for (int x = 0; x < width; ++x) {
                const float u = us[std::size_t(x)];
                const float a = float(std::atan2(double(v), double(u)));
                const float r2 = newRadii[std::size_t(x)];
                double sine;
                double cosine;
                ::sincos(double(a), &sine, &cosine);
                const float rhoX = float(double(r2) * cosine);
                const float rhoY = float(double(r2) * sine);
                const float sx = cx + cx * rhoX;
                sampleBilinear(src, width, height, sx, cy + cy * rhoY, out + std::size_t(x) * 4);
                if (hasMirror)
                    sampleBilinear(src, width, height, sx, cy + cy * -rhoY,
                                   mirrorOut + std::size_t(x) * 4);
            }
        }
    });
}

void warpFastAngle(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                   WarpRadiusRule newRadius) {
    const float cx = float(width) * 0.5f;
    const float cy = float(height) * 0.5f;
    const std::vector<float> us = columnCoordinates(width, cx);
    const std::size_t rowBytes = std::size_t(width) * 4;
    parallelRows(0, height, [&](int first, int last) {
        std::vector<float> radii(us.size());
        std::vector<float> newRadii(us.size());
        std::vector<float> angles(us.size());
        for (int y = first; y < last; ++y) {
            const float v = (float(y) - cy) / cy;
            std::uint8_t* out = dst + std::size_t(y) * rowBytes;
            rowRadii(us, v, radii);
            newRadius(radii.data(), newRadii.data(), width);
            fastAtan2Row(v, us.data(), angles.data(), width);
            for (int x = 0; x < width; ++x) {
                float sx;
                float sy;
                warpSourcePosition(cx, cy, newRadii[std::size_t(x)], angles[std::size_t(x)], sx,
                                   sy);
                sampleBilinear(src, width, height, sx, sy, out + std::size_t(x) * 4);
            }
        }
    });
}

} // namespace

void warpWholeBuffer(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                     WarpAngle angle, WarpRadiusRule newRadius) {
    if (src == nullptr || dst == nullptr || width < 2 || height < 2)
        return;
    if (angle == WarpAngle::Exact)
        warpExactAngle(src, dst, width, height, newRadius);
    else
        warpFastAngle(src, dst, width, height, newRadius);
}

} // namespace zorbel
