#pragma once

// Compositing kernels for the hot cases (stamping, the canvas display), named
// after their signature as pixman names its fast paths: op_source_mask_dest,
// 8888 = a bitmap in the canvas format, n = a constant alpha. Each gives the
// same bytes as pixman's general path (the graphics tests hold them to it).
// Internal to platform/graphics.

#include <cstddef>
#include <cstdint>

namespace platform::detail {

enum class Op { Over, Src, Clear, Multiply, Screen, Overlay, Darken, Lighten, OutReverse };

// One row: dst[i] = op(src[i] * alpha / 255, dst[i]) for i < n.
using RowKernel = void (*)(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint8_t alpha);

struct RowFastPath {
    const char* name;
    Op op;
    bool opaqueAlphaOnly; // registered for alpha == 255 only
    RowKernel kernel;
};

// The kernel for op at this alpha, or null (then pixman does the work).
RowKernel findRowKernel(Op op, std::uint8_t alpha);

// A bitmap sampled bilinearly at a constant sub-pixel offset and composited
// with OVER at a constant alpha, exactly as pixman does it with 7-bit weights
// and transparent pixels outside the bitmap. Destination pixel (x, y) of the
// box reads source columns x + colOffset (and +1) with weight wx on the right
// one, and source rows y * rowStep + rowOffset (and +1) with weight wy on the
// lower one; rowStep is 1 or -1 (a vertical flip).
struct BilinearArgs {
    std::uint32_t* dst;
    std::ptrdiff_t dstStride; // in pixels
    int dstWidth;
    int x0, y0, x1, y1; // the destination box
    const std::uint32_t* src;
    std::ptrdiff_t srcStride; // in pixels
    int srcWidth, srcHeight;
    int colOffset;
    int rowStep, rowOffset;
    int wx, wy; // 0..127
    std::uint8_t alpha;
};
void over_8888_bilinear_n_8888(const BilinearArgs& args);

// A bitmap stretched along the axes (no flip in x), sampled bilinearly with
// its edge pixels repeated outward, OVER or SRC at a constant alpha, exactly
// as pixman does it. Destination pixel (x, y) of the box samples the source at
// 16.16 position (xStart + (x - x0) * xStep, yBase + y * yStep): the numbers
// pixman computes for pixel centres.
struct ScaledBilinearArgs {
    std::uint32_t* dst;
    std::ptrdiff_t dstStride; // in pixels
    int x0, y0, x1, y1;
    const std::uint32_t* src;
    std::ptrdiff_t srcStride; // in pixels
    int srcWidth, srcHeight;
    std::int64_t xStart;
    std::int32_t xStep; // > 0
    std::int64_t yBase;
    std::int32_t yStep;
    Op op; // Over or Src
    std::uint8_t alpha;
};
void scaled_bilinear_8888_n_8888(const ScaledBilinearArgs& args);

// A bitmap under any affine map (a turned layer), sampled bilinearly with
// transparent pixels outside it and composited with OVER at a constant alpha,
// exactly as pixman does it. Destination pixel (x, y) of the box samples the
// source at the 16.16 position inv * (x + 1/2, y + 1/2) as pixman computes it
// for each row's first pixel, then stepped by the matrix's first column.
struct AffineBilinearArgs {
    std::uint32_t* dst;
    std::ptrdiff_t dstStride; // in pixels
    int x0, y0, x1, y1;
    int originX, originY; // the destination pixel dst[0] holds (0, 0 but for a part of it)
    const std::uint32_t* src;
    std::ptrdiff_t srcStride; // in pixels
    int srcWidth, srcHeight;
    std::int64_t m00, m01, m02, m10, m11, m12; // destination to source, 16.16
    std::uint8_t alpha;
};
void over_8888_affine_bilinear_n_8888(const AffineBilinearArgs& args);

// Where the processor has AVX2, the bilinear kernel uses it; tests switch it
// off to hold the SSE2 version to pixman too.
void setWideKernelsEnabled(bool enabled);

// Tests and benchmarks switch the fast paths off to compare with pixman.
void setFastPathsEnabled(bool enabled);
bool fastPathsEnabled();

} // namespace platform::detail
