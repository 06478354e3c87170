// What the layers draw, composed by the window at one and two pixels per
// point. Set ZORBEL_LAYERS_SNAPSHOTS to a folder to keep the frames as PNGs.

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "LayersTestSupport.h"
#include "platform/foundation/FileIO.h"
#include "platform/graphics/Context.h"

namespace zorbel::testing {
namespace {

using platform::Rect;

class LayerDrawingTest : public LayersTest, public ::testing::WithParamInterface<float> {
protected:
    float scale() const { return GetParam(); }

    // The window composed at the test's scale, white behind the layers.
    std::unique_ptr<platform::Context> frame(const std::string& name) {
        canvas->setBackgroundColor(platform::Color::white());
        return composeWindow(*window, scale(), name);
    }

    // A, R, G, B of the pixel under the point (x, y) in points.
    std::array<int, 4> pixel(const platform::Context& fb, float x, float y) const {
        const int px = int(x * scale()), py = int(y * scale());
        const std::uint8_t* p =
            fb.data() + std::size_t(py) * fb.bytesPerRow() + std::size_t(px) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
    bool isWhite(const platform::Context& fb, float x, float y) const {
        return pixel(fb, x, y) == std::array<int, 4>{255, 255, 255, 255};
    }
};

TEST_P(LayerDrawingTest, APictureLayerDrawsItsPicture300PointsWideAtTheTopCentre) {
    // 700 points wide, as overlay layers are made; the picture is 2:1.
    auto layer = std::make_shared<TouchImageView>(Rect(-190, 100, 700, 150));
    layer->setImage(solidPicture(60, 30, 200, 40, 40));
    canvas->addSubview(layer);
    auto fb = frame("picture-layer");
    // The picture spans x 200 ... 500 of the layer: 10 ... 310 on screen.
    EXPECT_TRUE(isWhite(*fb, 9, 175));
    EXPECT_EQ(pixel(*fb, 11, 175), (std::array<int, 4>{255, 200, 40, 40}));
    EXPECT_EQ(pixel(*fb, 309, 101), (std::array<int, 4>{255, 200, 40, 40}));
    EXPECT_EQ(pixel(*fb, 160, 249), (std::array<int, 4>{255, 200, 40, 40}));
    EXPECT_TRUE(isWhite(*fb, 311, 175));
    EXPECT_TRUE(isWhite(*fb, 160, 99));
    EXPECT_TRUE(isWhite(*fb, 160, 251));
}

TEST_P(LayerDrawingTest, ATurnedPictureLayerIsDrawnTurnedAboutItsCentre) {
    auto picture = solidPicture(60, 40);
    const float height = 300 * picture->size().height / picture->size().width;
    auto layer = std::make_shared<TouchImageView>(Rect(0, 0, 700, height));
    layer->setImage(picture);
    layer->setCenter({160, 240});
    canvas->addSubview(layer);
    layer->setLandscapeRotation();
    auto fb = frame("picture-layer-turned");
    // A quarter turn: the picture's 300-point width now runs down the screen,
    // from 150 points above the centre to 150 below.
    float top = 480, bottom = 0;
    for (float y = 0; y < 480; ++y)
        for (float x = 0; x < 320; x += 2)
            if (!isWhite(*fb, x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(top, 90, 1);
    EXPECT_NEAR(bottom, 390, 1);
    EXPECT_TRUE(isWhite(*fb, 58, 240));
    EXPECT_FALSE(isWhite(*fb, 62, 240)) << "200 points across: the picture's height";
}

TEST_P(LayerDrawingTest, ACaptionIsDrawnAtItsTextOriginInItsColour) {
    auto text = std::make_shared<TextLayerView>(Rect(0, 0, 100, 100));
    text->setTextString("Hi");
    text->setFontName("Helvetica-Bold");
    text->setFontSize(60);
    text->setFont(platform::Font::fontWithName("Helvetica-Bold", 60));
    text->setFontColor(platform::Color::rgb(0, 0, 1));
    const platform::Size textSize = text->font()->sizeOfString("Hi");
    const platform::Size size = TextLayerView::layerSizeForTextSize(textSize, 400, 100);
    text->setFrame(Rect(0, 0, size.width, size.height));
    text->setCenter({160, 230});
    canvas->addSubview(text);
    EXPECT_EQ(text->textOrigin(), (platform::Point{210, 60}));
    auto fb = frame("caption");

    // The text box, on screen: the layer's top-left plus (210, 60).
    const float left = 160 - size.width / 2 + 210, top = 230 - size.height / 2 + 60;
    int ink = 0, stray = 0;
    for (float y = 0; y < 480; y += 1)
        for (float x = 0; x < 320; x += 1) {
            if (isWhite(*fb, x, y))
                continue;
            const bool inBox = x >= left - 1 && x <= left + textSize.width + 1 && y >= top - 1 &&
                               y <= top + textSize.height + 1;
            (inBox ? ink : stray)++;
            const auto p = pixel(*fb, x, y);
            EXPECT_EQ(p[1], p[2]) << "blue ink only, at " << x << "," << y;
        }
    EXPECT_GT(ink, 300);
    EXPECT_EQ(stray, 0) << "nothing but the glyphs is drawn";
}

INSTANTIATE_TEST_SUITE_P(Scales, LayerDrawingTest, ::testing::Values(1.0f, 2.0f));

} // namespace
} // namespace zorbel::testing
