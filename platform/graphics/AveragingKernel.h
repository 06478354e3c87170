#pragma once

// A picture reduced to half its size or less, at any turn (a layer pinched
// small, the kept picture of a turned overlay): each result pixel the
// box-filtered average of the source pixels it covers, computed exactly as
// pixman's separable-convolution filter computes it (the graphics tests hold
// it to pixman). Internal to platform/graphics.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::detail {

// Where the samples come from: a bitmap in the canvas format and the map of
// destination pixels to its pixels in pixman's 16.16 numbers. Outside the
// bitmap the samples read transparent, or its edge pixels when `pad`.
struct AveragingSource {
    const std::uint32_t* pixels;
    std::ptrdiff_t stride; // in pixels
    int width, height;
    bool pad;
    std::int64_t m00, m01, m02, m10, m11, m12;
};

// The weights of one filter (one pair of reduction factors), laid out for the
// sampling loop. Built from the parameter block pixman makes for the filter
// (pixman_filter_create_separable_convolution):
//   params[0], params[1]: the kernel's width and height in pixels (16.16);
//   params[2], params[3]: the bits of sub-pixel phase in x and in y (16.16);
//   then (1 << xbits) rows of `width` x weights, (1 << ybits) rows of
//   `height` y weights.
// Each sample, for the 16.16 position (X, Y) of a pixel's centre:
//   X' = X rounded to the middle of its phase, px = its phase (likewise Y', py)
//   x1 = (X' - 1 - (width * 65536 - 65536) / 2) >> 16   (likewise y1)
//   f(i, j) = (fy[py][i] * fx[px][j] + 32768) >> 16
//   c = clamp((sum over the kernel of pixel(x1 + j, y1 + i).c * f(i, j) + 32768) >> 16, 0, 255)
class AveragingFilter {
public:
    // False, leaving the filter unusable, when the block is malformed or its
    // products would not fit the 16-bit lanes of the sampling loop.
    [[nodiscard]] bool build(const std::int32_t* params, int count);

    // The samples of destination pixels (x0 + i, y), i < n, into out[i].
    // The caller has checked that every position fits 32 bits, as pixman's do.
    void sampleRow(const AveragingSource& s, int x0, int y, int n, std::uint32_t* out) const;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Phase {
        // The kernel's rows and columns with a weight, relative to (x1, y1).
        int row0 = 0, rows = 0, col0 = 0, cols = 0;
        std::size_t weights = 0; // first of rows * pairs packed weight pairs
    };
    // One phase pair of the block; false when its products do not fit.
    bool addPhase(const std::int32_t* xWeights, const std::int32_t* yWeights, int width, int height,
                  std::vector<std::int64_t>& f);
    std::uint32_t samplePixel(const AveragingSource& s, std::int64_t X, std::int64_t Y) const;
    std::uint32_t sampleEdge(const AveragingSource& s, const Phase& phase, std::int64_t x1,
                             std::int64_t y1) const;

    int width_ = 0, height_ = 0;
    int xShift_ = 16, yShift_ = 16; // 16 minus the phase bits
    int xPhases_ = 1;
    std::vector<Phase> phases_; // [py * xPhases + px]
    // Per phase, per kernel row, the weights two by two (low half the left
    // column's), an odd last column paired with 0.
    std::vector<std::int32_t> pairs_;
};

} // namespace platform::detail
