#include "TouchTestSupport.h"

#include "platform/ui/ActivityIndicatorView.h"

namespace zorbel::testing {
namespace {

using platform::Point;

class TouchesTest : public TouchCanvasTest {};

// --- Where a stroke lands ------------------------------------------------------

TEST_F(TouchesTest, StrokeLandsAtTheFingerOffsetInPortrait) {
    auto view = paintCanvas();
    view->touchState().fingerOffset = {0, -32};
    Finger(*view).tap({100, 200});
    EXPECT_EQ(screenPixel(*view, 100, 168), kBlackPixel);
    EXPECT_EQ(screenPixel(*view, 99, 167), kBlackPixel);
    EXPECT_FALSE(painted(*view, 100, 200));
    EXPECT_EQ(view->touchState().location, (Point{100, 168}));
    EXPECT_EQ(view->touchState().startOfPaintingPoint, (Point{100, 200})); // the finger, no offset
}

TEST_F(TouchesTest, TapWithoutMovementStampsOnceAtTheTouchPoint) {
    auto view = paintCanvas();
    Finger(*view).tap({50, 60});
    // A 2-point stamp centred on (50, 60) covers pixels 49..50 x 59..60.
    int count = 0;
    for (int y = 50; y < 70; ++y)
        for (int x = 40; x < 60; ++x)
            count += painted(*view, x, y);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(screenPixel(*view, 49, 59), kBlackPixel);
    EXPECT_EQ(screenPixel(*view, 50, 60), kBlackPixel);
    ASSERT_EQ(view->touchState().points.size(), 1u);
    EXPECT_EQ(view->touchState().points[0]->xyPosition(), (Point{50, 60}));
}

TEST_F(TouchesTest, MovementsRenderOnlyBeyondOneStepFromTheLastRenderedPoint) {
    auto view = paintCanvas(20); // step 0.15 x 20 = 3
    Finger finger(*view);
    finger.down({100, 200});
    EXPECT_EQ(view->strokeRenderer().brushPixelStep(), 3.0f);
    EXPECT_EQ(view->touchState().lastPaintedLocation, (Point{100, 200}));
    finger.move({102, 200});
    EXPECT_EQ(view->touchState().lastPaintedLocation, (Point{100, 200}));
    finger.move({103, 200}); // exactly one step: still nothing
    EXPECT_EQ(view->touchState().lastPaintedLocation, (Point{100, 200}));
    finger.move({103.5f, 200});
    EXPECT_EQ(view->touchState().lastPaintedLocation, (Point{103.5f, 200}));
    finger.up();
    // Every movement is recorded, rendered or not.
    EXPECT_EQ(view->touchState().points.size(), 4u);
}

TEST_F(TouchesTest, StampSpacingFollowsTheTool) {
    auto view = paintCanvas(40);
    Finger(*view).tap({100, 100});
    EXPECT_EQ(view->brush().size(), 40.0f);
    EXPECT_EQ(view->strokeRenderer().brushPixelStep(), 6.0f);
    delegate_.setSelectedTool(Tool::ColorBrushTool); // pictures side by side
    Finger(*view).tap({100, 100});
    EXPECT_EQ(view->strokeRenderer().brushPixelStep(), 40.0f);
    view->createBrushLayerFromImage(squareBrush(4)); // 0.6 is raised to 1
    delegate_.setSelectedTool(Tool::PaintBrushTool);
    Finger(*view).tap({100, 100});
    EXPECT_EQ(view->strokeRenderer().brushPixelStep(), 1.0f);
}

// --- Cursor strokes -----------------------------------------------------------

TEST_F(TouchesTest, OffsetOfTenNeverStartsACursorStroke) {
    auto view = paintCanvas();
    delegate_.setCursorDisplayFlag(true);
    view->touchState().fingerOffset = {0, -10};
    Finger(*view).tap({100, 200});
    Finger(*view).tap({140, 200});
    EXPECT_TRUE(painted(*view, 100, 190));
    EXPECT_TRUE(painted(*view, 140, 190));
}

TEST_F(TouchesTest, OffsetOfElevenAlternatesCursorAndPaintStrokes) {
    auto view = paintCanvas();
    delegate_.setCursorDisplayFlag(true);
    view->touchState().fingerOffset = {0, -11};
    const auto undoBefore = undoBytes(*view);

    Finger(*view).stroke({{100, 200}, {110, 200}});
    EXPECT_FALSE(painted(*view, 100, 189)); // only the cursor moved
    EXPECT_EQ(view->touchState().cursorPosition, (Point{110, 189}));
    EXPECT_TRUE(view->touchState().lastTimeCursorUsed);
    EXPECT_FALSE(view->touchState().showCursor);
    EXPECT_EQ(undoBytes(*view), undoBefore); // and took no undo copy

    Finger(*view).stroke({{100, 200}, {110, 200}});
    EXPECT_TRUE(painted(*view, 100, 189));
    EXPECT_FALSE(view->touchState().lastTimeCursorUsed);

    Finger(*view).tap({200, 300});
    EXPECT_FALSE(painted(*view, 200, 289));
    Finger(*view).tap({200, 300});
    EXPECT_TRUE(painted(*view, 200, 289));
}

TEST_F(TouchesTest, CursorStrokeWithSmoothingOrShapesLeavesThePictureAlone) {
    // The cursor stroke took no undo copy: restoring "the picture before the
    // stroke" from it would wipe out the stroke before.
    auto view = paintCanvas();
    delegate_.setCursorDisplayFlag(true);
    delegate_.setSmoothPaintBrushFlag(true);
    delegate_.setSmoothPaintBrushAmount(20);
    view->touchState().fingerOffset = {0, -20};
    view->touchState().lastTimeCursorUsed = true; // the next stroke paints
    Finger(*view).stroke({{100, 220}, {150, 220}, {200, 230}});
    const auto afterPaint = pictureBytes(*view);
    ASSERT_TRUE(painted(*view, 150, 200));
    Finger(*view).stroke({{100, 320}, {150, 320}, {200, 330}}); // cursor only
    EXPECT_EQ(pictureBytes(*view), afterPaint);
}

// --- The mouse pointer ------------------------------------------------------------

TEST_F(TouchesTest, ThePointerMarkIsWhereAStrokeBegunThereLandsWhileTheOffsetIsLarge) {
    auto view = paintCanvas();
    view->touchState().fingerOffset = {0, -32};
    EXPECT_TRUE(view->pointerHovered({100, 200}));
    EXPECT_EQ(view->pointerMarkerPosition(), (Point{100, 168}));
    Finger(*view).tap({100, 200});
    EXPECT_EQ(view->touchState().location, *view->pointerMarkerPosition());

    // No mark where the offset needs no cursor (both within -10..10).
    view->touchState().fingerOffset = {10.9f, -10.9f};
    EXPECT_EQ(view->pointerMarkerPosition(), std::nullopt);
    view->touchState().fingerOffset = {-11, 0};
    EXPECT_EQ(view->pointerMarkerPosition(), (Point{89, 200}));
    // Nor under a tool that does not paint, nor once the pointer left.
    delegate_.setSelectedTool(Tool::ShapeTool);
    EXPECT_EQ(view->pointerMarkerPosition(), std::nullopt);
    delegate_.setSelectedTool(Tool::EraserTool);
    EXPECT_EQ(view->pointerMarkerPosition(), (Point{89, 200}));
    view->pointerLeft();
    EXPECT_EQ(view->pointerMarkerPosition(), std::nullopt);
}

TEST_F(TouchesTest, ThePointerMarkIsDrawnOverThePictureAndGoesWithThePointer) {
    auto view = paintCanvas();
    view->touchState().fingerOffset = {0, -32};
    auto screen = platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
    const auto at = [&](int x, int y) {
        const std::uint8_t* p = screen->data() + std::size_t(y) * screen->bytesPerRow() + x * 4;
        return ARGBColorBytes{p[0], p[1], p[2], p[3]};
    };
    view->pointerHovered({100, 200});
    view->drawRect(*screen, view->bounds());
    // The ring's black line runs through pixels (104, 168) and (100, 163),
    // white beside it; inside, only the two-by-two dot about the point is
    // dark; the picture is untouched.
    EXPECT_LT(at(104, 168).red, 40);
    EXPECT_LT(at(100, 163).red, 40);
    EXPECT_EQ(at(106, 168), kWhitePixel);
    EXPECT_EQ(at(100, 168), kBlackPixel);
    EXPECT_EQ(at(99, 167), kBlackPixel);
    EXPECT_GT(at(102, 168).red, 200);
    EXPECT_EQ(at(100, 200), kWhitePixel);
    EXPECT_EQ(screenPixel(*view, 104, 168), kWhitePixel);

    view->pointerLeft();
    view->drawRect(*screen, view->bounds());
    EXPECT_EQ(at(104, 168), kWhitePixel);
    EXPECT_EQ(at(100, 163), kWhitePixel);
}

// --- Stroke life ----------------------------------------------------------------

TEST_F(TouchesTest, HalfOpacityStrokeShowsWhileDrawnAndMergesAtTouchUpAndUndoes) {
    auto view = paintCanvas(4);
    delegate_.setPaintBrushAlpha(0.5f);
    Finger finger(*view);
    finger.down({100, 100});
    finger.move({140, 100});
    EXPECT_EQ(view->strokeRenderer().brushAlpha(), 0.5f);
    EXPECT_FALSE(painted(*view, 120, 100)); // still in the stroke layer
    EXPECT_TRUE(delegate_.paintingFlag());
    finger.up();
    EXPECT_FALSE(delegate_.paintingFlag());
    const ARGBColorBytes merged = screenPixel(*view, 120, 100);
    EXPECT_EQ(merged.alpha, 255);
    EXPECT_NEAR(merged.red, 127.5, 1);
    EXPECT_EQ(merged.red, merged.green);
    view->switchUndoBuffer();
    EXPECT_EQ(screenPixel(*view, 120, 100), kWhitePixel);
}

TEST_F(TouchesTest, UndoCopyIsExactEvenWherePictureIsNotOpaque) {
    // Drawing the picture over the old undo copy would keep old paint under
    // the transparent parts; the copy replaces it.
    auto view = paintCanvas();
    std::uint8_t* undo = view->undoBitmapData();
    std::fill(undo, undo + view->bitmapByteCount(), std::uint8_t(200));
    std::uint8_t* picture = view->offscreenBitmapData();
    std::fill(picture, picture + 1280 * 10, std::uint8_t(0)); // ten transparent rows
    const auto before = pictureBytes(*view);
    Finger(*view).tap({100, 100});
    EXPECT_EQ(undoBytes(*view), before);
}

TEST_F(TouchesTest, CancelledTouchEndsTheStrokeLikeALiftedFinger) {
    delegate_.setPaintBrushAlpha(0.5f);
    auto lifted = paintCanvas(4);
    delegate_.setPaintBrushAlpha(0.5f);
    Finger a(*lifted);
    a.down({80, 80});
    a.move({120, 100});
    a.up({120, 100});
    auto cancelled = paintCanvas(4);
    delegate_.setPaintBrushAlpha(0.5f);
    Finger b(*cancelled);
    b.down({80, 80});
    b.move({120, 100});
    b.cancel({120, 100});
    EXPECT_TRUE(painted(*cancelled, 100, 90));
    EXPECT_EQ(pictureBytes(*cancelled), pictureBytes(*lifted));
    EXPECT_FALSE(cancelled->touchState().waitingForEndTouch);
    EXPECT_FALSE(delegate_.paintingFlag());
}

TEST_F(TouchesTest, SecondTouchDownClosesTheOpenStroke) {
    auto view = paintCanvas(4);
    delegate_.setPaintBrushAlpha(0.5f);
    Finger first(*view);
    first.down({100, 100});
    first.move({140, 100});
    ASSERT_TRUE(view->touchState().waitingForEndTouch);
    Finger second(*view);
    second.down({200, 300}); // the first finger's lift was never seen
    EXPECT_FALSE(view->touchState().waitingForEndTouch);
    EXPECT_FALSE(delegate_.paintingFlag());
    EXPECT_NEAR(screenPixel(*view, 120, 100).red, 127.5, 1); // merged
    EXPECT_FALSE(painted(*view, 200, 300));                  // no new stroke
}

TEST_F(TouchesTest, TouchesAreDroppedWhileAnEffectRuns) {
    auto view = paintCanvas();
    auto spinner = std::make_shared<platform::ActivityIndicatorView>();
    spinner->startAnimating();
    delegate_.setProgressView(spinner);
    Finger finger(*view);
    finger.down({100, 100});
    finger.move({150, 100});
    EXPECT_TRUE(view->touchState().ignoreMoveEndPhases);
    spinner->stopAnimating(); // the effect ends while the finger is down
    finger.move({200, 100});
    finger.up();
    EXPECT_FALSE(painted(*view, 100, 100));
    EXPECT_FALSE(painted(*view, 200, 100));
    EXPECT_FALSE(view->touchState().waitingForEndTouch);
    EXPECT_FALSE(delegate_.paintingFlag());
}

TEST_F(TouchesTest, OverlayAndTextToolsDoNotPaint) {
    for (Tool tool : {Tool::ShapeTool, Tool::TextTool}) {
        auto view = paintCanvas();
        delegate_.setSelectedTool(tool);
        Finger finger(*view);
        finger.down({100, 100});
        EXPECT_TRUE(view->touchState().waitingForEndTouch);
        finger.move({150, 100});
        finger.up();
        EXPECT_FALSE(view->touchState().waitingForEndTouch);
        EXPECT_FALSE(painted(*view, 100, 100));
        EXPECT_FALSE(painted(*view, 150, 100));
        EXPECT_FALSE(delegate_.paintingFlag());
    }
}

TEST_F(TouchesTest, CornerTapOutsidePresentModeOnlyResetsTopLeft) {
    auto view = paintCanvas();
    Finger(*view).tap({30, 30});
    EXPECT_FALSE(painted(*view, 30, 30));
    EXPECT_TRUE(view->touchState().ignoreMoveEndPhases);
    EXPECT_FALSE(view->touchState().waitingForEndTouch);
    // The other corners answer only in present mode.
    for (Point p : {Point{300, 30}, Point{30, 450}, Point{300, 450}}) {
        Finger(*view).tap(p);
        EXPECT_TRUE(painted(*view, int(p.x), int(p.y))) << p.x << "," << p.y;
    }
}

// --- Memory ---------------------------------------------------------------------

TEST_F(TouchesTest, StrokeAfterMemoryWarningReloadsTheBuffersAndPaintsTheSame) {
    delegate_.setPaintBrushAlpha(0.5f);
    auto warned = paintCanvas(6);
    delegate_.setPaintBrushAlpha(0.5f);
    Finger(*warned).stroke({{70, 70}, {120, 90}, {200, 60}});
    auto calm = paintCanvas(6);
    delegate_.setPaintBrushAlpha(0.5f);
    Finger(*calm).stroke({{70, 70}, {120, 90}, {200, 60}});
    ASSERT_TRUE(painted(*warned, 120, 90));
    ASSERT_EQ(pictureBytes(*warned), pictureBytes(*calm));

    platform::clearLogCapture();
    warned->lowMemoryWarning();
    ASSERT_EQ(warned->offscreenPaintContext(), nullptr);
    ASSERT_EQ(warned->strokeRenderer().layer(), nullptr);
    const int warning = logIndexOf("Paint view lowMemoryWarning");
    EXPECT_GE(warning, 0);

    Finger(*warned).stroke({{60, 300}, {160, 260}, {250, 320}});
    Finger(*calm).stroke({{60, 300}, {160, 260}, {250, 320}});
    EXPECT_GT(logIndexOf("Needed to reloadOffscreenBuffer", warning), warning);
    EXPECT_FALSE(logHas("Raw Image not found!"));
    EXPECT_FALSE(logHas("Raw Named Image not found!"));
    EXPECT_TRUE(painted(*warned, 160, 260));
    EXPECT_EQ(pictureBytes(*warned), pictureBytes(*calm));
    EXPECT_EQ(undoBytes(*warned), undoBytes(*calm));
}

} // namespace
} // namespace zorbel::testing
