#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "effects/WarpSampler.h"
#include "tests/effects/TestPictures.h"

using namespace zorbel;

TEST(WarpSampler, BilinearTruncatesNeverRounds) {
    // A value of 254.999 becomes 254.
    std::vector<std::uint8_t> src = {254, 0, 10, 255, 255, 0, 20, 255, //
                                     254, 0, 10, 255, 255, 0, 20, 255};
    std::uint8_t scalar[4];
    std::uint8_t vector[4];
    sampleBilinearScalar(src.data(), 2, 2, 0.999f, 0.0f, scalar);
    sampleBilinear(src.data(), 2, 2, 0.999f, 0.0f, vector);
    EXPECT_EQ(scalar[0], 254);
    EXPECT_EQ(scalar[2], 19);
    EXPECT_EQ(scalar[3], 255);
    EXPECT_EQ(std::vector<std::uint8_t>(scalar, scalar + 4),
              std::vector<std::uint8_t>(vector, vector + 4));
}

TEST(WarpSampler, BaseIndexStaysOneInsideTheLastColumnAndRow) {
    EXPECT_EQ(warpBaseIndex(5.0f, 10), 5);
    EXPECT_EQ(warpBaseIndex(8.0f, 10), 8);
    EXPECT_EQ(warpBaseIndex(8.9f, 10), 8);
    EXPECT_EQ(warpBaseIndex(9.0f, 10), 8);
    EXPECT_EQ(warpBaseIndex(1.0e30f, 10), 8);
    EXPECT_EQ(warpBaseIndex(-0.9f, 10), 0);
    EXPECT_EQ(warpBaseIndex(-1.0e30f, 10), 0);
    EXPECT_EQ(warpBaseIndex(std::numeric_limits<float>::quiet_NaN(), 10), 0);
}

TEST(WarpSampler, ClampedBorderKeepsTheFarCoordinatesFraction) {
    // At x = 20.25 on a 4-wide buffer the base is column 2 and the weight 0.25 of column 3.
    std::vector<std::uint8_t> src(4 * 2 * 4, 0);
    src[3 * 4 + 1] = 200; // column 3, row 0, byte 1
    src[(4 + 3) * 4 + 1] = 200;
    std::uint8_t out[4];
    sampleBilinear(src.data(), 4, 2, 20.25f, 0.0f, out);
    EXPECT_EQ(out[1], 50);
    sampleNearest(src.data(), 4, 2, 20.25f, 0.0f, out);
    EXPECT_EQ(out[1], 0); // nearest never picks the last column
}

TEST(WarpSampler, VectorBilinearEqualsScalarEverywhere) {
    const int width = 17;
    const int height = 9;
    auto src = test::randomPicture(width, height, 42);
    std::mt19937 random(1);
    std::uniform_real_distribution<float> position(-3.0f, 20.0f);
    for (int i = 0; i < 200000; ++i) {
        float x = position(random);
        float y = position(random);
        std::uint8_t scalar[4];
        std::uint8_t vector[4];
        sampleBilinearScalar(src.data(), width, height, x, y, scalar);
        sampleBilinear(src.data(), width, height, x, y, vector);
        for (int c = 0; c < 4; ++c)
            ASSERT_EQ(scalar[c], vector[c]) << x << " " << y;
    }
}
