// The editing square: the picture always covers the square, zooming keeps the
// anchor still, and the crop rectangle and edited picture are the part of the
// picture inside the square.

#include "PickerFiles.h"
#include "platform/graphics/Context.h"
#include "platform/imagepicker/CropGeometry.h"

using namespace picker_testing;
using platform::CropGeometry;
using platform::Point;
using platform::Rect;

namespace {

void expectRect(const Rect& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.minX(), x, 1e-3);
    EXPECT_NEAR(r.minY(), y, 1e-3);
    EXPECT_NEAR(r.width(), w, 1e-3);
    EXPECT_NEAR(r.height(), h, 1e-3);
}

TEST(CropGeometry, FittedCoversTheSquareWithTheShortSideCentred) {
    // 400 x 200 pixels under a 100-point square at (10, 20).
    const auto g = CropGeometry::fitted({400, 200}, Rect(10, 20, 100, 100));
    EXPECT_FLOAT_EQ(g.scale, 0.5f);
    expectRect(g.pictureRect(), 10 - 50, 20, 200, 100);
    expectRect(g.cropRect(), 100, 0, 200, 200);
}

TEST(CropGeometry, MovesAndZoomsAreHeldOverTheSquare) {
    const auto g = CropGeometry::fitted({400, 200}, Rect(0, 0, 100, 100));
    // Dragged far right: the picture's left edge stops at the square's.
    expectRect(g.moved(500, 0).clamped().cropRect(), 0, 0, 200, 200);
    // Dragged far left: its right edge stops at the square's.
    expectRect(g.moved(-500, 0).clamped().cropRect(), 200, 0, 200, 200);
    // Up and down there is nothing to move.
    expectRect(g.moved(0, 30).clamped().cropRect(), 100, 0, 200, 200);
    // Never smaller than covering, never more than kMaxZoom times larger.
    EXPECT_FLOAT_EQ(g.zoomed(0.1f, {50, 50}).scale, g.minimumScale());
    EXPECT_FLOAT_EQ(g.zoomed(100, {50, 50}).scale, g.minimumScale() * CropGeometry::kMaxZoom);
}

TEST(CropGeometry, ZoomKeepsTheAnchorOnTheSamePixel) {
    const auto g = CropGeometry::fitted({400, 200}, Rect(0, 0, 100, 100));
    const Point anchor{30, 70};
    const auto z = g.zoomed(2, anchor).clamped();
    EXPECT_FLOAT_EQ(z.scale, 1.0f);
    // The pixel under the anchor before and after.
    const float beforeX = (anchor.x - g.origin.x) / g.scale, beforeY = (anchor.y - g.origin.y) / g.scale;
    const float afterX = (anchor.x - z.origin.x) / z.scale, afterY = (anchor.y - z.origin.y) / z.scale;
    EXPECT_NEAR(afterX, beforeX, 1e-3);
    EXPECT_NEAR(afterY, beforeY, 1e-3);
    expectRect(z.cropRect(), beforeX - 30, beforeY - 70, 100, 100);
}

TEST(CropGeometry, EditedPictureIsTheSquaresPart) {
    // Left half red, right half blue, 200 x 100; zoomed on the right half.
    auto bitmap = platform::Context::createBitmap(200, 100, nullptr, platform::YAxis::Down);
    bitmap->setFillColor(platform::Color::rgb(1, 0, 0));
    bitmap->fillRect(Rect(0, 0, 100, 100));
    bitmap->setFillColor(platform::Color::rgb(0, 0, 1));
    bitmap->fillRect(Rect(100, 0, 100, 100));
    const auto picture = bitmap->makeImage();
    const auto g = CropGeometry::fitted({200, 100}, Rect(0, 0, 50, 50)).moved(-100, 0).clamped();
    expectRect(g.cropRect(), 100, 0, 100, 100);
    const auto edited = g.editedImage(*picture, 640);
    ASSERT_NE(edited, nullptr);
    // As many pixels as the crop has (100), not more.
    EXPECT_EQ(edited->width(), 100);
    EXPECT_EQ(edited->height(), 100);
    EXPECT_EQ(pixel(*edited, 5, 5), (Rgb{0, 0, 255}));
    EXPECT_EQ(pixel(*edited, 95, 95), (Rgb{0, 0, 255}));
    // And never more than asked for.
    EXPECT_EQ(g.editedImage(*picture, 40)->width(), 40);
}

} // namespace
