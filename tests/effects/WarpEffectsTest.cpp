#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "effects/BulgeImageBitmap.h"
#include "effects/DentImageBitmap.h"
#include "effects/FisheyeImageBitmap.h"
#include "effects/LightTunnelImageBitmap.h"
#include "effects/ParallelRows.h"
#include "effects/SqueezeImage2.h"
#include "effects/TwirlImage3.h"
#include "effects/WarpMath.h"
#include "effects/WarpSampler.h"
#include "tests/effects/TestPictures.h"

using namespace zorbel;
using test::pixelAt;

namespace {

using Warp = void (*)(const std::uint8_t*, std::uint8_t*, int, int);

// Each effect's new radius, written out from its definition (not taken from the effects' code,
// so that their formulas and constants are checked too). Floats unless a step says double.
float bulgeR(float r) {
    return r * r;
}

float dentR(float r) {
    const float s = smoothstep(0.0f, std::bit_cast<float>(0x3F333333u), r); // 0.7
    return float((double(r) + double(r)) - double(r * s));
}

float fisheyeR(float r) {
    return float(double(r * r) / std::bit_cast<double>(0x3FF6A09E667F3BCDull)); // sqrt 2
}

float lightTunnelR(float r) {
    return r > 0.5f ? 0.5f : r;
}

float squeezeR(float r) {
    return float(double(myPow(r, std::bit_cast<float>(0x3F0E38E4u))) * 0.8); // r^0.5555556
}

// The twirl turns by (1 - smoothstep(-0.5, 0.5, r)) x 4 x amount, in double.
float twirledAngle(float a, float r, float amount) {
    const float s = smoothstep(-0.5f, 0.5f, r);
    return float(double(a) + (1.0 - double(s)) * 4.0 * double(amount));
}

struct WarpCase {
    const char* name;
    Warp warp;
    float (*radius)(float);
    bool exactAngle;
};

const WarpCase kWarps[] = {
    {"bulge", bulgeImageBitmap, bulgeR, true},
    {"dent", dentImageBitmap, dentR, true},
    {"fisheye", fisheyeImageBitmap, fisheyeR, true},
    {"lightTunnel", lightTunnelImageBitmap, lightTunnelR, true},
    {"squeeze", squeezeImage2, squeezeR, false},
};

// The plain reading of the shared frame: one pixel after the other, every angle computed, the
// byte-at-a-time sampler, one thread. The effects' fast paths must give exactly these bytes.
void referenceWarp(const WarpCase& w, const std::uint8_t* src, std::uint8_t* dst, int width,
                   int height) {
    float cx = float(width) * 0.5f;
    float cy = float(height) * 0.5f;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float u = (float(x) - cx) / cx;
            float v = (float(y) - cy) / cy;
            float r = std::sqrt(u * u + v * v);
            float a = w.exactAngle ? float(std::atan2(double(v), double(u))) : fast_atan2f(v, u);
            float r2 = w.radius(r);
            float sx = cx + cx * float(double(r2) * std::cos(double(a)));
            float sy = cy + cy * float(double(r2) * std::sin(double(a)));
            sampleBilinearScalar(src, width, height, sx, sy,
                                 dst + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4);
        }
}

// The same for the twirl: its central rectangle, one pixel after the other.
void referenceTwirl(const std::uint8_t* src, std::uint8_t* dst, int width, int height, float amount,
                    bool interpolate) {
    float cx = float(width) * 0.5f;
    float cy = float(height) * 0.5f;
    int x0 = int(cx * 0.5f);
    int y0 = int(cy * 0.5f);
    for (int y = y0; y < int(cy + float(y0)); ++y)
        for (int x = x0; x < int(cx + float(x0)); ++x) {
            float u = (float(x) - cx) / cx;
            float v = (float(y) - cy) / cy;
            float r = std::sqrt(u * u + v * v);
            float a = twirledAngle(fast_atan2f(v, u), r, amount);
            float sx = cx + cx * float(double(r) * std::cos(double(a)));
            float sy = cy + cy * float(double(r) * std::sin(double(a)));
            std::uint8_t* out = dst + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
            if (interpolate)
                sampleBilinearScalar(src, width, height, sx, sy, out);
            else
                sampleNearest(src, width, height, sx, sy, out);
        }
}

int maxDifference(const std::uint8_t* a, const std::uint8_t* b) {
    int most = 0;
    for (int c = 0; c < 4; ++c)
        most = std::max(most, std::abs(int(a[c]) - int(b[c])));
    return most;
}

class ThreadLimit {
public:
    explicit ThreadLimit(int threads) { setEffectThreadLimit(threads); }
    ~ThreadLimit() { setEffectThreadLimit(0); }
};

} // namespace

TEST(Warps, MatchThePlainDefinitionOnEverySize) {
    const int sizes[][2] = {{2, 2}, {3, 2}, {2, 5}, {37, 23}, {64, 64}, {320, 480}, {81, 120}};
    for (const auto& w : kWarps)
        for (const auto& size : sizes) {
            int width = size[0];
            int height = size[1];
            auto src = test::randomPicture(width, height, unsigned(width * 1000 + height));
            std::vector<std::uint8_t> expected(src.size(), 0);
            std::vector<std::uint8_t> actual(src.size(), 0);
            referenceWarp(w, src.data(), expected.data(), width, height);
            w.warp(src.data(), actual.data(), width, height);
            ASSERT_EQ(actual, expected) << w.name << " " << width << "x" << height;
        }
    for (const auto& size : sizes)
        for (float amount : {-2.0f, 0.4f, 1.7f})
            for (bool interpolate : {false, true}) {
                int width = size[0];
                int height = size[1];
                auto src = test::randomPicture(width, height, unsigned(width + height));
                std::vector<std::uint8_t> expected(src);
                std::vector<std::uint8_t> actual(src);
                referenceTwirl(src.data(), expected.data(), width, height, amount, interpolate);
                twirlImage3(src.data(), actual.data(), width, height, amount, interpolate);
                ASSERT_EQ(actual, expected) << "twirl " << amount << " " << width << "x" << height;
            }
}

// Where a warp reads from is worked out once per size and kept: a second and a third picture
// of that size, with other sizes warped in between, still come out as the definition says.
TEST(Warps, LaterPicturesOfTheSameSizeAreWarpedFromTheirOwnPixels) {
    for (unsigned round = 0; round < 3; ++round)
        for (const auto& w : kWarps)
            for (const auto& size : {std::pair{320, 480}, std::pair{33, 17}}) {
                auto src = test::randomPicture(size.first, size.second, 77 + round);
                std::vector<std::uint8_t> expected(src.size(), 0);
                std::vector<std::uint8_t> actual(src.size(), 0);
                referenceWarp(w, src.data(), expected.data(), size.first, size.second);
                w.warp(src.data(), actual.data(), size.first, size.second);
                ASSERT_EQ(actual, expected) << w.name << " round " << round;
            }
}

TEST(Warps, SpreadOverThreadsGiveTheSameBytes) {
    auto src = test::randomPicture(320, 480, 9);
    for (const auto& w : kWarps) {
        std::vector<std::uint8_t> single(src.size(), 0);
        std::vector<std::uint8_t> many(src.size(), 0);
        {
            ThreadLimit limit(1);
            w.warp(src.data(), single.data(), 320, 480);
        }
        {
            ThreadLimit limit(5);
            w.warp(src.data(), many.data(), 320, 480);
        }
        EXPECT_EQ(single, many) << w.name;
    }
    std::vector<std::uint8_t> single(src);
    std::vector<std::uint8_t> many(src);
    {
        ThreadLimit limit(1);
        twirlImage3(src.data(), single.data(), 320, 480, 1.3f, true);
    }
    {
        ThreadLimit limit(3);
        twirlImage3(src.data(), many.data(), 320, 480, 1.3f, true);
    }
    EXPECT_EQ(single, many);
}

TEST(Warps, NullPointersAndTooSmallBuffersWriteNothing) {
    auto src = test::randomPicture(4, 4, 1);
    for (const auto& w : kWarps) {
        std::vector<std::uint8_t> dst(src.size(), 77);
        w.warp(nullptr, dst.data(), 4, 4);
        w.warp(src.data(), dst.data(), 1, 4);
        w.warp(src.data(), dst.data(), 4, 1);
        w.warp(src.data(), dst.data(), 0, 0);
        w.warp(src.data(), nullptr, 4, 4);
        EXPECT_EQ(dst, std::vector<std::uint8_t>(src.size(), 77)) << w.name;
    }
    std::vector<std::uint8_t> dst(src.size(), 77);
    twirlImage3(nullptr, dst.data(), 4, 4, 1.0f, false);
    twirlImage3(src.data(), dst.data(), 1, 4, 1.0f, true);
    twirlImage3(src.data(), dst.data(), 4, 1, 1.0f, true);
    twirlImage3(src.data(), nullptr, 4, 4, 1.0f, true);
    EXPECT_EQ(dst, std::vector<std::uint8_t>(src.size(), 77));
}

TEST(Warps, CentrePixelOfAnEvenBufferSamplesItself) {
    auto src = test::randomPicture(320, 480, 2);
    for (Warp warp : {bulgeImageBitmap, dentImageBitmap, fisheyeImageBitmap}) {
        std::vector<std::uint8_t> dst(src.size(), 0);
        warp(src.data(), dst.data(), 320, 480);
        EXPECT_EQ(maxDifference(pixelAt(dst, 320, 160, 240), pixelAt(src, 320, 160, 240)), 0);
    }
}

TEST(LightTunnel, InsideTheCircleThePictureStays) {
    auto src = test::randomPicture(320, 480, 3);
    std::vector<std::uint8_t> dst(src.size(), 0);
    lightTunnelImageBitmap(src.data(), dst.data(), 320, 480);
    // Pixels well inside the radius-0.5 ellipse (80 columns, 120 rows about the centre).
    for (int y = 130; y < 350; ++y)
        for (int x = 90; x < 230; ++x) {
            float u = float(x - 160) / 80.0f;
            float v = float(y - 240) / 120.0f;
            if (u * u + v * v > 0.9f)
                continue;
            ASSERT_LE(maxDifference(pixelAt(dst, 320, x, y), pixelAt(src, 320, x, y)), 1)
                << x << "," << y;
        }
}

TEST(LightTunnel, CornersRepeatThePixelOnTheCircleAlongTheDiagonal) {
    auto src = test::randomPicture(64, 64, 4);
    std::vector<std::uint8_t> dst(src.size(), 0);
    lightTunnelImageBitmap(src.data(), dst.data(), 64, 64);
    // On a square buffer the diagonal has one angle; outside the circle every pixel
    // on it reads the same point of the circle (k <= 20 and k >= 44).
    for (int k = 0; k <= 20; ++k)
        EXPECT_EQ(maxDifference(pixelAt(dst, 64, k, k), pixelAt(dst, 64, 0, 0)), 0) << k;
    for (int k = 44; k < 64; ++k)
        EXPECT_EQ(maxDifference(pixelAt(dst, 64, k, k), pixelAt(dst, 64, 63, 63)), 0) << k;
    EXPECT_NE(maxDifference(pixelAt(dst, 64, 22, 22), pixelAt(dst, 64, 0, 0)), 0);
}

TEST(Dent, LastColumnAndRowCopyTheOnesBefore) {
    // The sampler's base stops at width - 2 and height - 2, and the last column and row read at
    // their own position, whose fraction is 0: they repeat the column and row before them. Float
    // rounding puts a few positions a hair below the integer instead, and those read the pixel
    // itself (fraction near 1); on the first row and column a hair below 0 reads row/column 1.
    auto src = test::randomPicture(320, 480, 5);
    std::vector<std::uint8_t> dst(src.size(), 0);
    dentImageBitmap(src.data(), dst.data(), 320, 480);
    int copiesOfTheOneBefore = 0;
    for (int y = 1; y < 479; ++y) {
        bool before = maxDifference(pixelAt(dst, 320, 319, y), pixelAt(src, 320, 318, y)) <= 1;
        bool itself = maxDifference(pixelAt(dst, 320, 319, y), pixelAt(src, 320, 319, y)) <= 1;
        ASSERT_TRUE(before || itself) << y;
        copiesOfTheOneBefore += before;
    }
    for (int x = 1; x < 319; ++x) {
        bool before = maxDifference(pixelAt(dst, 320, x, 479), pixelAt(src, 320, x, 478)) <= 1;
        bool itself = maxDifference(pixelAt(dst, 320, x, 479), pixelAt(src, 320, x, 479)) <= 1;
        ASSERT_TRUE(before || itself) << x;
        copiesOfTheOneBefore += before;
    }
    EXPECT_GT(copiesOfTheOneBefore, (478 + 318) * 9 / 10);
    EXPECT_LE(maxDifference(pixelAt(dst, 320, 319, 479), pixelAt(src, 320, 318, 478)), 1);
}

TEST(Bulge, CornersReadClampedBorderPixels) {
    // A picture whose border pixels are all one colour: the corners (radius 2 after the bulge)
    // read only the border.
    std::vector<std::uint8_t> src(32 * 32 * 4, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (x <= 1 || y <= 1 || x >= 30 || y >= 30)
                std::fill_n(&src[(std::size_t(y) * 32 + std::size_t(x)) * 4], 4, 200);
    std::vector<std::uint8_t> dst(src.size(), 0);
    bulgeImageBitmap(src.data(), dst.data(), 32, 32);
    for (auto corner : {std::pair{0, 0}, std::pair{31, 0}, std::pair{0, 31}, std::pair{31, 31}})
        EXPECT_EQ(pixelAt(dst, 32, corner.first, corner.second)[1], 200);
}

TEST(Twirl, NothingOutsideTheCentralRectangleChanges) {
    auto src = test::randomPicture(320, 480, 6);
    for (float amount : {-2.0f, -0.3f, 0.0f, 1.0f, 2.0f})
        for (bool interpolate : {false, true}) {
            std::vector<std::uint8_t> dst(src.size(), 0);
            twirlImage3(src.data(), dst.data(), 320, 480, amount, interpolate);
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 320; ++x) {
                    bool inside = x >= 80 && x < 240 && y >= 120 && y < 360;
                    const std::uint8_t* p = pixelAt(dst, 320, x, y);
                    bool untouched = p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 0;
                    if (!inside) {
                        ASSERT_TRUE(untouched) << x << "," << y;
                    }
                }
        }
}

TEST(Twirl, NearestPreviewCopiesSourcePixels) {
    // Each pixel holds its own coordinates, so the output tells where it was read.
    std::vector<std::uint8_t> src(320 * 480 * 4);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 320; ++x) {
            std::uint8_t* p = &src[(std::size_t(y) * 320 + std::size_t(x)) * 4];
            p[0] = std::uint8_t(x);
            p[1] = std::uint8_t(x >> 8);
            p[2] = std::uint8_t(y);
            p[3] = std::uint8_t(y >> 8);
        }
    std::vector<std::uint8_t> dst(src);
    twirlImage3(src.data(), dst.data(), 320, 480, 2.0f, false);
    auto readFrom = [&](int x, int y) {
        const std::uint8_t* p = pixelAt(dst, 320, x, y);
        return std::pair{p[0] | p[1] << 8, p[2] | p[3] << 8};
    };
    // The centre turns by 4 radians: the pixel one column right of it reads from up and left.
    EXPECT_EQ(readFrom(160, 240), std::pair(160, 240));
    EXPECT_EQ(readFrom(161, 240), std::pair(159, 238));
    // Past radius 0.5 the mapping is the identity up to the fast arc tangent's error.
    auto corner = readFrom(80, 120);
    EXPECT_LE(std::abs(corner.first - 80), 1);
    EXPECT_LE(std::abs(corner.second - 120), 1);
}

TEST(Twirl, ZeroAmountKeepsThePictureNearlyAsItWas) {
    auto src = test::gradientPicture(320, 480);
    std::vector<std::uint8_t> dst(src);
    twirlImage3(src.data(), dst.data(), 320, 480, 0.0f, true);
    for (int y = 120; y < 360; ++y)
        for (int x = 80; x < 240; ++x)
            ASSERT_LE(maxDifference(pixelAt(dst, 320, x, y), pixelAt(src, 320, x, y)), 2);
}
