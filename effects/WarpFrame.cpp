#include "effects/WarpFrame.h"

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "effects/ParallelRows.h"
#include "effects/WarpMath.h"
#include "effects/WarpSampler.h"

namespace zorbel {

namespace {

// Where each output pixel of a radius warp reads the source: a pure function of the size, the
// angle rule and the radius rule. The trigonometry is nearly all of a warp's cost and the
// canvas is always the same size, so a map is computed once and kept; the pixels are then only
// sampled through it.
struct WarpMap {
    int width = 0;
    int height = 0;
    WarpAngle angle = WarpAngle::Exact;
    WarpRadiusRule rule = nullptr;
    std::vector<float> xs; // source x of each output pixel, rows one after another
    std::vector<float> ys;
};

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
// row's trigonometry, which is most of the cost, and still gets the positions the direct
// computation gives.
void mapExactAngle(WarpMap& map) {
    const int width = map.width, height = map.height;
    const float cx = float(width) * 0.5f;
    const float cy = float(height) * 0.5f;
    const std::vector<float> us = columnCoordinates(width, cx);
    parallelRows(0, height / 2 + 1, [&](int first, int last) {
        std::vector<float> radii(us.size());
        std::vector<float> newRadii(us.size());
        for (int y = first; y < last; ++y) {
            const float v = (float(y) - cy) / cy;
            const int mirror = height - y;
            const bool hasMirror = y >= 1 && mirror > y;
            const std::size_t row = std::size_t(y) * std::size_t(width);
            const std::size_t mirrorRow = std::size_t(mirror) * std::size_t(width);
            rowRadii(us, v, radii);
            map.rule(radii.data(), newRadii.data(), width);
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
                map.xs[row + std::size_t(x)] = sx;
                map.ys[row + std::size_t(x)] = cy + cy * rhoY;
                if (hasMirror) {
                    map.xs[mirrorRow + std::size_t(x)] = sx;
                    map.ys[mirrorRow + std::size_t(x)] = cy + cy * -rhoY;
                }
            }
        }
    });
}

void mapFastAngle(WarpMap& map) {
    const int width = map.width, height = map.height;
    const float cx = float(width) * 0.5f;
    const float cy = float(height) * 0.5f;
    const std::vector<float> us = columnCoordinates(width, cx);
    parallelRows(0, height, [&](int first, int last) {
        std::vector<float> radii(us.size());
        std::vector<float> newRadii(us.size());
        std::vector<float> angles(us.size());
        for (int y = first; y < last; ++y) {
            const float v = (float(y) - cy) / cy;
            const std::size_t row = std::size_t(y) * std::size_t(width);
            rowRadii(us, v, radii);
            map.rule(radii.data(), newRadii.data(), width);
            fastAtan2Row(v, us.data(), angles.data(), width);
            for (int x = 0; x < width; ++x)
                warpSourcePosition(cx, cy, newRadii[std::size_t(x)], angles[std::size_t(x)],
                                   map.xs[row + std::size_t(x)], map.ys[row + std::size_t(x)]);
        }
    });
}

// The maps kept: one per warp at the canvas's size, and room for a second size. Larger
// pictures (a command-line run) get a map of their own that is not kept.
constexpr std::size_t kKeptMaps = 8;
constexpr std::int64_t kLargestKeptMap = 1 << 20; // pixels

std::shared_ptr<const WarpMap> mapFor(int width, int height, WarpAngle angle, WarpRadiusRule rule) {
    static std::mutex mutex;
    static std::list<std::shared_ptr<const WarpMap>> kept; // most recently used first
    const bool keep = std::int64_t(width) * height <= kLargestKeptMap;
    if (keep) {
        std::lock_guard lock(mutex);
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            const WarpMap& m = **it;
            if (m.width == width && m.height == height && m.angle == angle && m.rule == rule) {
                kept.splice(kept.begin(), kept, it);
                return kept.front();
            }
        }
    }
    auto map = std::make_shared<WarpMap>();
    map->width = width;
    map->height = height;
    map->angle = angle;
    map->rule = rule;
    const std::size_t count = std::size_t(width) * std::size_t(height);
    map->xs.resize(count);
    map->ys.resize(count);
    if (angle == WarpAngle::Exact)
        mapExactAngle(*map);
    else
        mapFastAngle(*map);
    if (keep) {
        std::lock_guard lock(mutex);
        kept.push_front(map);
        if (kept.size() > kKeptMaps)
            kept.pop_back();
    }
    return map;
}

} // namespace

void warpWholeBuffer(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                     WarpAngle angle, WarpRadiusRule newRadius) {
    if (src == nullptr || dst == nullptr || width < 2 || height < 2)
        return;
    const std::shared_ptr<const WarpMap> map = mapFor(width, height, angle, newRadius);
    const std::size_t rowBytes = std::size_t(width) * 4;
    parallelRows(0, height, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            const std::size_t row = std::size_t(y) * std::size_t(width);
            const float* xs = map->xs.data() + row;
            const float* ys = map->ys.data() + row;
            std::uint8_t* out = dst + std::size_t(y) * rowBytes;
            for (int x = 0; x < width; ++x)
                sampleBilinear(src, width, height, xs[x], ys[x], out + std::size_t(x) * 4);
        }
    });
}

} // namespace zorbel
