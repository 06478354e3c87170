#include "platform/graphics/PlacementFastPaths.h"

#include "platform/graphics/AveragingKernel.h"
#include "platform/graphics/FastPaths.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform::detail {


void scalesOf(const pixman_transform_t& inv, double& scaleX, double& scaleY) {
    scaleX = std::hypot(double(inv.matrix[0][0]), double(inv.matrix[1][0])) / 65536.0;
    scaleY = std::hypot(double(inv.matrix[0][1]), double(inv.matrix[1][1])) / 65536.0;
}

Filter filterFor(const pixman_transform_t& inv) {
    auto isWhole = [](pixman_fixed_t v) {
        return v == 0 || v == pixman_fixed_1 || v == -pixman_fixed_1;
    };
    if (isWhole(inv.matrix[0][0]) && isWhole(inv.matrix[0][1]) && isWhole(inv.matrix[1][0]) &&
        isWhole(inv.matrix[1][1]) && ((inv.matrix[0][2] | inv.matrix[1][2]) & 0xFFFF) == 0)
        return Filter::Nearest;
    double scaleX = 0, scaleY = 0;
    scalesOf(inv, scaleX, scaleY);
    return scaleX >= 2 || scaleY >= 2 ? Filter::Average : Filter::Bilinear;
}

namespace {

bool isTranslationOrFlip(const pixman_transform_t& inv) {
    return inv.matrix[0][0] == pixman_fixed_1 && inv.matrix[0][1] == 0 && inv.matrix[1][0] == 0 &&
           (inv.matrix[1][1] == pixman_fixed_1 || inv.matrix[1][1] == -pixman_fixed_1);
}

bool isWholePixelOffset(const pixman_transform_t& inv) {
    return ((inv.matrix[0][2] | inv.matrix[1][2]) & 0xFFFF) == 0;
}

// The destination box and source bitmap, as both bilinear kernels take them.
template <class KernelArgs>
void setBoxAndSource(KernelArgs& a, const Placement& p) {
    a.dst = p.dst.pixels;
    a.dstStride = p.dst.stride;
    a.x0 = p.box.x0;
    a.y0 = p.box.y0;
    a.x1 = p.box.x1;
    a.y1 = p.box.y1;
    a.src = p.src.pixels;
    a.srcStride = p.src.stride;
    a.srcWidth = p.src.width;
    a.srcHeight = p.src.height;
}

// Whole-pixel placements, with or without a vertical flip, row by row
// through the row kernel table (FastPaths.cpp).
bool runIntegerFastPath(const Placement& p) {
    if (!isTranslationOrFlip(p.inv) || !isWholePixelOffset(p.inv))
        return false;
    const Surface& dst = p.dst;
    const Box& box = p.box;
    const SourceBitmap& src = p.src;
    const pixman_transform_t& inv = p.inv;
    const Op op = p.op;
    const std::uint8_t alpha = p.alpha;
    const RowKernel kernel = findRowKernel(op, alpha);
    if (!kernel)
        return false;
    const int colOffset = inv.matrix[0][2] >> 16;
    const bool flip = inv.matrix[1][1] < 0;
    const int rowBase = inv.matrix[1][2] >> 16;
    auto sourceRow = [&](int y) { return flip ? rowBase - 1 - y : y + rowBase; };
    const int x0 = std::max(box.x0, -colOffset);
    const int x1 = std::min(box.x1, src.width - colOffset);
    if (op == Op::Src) {
        // SRC writes transparent where there is no source: leave that to pixman.
        const int r0 = sourceRow(box.y0), r1 = sourceRow(box.y1 - 1);
        if (x0 != box.x0 || x1 != box.x1 || std::min(r0, r1) < 0 || std::max(r0, r1) >= src.height)
            return false;
    }
    if (x0 >= x1)
        return true;
    for (int y = box.y0; y < box.y1; ++y) {
        const int row = sourceRow(y);
        if (row < 0 || row >= src.height)
            continue;
        kernel(dst.pixels + std::ptrdiff_t(y) * dst.stride + x0,
               src.pixels + std::ptrdiff_t(row) * src.stride + x0 + colOffset, x1 - x0, alpha);
    }
    return true;
}

// Unit-scale placements at a fraction of a pixel (stamps): over_8888_bilinear_n_8888.
bool runBilinearFastPath(const Placement& p) {
    if (p.op != Op::Over || !isTranslationOrFlip(p.inv) || isWholePixelOffset(p.inv))
        return false;
    const pixman_transform_t& inv = p.inv;
    BilinearArgs a{};
    setBoxAndSource(a, p);
    a.dstWidth = p.dst.width;
    // Sample position of pixel x is x + 0.5 + m02; bilinear reads from half a
    // pixel before it: whole part x + (m02 >> 16), fraction's top 7 bits.
    const pixman_fixed_t mx = inv.matrix[0][2], my = inv.matrix[1][2];
    a.colOffset = mx >> 16;
    a.wx = (mx >> 9) & 127;
    if (inv.matrix[1][1] > 0) {
        a.rowStep = 1;
        a.rowOffset = my >> 16;
    } else {
        a.rowStep = -1;
        a.rowOffset = (my >> 16) - 1;
    }
    a.wy = (my >> 9) & 127;
    a.alpha = p.alpha;
    over_8888_bilinear_n_8888(a);
    return true;
}

// Stretched along the axes, bilinear with edges repeated, by less than a
// halving: scaled_bilinear_8888_n_8888. The sample positions are pixman's for
// pixel centres: the transform applied to (x + 1/2, y + 1/2) with its 48.16
// rounding, then stepped by the matrix.
bool runScaledFastPath(const Placement& p) {
    const pixman_transform_t& inv = p.inv;
    const double scaleX = std::fabs(double(inv.matrix[0][0])) / 65536.0;
    const double scaleY = std::fabs(double(inv.matrix[1][1])) / 65536.0;
    if (!p.pad || inv.matrix[0][1] != 0 || inv.matrix[1][0] != 0 || inv.matrix[0][0] <= 0 ||
        inv.matrix[1][1] == 0 || scaleX >= 2 || scaleY >= 2 ||
        (p.op != Op::Over && p.op != Op::Src) ||
        (isTranslationOrFlip(inv) && isWholePixelOffset(inv)))
        return false;
    const Box& box = p.box;
    const std::int64_t m00 = inv.matrix[0][0], m02 = inv.matrix[0][2];
    const std::int64_t m11 = inv.matrix[1][1], m12 = inv.matrix[1][2];
    const std::int64_t xCorr = (m00 * 0x8000 + 0x8000) >> 16;
    const std::int64_t yCorr = (m11 * 0x8000 + 0x8000) >> 16;
    auto fits = [](std::int64_t v) {
        return v > -(std::int64_t(1) << 31) + 0x10000 && v < (std::int64_t(1) << 31) - 0x10000;
    };
    const std::int64_t xa = m00 * box.x0 + m02 + xCorr, xb = m00 * (box.x1 - 1) + m02 + xCorr;
    const std::int64_t ya = m11 * box.y0 + m12 + yCorr, yb = m11 * (box.y1 - 1) + m12 + yCorr;
    if (!fits(xa) || !fits(xb) || !fits(ya) || !fits(yb))
        return false;
    ScaledBilinearArgs a{};
    setBoxAndSource(a, p);
    a.xStart = xa;
    a.xStep = std::int32_t(m00);
    a.yBase = m12 + yCorr;
    a.yStep = std::int32_t(m11);
    a.op = p.op;
    a.alpha = p.alpha;
    scaled_bilinear_8888_n_8888(a);
    return true;
}

} // namespace

// Turned (and perhaps stretched by less than a halving) pictures, OVER,
// transparent outside: over_8888_affine_bilinear_n_8888. The layers a person
// pinches and turns are drawn this way, ten or more to a frame.
bool runAffineFastPath(const Placement& p) {
    const pixman_transform_t& inv = p.inv;
    if (p.op != Op::Over || p.pad)
        return false;
    const std::int64_t m00 = inv.matrix[0][0], m01 = inv.matrix[0][1], m02 = inv.matrix[0][2];
    const std::int64_t m10 = inv.matrix[1][0], m11 = inv.matrix[1][1], m12 = inv.matrix[1][2];
    // The filter pixman would be given (compositeBitmap): bilinear only.
    if (filterFor(inv) != Filter::Bilinear)
        return false;
    // pixman steps in 32-bit numbers: every position must fit one.
    const Box& box = p.box;
    auto fits = [](std::int64_t v) {
        return v > -(std::int64_t(1) << 31) + 0x20000 && v < (std::int64_t(1) << 31) - 0x20000;
    };
    for (const int x : {box.x0, box.x1})
        for (const int y : {box.y0, box.y1 - 1})
            if (!fits(m00 * x + m01 * y + m02 + m00 + m01) ||
                !fits(m10 * x + m11 * y + m12 + m10 + m11) ||
                !fits(m00 * x + m01 * y + m02 - m00 - m01) ||
                !fits(m10 * x + m11 * y + m12 - m10 - m11))
                return false;
    AffineBilinearArgs a{};
    setBoxAndSource(a, p);
    a.originX = p.originX;
    a.originY = p.originY;
    a.m00 = m00;
    a.m01 = m01;
    a.m02 = m02;
    a.m10 = m10;
    a.m11 = m11;
    a.m12 = m12;
    a.alpha = p.alpha;
    over_8888_affine_bilinear_n_8888(a);
    return true;
}

// pixman's weights for averaging the pixels each result pixel covers, at
// the placement's reduction.
AveragingParams averagingParams(const pixman_transform_t& inv, int& count) {
    double scaleX = 0, scaleY = 0;
    scalesOf(inv, scaleX, scaleY);
    count = 0;
    return AveragingParams(pixman_filter_create_separable_convolution(
        &count, pixman_double_to_fixed(std::max(scaleX, 1.0)),
        pixman_double_to_fixed(std::max(scaleY, 1.0)), PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX,
        PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 2, 2));
}

// Reduced to half or less, at any turn, through the row kernel of the
// operator: AveragingFilter samples as pixman's separable convolution does.
// Kept pictures of small turned layers are drawn this way, ten or twenty to
// a launch or a flatten.
bool runAverageFastPath(const Placement& p) {
    const pixman_transform_t& inv = p.inv;
    if (filterFor(inv) != Filter::Average)
        return false;
    const RowKernel kernel = findRowKernel(p.op, p.alpha);
    if (!kernel)
        return false;
    // pixman steps in 32-bit numbers, and the kernel reaches a few pixels
    // either side of each position: keep well inside.
    const Box& box = p.box;
    const std::int64_t m00 = inv.matrix[0][0], m01 = inv.matrix[0][1], m02 = inv.matrix[0][2];
    const std::int64_t m10 = inv.matrix[1][0], m11 = inv.matrix[1][1], m12 = inv.matrix[1][2];
    constexpr std::int64_t kLimit = std::int64_t(1) << 29;
    for (const int x : {box.x0, box.x1})
        for (const int y : {box.y0, box.y1}) {
            const std::int64_t X = m00 * x + m01 * y + m02, Y = m10 * x + m11 * y + m12;
            if (X <= -kLimit || X >= kLimit || Y <= -kLimit || Y >= kLimit)
                return false;
        }
    int count = 0;
    const AveragingParams params = averagingParams(inv, count);
    AveragingFilter filter;
    if (!params || !filter.build(params.get(), count))
        return false;
    const AveragingSource source{.pixels = p.src.pixels,
                                 .stride = p.src.stride,
                                 .width = p.src.width,
                                 .height = p.src.height,
                                 .pad = p.pad,
                                 .m00 = m00,
                                 .m01 = m01,
                                 .m02 = m02,
                                 .m10 = m10,
                                 .m11 = m11,
                                 .m12 = m12};
    const int n = box.x1 - box.x0;
    thread_local std::vector<std::uint32_t> samples;
    samples.resize(std::size_t(n));
    for (int y = box.y0; y < box.y1; ++y) {
        filter.sampleRow(source, box.x0, y, n, samples.data());
        kernel(p.dst.pixels + std::ptrdiff_t(y - p.originY) * p.dst.stride + (box.x0 - p.originX),
               samples.data(), n, p.alpha);
    }
    return true;
}

namespace {

// The one table of bitmap fast paths, tried in order before pixman; each
// declines what it does not handle. Kernels: FastPaths.h.
struct PlacementFastPath {
    const char* name;
    bool (*run)(const Placement&);
};
constexpr PlacementFastPath kPlacementFastPaths[] = {
    {"rows_8888_n_8888 (whole pixels)", runIntegerFastPath},
    {"over_8888_bilinear_n_8888 (fractional offset)", runBilinearFastPath},
    {"scaled_bilinear_8888_n_8888 (stretched)", runScaledFastPath},
    {"over_8888_affine_bilinear_n_8888 (turned)", runAffineFastPath},
    {"average_8888_n_8888 (reduced to half or less)", runAverageFastPath},
};

} // namespace

bool runPlacementFastPath(const Placement& p) {
    for (const PlacementFastPath& path : kPlacementFastPaths)
        if (path.run(p))
            return true;
    return false;
}

} // namespace platform::detail
