#include "platform/graphics/Compositor.h"

#include "platform/graphics/PlacementFastPaths.h"
#include "platform/graphics/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include <pixman.h>

namespace platform::detail {

namespace {

struct PixmanUnref {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanUnref>;

pixman_op_t pixmanOp(Op op) {
    switch (op) {
    case Op::Over:
        return PIXMAN_OP_OVER;
    case Op::Src:
        return PIXMAN_OP_SRC;
    case Op::Clear:
        return PIXMAN_OP_CLEAR;
    case Op::Multiply:
        return PIXMAN_OP_MULTIPLY;
    case Op::Screen:
        return PIXMAN_OP_SCREEN;
    case Op::Overlay:
        return PIXMAN_OP_OVERLAY;
    case Op::Darken:
        return PIXMAN_OP_DARKEN;
    case Op::Lighten:
        return PIXMAN_OP_LIGHTEN;
    case Op::OutReverse:
        return PIXMAN_OP_OUT_REVERSE;
    }
    return PIXMAN_OP_OVER;
}

// Operators under which a transparent source leaves the destination alone.
bool transparentIsNoop(Op op) {
    return op != Op::Src && op != Op::Clear;
}

PixmanImage wrap(const Surface& s) {
    return PixmanImage(
        pixman_image_create_bits(PIXMAN_b8g8r8a8, s.width, s.height, s.pixels, int(s.stride * 4)));
}

PixmanImage wrap(const SourceBitmap& s) {
    // pixman never writes to a source image.
    return PixmanImage(pixman_image_create_bits(PIXMAN_b8g8r8a8, s.width, s.height,
                                                const_cast<std::uint32_t*>(s.pixels),
                                                int(s.stride * 4)));
}

PixmanImage wrapA8(const CoverageMask& m) {
    return PixmanImage(pixman_image_create_bits(
        PIXMAN_a8, m.width, m.height,
        reinterpret_cast<std::uint32_t*>(const_cast<std::uint8_t*>(m.bytes.data())),
        int(m.stride)));
}

PixmanImage solid(std::uint32_t pixel) {
    auto expand = [](std::uint32_t byte) { return std::uint16_t(byte * 257); };
    const pixman_color_t color{expand((pixel >> 8) & 0xFF), expand((pixel >> 16) & 0xFF),
                               expand(pixel >> 24), expand(pixel & 0xFF)};
    return PixmanImage(pixman_image_create_solid_fill(&color));
}

bool toFixed(double v, pixman_fixed_t& out) {
    const double f = roundOf(v * 65536.0);
    if (!(std::fabs(f) < 2147483647.0))
        return false;
    out = pixman_fixed_t(f);
    return true;
}

// Destination pixel space to source pixel space, in pixman's 16.16 numbers.
// The fast paths read the same numbers pixman gets, so both sample alike.
bool fixedInverse(const AffineTransform& t, pixman_transform_t& out) {
    const double a = t.a, b = t.b, c = t.c, d = t.d, tx = t.tx, ty = t.ty;
    pixman_transform_init_identity(&out);
    if (b == 0 && c == 0) {
        // Axis-aligned (every stamp and picture draw): no determinant needed.
        if (a == 0 || d == 0)
            return false;
        return toFixed(1 / a, out.matrix[0][0]) && toFixed(-tx / a, out.matrix[0][2]) &&
               toFixed(1 / d, out.matrix[1][1]) && toFixed(-ty / d, out.matrix[1][2]);
    }
    const double det = a * d - b * c;
    if (det == 0 || !std::isfinite(det))
        return false;
    return toFixed(d / det, out.matrix[0][0]) && toFixed(-c / det, out.matrix[0][1]) &&
           toFixed((c * ty - d * tx) / det, out.matrix[0][2]) &&
           toFixed(-b / det, out.matrix[1][0]) && toFixed(a / det, out.matrix[1][1]) &&
           toFixed((b * tx - a * ty) / det, out.matrix[1][2]);
}

bool isUnit(float v) {
    return v == 1.0f || v == -1.0f;
}

int floorEdge(float v) {
    return int(floorOf(double(v) + 1e-3));
}

int ceilEdge(float v) {
    return int(ceilOf(double(v) - 1e-3));
}

int roundEdge(float v) {
    return int(floorOf(double(v) + 0.5));
}

Box boxOf(const Surface& s) {
    return {0, 0, s.width, s.height};
}

bool boxFits(float v) {
    return std::fabs(v) < 1e8f;
}

void fill(const Surface& dst, const Box& box, std::uint32_t pixel) {
    for (int y = box.y0; y < box.y1; ++y)
        std::fill_n(dst.pixels + std::ptrdiff_t(y) * dst.stride + box.x0, box.x1 - box.x0, pixel);
}

// The source as pixman samples it: the transform, the filter filterFor
// chooses (a reduction to half or less averages the pixels each result pixel
// covers; bilinear sampling would skip most of them), edges repeated or
// transparent outside.
PixmanImage preparedSource(const SourceBitmap& src, const pixman_transform_t& inv, bool pad) {
    PixmanImage image = wrap(src);
    if (!image)
        return image;
    pixman_image_set_transform(image.get(), &inv);
    const Filter filter = filterFor(inv);
    if (filter == Filter::Nearest) {
        pixman_image_set_filter(image.get(), PIXMAN_FILTER_NEAREST, nullptr, 0);
    } else if (filter == Filter::Average) {
        int count = 0;
        if (const AveragingParams params = averagingParams(inv, count)) {
            pixman_image_set_filter(image.get(), PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params.get(),
                                    count);
        } else {
            pixman_image_set_filter(image.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
        }
    } else {
        pixman_image_set_filter(image.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
    pixman_image_set_repeat(image.get(), pad ? PIXMAN_REPEAT_PAD : PIXMAN_REPEAT_NONE);
    return image;
}

// The samples of the placement's whole box (within the destination) into the
// cache: OVER onto transparent is the sample itself, so the turned-picture
// kernel writes them where it applies and pixman (SRC) elsewhere.
bool fillPlacementCache(PlacementCache& cache, const Placement& p) {
    const Box& whole = cache.box;
    const int w = whole.x1 - whole.x0, h = whole.y1 - whole.y0;
    cache.samples.assign(std::size_t(w) * std::size_t(h), 0);
    const Surface tmp{cache.samples.data(), w, h, w};
    Placement into{tmp, whole, p.src, p.inv, Op::Over, 255, p.pad, whole.x0, whole.y0};
    if (runAffineFastPath(into) || runAverageFastPath(into))
        return true;
    PixmanImage srcImage = preparedSource(p.src, p.inv, p.pad);
    PixmanImage dstImage = wrap(tmp);
    if (!srcImage || !dstImage) {
        cache.samples = {};
        return false;
    }
    pixman_image_composite32(PIXMAN_OP_SRC, srcImage.get(), nullptr, dstImage.get(), whole.x0,
                             whole.y0, 0, 0, 0, 0, w, h);
    return true;
}

// Draws from the cache when the placement is the one kept, keeps it when it
// is the one drawn last time; answers whether the drawing is done.
bool drawFromPlacementCache(PlacementCache& cache, std::uint64_t version,
                            const AffineTransform& toDevice, const Box& whole, const Placement& p) {
    const RowKernel kernel = findRowKernel(Op::Over, p.alpha);
    const bool same =
        cache.seen && cache.version == version && cache.toDevice == toDevice && cache.box == whole;
    if (!kernel || !same) {
        cache.version = version;
        cache.toDevice = toDevice;
        cache.box = whole;
        cache.seen = true;
        cache.samples = {};
        return false;
    }
    if (cache.samples.empty() && !fillPlacementCache(cache, p))
        return false;
    const int w = whole.x1 - whole.x0;
    for (int y = p.box.y0; y < p.box.y1; ++y)
        kernel(p.dst.pixels + std::ptrdiff_t(y) * p.dst.stride + p.box.x0,
               cache.samples.data() + std::ptrdiff_t(y - whole.y0) * w + (p.box.x0 - whole.x0),
               p.box.x1 - p.box.x0, p.alpha);
    return true;
}


} // namespace

Box Box::intersect(const Box& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

void compositeBitmap(const Surface& dst, const Box& clip, const SourceBitmap& src,
                     const AffineTransform& toDevice, Op op, std::uint8_t alpha,
                     const CoverageMask* clipMask, PlacementCache* cache, std::uint64_t version) {
    if (src.width <= 0 || src.height <= 0 || (alpha == 0 && transparentIsNoop(op)))
        return;
    pixman_transform_t inv;
    if (!fixedInverse(toDevice, inv))
        return;

    const float a = toDevice.a, b = toDevice.b, c = toDevice.c, d = toDevice.d;
    const bool axisAligned = (b == 0 && c == 0) || (a == 0 && d == 0);
    const bool unitScale =
        axisAligned && (b == 0 ? isUnit(a) && isUnit(d) : isUnit(b) && isUnit(c));
    const Rect footprint = toDevice.apply(Rect(0, 0, float(src.width), float(src.height)));
    if (!boxFits(footprint.minX()) || !boxFits(footprint.maxX()) || !boxFits(footprint.minY()) ||
        !boxFits(footprint.maxY()))
        return;
    // A stretched picture fills its placement rounded to whole pixels, edge
    // pixels repeated; a picture at its own size or turned freely keeps soft
    // edges where it covers pixels partly.
    const bool pad = axisAligned && !unitScale;
    const Box placed = pad ? Box{roundEdge(footprint.minX()), roundEdge(footprint.minY()),
                                 roundEdge(footprint.maxX()), roundEdge(footprint.maxY())}
                           : Box{floorEdge(footprint.minX()), floorEdge(footprint.minY()),
                                 ceilEdge(footprint.maxX()), ceilEdge(footprint.maxY())};
    const Box box = placed.intersect(clip).intersect(boxOf(dst));
    if (box.empty())
        return;

    if (!clipMask && fastPathsEnabled()) {
        const Placement placement{dst, box, src, inv, op, alpha, pad};
        // Worth keeping: what is resampled through pixman or at any angle.
        const Filter filter = filterFor(inv);
        if (cache && op == Op::Over &&
            (filter == Filter::Average || (!axisAligned && filter == Filter::Bilinear)) &&
            drawFromPlacementCache(*cache, version, toDevice, placed.intersect(boxOf(dst)),
                                   placement))
            return;
        if (runPlacementFastPath(placement))
            return;
    }

    PixmanImage srcImage = preparedSource(src, inv, pad);
    PixmanImage dstImage = wrap(dst);
    if (!srcImage || !dstImage)
        return;

    PixmanImage maskImage;
    CoverageMask combined;
    if (clipMask) {
        combined.x0 = box.x0;
        combined.y0 = box.y0;
        combined.width = box.x1 - box.x0;
        combined.height = box.y1 - box.y0;
        combined.stride = (std::size_t(combined.width) + 3) & ~std::size_t(3);
        combined.bytes.assign(combined.stride * std::size_t(combined.height), 0);
        for (int y = box.y0; y < box.y1; ++y) {
            const std::uint8_t* in = clipMask->row(y) + (box.x0 - clipMask->x0);
            std::uint8_t* out = combined.row(y);
            for (int x = 0; x < combined.width; ++x) {
                const std::uint32_t t = std::uint32_t(in[x]) * alpha + 0x80;
                out[x] = std::uint8_t((t + (t >> 8)) >> 8);
            }
        }
        maskImage = wrapA8(combined);
    } else if (alpha != 255) {
        maskImage = solid(std::uint32_t(alpha));
    }
    pixman_image_composite32(pixmanOp(op), srcImage.get(), maskImage.get(), dstImage.get(), box.x0,
                             box.y0, 0, 0, box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
}
void compositeSolid(const Surface& dst, const Box& clip, std::uint32_t pixel, Op op,
                    const CoverageMask* coverage) {
    Box box = clip.intersect(boxOf(dst));
    if (coverage) {
        if (coverage->empty())
            return;
        box = box.intersect({coverage->x0, coverage->y0, coverage->x0 + coverage->width,
                             coverage->y0 + coverage->height});
    }
    if (box.empty())
        return;
    if (!coverage) {
        const bool opaque = (pixel & 0xFF) == 0xFF;
        if (op == Op::Src || (op == Op::Over && opaque)) {
            fill(dst, box, pixel);
            return;
        }
        if (op == Op::Clear || (op == Op::OutReverse && opaque)) {
            fill(dst, box, 0);
            return;
        }
        if (pixel == 0 && transparentIsNoop(op))
            return;
    }
    PixmanImage srcImage = solid(pixel);
    PixmanImage dstImage = wrap(dst);
    PixmanImage maskImage = coverage ? wrapA8(*coverage) : PixmanImage();
    if (!srcImage || !dstImage || (coverage && !maskImage))
        return;
    const int mx = coverage ? box.x0 - coverage->x0 : 0;
    const int my = coverage ? box.y0 - coverage->y0 : 0;
    pixman_image_composite32(pixmanOp(op), srcImage.get(), maskImage.get(), dstImage.get(), 0, 0,
                             mx, my, box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
}

CoverageMask transformA8(const std::uint8_t* mask, int width, int height, std::size_t stride,
                         const AffineTransform& toDevice, const Box& clip) {
    CoverageMask out;
    if (!mask || width <= 0 || height <= 0)
        return out;
    pixman_transform_t inv;
    if (!fixedInverse(toDevice, inv))
        return out;
    const Rect footprint = toDevice.apply(Rect(0, 0, float(width), float(height)));
    if (!boxFits(footprint.minX()) || !boxFits(footprint.maxX()) || !boxFits(footprint.minY()) ||
        !boxFits(footprint.maxY()))
        return out;
    const Box box = Box{floorEdge(footprint.minX()), floorEdge(footprint.minY()),
                        ceilEdge(footprint.maxX()), ceilEdge(footprint.maxY())}
                        .intersect(clip);
    if (box.empty())
        return out;
    // pixman wants rows of a multiple of four bytes.
    CoverageMask in;
    in.width = width;
    in.height = height;
    in.stride = (std::size_t(width) + 3) & ~std::size_t(3);
    in.bytes.assign(in.stride * std::size_t(height), 0);
    for (int y = 0; y < height; ++y)
        std::copy_n(mask + std::size_t(y) * stride, width,
                    in.bytes.data() + std::size_t(y) * in.stride);

    out.x0 = box.x0;
    out.y0 = box.y0;
    out.width = box.x1 - box.x0;
    out.height = box.y1 - box.y0;
    out.stride = (std::size_t(out.width) + 3) & ~std::size_t(3);
    out.bytes.assign(out.stride * std::size_t(out.height), 0);
    PixmanImage src = wrapA8(in);
    PixmanImage dst = wrapA8(out);
    if (!src || !dst)
        return CoverageMask{};
    pixman_image_set_transform(src.get(), &inv);
    const bool whole = ((inv.matrix[0][2] | inv.matrix[1][2]) & 0xFFFF) == 0 &&
                       inv.matrix[0][0] == pixman_fixed_1 && inv.matrix[1][1] == pixman_fixed_1 &&
                       inv.matrix[0][1] == 0 && inv.matrix[1][0] == 0;
    pixman_image_set_filter(src.get(), whole ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR,
                            nullptr, 0);
    pixman_image_composite32(PIXMAN_OP_SRC, src.get(), nullptr, dst.get(), box.x0, box.y0, 0, 0, 0,
                             0, out.width, out.height);
    return out;
}

void multiplyCoverage(CoverageMask& coverage, const CoverageMask& clipMask) {
    for (int y = coverage.y0; y < coverage.y0 + coverage.height; ++y) {
        std::uint8_t* c = coverage.row(y);
        const bool inside = y >= clipMask.y0 && y < clipMask.y0 + clipMask.height;
        for (int x = 0; x < coverage.width; ++x) {
            const int cx = coverage.x0 + x;
            std::uint32_t m = 0;
            if (inside && cx >= clipMask.x0 && cx < clipMask.x0 + clipMask.width)
                m = clipMask.row(y)[cx - clipMask.x0];
            const std::uint32_t t = std::uint32_t(c[x]) * m + 0x80;
            c[x] = std::uint8_t((t + (t >> 8)) >> 8);
        }
    }
}

} // namespace platform::detail
