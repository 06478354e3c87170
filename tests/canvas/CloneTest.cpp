#include "TouchTestSupport.h"

namespace zorbel::testing {
namespace {

using platform::Point;

// An opaque pattern in which every pixel of a 256 x 256 block differs.
Pixel patternAt(int x, int y) {
    return {255, std::uint8_t(x), std::uint8_t(y), std::uint8_t(x * 7 + y * 3)};
}

ARGBColorBytes patternBytes(int x, int y) {
    const Pixel p = patternAt(x, y);
    return {p.a, p.r, p.g, p.b};
}

class CloneTest : public TouchCanvasTest {
protected:
    // The clone tool with an opaque 20 x 20 stamp over a patterned picture.
    std::shared_ptr<PaintingView> cloneCanvas() {
        auto view = paintCanvas(20);
        delegate_.setSelectedTool(Tool::CloneTool);
        view->createBrushLayerFromImage(squareBrush(20, {255, 255, 0, 0}));
        view->cloneSetUp().needsOffset = true;
        view->cloneSetUp().secondPointSet = false;
        view->cloneSetUp().relativeOffset = {0, 0};
        fillWithPattern(*view);
        return view;
    }

    static void fillWithPattern(PaintingView& view) {
        for (int y = 0; y < PaintingView::kCanvasHeight; ++y)
            for (int x = 0; x < PaintingView::kCanvasWidth; ++x) {
                const Pixel p = patternAt(x, y);
                std::uint8_t* d = view.offscreenBitmapData() +
                                  (std::size_t(PaintingView::kCanvasHeight - 1 - y) * 320 + x) * 4;
                d[0] = p.a;
                d[1] = p.r;
                d[2] = p.g;
                d[3] = p.b;
            }
    }
};

TEST_F(CloneTest, TwoTapsSetTheSourceAndTheOffset) {
    auto view = cloneCanvas();
    const auto before = pictureBytes(*view);
    Finger(*view).tap({100, 100});
    EXPECT_FALSE(view->cloneSetUp().needsOffset);
    EXPECT_EQ(view->cloneSetUp().offsetPosition, (Point{90, 370}));
    Finger(*view).tap({150, 300});
    EXPECT_TRUE(view->cloneSetUp().secondPointSet);
    EXPECT_EQ(view->cloneSetUp().relativeOffset, (Point{50, -200}));
    EXPECT_FALSE(view->touchState().waitingForEndTouch);
    EXPECT_FALSE(delegate_.paintingFlag());
    // The set-up taps copied each area onto itself.
    EXPECT_EQ(pictureBytes(*view), before);

    // Painting at (160, 310) copies the area centred on (110, 110).
    Finger(*view).tap({160, 310});
    for (int y = 300; y < 320; ++y)
        for (int x = 150; x < 170; ++x)
            ASSERT_EQ(screenPixel(*view, x, y), patternBytes(x - 50, y - 200)) << x << "," << y;
    EXPECT_EQ(screenPixel(*view, 149, 310), patternBytes(149, 310));
    EXPECT_EQ(screenPixel(*view, 170, 310), patternBytes(170, 310));
    EXPECT_EQ(view->cloneSetUp().cursorPoint, (Point{110, 110})); // the source cross
}

TEST_F(CloneTest, StrokeBeforeTheDestinationTapChangesNoPixel) {
    auto view = cloneCanvas();
    const auto before = pictureBytes(*view);
    Finger(*view).stroke({{100, 100}, {130, 140}, {180, 150}}); // marks the source
    Finger(*view).stroke({{200, 300}, {230, 340}, {250, 300}}); // marks the destination
    EXPECT_EQ(pictureBytes(*view), before);
    EXPECT_EQ(view->cloneSetUp().relativeOffset, (Point{70, -150}));
}

TEST_F(CloneTest, LaterStrokesKeepTheOffsetAndReadThePictureFromTouchDown) {
    auto view = cloneCanvas();
    Finger(*view).tap({100, 100});
    Finger(*view).tap({120, 100}); // copy from 20 points to the left
    // A stroke to the right over the area it is copying: each stamp reads the
    // picture as it was at touch-down, never what the stroke just copied.
    Finger(*view).stroke({{120, 200}, {200, 200}});
    for (int x = 115; x < 190; ++x)
        ASSERT_EQ(screenPixel(*view, x, 200), patternBytes(x - 20, 200)) << x;
    Finger(*view).tap({300, 400});
    EXPECT_EQ(view->cloneSetUp().relativeOffset, (Point{20, 0}));
}

TEST_F(CloneTest, StampHalfOutsideTheLeftEdgeCopiesOnlyItsInsidePart) {
    auto view = cloneCanvas();
    Finger(*view).tap({200, 300});
    Finger(*view).tap({100, 200}); // copy from (x + 100, y + 100)
    auto before = pictureBytes(*view);
    Finger(*view).tap({5, 200});
    for (int y = 190; y < 210; ++y) {
        for (int x = 0; x < 15; ++x)
            ASSERT_EQ(screenPixel(*view, x, y), patternBytes(x + 100, y + 100)) << x << "," << y;
        // Nothing wrapped round into the rows' other end.
        for (int x = 300; x < 320; ++x)
            ASSERT_EQ(screenPixel(*view, x, y), patternBytes(x, y)) << x << "," << y;
        EXPECT_EQ(screenPixel(*view, 15, y), patternBytes(15, y));
    }
    // Entirely outside: nothing at all.
    before = pictureBytes(*view);
    Finger(*view).tap({-30, 200});
    EXPECT_EQ(pictureBytes(*view), before);
}

TEST_F(CloneTest, SourceOutsideTheCanvasCopiesOnlyWhatExists) {
    auto view = cloneCanvas();
    Finger(*view).tap({5, 470});   // the source at the bottom-left corner
    Finger(*view).tap({105, 370}); // copy from (x - 100, y + 100)
    Finger(*view).tap({105, 370});
    for (int y = 360; y < 380; ++y)
        for (int x = 95; x < 115; ++x) {
            const bool sourceInside = x - 100 >= 0 && y + 100 < 480;
            const ARGBColorBytes expected =
                sourceInside ? patternBytes(x - 100, y + 100) : patternBytes(x, y);
            ASSERT_EQ(screenPixel(*view, x, y), expected) << x << "," << y;
        }
}

TEST_F(CloneTest, EraserRestoresTheOriginalExactlyWhateverTheBrushColour) {
    auto view = paintCanvas(20);
    view->setOrgImage(makePicture(320, 480, [](int x, int y) { return patternAt(x, y); }));
    delegate_.setSelectedTool(Tool::EraserTool);
    view->createBrushLayerFromImage(squareBrush(20, {255, 0, 200, 90}));
    // Something painted over the picture first.
    std::uint8_t* picture = view->offscreenBitmapData();
    std::fill(picture, picture + view->bitmapByteCount(), std::uint8_t(255));
    Finger(*view).stroke({{100, 100}, {140, 100}});
    const platform::Context& original = *view->orgImageOffscreenContext();
    for (int y = 92; y < 108; ++y)
        for (int x = 95; x < 140; ++x) {
            const std::uint8_t* o = original.data() + (std::size_t(479 - y) * 320 + x) * 4;
            ASSERT_EQ(screenPixel(*view, x, y), (ARGBColorBytes{o[0], o[1], o[2], o[3]}))
                << x << "," << y;
        }
    EXPECT_EQ(screenPixel(*view, 100, 120), kWhitePixel);
    // Undo brings the painting back.
    view->switchUndoBuffer();
    EXPECT_EQ(screenPixel(*view, 120, 100), kWhitePixel);
}

TEST_F(CloneTest, EraserWorksAfterTheOriginalBufferWasFlushed) {
    auto view = paintCanvas(20);
    view->setOrgImage(solidPicture(320, 480, {255, 10, 20, 30}));
    delegate_.setSelectedTool(Tool::EraserTool);
    view->createBrushLayerFromImage(squareBrush(20));
    view->flushOrgImageBuffer();
    Finger(*view).tap({200, 200});
    EXPECT_EQ(screenPixel(*view, 200, 200), (ARGBColorBytes{255, 10, 20, 30}));
    EXPECT_TRUE(logHas("Needed to reloadOrgImageBuffer"));
}

} // namespace
} // namespace zorbel::testing
