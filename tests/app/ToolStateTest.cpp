// Tool state: applyTool for every tool value, the colour and finger offset,
// the paint timer on the virtual clock, present mode and the chrome.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationBar.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::Image;

class ToolStateTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        launch();
    }

    platform::ImageRef toolButton() { return chrome().bottomToolbar()->items()[4]->image(); }
    bool statusBarHidden() { return platform::Application::shared().isStatusBarHidden(); }

    // A stroke as the canvas reports it: begins, then ends after `seconds`.
    void stroke(double seconds) {
        app().startPainting();
        wait(seconds);
        app().endPainting();
    }
};

TEST_F(ToolStateTest, EachDrawingToolShowsItsButton) {
    const struct {
        Tool tool;
        const char* button;
    } tools[] = {
        {Tool::PaintBrushTool, "brushbutton.png"}, {Tool::EraserTool, "eraserbutton.png"},
        {Tool::CloneTool, "clonereadybutton.png"}, {Tool::ShapeTool, "shapesbutton.png"},
        {Tool::TextTool, "textbutton.png"},        {Tool::EyeDropperTool, "eyedropper.png"},
        {Tool::ColorBrushTool, "stampbutton.png"},
    };
    for (const auto& t : tools) {
        app().setSelectedTool(t.tool);
        app().applyTool();
        ASSERT_NE(Image::named(t.button), nullptr) << t.button;
        EXPECT_EQ(toolButton(), Image::named(t.button)) << int(t.tool);
    }
}

TEST_F(ToolStateTest, ToolsWithoutAnEntryChangeNothing) {
    app().setSelectedTool(Tool::EraserTool);
    app().applyTool();
    const auto button = toolButton();
    for (int tool : {7, 8, 10, 0, 22}) {
        app().setSelectedTool(Tool(tool));
        app().setDirtyFlag(false);
        app().applyTool();
        EXPECT_EQ(toolButton(), button) << tool;
        EXPECT_FALSE(app().dirtyFlag()) << tool;
    }
}

TEST_F(ToolStateTest, CloneToolStartsWaitingForItsSource) {
    canvas().cloneSetUp().needsOffset = false;
    canvas().cloneSetUp().secondPointSet = true;
    canvas().cloneSetUp().relativeOffset = {50, -200};
    app().setSelectedTool(Tool::CloneTool);
    app().applyTool();
    EXPECT_TRUE(canvas().cloneSetUp().needsOffset);
    EXPECT_FALSE(canvas().cloneSetUp().secondPointSet);
    EXPECT_EQ(canvas().cloneSetUp().relativeOffset, (platform::Point{0, 0}));
}

TEST_F(ToolStateTest, EraserToolReloadsTheOriginalPicture) {
    canvas().flushOrgImageBuffer();
    ASSERT_EQ(canvas().orgImageOffscreenContext(), nullptr);
    app().setSelectedTool(Tool::EraserTool);
    app().applyTool();
    EXPECT_NE(canvas().orgImageOffscreenContext(), nullptr);
}

TEST_F(ToolStateTest, TextToolMarksTheDocumentDirtyEvenWithNothingTyped) {
    app().setDirtyFlag(false);
    app().setSelectedTool(Tool::TextTool);
    app().applyTool();
    EXPECT_TRUE(app().dirtyFlag());
}

TEST_F(ToolStateTest, PaintStyleToolsAreTheOnesThatPaint) {
    for (int tool = 0; tool <= 22; ++tool) {
        app().setSelectedTool(Tool(tool));
        const bool paints = tool == 1 || tool == 2 || tool == 3 || tool == 6 || tool == 19;
        EXPECT_EQ(app().paintStyleTool(), paints) << tool;
    }
}

TEST_F(ToolStateTest, FilterToolIsArmedOnlyForTheInteractiveEffects) {
    for (Tool effect : {Tool::TwirlTool, Tool::BrightnessTool, Tool::ContrastTool}) {
        app().setFilterTool(Tool::NoTool);
        app().setSelectedFilterTool(effect);
        app().applyFilterTool();
        EXPECT_EQ(app().filterTool(), effect);
    }
    for (Tool effect : {Tool::GrayScaleTool, Tool::SepiaTool, Tool::BulgeTool, Tool::NoTool}) {
        app().setFilterTool(Tool::NoTool);
        app().setSelectedFilterTool(effect);
        app().applyFilterTool();
        EXPECT_EQ(app().filterTool(), Tool::NoTool) << int(effect);
    }
}

TEST_F(ToolStateTest, FingerOffsetShowsTheCursorOnlyBeyondTenPoints) {
    app().setFingerOffset({10.9f, -10.9f});
    EXPECT_FALSE(canvas().touchState().showCursor);
    EXPECT_EQ(app().fingerOffset(), (platform::Point{10.9f, -10.9f}));
    app().setFingerOffset({11, 0});
    EXPECT_TRUE(canvas().touchState().showCursor);
    app().setFingerOffset({0, -11});
    EXPECT_TRUE(canvas().touchState().showCursor);
    app().setFingerOffset({0, -10});
    EXPECT_FALSE(canvas().touchState().showCursor);
}

TEST_F(ToolStateTest, BrushSizeOfZeroIsPassedOn) {
    app().setBrushSize(0);
    EXPECT_EQ(app().brushSizeBadge(), "0");
    EXPECT_EQ(canvas().brush().size(), 0.0f);
    app().setBrushSize(24);
    EXPECT_EQ(app().brushSizeBadge(), "24");
    EXPECT_EQ(canvas().brush().size(), 24.0f);
}

TEST_F(ToolStateTest, ColourGoesToTheCanvasAndTheColourWell) {
    app().setSelectedTool(Tool::TextTool);
    app().setColor(Color::rgb(1, 0.5f, 0));
    EXPECT_EQ(canvas().currentColor(), Color::rgb(1, 0.5f, 0));
    EXPECT_EQ(app().getSelectedColor(), Color::rgb(1, 0.5f, 0));
    EXPECT_EQ(chrome().color(), Color::rgb(1, 0.5f, 0));
    const auto& item = chrome().bottomToolbar()->items()[6];
    EXPECT_EQ(item->actionName(), "colorChoice:");
    ASSERT_NE(item->customView(), nullptr);
    // The toolbar places it; its size stays.
    EXPECT_EQ(item->customView()->frame().size, (platform::Size{26, 26}));
}

TEST_F(ToolStateTest, ColourSquareIsFilledWithTheColour) {
    auto square = NewMasterViewController::makeColorSquare({0, 0, 26, 26}, Color::rgb(1, 0, 0));
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->width(), 26);
    EXPECT_EQ(square->height(), 26);
    const std::uint8_t* p = square->data() + (13 * 26 + 13) * 4;
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 0);
    EXPECT_EQ(NewMasterViewController::makeColorSquare({0, 0, 0, 26}, Color::rgb(1, 0, 0)),
              nullptr);
}

TEST_F(ToolStateTest, StrokeHidesTheToolsAndTheTimerBringsThemBack) {
    ASSERT_TRUE(chrome().areToolsShowing());
    app().setDirtyFlag(false);
    app().startPainting();
    EXPECT_TRUE(app().paintingFlag());
    EXPECT_TRUE(app().dirtyFlag());
    EXPECT_FALSE(chrome().areToolsShowing());
    EXPECT_EQ(chrome().navigationBar()->alpha(), 0.0f);
    EXPECT_TRUE(statusBarHidden());
    app().endPainting();
    EXPECT_FALSE(app().paintingFlag());
    wait(1.74);
    EXPECT_FALSE(chrome().areToolsShowing());
    wait(0.02);
    EXPECT_TRUE(chrome().areToolsShowing());
    EXPECT_FALSE(statusBarHidden());
}

// A stroke ends at 0, a second runs from 1.0 to 1.5: the first stroke's timer
// shows the tools at 1.75; the second's fires at 3.25 and changes nothing.
TEST_F(ToolStateTest, EveryStrokeEndSchedulesItsOwnTimer) {
    stroke(0.1);
    wait(1.0);
    stroke(0.5);
    wait(0.24); // 1.74 after the first stroke ended
    EXPECT_FALSE(chrome().areToolsShowing());
    wait(0.02); // 1.76
    EXPECT_TRUE(chrome().areToolsShowing());
    // Something else hides them; the second timer (3.25) brings them back.
    chrome().hideAllTools();
    wait(1.48); // 3.24
    EXPECT_FALSE(chrome().areToolsShowing());
    wait(0.02); // 3.26
    EXPECT_TRUE(chrome().areToolsShowing());
}

// If the second stroke lasts until 2.0, the first timer finds a stroke in
// progress and does nothing; the tools return at 3.75.
TEST_F(ToolStateTest, TimerFiringDuringAStrokeLeavesTheToolsHidden) {
    stroke(0.1);
    wait(1.0);
    app().startPainting();
    wait(1.0); // the first timer fires at 1.75 during this stroke
    EXPECT_FALSE(chrome().areToolsShowing());
    app().endPainting();
    wait(1.74); // 3.74
    EXPECT_FALSE(chrome().areToolsShowing());
    wait(0.02); // 3.76
    EXPECT_TRUE(chrome().areToolsShowing());
}

// The delegate keeps no timer: a new interval applies to strokes that end
// later, the timer already running keeps its own.
TEST_F(ToolStateTest, NewIntervalLeavesTheRunningTimerAlone) {
    stroke(0.1);
    app().setPaintTimerInterval(5.0);
    EXPECT_EQ(app().paintInterval(), 5.0);
    wait(1.8);
    EXPECT_TRUE(chrome().areToolsShowing());
}

TEST_F(ToolStateTest, PresentModeKeepsTheTimerFromShowingTheTools) {
    chrome().present(nullptr);
    EXPECT_TRUE(app().inPresentMode());
    EXPECT_FALSE(chrome().areToolsShowing());
    stroke(0.1);
    wait(2.0);
    EXPECT_FALSE(chrome().areToolsShowing());
    chrome().present(nullptr);
    EXPECT_FALSE(app().inPresentMode());
    EXPECT_TRUE(chrome().areToolsShowing());

    chrome().present(nullptr);
    app().resetPresentMode();
    EXPECT_FALSE(app().inPresentMode());
    EXPECT_TRUE(chrome().areToolsShowing());
}

TEST_F(ToolStateTest, HidingTwiceAndShowingWhileShownChangeNothing) {
    // Showing while shown does not touch the status bar.
    platform::Application::shared().setStatusBarHidden(true, false);
    chrome().showAllTools();
    EXPECT_TRUE(statusBarHidden());
    platform::Application::shared().setStatusBarHidden(false, false);

    chrome().hideAllTools();
    EXPECT_TRUE(statusBarHidden());
    platform::Application::shared().setStatusBarHidden(false, false);
    chrome().hideAllTools();
    EXPECT_FALSE(statusBarHidden());
}

TEST_F(ToolStateTest, ShowingFadesTheBarsInOverHalfASecond) {
    chrome().hideAllTools();
    chrome().showAllTools();
    EXPECT_EQ(chrome().bottomToolbar()->alpha(), 1.0f);
    wait(0.25);
    const float shown = chrome().bottomToolbar()->presentation().alpha;
    EXPECT_GT(shown, 0.0f);
    EXPECT_LT(shown, 1.0f);
    wait(0.3);
    EXPECT_EQ(chrome().bottomToolbar()->presentation().alpha, 1.0f);
}

TEST_F(ToolStateTest, TouchesReachTheCanvasExceptOnShowingBars) {
    platform::View* middle = window().hitTest({160, 240}, nullptr);
    EXPECT_EQ(middle, &canvas());
    platform::View* onToolbar = window().hitTest({20, 458}, nullptr);
    ASSERT_NE(onToolbar, nullptr);
    EXPECT_TRUE(onToolbar->isDescendantOfView(chrome().bottomToolbar().get()));
    // Hidden bars let the corner taps through to the canvas.
    chrome().hideAllTools();
    EXPECT_EQ(window().hitTest({20, 458}, nullptr), &canvas());
    EXPECT_EQ(window().hitTest({300, 30}, nullptr), &canvas());
}

TEST_F(ToolStateTest, UndoSwapsThePictureWithItsUndoCopy) {
    canvas().copyToUndoBuffer();
    auto* context = canvas().offscreenPaintContext();
    context->setFillColor(Color::rgb(1, 0, 0));
    context->fillRect({0, 0, 320, 480});
    chrome().undo(nullptr);
    EXPECT_EQ(shownPixel(canvas(), 5, 5), (ARGBColorBytes{255, 255, 255, 255}));
    chrome().undo(nullptr);
    EXPECT_EQ(shownPixel(canvas(), 5, 5), (ARGBColorBytes{255, 255, 0, 0}));
}

TEST_F(ToolStateTest, NewDocumentWithUnsavedWorkAsksFirst) {
    app().setDirtyFlag(true);
    chrome().add(nullptr);
    ASSERT_NE(chrome().visibleSheet(), nullptr);
    EXPECT_EQ(chrome().visibleSheet()->title(), "Save Image?");
    EXPECT_EQ(chrome().visibleSheet()->tag(), 1);
    EXPECT_EQ(chrome().visibleSheet()->buttonTitleAtIndex(0), "No");
    EXPECT_EQ(chrome().visibleSheet()->buttonTitleAtIndex(1), "Save");
    EXPECT_EQ(chrome().visibleSheet()->buttonTitleAtIndex(2), "Cancel");
    chrome().visibleSheet()->dismissWithClickedButtonIndex(2, false);
    EXPECT_EQ(chrome().visibleSheet(), nullptr);
    EXPECT_TRUE(app().dirtyFlag());

    app().setDirtyFlag(false);
    chrome().add(nullptr);
    EXPECT_EQ(chrome().visibleSheet(), nullptr);
}

TEST_F(ToolStateTest, InterfaceTurnsOnlyToTheDocumentOrientationWithToolsShowing) {
    EXPECT_TRUE(chrome().shouldAutorotateToInterfaceOrientation(1));
    EXPECT_FALSE(chrome().shouldAutorotateToInterfaceOrientation(3));
    app().setDocumentOrientation(3);
    EXPECT_TRUE(chrome().shouldAutorotateToInterfaceOrientation(3));
    EXPECT_FALSE(chrome().shouldAutorotateToInterfaceOrientation(1));
    chrome().hideAllTools();
    EXPECT_FALSE(chrome().shouldAutorotateToInterfaceOrientation(3));
    EXPECT_FALSE(app().canvoViewController()->shouldAutorotateToInterfaceOrientation(3));
}

TEST_F(ToolStateTest, LandscapeDocumentTurnsTheChromeAndKeepsThePicture) {
    app().setDocumentOrientation(3);
    window().setDeviceOrientation(3);
    wait(1);
    EXPECT_EQ(app().getCurrentOrientation(), 3);
    EXPECT_EQ(window().size(), (platform::Size{480, 320}));
    // The canvas turned back a quarter, centred on the landscape window.
    const platform::Rect shown = canvas().convertRectToView(canvas().bounds(), nullptr);
    EXPECT_NEAR(shown.minX(), 0, 1e-3);
    EXPECT_NEAR(shown.minY(), 0, 1e-3);
    EXPECT_NEAR(shown.width(), 480, 1e-3);
    EXPECT_NEAR(shown.height(), 320, 1e-3);
    // Canvas point (0, 0), the picture's top-left in portrait, is now at the
    // window's bottom-left.
    const platform::Point corner = canvas().convertPointToView({0, 0}, nullptr);
    EXPECT_NEAR(corner.x, 0, 1e-3);
    EXPECT_NEAR(corner.y, 320, 1e-3);
    EXPECT_EQ(chrome().bottomToolbar()->frame().origin.y, 256.0f);

    app().setDocumentOrientation(1);
    window().setDeviceOrientation(1);
    wait(1);
    EXPECT_EQ(app().getCurrentOrientation(), 1);
    EXPECT_EQ(canvas().frame(), (platform::Rect{0, 0, 320, 480}));
    EXPECT_TRUE(canvas().transform().isIdentity());
}

} // namespace
} // namespace zorbel::testing
