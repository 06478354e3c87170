#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "effects/ContrastLUT.h"
#include "effects/GrayLUTImageBitmap.h"
#include "effects/GrayLevel.h"
#include "effects/GrayScaleImageBitmap.h"
#include "effects/MirrorImageBitmap.h"
#include "effects/SingleChannelLUT.h"
#include "tests/effects/TestPictures.h"

using namespace zorbel;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes grayScaled(const Bytes& src) {
    Bytes dst(src.size(), 0);
    grayScaleImageBitmap(src.data(), dst.data(), int(src.size() / 4), 1);
    return dst;
}

Bytes sepia(const Bytes& src) {
    ColorLUT table{};
    createSepiaLUT(table);
    Bytes dst(src.size(), 0);
    grayLUTImageBitmap(src.data(), dst.data(), int(src.size() / 4), 1, table);
    return dst;
}

Bytes brightened(const Bytes& src, int amount) {
    SingleChannelLUT table{};
    createBrightnessLUT(table, amount);
    Bytes dst(src.size(), 0);
    applySingleChannelLUTRaw(src.data(), dst.data(), int(src.size() / 4), 1, table);
    return dst;
}

SingleChannelLUT contrastTable(int amount) {
    SingleChannelLUT table{};
    createIdentityLUT(table);
    createNewContrastLUT(table, amount);
    return table;
}

Bytes contrasted(const Bytes& src, int amount) {
    SingleChannelLUT table = contrastTable(amount);
    Bytes dst(src.size(), 0);
    applySingleChannelLUTRaw(src.data(), dst.data(), int(src.size() / 4), 1, table);
    return dst;
}

} // namespace

TEST(ToneEffects, AlphaIsKeptBitForBit) {
    Bytes src = test::randomPicture(33, 7, 12);
    src[0] = 0; // a fully transparent pixel too
    for (const Bytes& out : {grayScaled(src), sepia(src), brightened(src, 90), contrasted(src, -37),
                             brightened(src, -255), contrasted(src, 100)})
        for (std::size_t i = 0; i < src.size(); i += 4)
            ASSERT_EQ(out[i], src[i]) << i;
}

TEST(ToneEffects, NullPointersWriteNothing) {
    Bytes src = test::randomPicture(4, 4, 1);
    Bytes dst(src.size(), 9);
    ColorLUT colors{};
    SingleChannelLUT table{};
    grayScaleImageBitmap(nullptr, dst.data(), 4, 4);
    grayScaleImageBitmap(src.data(), nullptr, 4, 4);
    grayLUTImageBitmap(nullptr, dst.data(), 4, 4, colors);
    applySingleChannelLUTRaw(nullptr, dst.data(), 4, 4, table);
    mirrorImageBitmap(nullptr, dst.data(), 4, 4, false);
    mirrorImageBitmap(src.data(), nullptr, 4, 4, true);
    EXPECT_EQ(dst, Bytes(src.size(), 9));
}

TEST(GrayScale, PrimaryColoursAndWhite) {
    Bytes src = {255, 255, 0, 0, 255, 255, 255, 255, 255, 0, 0, 255, 255, 0, 255, 0, 7, 0, 0, 0};
    Bytes expected = {255, 76, 76,  76,  255, 255, 255, 255, 255, 28,
                      28,  28, 255, 150, 150, 150, 7,   0,   0,   0};
    EXPECT_EQ(grayScaled(src), expected);
}

TEST(GrayScale, FourPixelPathEqualsOnePixelRule) {
    // Every length, so that the tail after the groups of four is covered too.
    for (int count = 1; count < 12; ++count) {
        Bytes src = test::randomPicture(count * 997, 1, unsigned(count));
        Bytes dst = grayScaled(src);
        for (std::size_t i = 0; i < src.size(); i += 4) {
            std::uint8_t level = std::uint8_t(grayLevel(src[i + 1], src[i + 2], src[i + 3]));
            ASSERT_EQ(dst[i + 1], level);
            ASSERT_EQ(dst[i + 3], level);
        }
    }
}

TEST(Sepia, TableRampsAndEnds) {
    ColorLUT table{};
    createSepiaLUT(table);
    EXPECT_EQ(table[255 * 4 + 1], 254);
    EXPECT_EQ(table[255 * 4 + 2], 209);
    EXPECT_EQ(table[255 * 4 + 3], 169);
    EXPECT_EQ(table[1 * 4 + 1], 0);
    EXPECT_EQ(table[2 * 4 + 1], 1);
    EXPECT_EQ(table[128 * 4 + 2], 105);
    EXPECT_EQ(table[128 * 4 + 3], 85);
    // A ramp that would pass 255 is held there.
    createLUT(table, 250.0f, 510.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(table[0 * 4 + 1], 250);
    EXPECT_EQ(table[6 * 4 + 1], 255);
    EXPECT_EQ(table[255 * 4 + 1], 255);
}

TEST(Sepia, WhiteAndBlack) {
    Bytes src = {255, 255, 255, 255, 255, 0, 0, 0};
    Bytes expected = {255, 254, 209, 169, 255, 0, 0, 0};
    EXPECT_EQ(sepia(src), expected);
}

TEST(Brightness, FullRangeEnds) {
    Bytes src = {255, 0, 1, 200, 255, 255, 128, 7};
    EXPECT_EQ(brightened(src, 255), (Bytes{255, 255, 255, 255, 255, 255, 255, 255}));
    EXPECT_EQ(brightened(src, -255), (Bytes{255, 0, 0, 0, 255, 0, 0, 0}));
    EXPECT_EQ(brightened(src, 0), src);
    EXPECT_EQ(brightened(src, 60), (Bytes{255, 60, 61, 255, 255, 255, 188, 67}));
}

TEST(Contrast, TableValues) {
    SingleChannelLUT identity{};
    createIdentityLUT(identity);
    EXPECT_EQ(contrastTable(0), identity);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(contrastTable(-100)[std::size_t(i)], 127);
    SingleChannelLUT up = contrastTable(100);
    EXPECT_EQ(up[0], 0);
    EXPECT_EQ(up[127], 127);
    EXPECT_EQ(up[128], 129);
    EXPECT_EQ(up[255], 255);
    SingleChannelLUT down = contrastTable(-37);
    EXPECT_EQ(down[0], 47);
    EXPECT_EQ(down[255], 207);
    // Far beyond the slider the table is still all clamped values, no overflow.
    SingleChannelLUT huge = contrastTable(2000000000);
    EXPECT_EQ(huge[0], 0);
    EXPECT_EQ(huge[127], 127);
    EXPECT_EQ(huge[200], 255);
}

TEST(Mirror, CanvasColumnsAndRows) {
    EXPECT_EQ(mirrorSourceIndex(0, 320), 319);
    EXPECT_EQ(mirrorSourceIndex(1, 320), 319);
    EXPECT_EQ(mirrorSourceIndex(159, 320), 161);
    EXPECT_EQ(mirrorSourceIndex(160, 320), 160);
    EXPECT_EQ(mirrorSourceIndex(319, 320), 319);
    EXPECT_EQ(mirrorSourceIndex(0, 480), 479);
    EXPECT_EQ(mirrorSourceIndex(1, 480), 479);
    EXPECT_EQ(mirrorSourceIndex(479, 480), 479);
}

TEST(Mirror, HorizontalOnTheCanvas) {
    Bytes src = test::randomPicture(320, 480, 8);
    Bytes dst(src.size(), 0);
    mirrorImageBitmap(src.data(), dst.data(), 320, 480, false);
    for (int y : {0, 200, 479}) {
        EXPECT_EQ(0,
                  std::memcmp(test::pixelAt(dst, 320, 0, y), test::pixelAt(src, 320, 319, y), 4));
        EXPECT_EQ(0,
                  std::memcmp(test::pixelAt(dst, 320, 160, y), test::pixelAt(src, 320, 160, y), 4));
        EXPECT_EQ(0,
                  std::memcmp(test::pixelAt(dst, 320, 159, y), test::pixelAt(src, 320, 161, y), 4));
    }
}

TEST(Mirror, VerticalOnTheCanvas) {
    Bytes src = test::randomPicture(320, 480, 9);
    Bytes dst(src.size(), 0);
    mirrorImageBitmap(src.data(), dst.data(), 320, 480, true);
    EXPECT_EQ(0, std::memcmp(&dst[0], test::pixelAt(src, 320, 0, 479), 320 * 4));
    EXPECT_EQ(0,
              std::memcmp(test::pixelAt(dst, 320, 0, 1), test::pixelAt(src, 320, 0, 479), 320 * 4));
    EXPECT_EQ(
        0, std::memcmp(test::pixelAt(dst, 320, 0, 239), test::pixelAt(src, 320, 0, 241), 320 * 4));
    EXPECT_EQ(
        0, std::memcmp(test::pixelAt(dst, 320, 0, 300), test::pixelAt(src, 320, 0, 300), 320 * 4));
}

TEST(Mirror, OtherSizesStayInsideTheBuffer) {
    // Any size reads only its own pixels (the sanitizer build catches a stray read).
    for (auto [width, height] : {std::pair{3, 2}, std::pair{1, 1}, std::pair{5, 7}}) {
        Bytes src = test::randomPicture(width, height, 10);
        Bytes horizontal(src.size(), 0);
        Bytes vertical(src.size(), 0);
        mirrorImageBitmap(src.data(), horizontal.data(), width, height, false);
        mirrorImageBitmap(src.data(), vertical.data(), width, height, true);
        EXPECT_EQ(0, std::memcmp(test::pixelAt(horizontal, width, 0, 0),
                                 test::pixelAt(src, width, width - 1, 0), 4));
        EXPECT_EQ(0, std::memcmp(test::pixelAt(vertical, width, 0, 0),
                                 test::pixelAt(src, width, 0, height - 1), 4));
    }
}
