#include "CanvasTestSupport.h"

namespace zorbel::testing {
namespace {

using platform::Color;

ARGBColorBytes pixelOf(const platform::Context& c, int x, int memoryRow) {
    const std::uint8_t* p = c.data() + (std::size_t(memoryRow) * c.width() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TEST(TintTest, RecoloursByAlphaAndKeepsTransparentPixels) {
    std::uint8_t pixels[] = {128, 1, 2, 3, 0, 10, 20, 30, 255, 0, 0, 0, 1, 200, 200, 200};
    auto bitmap = platform::Context::createBitmap(4, 1, pixels);
    setBitmapColorPreMult(bitmap.get(), packTintColor(255, 0, 0));
    // (128 * 255 + 127) / 255 = 128.
    EXPECT_EQ(pixelOf(*bitmap, 0, 0), (ARGBColorBytes{128, 128, 0, 0}));
    EXPECT_EQ(pixelOf(*bitmap, 1, 0), (ARGBColorBytes{0, 10, 20, 30}));
    EXPECT_EQ(pixelOf(*bitmap, 2, 0), (ARGBColorBytes{255, 255, 0, 0}));
    EXPECT_EQ(pixelOf(*bitmap, 3, 0), (ARGBColorBytes{1, 1, 0, 0}));
    setBitmapColorPreMult(bitmap.get(), packTintColor(10, 100, 200));
    // (128 * 10 + 127) / 255 = 5, (128 * 100 + 127) / 255 = 50, (128 * 200 + 127) / 255 = 100.
    EXPECT_EQ(pixelOf(*bitmap, 0, 0), (ARGBColorBytes{128, 5, 50, 100}));
    setBitmapColorPreMult(nullptr, 0); // left alone
}

TEST(TintTest, PacksRedGreenBlueIntoBytesOneToThree) {
    EXPECT_EQ(packTintColor(0x11, 0x22, 0x33), 0x33221100u);
}

using BrushesTest = CanvasTest;

TEST_F(BrushesTest, PaintBrushStampTakesTheCurrentColour) {
    delegate_.setSelectedTool(Tool::PaintBrushTool);
    auto view = makeCanvas();
    view->createBrushLayerFromImage(solidPicture(4, 4, {128, 1, 2, 3}));
    view->setColor(Color::rgb(1, 0, 0));
    ASSERT_NE(view->brush().stamp(), nullptr);
    EXPECT_EQ(view->brush().stamp()->size(), (platform::Size{4, 4}));
    EXPECT_EQ(pixelOf(view->brush().stamp()->context(), 1, 1), (ARGBColorBytes{128, 128, 0, 0}));
    EXPECT_EQ(view->brush().size(), 4);

    view->setColor(Color::grey(1)); // grey form: all three from the grey
    EXPECT_EQ(pixelOf(view->brush().stamp()->context(), 1, 1),
              (ARGBColorBytes{128, 128, 128, 128}));
}

TEST_F(BrushesTest, ColourChangeWithTheEraserLeavesTheStampAlone) {
    delegate_.setSelectedTool(Tool::PaintBrushTool);
    auto view = makeCanvas();
    view->createBrushLayerFromImage(solidPicture(4, 4, {255, 9, 9, 9}));
    view->setColor(Color::rgb(0, 1, 0));
    const auto before = pixelOf(view->brush().stamp()->context(), 0, 0);
    delegate_.setSelectedTool(Tool::EraserTool);
    view->setColor(Color::rgb(1, 0, 0));
    EXPECT_EQ(pixelOf(view->brush().stamp()->context(), 0, 0), before);
    EXPECT_EQ(before, (ARGBColorBytes{255, 0, 255, 0}));
    EXPECT_EQ(view->currentColor(), Color::rgb(1, 0, 0));
}

TEST_F(BrushesTest, ANullPictureKeepsThePreviousStamp) {
    auto view = makeCanvas();
    view->createBrushLayerFromImage(solidPicture(6, 6, {255, 0, 0, 0}));
    view->createBrushLayerFromImage(nullptr);
    EXPECT_EQ(view->brushImage(), nullptr);
    ASSERT_NE(view->brush().stamp(), nullptr);
    EXPECT_EQ(view->brush().stamp()->size(), (platform::Size{6, 6}));
    view->reloadBrushLayer(); // nothing to rebuild from
    EXPECT_EQ(view->brush().stamp()->size(), (platform::Size{6, 6}));
}

TEST_F(BrushesTest, TurnedDocumentSquaresAndTurnsTheBrushClockwise) {
    // 20 x 30, top row opaque, the rest transparent. Turned clockwise the top
    // row runs down the right side of the 30 x 30 bitmap.
    auto picture = makePicture(20, 30, [](int, int y) {
        return y == 0 ? Pixel{255, 0, 0, 0} : Pixel{0, 0, 0, 0};
    });
    auto view = makeCanvas();
    delegate_.setDocumentOrientation(3); // after start-up, which sets it to 1
    view->createBrushLayerFromImage(picture);
    const platform::Context* brush = view->brush().bitmap();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->width(), 30);
    EXPECT_EQ(brush->height(), 30);
    EXPECT_EQ(view->brush().size(), 30);
    for (int row : {2, 15, 27}) {
        EXPECT_EQ(pixelOf(*brush, 29, row).alpha, 255) << row;
        EXPECT_EQ(pixelOf(*brush, 0, row).alpha, 0) << row;
        EXPECT_EQ(pixelOf(*brush, 15, row).alpha, 0) << row;
    }
}

TEST_F(BrushesTest, ColourBrushKeepsItsShapeAndColours) {
    auto picture = makePicture(40, 20, [](int x, int) {
        return x < 20 ? Pixel{255, 255, 0, 0} : Pixel{255, 0, 0, 255};
    });
    delegate_.setSelectedTool(Tool::ColorBrushTool);
    auto view = makeCanvas();
    view->createColorBrushLayerFromImage(picture);
    ASSERT_NE(view->brush().bitmap(), nullptr);
    EXPECT_EQ(view->brush().bitmap()->width(), 40);
    EXPECT_EQ(view->brush().bitmap()->height(), 20);
    ASSERT_NE(view->brush().stamp(), nullptr);
    EXPECT_EQ(view->brush().stamp()->size(), (platform::Size{40, 20}));
    EXPECT_EQ(pixelOf(view->brush().stamp()->context(), 5, 10), (ARGBColorBytes{255, 255, 0, 0}));
    EXPECT_EQ(pixelOf(view->brush().stamp()->context(), 35, 10), (ARGBColorBytes{255, 0, 0, 255}));
    view->setColor(Color::rgb(0, 1, 0)); // no tint for colour brushes
    EXPECT_EQ(pixelOf(view->brush().stamp()->context(), 5, 10), (ARGBColorBytes{255, 255, 0, 0}));
}

TEST_F(BrushesTest, TurnedColourBrushIsTurnedWhole) {
    // 40 x 20 with its left half red: turned clockwise into a 20 x 40
    // bitmap, the left half lies along the top.
    auto picture = makePicture(40, 20, [](int x, int) {
        return x < 20 ? Pixel{255, 255, 0, 0} : Pixel{255, 0, 0, 255};
    });
    auto view = makeCanvas();
    delegate_.setDocumentOrientation(3);
    view->createColorBrushLayerFromImage(picture);
    const platform::Context* brush = view->brush().bitmap();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->width(), 20);
    EXPECT_EQ(brush->height(), 40);
    EXPECT_EQ(view->brush().stamp()->size(), (platform::Size{20, 40}));
    // Memory rows run bottom-up on screen, as in the canvas.
    EXPECT_EQ(pixelOf(*brush, 10, 35), (ARGBColorBytes{255, 255, 0, 0}));
    EXPECT_EQ(pixelOf(*brush, 10, 5), (ARGBColorBytes{255, 0, 0, 255}));
}

TEST_F(BrushesTest, ReloadColourBrushFallsBackToTheBrushPicture) {
    auto view = makeCanvas();
    view->reloadColorBrush();
    EXPECT_TRUE(logHas("No brush image"));
    auto brush = solidPicture(8, 8, {255, 0, 0, 0});
    view->createBrushLayerFromImage(brush);
    view->reloadColorBrush();
    EXPECT_EQ(view->colorBrushImage(), brush);
    EXPECT_EQ(view->brush().stamp()->size(), (platform::Size{8, 8}));
}

TEST_F(BrushesTest, StartBrushIsBlueForThePaintBrush) {
    delegate_.setSelectedTool(Tool::PaintBrushTool);
    auto view = makeCanvas();
    const platform::Context* brush = view->brush().bitmap();
    ASSERT_NE(brush, nullptr);
    const auto centre = pixelOf(*brush, brush->width() / 2, brush->height() / 2);
    EXPECT_GT(centre.alpha, 0);
    EXPECT_EQ(centre.red, 0);
    EXPECT_EQ(centre.green, 0);
    EXPECT_EQ(centre.blue, (centre.alpha * 255 + 127) / 255);
}

} // namespace
} // namespace zorbel::testing
