#include "platform/graphics/PictureOrientation.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

using namespace platform;

namespace {

// A picture stored 3 x 2 as
//   a b c
//   d e f
// looks as each EXIF orientation describes it (rows top first).
struct Seen {
    int exif;
    std::vector<std::string> rows;
};
const Seen kSeen[] = {
    {1, {"abc", "def"}},     {2, {"cba", "fed"}},     {3, {"fed", "cba"}},
    {4, {"def", "abc"}},     {5, {"ad", "be", "cf"}}, {6, {"da", "eb", "fc"}},
    {7, {"fc", "eb", "da"}}, {8, {"cf", "be", "ad"}},
};

} // namespace

// The pixel map (the effect tool turns pictures with it) and upright drawing both show each
// orientation as its EXIF value says.
TEST(PictureOrientation, EachShowsThePictureAsItsExifValueSays) {
    const char stored[2][4] = {"abc", "def"};
    std::vector<std::uint8_t> px;
    for (const char* row : stored)
        for (int x = 0; x < 3; ++x)
            px.insert(px.end(), {255, std::uint8_t(row[x]), 0, 0});
    for (const Seen& s : kSeen) {
        const PictureOrientation o = pictureOrientationFromExif(s.exif);
        EXPECT_EQ(exifValue(o), s.exif);
        const int w = int(s.rows[0].size()), h = int(s.rows.size());
        EXPECT_EQ(turnsAQuarter(o), w == 2) << "EXIF " << s.exif;
        auto image = *Image::create(3, 2, px, int(o));
        auto drawn = Context::createBitmap(w, h, nullptr, YAxis::Down);
        drawn->drawImageUpright(Rect(0, 0, float(w), float(h)), *image);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const PixelPosition from = storedPixelForSeen(o, 3, 2, x, y);
                EXPECT_EQ(stored[from.y][from.x], s.rows[std::size_t(y)][std::size_t(x)])
                    << "EXIF " << s.exif << " at " << x << ", " << y;
                const std::uint8_t red =
                    drawn->data()[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4 + 1];
                EXPECT_EQ(char(red), s.rows[std::size_t(y)][std::size_t(x)])
                    << "drawn, EXIF " << s.exif << " at " << x << ", " << y;
            }
    }
    EXPECT_EQ(pictureOrientationFromExif(0), PictureOrientation::Up);
    EXPECT_EQ(pictureOrientationFromExif(9), PictureOrientation::Up);
    EXPECT_FALSE(pictureOrientationFromNumber(8));
    EXPECT_FALSE(pictureOrientationFromNumber(-1));
}
