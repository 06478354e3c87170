// The bilinear kernels along the axes: a bitmap at a sub-pixel offset, and a
// stretched bitmap.

#include "platform/graphics/FastPathPixels.h"
#include "platform/graphics/FastPaths.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace platform::detail {

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

// Narrows [y0, y1) to the destination rows whose samples touch the bitmap:
// source row j = y * step + offset must lie in -1 .. srcHeight - 1.
void rowsTouchingBitmap(const BilinearArgs& a, int& y0, int& y1) {
    if (a.rowStep > 0) {
        y0 = std::max(y0, -1 - a.rowOffset);
        y1 = std::min(y1, a.srcHeight - a.rowOffset);
    } else {
        y0 = std::max(y0, a.rowOffset - (a.srcHeight - 1));
        y1 = std::min(y1, a.rowOffset + 2);
    }
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

    int y0 = a.y0, y1 = a.y1;
    rowsTouchingBitmap(a, y0, y1);
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

namespace {

// The source columns a stretched bitmap's destination columns sample.
struct ScaledColumns {
    // c0, c1 (counted from `first`) and the weight pair (128 - w) | w << 16
    // for each destination column.
    const std::int32_t* table;
    int first; // the first source column in use
    int count; // source columns in use
};

// Each destination column's pair of source columns and weights, found once.
ScaledColumns scaledColumns(const ScaledBilinearArgs& a, int n) {
    thread_local std::vector<std::int32_t> columns;
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
    return {columns.data(), first, last - first + 1};
}

// One destination row of n pixels from the row's vertical samples v: each
// pixel gathers its two columns' samples, weighs them, and is composited by
// op at alpha.
inline void compositeScaledRow(std::uint32_t* d, const std::uint16_t* v, const std::int32_t* col,
                               int n, Op op, std::uint8_t alpha) {
    int i = 0;
#ifdef ZORBEL_SSE2
    const __m128i zero = _mm_setzero_si128();
    const __m128i m = _mm_set1_epi16(alpha);
    for (; i + 2 <= n; i += 2, col += 6) {
        const __m128i l0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[0] * 4));
        const __m128i r0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[1] * 4));
        const __m128i l1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[3] * 4));
        const __m128i r1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + col[4] * 4));
        const __m128i p0 =
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(l0, r0), _mm_set1_epi32(col[2])), 14);
        const __m128i p1 =
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(l1, r1), _mm_set1_epi32(col[5])), 14);
        __m128i sv = _mm_packs_epi32(p0, p1);
        if (op == Op::Over && _mm_movemask_epi8(_mm_cmpeq_epi16(sv, zero)) == 0xFFFF)
            continue;
        if (alpha != 255)
            sv = mul8x8(sv, m);
        if (op == Op::Over) {
            const __m128i dv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + i));
            sv = over16(sv, _mm_unpacklo_epi8(dv, zero));
        }
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(sv, sv));
    }
#endif
    for (; i < n; ++i, col += 3) {
        const std::uint16_t* l = v + col[0] * 4;
        const std::uint16_t* r = v + col[1] * 4;
        const std::uint32_t wl = std::uint32_t(col[2]) & 0xFFFF, wr = std::uint32_t(col[2]) >> 16;
        std::uint32_t sp = 0;
        for (int c = 0; c < 4; ++c)
            sp |= ((l[c] * wl + r[c] * wr) >> 14) << (8 * c);
        sp = applyAlpha(sp, alpha);
        if (op == Op::Src)
            d[i] = sp;
        else if (sp)
            d[i] = overPixel(sp, d[i]);
    }
}

} // namespace

// A stretched bitmap, bilinear with the edge pixels repeated (pixman's PAD):
// each row is one vertical pass over the source columns in use and a
// horizontal pass that gathers from it.
void scaled_bilinear_8888_n_8888(const ScaledBilinearArgs& a) {
    const int n = a.x1 - a.x0;
    if (n <= 0 || a.y1 <= a.y0)
        return;
    VerticalPass vertical;
    HorizontalPass unused;
    selectPasses(vertical, unused);

    const ScaledColumns columns = scaledColumns(a, n);
    const int first = columns.first, count = columns.count;
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
        compositeScaledRow(a.dst + std::ptrdiff_t(y) * a.dstStride + a.x0, buffers[(y - a.y0) & 1],
                           columns.table, n, a.op, a.alpha);
    }
}

void setWideKernelsEnabled(bool enabled) {
    gWideEnabled.store(enabled, std::memory_order_relaxed);
}

} // namespace platform::detail
