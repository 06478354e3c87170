#pragma once

// The bitmap fast paths as the compositor tries them: each takes one
// placement (a bitmap under a transform, in destination pixels) or declines
// it, in which case pixman draws it. Kernels: FastPaths.h. Internal to
// platform/graphics.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include <pixman.h>

#include "platform/graphics/Compositor.h"

namespace platform::detail {

// The filter a placement is sampled with: nearest for whole-pixel turns and
// mirrors, an average of the covered pixels for a reduction to half or less,
// bilinear otherwise.
enum class Filter { Nearest, Average, Bilinear };

void scalesOf(const pixman_transform_t& inv, double& scaleX, double& scaleY);
Filter filterFor(const pixman_transform_t& inv);

// One bitmap draw as the fast paths see it.
struct Placement {
    const Surface& dst;
    const Box& box;
    const SourceBitmap& src;
    const pixman_transform_t& inv; // destination pixels to source pixels
    Op op;
    std::uint8_t alpha;
    bool pad;                     // stretched: edge pixels repeat
    int originX = 0, originY = 0; // the destination pixel dst.pixels[0] holds
};

struct FreeParams {
    void operator()(pixman_fixed_t* params) const { std::free(params); }
};
using AveragingParams = std::unique_ptr<pixman_fixed_t, FreeParams>;

// pixman's weights for averaging the pixels each result pixel covers, at
// the placement's reduction.
AveragingParams averagingParams(const pixman_transform_t& inv, int& count);

// Turned pictures, and pictures reduced to half or less: the two paths that
// also fill a placement cache.
bool runAffineFastPath(const Placement& p);
bool runAverageFastPath(const Placement& p);

// The table of fast paths in order; false when none takes the placement.
bool runPlacementFastPath(const Placement& p);

} // namespace platform::detail
