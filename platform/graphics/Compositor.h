#pragma once

// The one compositing verb of the graphics layer: a bitmap under an affine
// transform, or a solid colour through a coverage mask, onto a bitmap in the
// canvas format. Registered fast paths (FastPaths.h) take the hot cases;
// pixman does the rest. Internal to platform/graphics.

#include <cstddef>
#include <cstdint>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/FastPaths.h"
#include "platform/graphics/Rasterizer.h"

namespace platform::detail {

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    Box intersect(const Box& o) const;
};

struct Surface {
    std::uint32_t* pixels;
    int width, height;
    std::ptrdiff_t stride; // in pixels
};

struct SourceBitmap {
    const std::uint32_t* pixels;
    int width, height;
    std::ptrdiff_t stride; // in pixels
};

// Source pixel space has y down from the bitmap's first row; toDevice maps it
// to destination pixels. Drawn only inside `clip` (and through clipMask when
// given: a mask over the whole destination). Unit-scale placements (a
// translation, with or without a vertical flip) sample bilinearly with
// transparent outside; scaled ones stretch the edge pixels to the edge of the
// placement rounded to whole pixels; a downscale of 2 or more averages.
void compositeBitmap(const Surface& dst, const Box& clip, const SourceBitmap& src,
                     const AffineTransform& toDevice, Op op, std::uint8_t alpha,
                     const CoverageMask* clipMask);

// A premultiplied colour (bytes A, R, G, B read as a little-endian word)
// through `coverage` (or over the whole box when null), inside `clip`.
void compositeSolid(const Surface& dst, const Box& clip, std::uint32_t pixel, Op op,
                    const CoverageMask* coverage);

// An a8 mask (first row first) under toDevice, resampled into coverage over
// the box (bilinear when not a whole-pixel placement).
CoverageMask transformA8(const std::uint8_t* mask, int width, int height, std::size_t stride,
                         const AffineTransform& toDevice, const Box& box);

// coverage *= clipMask over the coverage's area.
void multiplyCoverage(CoverageMask& coverage, const CoverageMask& clipMask);

} // namespace platform::detail
