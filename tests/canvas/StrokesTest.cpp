#include "CanvasTestSupport.h"

namespace zorbel::testing {
namespace {

using platform::Point;
using platform::Rect;

const ARGBColorBytes kWhite{255, 255, 255, 255};
const ARGBColorBytes kBlack{255, 0, 0, 0};

ARGBColorBytes pixelOf(const platform::Context& c, int x, int memoryRow) {
    const std::uint8_t* p = c.data() + (std::size_t(memoryRow) * c.width() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

bool allZero(const platform::Context& c) {
    const std::uint8_t* p = c.data();
    return std::all_of(p, p + c.bytesPerRow() * std::size_t(c.height()),
                       [](std::uint8_t b) { return b == 0; });
}

class StrokesTest : public CanvasTest {
protected:
    // A canvas that paints opaque black square stamps straight into the picture.
    std::shared_ptr<PaintingView> paintingCanvas(int brushSize, float step) {
        delegate_.setSelectedTool(Tool::EyeDropperTool); // paints, and no tint
        auto view = makeCanvas();
        view->createBrushLayerFromImage(squareBrush(brushSize));
        view->touchState().showCursor = false;
        view->strokeRenderer().setBrushAlpha(1);
        view->strokeRenderer().setBrushBlendMode(platform::BlendMode::Normal);
        view->strokeRenderer().setBrushPixelStep(step);
        return view;
    }

    // Which of the columns x0..x1 on screen row y hold paint.
    static std::string paintedColumns(const PaintingView& view, int x0, int x1, int y) {
        std::string s;
        for (int x = x0; x <= x1; ++x)
            s += screenPixel(view, x, y) == kWhite ? '.' : '#';
        return s;
    }
};

TEST_F(StrokesTest, SegmentIsDividedIntoEvenStampsWithoutItsEndPoint) {
    // Length 20, step 6: ceil(3.33) = 4 stamps at t = 0, 0.25, 0.5, 0.75.
    auto view = paintingCanvas(2, 6);
    view->renderLineFromPoint({10, 10}, {30, 10});
    EXPECT_EQ(paintedColumns(*view, 8, 31, 10), ".##...##...##...##......");
    EXPECT_EQ(paintedColumns(*view, 8, 31, 9), ".##...##...##...##......");
    EXPECT_EQ(paintedColumns(*view, 8, 31, 11), std::string(24, '.'));
}

TEST_F(StrokesTest, ShortSegmentsStampOnceAtTheirStart) {
    auto view = paintingCanvas(2, 3);
    view->renderLineFromPoint({50, 50}, {50, 50}); // length 0
    EXPECT_EQ(paintedColumns(*view, 48, 52, 50), ".##..");
    view->renderLineFromPoint({10, 20}, {13, 20}); // exactly one step
    EXPECT_EQ(paintedColumns(*view, 8, 14, 20), ".##....");
}

TEST_F(StrokesTest, RedisplaysOnlyTheSegmentBoxGrownByHalfAStamp) {
    auto view = paintingCanvas(4, 1);
    view->displayIfNeeded();
    ASSERT_FALSE(view->needsDisplay());
    view->renderLineFromPoint({30, 40}, {10, 20});
    EXPECT_EQ(view->dirtyRect(), Rect(8, 18, 24, 24));
}

TEST_F(StrokesTest, OpaqueNormalStampsLandInThePictureAtOnce) {
    auto view = paintingCanvas(2, 1);
    view->renderLineFromPoint({100, 100}, {110, 100});
    EXPECT_EQ(screenPixel(*view, 105, 100), kBlack);
    ASSERT_NE(view->strokeRenderer().layer(), nullptr);
    EXPECT_TRUE(allZero(view->strokeRenderer().layer()->context()));
}

TEST_F(StrokesTest, HalfOpacityStrokeCrossingItselfDoesNotDarken) {
    auto view = paintingCanvas(6, 1);
    view->strokeRenderer().setBrushAlpha(0.5f);
    view->renderLineFromPoint({50, 100}, {150, 100});
    view->renderLineFromPoint({100, 50}, {100, 150});
    // The picture is untouched while the finger is down.
    EXPECT_EQ(screenPixel(*view, 100, 100), kWhite);
    EXPECT_EQ(pixelOf(view->strokeRenderer().layer()->context(), 100, 479 - 100), kBlack);

    // Shown at 50 %: the crossing looks like the rest of the stroke.
    auto screen = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    view->drawRect(*screen, view->bounds());
    const auto crossing = pixelOf(*screen, 100, 100);
    const auto single = pixelOf(*screen, 70, 100);
    EXPECT_EQ(crossing, single);
    EXPECT_NEAR(single.red, 128, 1);
    EXPECT_EQ(single.alpha, 255);
    EXPECT_EQ(pixelOf(*screen, 70, 120), kWhite);

    // Touch-up merges the stroke once at 50 % and empties the stroke layer.
    view->mergePaintLayer();
    EXPECT_EQ(screenPixel(*view, 100, 100), screenPixel(*view, 70, 100));
    EXPECT_NEAR(screenPixel(*view, 100, 100).red, 128, 1);
    EXPECT_TRUE(allZero(view->strokeRenderer().layer()->context()));
}

TEST_F(StrokesTest, BlendModeStrokeIsShownAndMergedWithItsMode) {
    // Multiply at full opacity: red over the picture's green-blue gives black
    // where they overlap, and the picture's green-blue elsewhere is kept.
    auto view = paintingCanvas(4, 1);
    view->offscreenPaintContext()->setFillColor(platform::Color::rgb(0, 1, 1));
    view->offscreenPaintContext()->fillRect(Rect(0, 0, 320, 480));
    view->createBrushLayerFromImage(squareBrush(4, {255, 255, 0, 0}));
    view->strokeRenderer().setBrushBlendMode(platform::BlendMode::Multiply);
    view->renderLineFromPoint({20, 20}, {30, 20});
    EXPECT_EQ(screenPixel(*view, 25, 20), (ARGBColorBytes{255, 0, 255, 255}));
    view->mergePaintLayer();
    EXPECT_EQ(screenPixel(*view, 25, 20), (ARGBColorBytes{255, 0, 0, 0}));
    EXPECT_EQ(screenPixel(*view, 25, 40), (ARGBColorBytes{255, 0, 255, 255}));
}

TEST_F(StrokesTest, DisplayShowsThePictureUpright) {
    auto view = paintingCanvas(2, 1);
    view->drawBrushAt(10, 5); // near the top of the screen
    auto screen = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    view->drawRect(*screen, view->bounds());
    EXPECT_EQ(pixelOf(*screen, 10, 5), kBlack);
    EXPECT_EQ(pixelOf(*screen, 10, 474), kWhite);
    // Only the dirty rectangle is drawn.
    auto partial = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    view->drawRect(*partial, Rect(0, 0, 5, 5));
    EXPECT_EQ(pixelOf(*partial, 10, 5), (ARGBColorBytes{0, 0, 0, 0}));
    EXPECT_EQ(pixelOf(*partial, 1, 1), kWhite);
}

TEST_F(StrokesTest, CursorStrokePaintsNothing) {
    auto view = paintingCanvas(2, 1);
    view->touchState().showCursor = true;
    view->renderLineFromPoint({100, 100}, {120, 100});
    EXPECT_EQ(screenPixel(*view, 110, 100), kWhite);
    EXPECT_TRUE(view->touchState().lastTimeCursorUsed);
    view->touchState().showCursor = false;
    view->drawBrushAt(100, 100);
    EXPECT_FALSE(view->touchState().lastTimeCursorUsed);
}

TEST_F(StrokesTest, SmallBrushCursorIsACrossLargeOneTheStamp) {
    auto view = paintingCanvas(6, 1);
    delegate_.setPaintingFlag(true);
    delegate_.setCursorDisplayFlag(true);
    view->touchState().showCursor = true;
    view->touchState().cursorPosition = {100, 200};
    view->setBrushSize(2);
    auto screen = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    view->drawRect(*screen, view->bounds());
    EXPECT_TRUE(view->touchState().cursorWasPainted);
    const auto darkest = [&](int x, int y) {
        return std::min(pixelOf(*screen, x, y).red, pixelOf(*screen, x, y - 1).red);
    };
    EXPECT_LT(darkest(108, 200), 200); // the horizontal arm
    EXPECT_LT(darkest(100, 192), 200); // the vertical arm
    EXPECT_EQ(pixelOf(*screen, 112, 200), kWhite);
    EXPECT_EQ(pixelOf(*screen, 100, 188), kWhite);

    view->setBrushSize(6);
    auto stampScreen = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    view->drawRect(*stampScreen, view->bounds());
    EXPECT_EQ(pixelOf(*stampScreen, 102, 202), kBlack);
    EXPECT_EQ(pixelOf(*stampScreen, 108, 200), kWhite);

    delegate_.setCursorDisplayFlag(false);
    view->drawRect(*stampScreen, view->bounds());
    EXPECT_FALSE(view->touchState().cursorWasPainted);
}

TEST_F(StrokesTest, EraserRestoresTheOriginalUnderOpaqueBrushPixels) {
    auto view = paintingCanvas(4, 1);
    view->offscreenPaintContext()->setFillColor(platform::Color::rgb(1, 0, 0));
    view->offscreenPaintContext()->fillRect(Rect(0, 0, 320, 480));
    view->rawcopyToUndoBuffer();
    delegate_.setSelectedTool(Tool::EraserTool);
    view->renderLineFromPoint({100, 100}, {120, 100});
    EXPECT_EQ(screenPixel(*view, 110, 100), kWhite);
    EXPECT_EQ(screenPixel(*view, 110, 110), (ARGBColorBytes{255, 255, 0, 0}));
    // A stamp half outside the canvas erases only its inside part.
    view->renderLineFromPoint({0, 300}, {0, 300});
    EXPECT_EQ(screenPixel(*view, 0, 300), kWhite);
    EXPECT_EQ(screenPixel(*view, 319, 300), (ARGBColorBytes{255, 255, 0, 0}));
}

TEST(CopyCloneDirectTest, BlendsThroughTheBrushAlpha) {
    std::uint8_t source[] = {255, 200, 100, 0, 255, 200, 100, 0};
    std::uint8_t destination[] = {255, 0, 100, 200, 255, 0, 100, 200};
    std::uint8_t brush[] = {128, 0, 0, 0, 0, 9, 9, 9};
    auto s = platform::Context::createBitmap(2, 1, source);
    auto d = platform::Context::createBitmap(2, 1, destination);
    auto b = platform::Context::createBitmap(2, 1, brush);
    copyCloneDirect(s.get(), b.get(), d.get(), 0, 0, 0, 0, 0, 0, 2, 1);
    // (128 * src + 127 * dst) / 255 per colour byte; alpha kept; E = 0 skips.
    EXPECT_EQ(pixelOf(*d, 0, 0), (ARGBColorBytes{255, 100, 100, 99}));
    EXPECT_EQ(pixelOf(*d, 1, 0), (ARGBColorBytes{255, 0, 100, 200}));
    // A block reaching outside a bitmap copies nothing.
    copyCloneDirect(s.get(), b.get(), d.get(), 1, 0, 0, 0, 0, 0, 2, 1);
    EXPECT_EQ(pixelOf(*d, 1, 0), (ARGBColorBytes{255, 0, 100, 200}));
    platform::setLogQuiet(true);
    copyCloneDirect(nullptr, b.get(), d.get(), 0, 0, 0, 0, 0, 0, 1, 1);
    EXPECT_TRUE(logHas("copyCloneDirect - a bitmap is NULL "));
    platform::setLogQuiet(false);
}

} // namespace
} // namespace zorbel::testing
