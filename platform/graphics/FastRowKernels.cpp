// The row kernels: one operator over a row at a constant alpha.

#include "platform/graphics/FastPathPixels.h"
#include "platform/graphics/FastPaths.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace platform::detail {

namespace {

std::atomic<bool> gEnabled{true};

// The separable blend modes of PDF, in pixman's integer form:
//   result = (1 - sa) * d + (1 - da) * s + B(d, da, s, sa), all over 255 * 255.
inline std::int32_t blendScreen(std::int32_t d, std::int32_t ad, std::int32_t s, std::int32_t as) {
    return d * as + s * ad - s * d;
}
inline std::int32_t blendOverlay(std::int32_t d, std::int32_t ad, std::int32_t s, std::int32_t as) {
    if (2 * d < ad)
        return 2 * s * d;
    return as * ad - 2 * (ad - d) * (as - s);
}
inline std::int32_t blendDarken(std::int32_t d, std::int32_t ad, std::int32_t s, std::int32_t as) {
    s = ad * s;
    d = as * d;
    return s > d ? d : s;
}
inline std::int32_t blendLighten(std::int32_t d, std::int32_t ad, std::int32_t s, std::int32_t as) {
    s = ad * s;
    d = as * d;
    return s > d ? s : d;
}

inline std::uint32_t divOne(std::int32_t x) {
    x = std::clamp(x, 0, 255 * 255);
    const std::uint32_t t = std::uint32_t(x) + 0x80;
    return (t + (t >> 8)) >> 8;
}

template <std::int32_t (*Blend)(std::int32_t, std::int32_t, std::int32_t, std::int32_t)>
inline std::uint32_t separablePixel(std::uint32_t s, std::uint32_t d) {
    const std::int32_t sa = std::int32_t(s & 0xFF), da = std::int32_t(d & 0xFF);
    const std::int32_t isa = 255 - sa, ida = 255 - da;
    std::uint32_t r = divOne(da * 255 + sa * 255 - sa * da);
    for (int i = 1; i < 4; ++i) {
        const std::int32_t sc = std::int32_t(channel(s, i)), dc = std::int32_t(channel(d, i));
        r |= divOne(isa * dc + ida * sc + Blend(dc, da, sc, sa)) << (8 * i);
    }
    return r;
}

// Rows whose source is transparent leave the destination as it is under every
// operator here but SRC, so the loops skip them.
template <std::uint32_t (*Pixel)(std::uint32_t, std::uint32_t)>
void rowScalar(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    for (int i = 0; i < n; ++i) {
        const std::uint32_t sp = applyAlpha(s[i], alpha);
        if (sp)
            d[i] = Pixel(sp, d[i]);
    }
}

void src_8888_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t) {
    std::memmove(d, s, std::size_t(n) * 4);
}

void src_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    for (int i = 0; i < n; ++i)
        d[i] = applyAlpha(s[i], alpha);
}

#ifdef ZORBEL_SSE2

// OVER at full alpha, four pixels a step; opaque and transparent runs are
// common in brush stamps and pictures and need no arithmetic.
void over_8888_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaBytes = _mm_set1_epi32(0xFF);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sv, zero)) == 0xFFFF)
            continue;
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(sv, alphaBytes), alphaBytes)) ==
            0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), sv);
            continue;
        }
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i lo = over16(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero));
        const __m128i hi = over16(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
    }
    for (; i < n; ++i)
        if (s[i])
            d[i] = overPixel(s[i], d[i]);
}

// An operator at an alpha, four pixels a step: Combine16 takes two source
// and two destination pixels in 16-bit lanes, Pixel does the leftover ones.
// Transparent source quads are skipped; at full alpha the scaling, which
// would give the same bytes, is left out.
template <__m128i (*Combine16)(__m128i, __m128i),
          std::uint32_t (*Pixel)(std::uint32_t, std::uint32_t)>
void rowAtAlpha(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i m = _mm_set1_epi16(alpha);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sv, zero)) == 0xFFFF)
            continue;
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        __m128i slo = _mm_unpacklo_epi8(sv, zero), shi = _mm_unpackhi_epi8(sv, zero);
        if (alpha != 255) {
            slo = mul8x8(slo, m);
            shi = mul8x8(shi, m);
        }
        const __m128i lo = Combine16(slo, _mm_unpacklo_epi8(dv, zero));
        const __m128i hi = Combine16(shi, _mm_unpackhi_epi8(dv, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
    }
    rowScalar<Pixel>(d + i, s + i, n - i, alpha);
}

void over_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowAtAlpha<over16, overPixel>(d, s, n, alpha);
}

void multiply_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowAtAlpha<multiply16, multiplyPixel>(d, s, n, alpha);
}

#else

void over_8888_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowScalar<overPixel>(d, s, n, alpha);
}
void over_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowScalar<overPixel>(d, s, n, alpha);
}
void multiply_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowScalar<multiplyPixel>(d, s, n, alpha);
}

#endif

void screen_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowScalar<separablePixel<blendScreen>>(d, s, n, alpha);
}
void overlay_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowScalar<separablePixel<blendOverlay>>(d, s, n, alpha);
}
void darken_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowScalar<separablePixel<blendDarken>>(d, s, n, alpha);
}
void lighten_8888_n_8888(std::uint32_t* d, const std::uint32_t* s, int n, std::uint8_t alpha) {
    rowScalar<separablePixel<blendLighten>>(d, s, n, alpha);
}

// The one table of row fast paths; the first match wins.
constexpr RowFastPath kRowFastPaths[] = {
    {"over_8888_8888", Op::Over, true, over_8888_8888},
    {"over_8888_n_8888", Op::Over, false, over_8888_n_8888},
    {"src_8888_8888", Op::Src, true, src_8888_8888},
    {"src_8888_n_8888", Op::Src, false, src_8888_n_8888},
    {"multiply_8888_n_8888", Op::Multiply, false, multiply_8888_n_8888},
    {"screen_8888_n_8888", Op::Screen, false, screen_8888_n_8888},
    {"overlay_8888_n_8888", Op::Overlay, false, overlay_8888_n_8888},
    {"darken_8888_n_8888", Op::Darken, false, darken_8888_n_8888},
    {"lighten_8888_n_8888", Op::Lighten, false, lighten_8888_n_8888},
};

} // namespace

RowKernel findRowKernel(Op op, std::uint8_t alpha) {
    if (!gEnabled.load(std::memory_order_relaxed))
        return nullptr;
    for (const RowFastPath& p : kRowFastPaths)
        if (p.op == op && (!p.opaqueAlphaOnly || alpha == 255))
            return p.kernel;
    return nullptr;
}

void setFastPathsEnabled(bool enabled) {
    gEnabled.store(enabled, std::memory_order_relaxed);
}

bool fastPathsEnabled() {
    return gEnabled.load(std::memory_order_relaxed);
}

} // namespace platform::detail
