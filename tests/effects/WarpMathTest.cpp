#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "effects/WarpMath.h"
#include "effects/WarpSampler.h"

using namespace zorbel;

TEST(FastAtan2f, AxesGiveTheirExactAngles) {
    EXPECT_EQ(fast_atan2f(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(fast_atan2f(1.0f, 0.0f)), 0x3FC90FDAu); // 1.57079625
    EXPECT_EQ(std::bit_cast<std::uint32_t>(fast_atan2f(-1.0f, 0.0f)), 0xBFC90FDAu);
    // Only y strictly below 0 takes the negative branch, so (0, -1) is +pi.
    EXPECT_EQ(std::bit_cast<std::uint32_t>(fast_atan2f(0.0f, -1.0f)), 0x40490FDBu);
    EXPECT_EQ(fast_atan2f(0.0f, 1.0f), 0.0f);
}

TEST(Smoothstep, EdgesAndMidpoint) {
    EXPECT_EQ(smoothstep(-0.5f, 0.5f, 0.0f), 0.5f);
    EXPECT_EQ(smoothstep(0.0f, 0.7f, 0.7f), 1.0f);
    EXPECT_EQ(smoothstep(0.0f, 0.7f, 0.0f), 0.0f);
    EXPECT_EQ(smoothstep(0.0f, 0.7f, -0.1f), 0.0f);
    // The test below edge0 comes first: with edges swapped, x below both is 0.
    EXPECT_EQ(smoothstep(1.0f, 0.0f, -1.0f), 0.0f);
}

TEST(MyPow, OneIsExactAndZeroIsTinyButPositive) {
    EXPECT_EQ(myPow(1.0f, 0.5555556f), 1.0f);
    EXPECT_EQ(myPow(1.0f, 3.0f), 1.0f);
    float zero = myPow(0.0f, 0.5555556f);
    EXPECT_GT(zero, 0.0f);
    EXPECT_LT(zero, 1.0e-21f);
    EXPECT_GT(zero, 1.0e-22f);
}

TEST(MyPow, HalfToTheSqueezeExponentIsItsOwnApproximation) {
    // A true power gives 0.680395; the squeeze depends on the approximate value.
    EXPECT_EQ(myPow(0.5f, 0.5555556f), 0.68028259f);
}

TEST(Sincos, GivesTheSameBitsAsSinAndCos) {
    // The warps take the sine and cosine in one call; the definition is sin and cos.
    std::mt19937 random(11);
    std::uniform_real_distribution<float> angle(-12.0f, 12.0f);
    for (int i = 0; i < 20000; ++i) {
        double a = double(angle(random));
        double s;
        double c;
        ::sincos(a, &s, &c);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(s), std::bit_cast<std::uint64_t>(std::sin(a))) << a;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(c), std::bit_cast<std::uint64_t>(std::cos(a))) << a;
    }
}

TEST(Atan2, IsOddInYToTheLastBit) {
    // The whole-buffer warps compute the lower half's angles as the negated upper half's.
    std::mt19937 random(5);
    std::uniform_real_distribution<float> coordinate(-1.5f, 1.5f);
    for (int i = 0; i < 20000; ++i) {
        double y = coordinate(random);
        double x = coordinate(random);
        ASSERT_EQ(std::atan2(-y, x), -std::atan2(y, x)) << y << " " << x;
        ASSERT_EQ(std::sin(-y), -std::sin(y));
        ASSERT_EQ(std::cos(-y), std::cos(y));
    }
}

#if defined(__SSE2__)
TEST(FastAtan2f, FourLanesGiveTheSameBitsAsOne) {
    std::mt19937 random(19);
    std::uniform_real_distribution<float> coordinate(-2.0f, 2.0f);
    const float specials[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, -0.5f, 3.0f, -3.0f};
    auto check = [](float y, const float* x) {
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, fast_atan2f4(_mm_set1_ps(y), _mm_loadu_ps(x)));
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(lanes[k]),
                      std::bit_cast<std::uint32_t>(fast_atan2f(y, x[k])))
                << y << " " << x[k];
    };
    for (float y : specials)
        for (std::size_t i = 0; i + 4 <= std::size(specials); ++i)
            check(y, &specials[i]);
    for (int i = 0; i < 50000; ++i) {
        float x[4] = {coordinate(random), coordinate(random), coordinate(random), 0.0f};
        check(coordinate(random), x);
    }
}
#endif

TEST(FloorFloat, EqualsTheLibraryFloorSignOfZeroIncluded) {
    std::mt19937 random(13);
    std::uniform_real_distribution<float> wide(-1.0e9f, 1.0e9f);
    std::uniform_real_distribution<float> narrow(-600.0f, 600.0f);
    const float specials[] = {0.0f,
                              -0.0f,
                              0.5f,
                              -0.5f,
                              -1.0f,
                              1.0f,
                              -1.0e-30f,
                              8388607.5f,
                              -8388607.5f,
                              8388608.0f,
                              1.0e30f,
                              -1.0e30f,
                              std::numeric_limits<float>::infinity()};
    for (float x : specials)
        EXPECT_EQ(std::bit_cast<std::uint32_t>(floorFloat(x)),
                  std::bit_cast<std::uint32_t>(std::floor(x)))
            << x;
    EXPECT_TRUE(std::isnan(floorFloat(std::numeric_limits<float>::quiet_NaN())));
    for (int i = 0; i < 100000; ++i)
        for (float x : {wide(random), narrow(random)})
            ASSERT_EQ(std::bit_cast<std::uint32_t>(floorFloat(x)),
                      std::bit_cast<std::uint32_t>(std::floor(x)))
                << x;
}

#if defined(__SSE2__)
TEST(MyPow, FourLanesGiveTheSameBitsAsOne) {
    std::mt19937 random(17);
    std::uniform_real_distribution<float> base(0.0f, 2.0f);
    for (int i = 0; i < 50000; ++i) {
        alignas(16) float x[4] = {base(random), base(random), base(random), i == 0 ? 0.0f : 1.0f};
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, myPow4(_mm_load_ps(x), 0.5555556f));
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(lanes[k]),
                      std::bit_cast<std::uint32_t>(myPow(x[k], 0.5555556f)))
                << x[k];
    }
}
#endif
