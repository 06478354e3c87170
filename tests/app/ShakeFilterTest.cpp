// Telling a shake from accelerometer samples, without a device or a clock:
// the slow filter, the 2 g threshold over all three axes, and the half-second
// rule that makes one burst of strong samples one shake.

#include <gtest/gtest.h>

#include <array>

#include "app/ShakeFilter.h"

namespace zorbel::testing {
namespace {

// Samples every 0.04 seconds, as the device gives them.
constexpr double kStep = 0.04;

TEST(ShakeFilterTest, FilterMovesATenthOfTheWayTowardsEachSample) {
    ShakeFilter filter;
    filter.takeSample(1, -2, 0.5, 1.0);
    EXPECT_DOUBLE_EQ(filter.filtered()[0], 0.1);
    EXPECT_DOUBLE_EQ(filter.filtered()[1], -0.2);
    EXPECT_DOUBLE_EQ(filter.filtered()[2], 0.05);
    filter.takeSample(1, -2, 0.5, 1.04);
    EXPECT_DOUBLE_EQ(filter.filtered()[0], 1 * 0.1 + 0.1 * 0.9);
}

// The movement is what the filter has not followed yet (the sample less the
// filter updated with it), measured over the three axes together.
TEST(ShakeFilterTest, ShakeIsAMovementOfTwoGOverAllThreeAxes) {
    struct Case {
        double x, y, z;
        bool shake;
    } cases[] = {
        {2.2, 0, 0, false},     // 2.2 - 0.22 = 1.98 g
        {2.23, 0, 0, true},     // 2.007 g
        {0, 0, -2.23, true},    // any direction
        {1.55, 1.55, 0, false}, // 1.395 g on each of two axes: 1.973 g
        {1.6, 1.6, 0, true},    // 1.44 g on each: 2.036 g
        {1.3, 1.3, 1.3, true},  // 1.17 g on each of three: 2.026 g
    };
    for (const auto& c : cases) {
        ShakeFilter filter;
        EXPECT_EQ(filter.takeSample(c.x, c.y, c.z, 10.0), c.shake)
            << c.x << ", " << c.y << ", " << c.z;
        EXPECT_EQ(filter.lastTime(), c.shake ? 10.0 : 0.0) << "a weak sample moves no clock";
    }
}

TEST(ShakeFilterTest, StrongSamplesWithinHalfASecondOfAShakeAreTheSameShake) {
    ShakeFilter filter;
    ASSERT_TRUE(filter.takeSample(3, 0, 0, 1.0));
    EXPECT_FALSE(filter.takeSample(-3, 0, 0, 1.3));
    EXPECT_EQ(filter.lastTime(), 1.0) << "an ignored sample does not restart the half-second";
    EXPECT_FALSE(filter.takeSample(3, 0, 0, 1.5)) << "exactly half a second later is not later";
    EXPECT_TRUE(filter.takeSample(-3, 0, 0, 1.5000001));
    EXPECT_EQ(filter.lastTime(), 1.5000001);
}

// The clock of the last shake starts at 0, so nothing shakes in the first
// half second of the clock.
TEST(ShakeFilterTest, NoShakeInTheFirstHalfSecondOfTheClock) {
    ShakeFilter filter;
    EXPECT_FALSE(filter.takeSample(3, 0, 0, 0.5));
    EXPECT_TRUE(filter.takeSample(-3, 0, 0, 0.54));
}

// A device at rest (face up, -1 g on z) never shakes, however long; then one
// burst of 3 g swings for 0.3 seconds, as a hand gives it, is one shake.
TEST(ShakeFilterTest, RestNeverShakesAndOneBurstShakesOnce) {
    ShakeFilter filter;
    double t = 0;
    int shakes = 0;
    for (int i = 0; i < 500; ++i, t += kStep)
        shakes += filter.takeSample(0, 0, -1, t);
    EXPECT_EQ(shakes, 0);
    EXPECT_NEAR(filter.filtered()[2], -1.0, 1e-6);

    for (int i = 0; i < 8; ++i, t += kStep)
        shakes += filter.takeSample(i % 2 ? -3 : 3, 0, -1, t);
    for (int i = 0; i < 50; ++i, t += kStep)
        shakes += filter.takeSample(0, 0, -1, t);
    EXPECT_EQ(shakes, 1);
}

} // namespace
} // namespace zorbel::testing
