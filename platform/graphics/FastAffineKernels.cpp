// The bilinear kernel under any affine map (a turned layer).

#include "platform/graphics/FastPathPixels.h"
#include "platform/graphics/FastPaths.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::detail {

namespace {

// The bilinear sample of one pixel from its four neighbours (tl, tr on the
// upper row, bl, br below), 7-bit weights wx to the right and wy downward:
//   c = (tl * (128 - wx) * (128 - wy) + tr * wx * (128 - wy)
//        + bl * (128 - wx) * wy + br * wx * wy) >> 14
// then OVER at the alpha. Returns nothing when all four are transparent.
inline void overBilinearPixel(std::uint32_t* d, std::uint64_t top, std::uint64_t bottom,
                              std::uint32_t wx, std::uint32_t wy, std::uint8_t alpha) {
    if ((top | bottom) == 0)
        return;
#ifdef ZORBEL_SSE2
    const __m128i zero = _mm_setzero_si128();
    const __m128i t = _mm_unpacklo_epi8(_mm_cvtsi64_si128(std::int64_t(top)), zero);
    const __m128i b = _mm_unpacklo_epi8(_mm_cvtsi64_si128(std::int64_t(bottom)), zero);
    // Lanes: left pixel's four channels, then the right one's.
    const __m128i v = _mm_add_epi16(_mm_mullo_epi16(t, _mm_set1_epi16(short(128 - wy))),
                                    _mm_mullo_epi16(b, _mm_set1_epi16(short(wy))));
    const __m128i pairs = _mm_unpacklo_epi16(v, _mm_srli_si128(v, 8));
    const __m128i sums =
        _mm_srli_epi32(_mm_madd_epi16(pairs, _mm_set1_epi32(int((128 - wx) | wx << 16))), 14);
    __m128i s = _mm_packs_epi32(sums, zero); // one pixel in 16-bit lanes
    if (_mm_cvtsi128_si64(s) == 0)
        return;
    if (alpha != 255)
        s = mul8x8(s, _mm_set1_epi16(alpha));
    const __m128i dv = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(*d)), zero);
    *d = std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(over16(s, dv), zero)));
#else
    const std::uint32_t wl = 128 - wx, wr = wx, wt = 128 - wy, wb = wy;
    std::uint32_t s = 0;
    for (int c = 0; c < 4; ++c) {
        const std::uint32_t l =
            channel(std::uint32_t(top), c) * wt + channel(std::uint32_t(bottom), c) * wb;
        const std::uint32_t r = channel(std::uint32_t(top >> 32), c) * wt +
                                channel(std::uint32_t(bottom >> 32), c) * wb;
        s |= ((l * wl + r * wr) >> 14) << (8 * c);
    }
    s = applyAlpha(s, alpha);
    if (s)
        *d = overPixel(s, *d);
#endif
}

// pixman's transform of a pixel centre: the products of the whole parts
// exact, those of the halves rounded once.
inline std::int64_t centreCoordinate(std::int64_t mx, std::int64_t my, std::int64_t m2, int x,
                                     int y) {
    return mx * x + my * y + m2 + ((mx * 0x8000 + my * 0x8000 + 0x8000) >> 16);
}

// The columns i in [0, n) at which p + i * step lies in [lo, hi), widened by
// one either way (the caller checks each pixel exactly).
void spanWithin(std::int64_t p, std::int64_t step, std::int64_t lo, std::int64_t hi, int n,
                int& first, int& last) {
    if (step == 0) {
        if (p < lo || p >= hi)
            last = first;
        return;
    }
    double a = double(lo - p) / double(step), b = double(hi - p) / double(step);
    if (a > b)
        std::swap(a, b);
    first = std::max(first, int(std::max(-1.0, std::floor(a) - 1)));
    last = std::min(last, int(std::min(double(n), std::ceil(b) + 1)));
}

} // namespace

void over_8888_affine_bilinear_n_8888(const AffineBilinearArgs& a) {
    const int n = a.x1 - a.x0;
    const std::int64_t w = a.srcWidth, h = a.srcHeight;
    const std::uint32_t* src = a.src;
    const std::ptrdiff_t stride = a.srcStride;
    // A sample touches the bitmap when its upper-left neighbour is at column
    // -1 .. w - 1 and row -1 .. h - 1: (X - 1/2) >> 16 in that range.
    const std::int64_t loX = -0x8000, hiX = w * 0x10000 + 0x8000;
    const std::int64_t loY = -0x8000, hiY = h * 0x10000 + 0x8000;
    auto pixelAt = [&](std::int64_t col, std::int64_t row) -> std::uint64_t {
        if (col < 0 || col >= w || row < 0 || row >= h)
            return 0;
        return src[row * stride + col];
    };
    for (int y = a.y0; y < a.y1; ++y) {
        const std::int64_t rowX = centreCoordinate(a.m00, a.m01, a.m02, a.x0, y);
        const std::int64_t rowY = centreCoordinate(a.m10, a.m11, a.m12, a.x0, y);
        int first = 0, last = n;
        spanWithin(rowX, a.m00, loX, hiX, n, first, last);
        spanWithin(rowY, a.m10, loY, hiY, n, first, last);
        std::uint32_t* d = a.dst + std::ptrdiff_t(y - a.originY) * a.dstStride + (a.x0 - a.originX);
        std::int64_t X = rowX + first * a.m00 - 0x8000;
        std::int64_t Y = rowY + first * a.m10 - 0x8000;
        for (int i = first; i < last; ++i, X += a.m00, Y += a.m10) {
            const std::int64_t col = X >> 16, row = Y >> 16;
            const std::uint32_t wx = std::uint32_t(X >> 9) & 127, wy = std::uint32_t(Y >> 9) & 127;
            std::uint64_t top, bottom;
            if (col >= 0 && col + 1 < w && row >= 0 && row + 1 < h) {
                const std::uint32_t* p = src + row * stride + col;
                std::memcpy(&top, p, 8);
                std::memcpy(&bottom, p + stride, 8);
            } else {
                if (col < -1 || col >= w || row < -1 || row >= h)
                    continue;
                top = pixelAt(col, row) | pixelAt(col + 1, row) << 32;
                bottom = pixelAt(col, row + 1) | pixelAt(col + 1, row + 1) << 32;
            }
            overBilinearPixel(d + i, top, bottom, wx, wy, a.alpha);
        }
    }
}

} // namespace platform::detail
