#pragma once

// The one compositing verb of the graphics layer: a bitmap under an affine
// transform, or a solid colour through a coverage mask, onto a bitmap in the
// canvas format. Registered fast paths (FastPaths.h) take the hot cases;
// pixman does the rest. Internal to platform/graphics.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/FastPaths.h"
#include "platform/graphics/Rasterizer.h"

namespace platform::detail {

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    Box intersect(const Box& o) const;
    friend bool operator==(const Box&, const Box&) = default;
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

// The samples a bitmap left at one placement, kept beside the bitmap: a turned
// or much reduced picture drawn again where it was, its pixels unchanged (a
// layer that is not being moved, in every frame of another one's move), is
// then composited from them as a picture at whole pixels is, for the same
// bytes. Kept from the second draw at one placement on, so that a picture
// moved in every frame costs nothing extra.
struct PlacementCache {
    std::uint64_t version = 0; // the source pixels' version
    AffineTransform toDevice;
    Box box;                            // the placement within the destination
    bool seen = false;                  // drawn there last time
    std::vector<std::uint32_t> samples; // the box's samples, before alpha
};

// Source pixel space has y down from the bitmap's first row; toDevice maps it
// to destination pixels. Drawn only inside `clip` (and through clipMask when
// given: a mask over the whole destination). Unit-scale placements (a
// translation, with or without a vertical flip) sample bilinearly with
// transparent outside; scaled ones stretch the edge pixels to the edge of the
// placement rounded to whole pixels; a downscale of 2 or more averages.
// With a cache, a repeated placement of the same pixels (same version) is
// drawn from it.
void compositeBitmap(const Surface& dst, const Box& clip, const SourceBitmap& src,
                     const AffineTransform& toDevice, Op op, std::uint8_t alpha,
                     const CoverageMask* clipMask, PlacementCache* cache = nullptr,
                     std::uint64_t version = 0);

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
