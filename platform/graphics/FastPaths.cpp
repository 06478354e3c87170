#include "platform/graphics/FastPaths.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#define ZORBEL_SSE2 1
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif
#endif

// Pixels are the bytes A, R, G, B; read as a little-endian word the alpha is
// the low byte. Every formula below is pixman's, rounding included:
//   mul(x, a) = round(x * a / 255) computed as t = x * a + 128, (t + (t >> 8)) >> 8
//   sat(v)    = min(v, 255)

namespace platform::detail {

namespace {

std::atomic<bool> gEnabled{true};

inline std::uint32_t mul8(std::uint32_t x, std::uint32_t a) {
    const std::uint32_t t = x * a + 0x80;
    return (t + (t >> 8)) >> 8;
}

inline std::uint32_t sat8(std::uint32_t v) {
    return v > 255 ? 255 : v;
}

inline std::uint32_t channel(std::uint32_t p, int i) {
    return (p >> (8 * i)) & 0xFF;
}

// s * m / 255 per channel (pixman's combine_mask).
inline std::uint32_t applyAlpha(std::uint32_t s, std::uint32_t m) {
    if (m == 255)
        return s;
    if (m == 0)
        return 0;
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i)
        r |= mul8(channel(s, i), m) << (8 * i);
    return r;
}

// OVER: d = s + d * (1 - sa), per channel, saturated.
inline std::uint32_t overPixel(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t isa = 255 - (s & 0xFF);
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i)
        r |= sat8(channel(s, i) + mul8(channel(d, i), isa)) << (8 * i);
    return r;
}

// MULTIPLY: d = s * (1 - da) + d * (1 - sa) + s * d, each product rounded.
inline std::uint32_t multiplyPixel(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t isa = 255 - (s & 0xFF), ida = 255 - (d & 0xFF);
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t sc = channel(s, i), dc = channel(d, i);
        const std::uint32_t ss = sat8(mul8(sc, ida) + mul8(dc, isa));
        r |= sat8(mul8(dc, sc) + ss) << (8 * i);
    }
    return r;
}

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

inline __m128i mul8x8(__m128i x, __m128i a) {
    const __m128i t = _mm_adds_epu16(_mm_mullo_epi16(x, a), _mm_set1_epi16(0x80));
    return _mm_mulhi_epu16(t, _mm_set1_epi16(0x0101));
}

inline __m128i expandAlpha(__m128i v) { // lanes A R G B A R G B -> A A A A A A A A
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(0, 0, 0, 0));
    return _mm_shufflehi_epi16(v, _MM_SHUFFLE(0, 0, 0, 0));
}

inline __m128i over16(__m128i s, __m128i d) { // two pixels in 16-bit lanes
    const __m128i isa = _mm_xor_si128(expandAlpha(s), _mm_set1_epi16(0xFF));
    return _mm_min_epi16(_mm_add_epi16(s, mul8x8(d, isa)), _mm_set1_epi16(0xFF));
}

inline __m128i multiply16(__m128i s, __m128i d) {
    const __m128i ff = _mm_set1_epi16(0xFF);
    const __m128i isa = _mm_xor_si128(expandAlpha(s), ff);
    const __m128i ida = _mm_xor_si128(expandAlpha(d), ff);
    const __m128i ss = _mm_min_epi16(_mm_add_epi16(mul8x8(s, ida), mul8x8(d, isa)), ff);
    return _mm_min_epi16(_mm_add_epi16(mul8x8(d, s), ss), ff);
}

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

// Bilinear weights are 7 bits (pixman's BILINEAR_INTERPOLATION_BITS):
//   c = (tl * (128 - wx) * (128 - wy) + tr * wx * (128 - wy)
//        + bl * (128 - wx) * wy + br * wx * wy) >> 14
// computed exactly as a vertical pass into 16 bits (at most 255 * 128) and a
// horizontal pass into 32 bits, then OVER at the alpha.
namespace {

// v[k] = top[k] * wt + bottom[k] * wb, channel by channel, for k0 <= k < k1.
void verticalScalar(const std::uint32_t* top, const std::uint32_t* bot, std::uint16_t* v, int k,
                    int k1, std::uint32_t wt, std::uint32_t wb) {
    for (; k < k1; ++k) {
        const std::uint32_t tp = top[k], bp = bot[k];
        for (int c = 0; c < 4; ++c)
            v[k * 4 + c] = std::uint16_t(channel(tp, c) * wt + channel(bp, c) * wb);
    }
}

// d[i] = OVER((v[i] * wl + v[i + 1] * wr) >> 14 at alpha, d[i]) for i < n.
void horizontalScalar(std::uint32_t* d, const std::uint16_t* v, int i, int n, std::uint32_t wl,
                      std::uint32_t wr, std::uint8_t alpha) {
    for (; i < n; ++i) {
        const std::uint16_t* vk = v + i * 4;
        std::uint32_t s = 0;
        for (int c = 0; c < 4; ++c)
            s |= ((vk[c] * wl + vk[c + 4] * wr) >> 14) << (8 * c);
        s = applyAlpha(s, alpha);
        if (s)
            d[i] = overPixel(s, d[i]);
    }
}

#ifdef ZORBEL_SSE2

void verticalSse2(const std::uint32_t* top, const std::uint32_t* bot, std::uint16_t* v, int k,
                  int k1, std::uint32_t wt, std::uint32_t wb) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i vt = _mm_set1_epi16(short(wt)), vb = _mm_set1_epi16(short(wb));
    for (; k + 4 <= k1; k += 4) {
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bot + k));
        const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(t, zero), vt),
                                         _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), vb));
        const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(t, zero), vt),
                                         _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), vb));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v + k * 4), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v + k * 4 + 8), hi);
    }
    verticalScalar(top, bot, v, k, k1, wt, wb);
}

void horizontalSse2(std::uint32_t* d, const std::uint16_t* v, int n, std::uint32_t wl,
                    std::uint32_t wr, std::uint8_t alpha) {
    const __m128i weights = _mm_set1_epi32(int(wl | wr << 16));
    const __m128i zero = _mm_setzero_si128();
    const __m128i m = _mm_set1_epi16(alpha);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const std::uint16_t* vk = v + i * 4; // samples i .. i + 4
        const __m128i l0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(vk));
        const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(vk + 4));
        const __m128i l1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(vk + 8));
        const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(vk + 12));
        const __m128i s01 = _mm_packs_epi32(
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(l0, r0), weights), 14),
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(l0, r0), weights), 14));
        const __m128i s23 = _mm_packs_epi32(
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(l1, r1), weights), 14),
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(l1, r1), weights), 14));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_packus_epi16(s01, s23), zero)) == 0xFFFF)
            continue;
        __m128i slo = s01, shi = s23;
        if (alpha != 255) {
            slo = mul8x8(slo, m);
            shi = mul8x8(shi, m);
        }
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i rlo = over16(slo, _mm_unpacklo_epi8(dv, zero));
        const __m128i rhi = over16(shi, _mm_unpackhi_epi8(dv, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(rlo, rhi));
    }
    horizontalScalar(d, v, i, n, wl, wr, alpha);
}

#endif

#if defined(ZORBEL_SSE2) && defined(__GNUC__) && defined(__x86_64__)
#define ZORBEL_AVX2 1

// The same two passes on 256-bit registers, chosen at run time where the
// processor has AVX2. Within each 128-bit half the lanes are as in SSE2.
__attribute__((target("avx2"))) inline __m256i mul8x16(__m256i x, __m256i a) {
    const __m256i t = _mm256_adds_epu16(_mm256_mullo_epi16(x, a), _mm256_set1_epi16(0x80));
    return _mm256_mulhi_epu16(t, _mm256_set1_epi16(0x0101));
}

__attribute__((target("avx2"))) inline __m256i over16x16(__m256i s, __m256i d) {
    __m256i sa = _mm256_shufflelo_epi16(s, _MM_SHUFFLE(0, 0, 0, 0));
    sa = _mm256_shufflehi_epi16(sa, _MM_SHUFFLE(0, 0, 0, 0));
    const __m256i isa = _mm256_xor_si256(sa, _mm256_set1_epi16(0xFF));
    return _mm256_min_epi16(_mm256_add_epi16(s, mul8x16(d, isa)), _mm256_set1_epi16(0xFF));
}

__attribute__((target("avx2"))) void verticalAvx2(const std::uint32_t* top,
                                                  const std::uint32_t* bot, std::uint16_t* v, int k,
                                                  int k1, std::uint32_t wt, std::uint32_t wb) {
    const __m256i vt = _mm256_set1_epi16(short(wt)), vb = _mm256_set1_epi16(short(wb));
    const int kStart = k;
    for (; k + 8 <= k1; k += 8) {
        const __m256i t0 =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(top + k)));
        const __m256i b0 =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bot + k)));
        const __m256i t1 =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(top + k + 4)));
        const __m256i b1 =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bot + k + 4)));
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(v + k * 4),
            _mm256_add_epi16(_mm256_mullo_epi16(t0, vt), _mm256_mullo_epi16(b0, vb)));
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(v + k * 4 + 16),
            _mm256_add_epi16(_mm256_mullo_epi16(t1, vt), _mm256_mullo_epi16(b1, vb)));
    }
    // The rest in chunks of four, the last one overlapping what is done (the
    // samples are a pure function of the column); one by one only when the
    // whole run is shorter than four.
    while (k < k1 && k1 - 4 >= kStart) {
        const int kk = std::min(k, k1 - 4);
        const __m256i t =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(top + kk)));
        const __m256i b =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bot + kk)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(v + kk * 4),
                            _mm256_add_epi16(_mm256_mullo_epi16(t, vt), _mm256_mullo_epi16(b, vb)));
        k = kk + 4;
    }
    verticalScalar(top, bot, v, k, k1, wt, wb);
}

__attribute__((target("avx2"))) void horizontalAvx2(std::uint32_t* d, const std::uint16_t* v, int n,
                                                    std::uint32_t wl, std::uint32_t wr,
                                                    std::uint8_t alpha) {
    const __m256i weights = _mm256_set1_epi32(int(wl | wr << 16));
    const __m256i m = _mm256_set1_epi16(alpha);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint16_t* vk = v + i * 4; // samples i .. i + 8
        const __m256i l0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(vk));
        const __m256i r0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(vk + 4));
        const __m256i l1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(vk + 16));
        const __m256i r1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(vk + 20));
        // Halves: pixels (i, i+1 | i+2, i+3) and (i+4, i+5 | i+6, i+7).
        __m256i s0 = _mm256_packs_epi32(
            _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(l0, r0), weights), 14),
            _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(l0, r0), weights), 14));
        __m256i s1 = _mm256_packs_epi32(
            _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(l1, r1), weights), 14),
            _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(l1, r1), weights), 14));
        if (_mm256_testz_si256(_mm256_or_si256(s0, s1), _mm256_or_si256(s0, s1)))
            continue;
        if (alpha != 255) {
            s0 = mul8x16(s0, m);
            s1 = mul8x16(s1, m);
        }
        const __m256i d0 =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i)));
        const __m256i d1 =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 4)));
        // packus works within halves: (r0 lo, r1 lo | r0 hi, r1 hi); put the
        // quarters back in pixel order.
        const __m256i packed = _mm256_packus_epi16(over16x16(s0, d0), over16x16(s1, d1));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
    }
    horizontalSse2(d + i, v + i * 4, n - i, wl, wr, alpha);
}

#endif

using VerticalPass = void (*)(const std::uint32_t*, const std::uint32_t*, std::uint16_t*, int, int,
                              std::uint32_t, std::uint32_t);
using HorizontalPass = void (*)(std::uint32_t*, const std::uint16_t*, int, std::uint32_t,
                                std::uint32_t, std::uint8_t);

bool cpuHasAvx2() {
#ifdef ZORBEL_AVX2
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

std::atomic<bool> gWideEnabled{true};

void selectPasses(VerticalPass& vertical, HorizontalPass& horizontal) {
    vertical = verticalScalar;
    horizontal = [](std::uint32_t* d, const std::uint16_t* v, int n, std::uint32_t wl,
                    std::uint32_t wr,
                    std::uint8_t alpha) { horizontalScalar(d, v, 0, n, wl, wr, alpha); };
#ifdef ZORBEL_SSE2
    vertical = verticalSse2;
    horizontal = horizontalSse2;
#endif
#ifdef ZORBEL_AVX2
    if (cpuHasAvx2() && gWideEnabled.load(std::memory_order_relaxed)) {
        vertical = verticalAvx2;
        horizontal = horizontalAvx2;
    }
#endif
}

} // namespace

void over_8888_bilinear_n_8888(const BilinearArgs& a) {
    // Destination columns whose samples touch the bitmap at all.
    const int x0 = std::max(a.x0, -1 - a.colOffset);
    const int x1 = std::min(a.x1, a.srcWidth - a.colOffset);
    if (x0 >= x1)
        return;
    const int kFirst = x0 + a.colOffset; // -1 .. srcWidth - 1
    const int kCount = x1 - x0 + 1;      // vertical samples kFirst .. kFirst + kCount - 1

    VerticalPass vertical;
    HorizontalPass horizontal;
    selectPasses(vertical, horizontal);

    // Two sample rows: the vertical pass runs one row ahead of the horizontal
    // one, so the horizontal pass's unaligned loads do not wait on the stores
    // just made (a store-forwarding stall that cost a third of the time).
    const std::size_t rowSamples = std::size_t(kCount + 8) * 4;
    thread_local std::vector<std::uint16_t> vbuf;
    thread_local std::vector<std::uint32_t> zeroRow;
    if (vbuf.size() < 2 * rowSamples)
        vbuf.resize(2 * rowSamples);
    if (zeroRow.size() < std::size_t(a.srcWidth))
        zeroRow.resize(std::size_t(a.srcWidth), 0);
    std::uint16_t* const buffers[2] = {vbuf.data(), vbuf.data() + rowSamples};
    const std::uint32_t wt = 128 - std::uint32_t(a.wy), wb = std::uint32_t(a.wy);
    const std::uint32_t wl = 128 - std::uint32_t(a.wx), wr = std::uint32_t(a.wx);
    // Samples inside the bitmap; the ones before and after (columns -1 and
    // srcWidth) stay zero.
    const int kIn0 = std::max(0, -kFirst);
    const int kIn1 = std::min(kCount, a.srcWidth - kFirst);
    for (std::uint16_t* v : buffers) {
        std::fill(v, v + std::size_t(kIn0) * 4, std::uint16_t(0));
        std::fill(v + std::size_t(kIn1) * 4, v + rowSamples, std::uint16_t(0));
    }

    // Destination rows whose samples touch the bitmap: source row j = y * step
    // + offset must lie in -1 .. srcHeight - 1.
    int y0 = a.y0, y1 = a.y1;
    if (a.rowStep > 0) {
        y0 = std::max(y0, -1 - a.rowOffset);
        y1 = std::min(y1, a.srcHeight - a.rowOffset);
    } else {
        y0 = std::max(y0, a.rowOffset - (a.srcHeight - 1));
        y1 = std::min(y1, a.rowOffset + 2);
    }
    auto verticalFor = [&](int y, std::uint16_t* v) {
        const int j = y * a.rowStep + a.rowOffset;
        const std::uint32_t* top =
            j >= 0 ? a.src + std::ptrdiff_t(j) * a.srcStride : zeroRow.data();
        const std::uint32_t* bot =
            j + 1 < a.srcHeight ? a.src + std::ptrdiff_t(j + 1) * a.srcStride : zeroRow.data();
        // Offset to the first column inside the bitmap (kFirst may be -1).
        vertical(top + kFirst + kIn0, bot + kFirst + kIn0, v + kIn0 * 4, 0, kIn1 - kIn0, wt, wb);
    };
    // Past the bitmap's right edge every sample is zero and OVER leaves the
    // destination as it is, so when the box ends there (not at a clip) the
    // row may run on to a whole number of 8-pixel steps within the bitmap row.
    int span = x1 - x0;
    if (x1 == a.srcWidth - a.colOffset)
        span = std::min((span + 7) & ~7, a.dstWidth - x0);
    if (y0 < y1)
        verticalFor(y0, buffers[0]);
    for (int y = y0; y < y1; ++y) {
        if (y + 1 < y1)
            verticalFor(y + 1, buffers[(y + 1 - y0) & 1]);
        horizontal(a.dst + std::ptrdiff_t(y) * a.dstStride + x0, buffers[(y - y0) & 1], span, wl,
                   wr, a.alpha);
    }
}

// A stretched bitmap, bilinear with the edge pixels repeated (pixman's PAD):
// each destination column has its own pair of source columns and weights,
// found once; each row is one vertical pass over the source columns in use
// and a horizontal pass that gathers from it.
void scaled_bilinear_8888_n_8888(const ScaledBilinearArgs& a) {
    const int n = a.x1 - a.x0;
    if (n <= 0 || a.y1 <= a.y0)
        return;
    VerticalPass vertical;
    HorizontalPass unused;
    selectPasses(vertical, unused);

    thread_local std::vector<std::int32_t> columns; // c0, c1, weight pair per column
    if (columns.size() < std::size_t(n) * 3)
        columns.resize(std::size_t(n) * 3);
    auto clampCol = [&](std::int64_t c) {
        return int(std::clamp<std::int64_t>(c, 0, a.srcWidth - 1));
    };
    for (int i = 0; i < n; ++i) {
        const std::int64_t pos = a.xStart + std::int64_t(i) * a.xStep - 0x8000;
        const std::int64_t c = pos >> 16;
        const std::uint32_t wr = std::uint32_t(pos >> 9) & 127;
        columns[i * 3] = clampCol(c);
        columns[i * 3 + 1] = clampCol(c + 1);
        columns[i * 3 + 2] = std::int32_t((128 - wr) | wr << 16);
    }
    const int first = columns[0];
    const int last = columns[(n - 1) * 3 + 1];
    for (int i = 0; i < n; ++i) {
        columns[i * 3] -= first;
        columns[i * 3 + 1] -= first;
    }
    const int count = last - first + 1;
    const std::size_t rowSamples = std::size_t(count + 8) * 4;
    thread_local std::vector<std::uint16_t> vbuf;
    if (vbuf.size() < 2 * rowSamples)
        vbuf.resize(2 * rowSamples);
    std::uint16_t* const buffers[2] = {vbuf.data(), vbuf.data() + rowSamples};

    auto verticalFor = [&](int y, std::uint16_t* v) {
        const std::int64_t pos = a.yBase + std::int64_t(y) * a.yStep - 0x8000;
        const std::int64_t r = pos >> 16;
        const std::uint32_t wb = std::uint32_t(pos >> 9) & 127;
        const std::int64_t r0 = std::clamp<std::int64_t>(r, 0, a.srcHeight - 1);
        const std::int64_t r1 = std::clamp<std::int64_t>(r + 1, 0, a.srcHeight - 1);
        vertical(a.src + r0 * a.srcStride + first, a.src + r1 * a.srcStride + first, v, 0, count,
                 128 - wb, wb);
    };
    verticalFor(a.y0, buffers[0]);
    for (int y = a.y0; y < a.y1; ++y) {
        if (y + 1 < a.y1)
            verticalFor(y + 1, buffers[(y + 1 - a.y0) & 1]);
        const std::uint16_t* v = buffers[(y - a.y0) & 1];
        std::uint32_t* d = a.dst + std::ptrdiff_t(y) * a.dstStride + a.x0;
        const std::int32_t* col = columns.data();
        int i = 0;
#ifdef ZORBEL_SSE2
        const __m128i zero = _mm_setzero_si128();
        const __m128i m = _mm_set1_epi16(a.alpha);
        for (; i + 2 <= n; i += 2, col += 6) {
            const __m128i l0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[0] * 4));
            const __m128i r0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[1] * 4));
            const __m128i l1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[3] * 4));
            const __m128i r1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[4] * 4));
            const __m128i p0 = _mm_srli_epi32(
                _mm_madd_epi16(_mm_unpacklo_epi16(l0, r0), _mm_set1_epi32(col[2])), 14);
            const __m128i p1 = _mm_srli_epi32(
                _mm_madd_epi16(_mm_unpacklo_epi16(l1, r1), _mm_set1_epi32(col[5])), 14);
            __m128i sv = _mm_packs_epi32(p0, p1);
            if (a.op == Op::Over && _mm_movemask_epi8(_mm_cmpeq_epi16(sv, zero)) == 0xFFFF)
                continue;
            if (a.alpha != 255)
                sv = mul8x8(sv, m);
            if (a.op == Op::Over) {
                const __m128i dv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + i));
                sv = over16(sv, _mm_unpacklo_epi8(dv, zero));
            }
            _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(sv, sv));
        }
#endif
        for (; i < n; ++i, col += 3) {
            const std::uint16_t* l = v + col[0] * 4;
            const std::uint16_t* r = v + col[1] * 4;
            const std::uint32_t wl = std::uint32_t(col[2]) & 0xFFFF,
                                wr = std::uint32_t(col[2]) >> 16;
            std::uint32_t sp = 0;
            for (int c = 0; c < 4; ++c)
                sp |= ((l[c] * wl + r[c] * wr) >> 14) << (8 * c);
            sp = applyAlpha(sp, a.alpha);
            if (a.op == Op::Src)
                d[i] = sp;
            else if (sp)
                d[i] = overPixel(sp, d[i]);
        }
    }
}

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

void setWideKernelsEnabled(bool enabled) {
    gWideEnabled.store(enabled, std::memory_order_relaxed);
}

void setFastPathsEnabled(bool enabled) {
    gEnabled.store(enabled, std::memory_order_relaxed);
}

bool fastPathsEnabled() {
    return gEnabled.load(std::memory_order_relaxed);
}

} // namespace platform::detail
