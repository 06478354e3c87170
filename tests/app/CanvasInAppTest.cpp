// The canvas inside the running application: touches come through the window,
// the orientation and present mode from the toolbar controller.
#include "tests/app/AppTestSupport.h"

#include "platform/ui/ScrollView.h"

namespace zorbel::testing {
namespace {

using platform::Point;

const ARGBColorBytes kWhite{255, 255, 255, 255};
const ARGBColorBytes kBlack{255, 0, 0, 0};

class CanvasInAppTest : public AppTest {
protected:
    // The paint brush with an opaque black 2-point square stamp.
    void launchPainting(Point fingerOffset) {
        launch();
        app().setSelectedTool(Tool::PaintBrushTool);
        app().applyTool();
        app().setColor(platform::Color::black());
        std::vector<std::uint8_t> bytes(2 * 2 * 4, 255);
        app().setBrushImage(platform::Image::create(2, 2, std::move(bytes)).value());
        app().setBrushAlpha(1);
        app().setBlendMode(platform::BlendMode::Normal);
        app().setCursorDisplayFlag(false);
        app().setFingerOffset(fingerOffset);
    }

    // A tap at canvas point p, through the window.
    void tapCanvas(Point p) {
        const Point w = canvas().convertPointToView(p, nullptr);
        window().touchDown(1, w, 1);
        window().touchUp(1, w);
    }

    bool painted(int x, int y) { return shownPixel(canvas(), x, y) != kWhite; }
};

TEST_F(CanvasInAppTest, StrokeLandsAtTheFingerOffsetInPortrait) {
    launchPainting({0, -32});
    tapCanvas({100, 200});
    EXPECT_EQ(shownPixel(canvas(), 100, 168), kBlack);
    EXPECT_FALSE(painted(100, 200));
    EXPECT_TRUE(app().dirtyFlag());
    // The toolbars hide while painting and come back 1.75 seconds later.
    EXPECT_FALSE(chrome().areToolsShowing());
    wait(2);
    EXPECT_TRUE(chrome().areToolsShowing());
}

TEST_F(CanvasInAppTest, StrokeLandsAtTheTurnedFingerOffsetInLandscape) {
    launchPainting({5, -32});
    app().setDocumentOrientation(3);
    window().setDeviceOrientation(3);
    wait(1);
    ASSERT_EQ(app().getCurrentOrientation(), 3);
    tapCanvas({100, 200});
    EXPECT_EQ(shownPixel(canvas(), 132, 205), kBlack);
    EXPECT_FALSE(painted(100, 200));
    EXPECT_FALSE(painted(105, 168));
}

TEST_F(CanvasInAppTest, CornerTapsInPresentModeOpenPickersAndPaintNothing) {
    launchPainting({0, 0});
    chrome().present(nullptr);
    wait(1);
    ASSERT_TRUE(app().inPresentMode());
    const std::pair<Point, std::string> corners[] = {
        {{300, 30}, "ToolSelection"}, {{30, 450}, "ColorChoice"}, {{300, 450}, "BrushImageChoice"}};
    for (const auto& [p, picker] : corners) {
        canvas().touchState().lastTimeCursorUsed = true;
        tapCanvas(p);
        EXPECT_FALSE(painted(int(p.x), int(p.y))) << p.x << "," << p.y;
        EXPECT_TRUE(app().inPresentMode());
        // The picker opened by its corner goes again before the next tap.
        ASSERT_TRUE(chrome().modalViewController()) << picker;
        EXPECT_EQ(chrome().modalViewController()->interfaceName(), picker);
        chrome().dismissModalViewControllerAnimated(false);
        wait(1);
    }
    // Top-left leaves present mode and brings the toolbars back.
    tapCanvas({30, 30});
    EXPECT_FALSE(painted(30, 30));
    EXPECT_FALSE(app().inPresentMode());
    EXPECT_TRUE(chrome().areToolsShowing());
}

TEST_F(CanvasInAppTest, CornerTapWithHiddenToolbarsOutsidePresentModePaints) {
    launchPainting({0, 0});
    chrome().hideAllTools();
    wait(1);
    tapCanvas({300, 30});
    EXPECT_TRUE(painted(300, 30));
    EXPECT_FALSE(app().inPresentMode());
}

TEST_F(CanvasInAppTest, CornersFollowTheDeviceInLandscape) {
    launchPainting({0, 0});
    app().setDocumentOrientation(3);
    window().setDeviceOrientation(3);
    wait(1);
    chrome().present(nullptr);
    wait(1);
    // Canvas top-left is the device's bottom-left now: the colour picker.
    tapCanvas({30, 30});
    EXPECT_FALSE(painted(30, 30));
    EXPECT_TRUE(app().inPresentMode());
    ASSERT_TRUE(chrome().modalViewController());
    EXPECT_EQ(chrome().modalViewController()->interfaceName(), "ColorChoice");
    chrome().dismissModalViewControllerAnimated(false);
    wait(1);
    // Canvas top-right is the device's top-left: present mode ends.
    tapCanvas({300, 30});
    EXPECT_FALSE(painted(300, 30));
    EXPECT_FALSE(app().inPresentMode());
}

// An interface that puts the canvas in a scroll view with the main view
// controller as its delegate: a zoom that begins fades the bottom tools out
// and zooms the canvas; when the drag ends they fade back in and the canvas
// is redrawn.
TEST_F(CanvasInAppTest, ScrollViewAroundTheCanvasHidesAndShowsTheBottomTools) {
    launch();
    auto controller = app().canvoViewController();
    std::shared_ptr<platform::View> canvasView = controller->view();
    platform::View* parent = canvasView->superview();
    ASSERT_NE(parent, nullptr);
    auto scroll = std::make_shared<platform::ScrollView>(canvasView->frame());
    scroll->setContentSize({320, 960});
    parent->insertSubviewBelow(scroll, canvasView.get());
    scroll->addSubview(canvasView);
    scroll->setDelegate(controller.get());
    const platform::View& tools = *chrome().bottomToolbar();
    ASSERT_EQ(tools.alpha(), 1.0f);

    EXPECT_EQ(scroll->delegate()->viewForZoomingInScrollView(*scroll), canvasView.get());
    wait(1);
    EXPECT_EQ(tools.alpha(), 0.0f);

    canvas().displayIfNeeded();
    ASSERT_FALSE(canvas().needsDisplay());
    const Point start = scroll->convertPointToView({160, 300}, nullptr);
    window().touchDown(1, start, 1);
    for (int step = 1; step <= 10; ++step)
        window().touchMove(1, {start.x, start.y - 10.0f * float(step)});
    window().touchUp(1, {start.x, start.y - 100});
    EXPECT_GT(scroll->contentOffset().y, 0.0f);
    EXPECT_TRUE(canvas().needsDisplay());
    wait(3);
    EXPECT_EQ(tools.alpha(), 1.0f);
    scroll->setDelegate(nullptr);
}

} // namespace
} // namespace zorbel::testing
