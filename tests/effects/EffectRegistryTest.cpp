#include "effects/EffectRegistry.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestPictures.h"

using namespace zorbel;

namespace {

constexpr int kWidth = 12;
constexpr int kHeight = 10;

// The effect over a seeded picture, into a destination that starts as the picture (as the
// canvas's does) when the effect writes only the middle, and as zeros otherwise.
std::vector<std::uint8_t> run(const Effect& effect, double amount, bool option = false) {
    const std::vector<std::uint8_t> source = test::randomPicture(kWidth, kHeight, 7);
    std::vector<std::uint8_t> out =
        effect.writesCentreOnly ? source : std::vector<std::uint8_t>(source.size(), 0);
    effect.apply({source.data(), out.data(), kWidth, kHeight}, amount, option);
    return out;
}

} // namespace

// Every row is complete, found by its name and id, and opens its slider inside its range.
TEST(EffectRegistry, EveryRowIsFoundAndItsStartIsInItsRange) {
    std::set<std::string_view> names;
    for (const Effect& e : allEffects()) {
        EXPECT_TRUE(names.insert(e.name).second) << e.name;
        EXPECT_EQ(findEffect(e.name), &e);
        EXPECT_EQ(&effectFor(e.id), &e);
        ASSERT_NE(e.function, nullptr) << e.name;
        EXPECT_FALSE(e.summary.empty()) << e.name;
        EXPECT_LE(e.minimum, e.start) << e.name;
        EXPECT_LE(e.start, e.maximum) << e.name;
        // Only effects with an amount follow a slider.
        EXPECT_EQ(e.kind == EffectKind::Slider, e.hasAmount()) << e.name;
    }
    EXPECT_EQ(names.size(), 11u);
    EXPECT_EQ(findEffect("blur"), nullptr);
}

// Each function takes both ends of its range (and both settings of its switch): the alpha
// byte of the tone effects stays, a middle-only effect leaves the border as it was, and
// the ends give what they stand for.
TEST(EffectRegistry, EveryFunctionTakesItsRangeEnds) {
    const std::vector<std::uint8_t> source = test::randomPicture(kWidth, kHeight, 7);
    for (const Effect& e : allEffects())
        for (double amount : {e.minimum, e.start, e.maximum})
            for (bool option : {false, true}) {
                const auto out = run(e, amount, option);
                if (!e.writesCentreOnly)
                    continue;
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; ++x) {
                        const bool middle = x >= kWidth / 4 && x < kWidth * 3 / 4 &&
                                            y >= kHeight / 4 && y < kHeight * 3 / 4;
                        if (!middle) {
                            EXPECT_EQ(0, std::memcmp(test::pixelAt(out, kWidth, x, y),
                                                     test::pixelAt(source, kWidth, x, y), 4))
                                << e.name << " " << amount << " at " << x << ", " << y;
                        }
                    }
            }
    // The ends of the tone sliders: full brightness is white, none black; no contrast is grey.
    const auto white = run(effectFor(EffectId::Brightness), 255);
    const auto black = run(effectFor(EffectId::Brightness), -255);
    const auto grey = run(effectFor(EffectId::Contrast), -100);
    for (std::size_t i = 0; i < source.size(); ++i) {
        const bool alpha = i % 4 == 0;
        EXPECT_EQ(white[i], alpha ? source[i] : 255) << i;
        EXPECT_EQ(black[i], alpha ? source[i] : 0) << i;
        EXPECT_EQ(grey[i], alpha ? source[i] : 127) << i;
    }
}

// An amount past an end works as that end (a contrast of 1000 would otherwise multiply by
// eleven, a twirl of 50 turn the middle 100 radians); not a number works as the start.
TEST(EffectRegistry, AmountsOutsideTheRangeAreHeldToIt) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Effect& contrast = effectFor(EffectId::Contrast);
    const Effect& brightness = effectFor(EffectId::Brightness);
    const Effect& twirl = effectFor(EffectId::Twirl);
    EXPECT_EQ(run(contrast, 1000), run(contrast, 100));
    EXPECT_EQ(run(contrast, -1e300), run(contrast, -100));
    EXPECT_EQ(run(brightness, 256.9), run(brightness, 255));
    EXPECT_EQ(run(brightness, 7.8), run(brightness, 7));
    EXPECT_EQ(run(twirl, 50, true), run(twirl, 2, true));
    EXPECT_EQ(run(twirl, -std::numeric_limits<double>::infinity()), run(twirl, -2));
    EXPECT_EQ(run(twirl, nan), run(twirl, 0));
    EXPECT_EQ(run(contrast, nan), run(contrast, 0));
    EXPECT_EQ(brightness.clampedAmount(-300), -255);
    EXPECT_EQ(twirl.clampedAmount(1.25), 1.25);
}

// Typed amounts are refused, not held, outside the range or of the wrong kind (as the
// command line wants); a slider's value reaches whole amounts as (int)(value + 0.5).
TEST(EffectRegistry, TypedAmountsAreRefusedAndSliderValuesRounded) {
    const Effect& brightness = effectFor(EffectId::Brightness);
    const Effect& twirl = effectFor(EffectId::Twirl);
    EXPECT_EQ(brightness.parseAmount("-255"), -255);
    EXPECT_EQ(brightness.parseAmount("255"), 255);
    for (const char* bad : {"256", "-256", "1.5", "abc", "", "+3", "nan"})
        EXPECT_FALSE(brightness.parseAmount(bad)) << bad;
    EXPECT_EQ(twirl.parseAmount("-2"), -2);
    EXPECT_NEAR(*twirl.parseAmount("1.5"), 1.5, 1e-7);
    for (const char* bad : {"2.5", "-2.01", "nan", "inf", "1e40", "x"})
        EXPECT_FALSE(twirl.parseAmount(bad)) << bad;
    EXPECT_FALSE(effectFor(EffectId::Bulge).parseAmount("0"));

    EXPECT_EQ(brightness.amountFromSlider(0.4f), 0);
    EXPECT_EQ(brightness.amountFromSlider(0.5f), 1);
    EXPECT_EQ(brightness.amountFromSlider(-0.4f), 0);
    EXPECT_EQ(brightness.amountFromSlider(-0.6f), 0);
    EXPECT_EQ(brightness.amountFromSlider(-1.6f), -1);
    EXPECT_EQ(brightness.amountFromSlider(255.0f), 255);
    EXPECT_EQ(twirl.amountFromSlider(-0.7f), double(-0.7f));
}
