#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace platform {
namespace {

// Seeded random premultiplied pixels, some transparent, some partly.
std::vector<std::uint8_t> randomPixels(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> px(std::size_t(width) * 4 * std::size_t(height));
    for (std::size_t i = 0; i < px.size(); i += 4) {
        const unsigned pick = random() % 8;
        const std::uint8_t alpha = pick == 0 ? 0 : pick < 3 ? std::uint8_t(random() % 256) : 255;
        px[i] = alpha;
        for (int c = 1; c < 4; ++c)
            px[i + std::size_t(c)] = std::uint8_t(random() % (unsigned(alpha) + 1));
    }
    return px;
}

// The picture drawn upright at its size through the general transform: what
// turned pictures were made with before they were walked pixel by pixel.
std::vector<std::uint8_t> drawnUpright(const Image& image) {
    const Size s = image.size();
    auto bitmap = Context::createBitmap(int(s.width), int(s.height), nullptr, YAxis::Down);
    bitmap->drawImageUpright(Rect(0, 0, s.width, s.height), image);
    return {bitmap->data(), bitmap->data() + bitmap->bytesPerRow() * std::size_t(bitmap->height())};
}

// Every orientation, at sizes that are a single pixel, a single row or
// column, odd, and not a whole number of the walk's tiles, gives byte for
// byte what drawing the picture upright gave, with orientation Up and the
// seen size.
TEST(ImageUpright, EveryOrientationMatchesTheGeneralTransformAtOddSizes) {
    const int sizes[][2] = {{1, 1}, {1, 9}, {9, 1}, {2, 3}, {33, 17}, {31, 64}, {97, 65}};
    unsigned seed = 1;
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        for (int orientation = 0; orientation < 8; ++orientation) {
            auto stored = Image::create(w, h, randomPixels(w, h, seed++), orientation);
            ASSERT_TRUE(stored.ok());
            const ImageRef upright = Image::upright(stored.value());
            ASSERT_NE(upright, nullptr);
            EXPECT_EQ(upright->orientation(), 0);
            EXPECT_EQ(upright->size(), stored.value()->size());
            const std::vector<std::uint8_t> expected = drawnUpright(*stored.value());
            ASSERT_EQ(upright->bytes().size(), expected.size());
            EXPECT_EQ(std::memcmp(upright->data(), expected.data(), expected.size()), 0)
                << w << " x " << h << ", orientation " << orientation;
        }
    }
}

// A photo-sized picture turned a quarter each way: its corners land where
// the EXIF orientations put them (6 brings the stored bottom-left corner to
// the top-left, 8 the top-right), and the turn keeps whether it is opaque.
TEST(ImageUpright, QuarterTurnsOfALargePictureMoveItsCorners) {
    const int w = 1000, h = 750;
    std::vector<std::uint8_t> px(std::size_t(w) * 4 * h, 255);
    auto mark = [&](int x, int y, std::uint8_t red) {
        px[(std::size_t(y) * w + std::size_t(x)) * 4 + 1] = red;
    };
    mark(0, 0, 1);         // top left
    mark(w - 1, 0, 2);     // top right
    mark(0, h - 1, 3);     // bottom left
    mark(w - 1, h - 1, 4); // bottom right
    auto redAt = [](const Image& image, int x, int y) {
        return image.data()[(std::size_t(y) * std::size_t(image.width()) + std::size_t(x)) * 4 + 1];
    };
    const struct {
        int exif;
        std::uint8_t topLeft, topRight, bottomLeft, bottomRight;
    } kTurns[] = {{6, 3, 1, 4, 2}, {8, 2, 4, 1, 3}, {5, 1, 3, 2, 4}, {7, 4, 2, 3, 1}};
    for (const auto& turn : kTurns) {
        auto stored = Image::create(w, h, px, int(pictureOrientationFromExif(turn.exif)));
        ASSERT_TRUE(stored.ok());
        ASSERT_TRUE(stored.value()->isOpaque());
        const ImageRef upright = Image::upright(stored.value());
        ASSERT_NE(upright, nullptr);
        ASSERT_EQ(upright->width(), h);
        ASSERT_EQ(upright->height(), w);
        EXPECT_EQ(redAt(*upright, 0, 0), turn.topLeft) << "EXIF " << turn.exif;
        EXPECT_EQ(redAt(*upright, h - 1, 0), turn.topRight) << "EXIF " << turn.exif;
        EXPECT_EQ(redAt(*upright, 0, w - 1), turn.bottomLeft) << "EXIF " << turn.exif;
        EXPECT_EQ(redAt(*upright, h - 1, w - 1), turn.bottomRight) << "EXIF " << turn.exif;
        EXPECT_TRUE(upright->isOpaque());
    }
}

// A picture that is upright already is handed back as the very same object;
// a null picture stays null.
TEST(ImageUpright, AnUprightPictureIsTheSameImage) {
    auto up = Image::create(5, 3, randomPixels(5, 3, 7), 0);
    ASSERT_TRUE(up.ok());
    EXPECT_EQ(Image::upright(up.value()), up.value());
    EXPECT_EQ(Image::upright(nullptr), nullptr);
}

// A turned picture copied (the canvas copies pictures it keeps) keeps its
// pixels: they live in memory of its own, not in a vector.
TEST(ImageUpright, ATurnedPictureCopiesWhole) {
    auto stored = Image::create(3, 2, randomPixels(3, 2, 9), 3);
    ASSERT_TRUE(stored.ok());
    const ImageRef upright = Image::upright(stored.value());
    ASSERT_NE(upright, nullptr);
    const Image copy(*upright);
    ASSERT_EQ(copy.bytes().size(), upright->bytes().size());
    EXPECT_EQ(std::memcmp(copy.data(), upright->data(), copy.bytes().size()), 0);
    EXPECT_NE(copy.data(), upright->data());
}

} // namespace
} // namespace platform
