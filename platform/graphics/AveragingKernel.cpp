#include "platform/graphics/AveragingKernel.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#define ZORBEL_SSE2 1
#endif

namespace platform::detail {

namespace {

constexpr int kMaxKernelSide = 256;
constexpr int kMaxPhaseBits = 8;

// pixman's transform of a pixel centre (x + 1/2, y + 1/2): the products of
// the whole parts exact, those of the halves rounded once.
inline std::int64_t centreCoordinate(std::int64_t mx, std::int64_t my, std::int64_t m2, int x,
                                     int y) {
    return mx * x + my * y + m2 + ((mx * 0x8000 + my * 0x8000 + 0x8000) >> 16);
}

inline std::uint32_t packClamped(const std::int32_t total[4]) {
    std::uint32_t r = 0;
    for (int c = 0; c < 4; ++c)
        r |= std::uint32_t(std::clamp((total[c] + 0x8000) >> 16, 0, 255)) << (8 * c);
    return r;
}

} // namespace

bool AveragingFilter::build(const std::int32_t* params, int count) {
    phases_.clear();
    pairs_.clear();
    width_ = height_ = 0;
    if (!params || count < 4)
        return false;
    const int width = params[0] >> 16, height = params[1] >> 16;
    const int xBits = params[2] >> 16, yBits = params[3] >> 16;
    if (width < 1 || height < 1 || width > kMaxKernelSide || height > kMaxKernelSide || xBits < 0 ||
        yBits < 0 || xBits > kMaxPhaseBits || yBits > kMaxPhaseBits)
        return false;
    const int xPhases = 1 << xBits, yPhases = 1 << yBits;
    if (std::int64_t(count) < 4 + std::int64_t(xPhases) * width + std::int64_t(yPhases) * height)
        return false;
    const std::int32_t* xWeights = params + 4;
    const std::int32_t* yWeights = xWeights + std::size_t(xPhases) * width;

    std::vector<std::int64_t> f(std::size_t(width) * height);
    for (int py = 0; py < yPhases; ++py)
        for (int px = 0; px < xPhases; ++px)
            if (!addPhase(xWeights + px * width, yWeights + py * height, width, height, f))
                return false;
    width_ = width;
    height_ = height;
    xShift_ = 16 - xBits;
    yShift_ = 16 - yBits;
    xPhases_ = xPhases;
    return true;
}

// The weights of one phase pair, and the rows and columns that have any: the
// others add nothing, whatever pixel lies under them. `f` is room for the
// width x height products.
bool AveragingFilter::addPhase(const std::int32_t* xWeights, const std::int32_t* yWeights,
                               int width, int height, std::vector<std::int64_t>& f) {
    int r0 = height, r1 = -1, c0 = width, c1 = -1;
    std::int64_t absolute = 0;
    for (int i = 0; i < height; ++i)
        for (int j = 0; j < width; ++j) {
            const std::int64_t w = (std::int64_t(yWeights[i]) * xWeights[j] + 0x8000) >> 16;
            f[std::size_t(i) * width + j] = w;
            if (w == 0)
                continue;
            if (w < -32768 || w > 32767)
                return false;
            absolute += std::abs(w);
            r0 = std::min(r0, i);
            r1 = std::max(r1, i);
            c0 = std::min(c0, j);
            c1 = std::max(c1, j);
        }
    // Every channel's total must stay within 32 bits.
    if (absolute * 255 + 0x8000 > 0x7FFFFFFF)
        return false;
    Phase phase;
    phase.weights = pairs_.size();
    if (r1 >= 0) {
        phase.row0 = r0;
        phase.rows = r1 - r0 + 1;
        phase.col0 = c0;
        phase.cols = c1 - c0 + 1;
        for (int i = r0; i <= r1; ++i)
            for (int j = c0; j <= c1; j += 2) {
                const std::int64_t left = f[std::size_t(i) * width + j];
                const std::int64_t right = j + 1 <= c1 ? f[std::size_t(i) * width + j + 1] : 0;
                pairs_.push_back(
                    std::int32_t((std::uint32_t(left) & 0xFFFF) | (std::uint32_t(right) << 16)));
            }
    }
    phases_.push_back(phase);
    return true;
}

// Near the bitmap's edges: every tap looked up on its own, transparent or
// the nearest edge pixel outside.
std::uint32_t AveragingFilter::sampleEdge(const AveragingSource& s, const Phase& phase,
                                          std::int64_t x1, std::int64_t y1) const {
    std::int32_t total[4] = {0, 0, 0, 0};
    const std::int32_t* w = &pairs_[phase.weights];
    for (int i = 0; i < phase.rows; ++i) {
        std::int64_t row = y1 + phase.row0 + i;
        const bool rowOutside = row < 0 || row >= s.height;
        if (s.pad)
            row = std::clamp<std::int64_t>(row, 0, s.height - 1);
        for (int j = 0; j < phase.cols; ++j) {
            const std::int32_t pair = w[j / 2];
            const std::int32_t weight = std::int16_t(j % 2 ? std::uint32_t(pair) >> 16 : pair);
            std::int64_t col = x1 + phase.col0 + j;
            const bool outside = rowOutside || col < 0 || col >= s.width;
            if (weight == 0 || (outside && !s.pad))
                continue;
            if (s.pad)
                col = std::clamp<std::int64_t>(col, 0, s.width - 1);
            const std::uint32_t p = s.pixels[row * s.stride + col];
            for (int c = 0; c < 4; ++c)
                total[c] += std::int32_t((p >> (8 * c)) & 0xFF) * weight;
        }
        w += (phase.cols + 1) / 2;
    }
    return packClamped(total);
}

std::uint32_t AveragingFilter::samplePixel(const AveragingSource& s, std::int64_t X,
                                           std::int64_t Y) const {
    // To the middle of the position's phase: the weights were made for it.
    const std::int64_t x = ((X >> xShift_) << xShift_) + ((std::int64_t(1) << xShift_) >> 1);
    const std::int64_t y = ((Y >> yShift_) << yShift_) + ((std::int64_t(1) << yShift_) >> 1);
    const int px = int((x & 0xFFFF) >> xShift_), py = int((y & 0xFFFF) >> yShift_);
    const std::int64_t x1 = (x - 1 - ((std::int64_t(width_) * 0x10000 - 0x10000) >> 1)) >> 16;
    const std::int64_t y1 = (y - 1 - ((std::int64_t(height_) * 0x10000 - 0x10000) >> 1)) >> 16;
    const Phase& phase = phases_[std::size_t(py) * xPhases_ + px];
    if (phase.rows == 0)
        return 0;
    const std::int64_t left = x1 + phase.col0, top = y1 + phase.row0;
    const std::int64_t right = left + phase.cols, bottom = top + phase.rows;
    if (left < 0 || top < 0 || right > s.width || bottom > s.height) {
        if (!s.pad && (right <= 0 || bottom <= 0 || left >= s.width || top >= s.height))
            return 0;
        return sampleEdge(s, phase, x1, y1);
    }
    const std::uint32_t* row = s.pixels + top * s.stride + left;
    const std::int32_t* w = &pairs_[phase.weights];
#ifdef ZORBEL_SSE2
    // Two taps per multiply-add: the lanes hold one channel of the left and
    // the right pixel, the weight pair both weights.
    const __m128i zero = _mm_setzero_si128();
    __m128i acc = zero;
    for (int i = 0; i < phase.rows; ++i, row += s.stride) {
        int j = 0;
        for (; j + 2 <= phase.cols; j += 2, ++w) {
            __m128i p =
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + j)), zero);
            p = _mm_unpacklo_epi16(p, _mm_srli_si128(p, 8));
            acc = _mm_add_epi32(acc, _mm_madd_epi16(p, _mm_set1_epi32(*w)));
        }
        if (j < phase.cols) {
            __m128i p = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(row[j])), zero);
            p = _mm_unpacklo_epi16(p, zero);
            acc = _mm_add_epi32(acc, _mm_madd_epi16(p, _mm_set1_epi32(*w)));
            ++w;
        }
    }
    acc = _mm_srai_epi32(_mm_add_epi32(acc, _mm_set1_epi32(0x8000)), 16);
    acc = _mm_packs_epi32(acc, acc);
    return std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(acc, acc)));
#else
    std::int32_t total[4] = {0, 0, 0, 0};
    for (int i = 0; i < phase.rows; ++i, row += s.stride) {
        for (int j = 0; j < phase.cols; ++j) {
            const std::int32_t pair = w[j / 2];
            const std::int32_t weight = std::int16_t(j % 2 ? std::uint32_t(pair) >> 16 : pair);
            for (int c = 0; c < 4; ++c)
                total[c] += std::int32_t((row[j] >> (8 * c)) & 0xFF) * weight;
        }
        w += (phase.cols + 1) / 2;
    }
    return packClamped(total);
#endif
}

void AveragingFilter::sampleRow(const AveragingSource& s, int x0, int y, int n,
                                std::uint32_t* out) const {
    if (phases_.empty()) {
        std::fill_n(out, n, 0u);
        return;
    }
    std::int64_t X = centreCoordinate(s.m00, s.m01, s.m02, x0, y);
    std::int64_t Y = centreCoordinate(s.m10, s.m11, s.m12, x0, y);
    for (int i = 0; i < n; ++i, X += s.m00, Y += s.m10)
        out[i] = samplePixel(s, X, Y);
}

} // namespace platform::detail
