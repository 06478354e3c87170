// Start-up and shut-down of the whole application: the first launch, settings
// and pictures carried across a termination, a killed run, bad stored
// indices, the memory warning.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AppTestSupport.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationBar.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::Image;

const ARGBColorBytes kWhite{255, 255, 255, 255};
const ARGBColorBytes kRed{255, 255, 0, 0};
const ARGBColorBytes kBlue{255, 0, 0, 255};

void fill(platform::Context* context, const platform::Rect& r, const Color& color) {
    ASSERT_NE(context, nullptr);
    context->setFillColor(color);
    context->fillRect(r);
}

ARGBColorBytes undoPixel(const PaintingView& canvas, int x, int y) {
    const std::uint8_t* p =
        canvas.undoBitmapData() +
        (std::size_t(PaintingView::kCanvasHeight - 1 - y) * PaintingView::kCanvasWidth + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

class LaunchTest : public AppTest {};

TEST_F(LaunchTest, FirstLaunchGivesWhiteSheetDefaultSettingsAndHardBrush) {
    launch();
    EXPECT_EQ(shownPixel(canvas(), 0, 0), kWhite);
    EXPECT_EQ(shownPixel(canvas(), 160, 240), kWhite);
    EXPECT_EQ(shownPixel(canvas(), 319, 479), kWhite);

    EXPECT_EQ(app().selectedTool(), Tool::PaintBrushTool);
    EXPECT_EQ(app().brushIndex(), 5);
    EXPECT_EQ(app().currentBrushImage(), Image::named("brushhard32.png"));
    EXPECT_NE(app().currentBrushImage(), nullptr);
    EXPECT_EQ(app().colorBrushIndex(), 1);
    EXPECT_EQ(canvas().colorBrushImage(), Image::named("colorbrushheart64.png"));
    EXPECT_NE(canvas().colorBrushImage(), nullptr);
    EXPECT_EQ(canvas().currentColor(), Color::rgb(0, 0, 0, 1));
    EXPECT_EQ(canvas().touchState().fingerOffset, (platform::Point{0, 0}));
    EXPECT_FALSE(canvas().touchState().showCursor);
    EXPECT_EQ(app().brushSizeBadge(), "16");
    EXPECT_EQ(app().overlayIndex(), 1);
    EXPECT_EQ(app().paintBrushAlpha(), 1.0f);
    EXPECT_EQ(app().blendMode(), platform::BlendMode::Normal);
    EXPECT_FALSE(app().smoothPaintBrushFlag());
    EXPECT_EQ(app().smoothPaintBrushAmount(), 20.0f);
    EXPECT_FALSE(app().smartShapesEnabled());
    EXPECT_FALSE(app().useCropImage());
    EXPECT_TRUE(app().askOnShake());
    EXPECT_TRUE(app().cursorDisplayFlag());
    EXPECT_EQ(app().documentOrientation(), 1);
    EXPECT_FALSE(app().dirtyFlag());
    ASSERT_EQ(app().colorSelectionArray().size(), 12u);
    EXPECT_EQ(app().colorSelectionArray()[5], Color::rgb(1, 0, 0, 1));
    EXPECT_EQ(app().paintInterval(), 1.75);

    // The chrome: below the status bar, tools showing, the brush button.
    EXPECT_EQ(chrome().view()->frame().origin.y, 20.0f);
    EXPECT_TRUE(chrome().areToolsShowing());
    ASSERT_NE(chrome().bottomToolbar(), nullptr);
    const auto& items = chrome().bottomToolbar()->items();
    ASSERT_GE(items.size(), 7u);
    EXPECT_EQ(items[4]->image(), Image::named("brushbutton.png"));
    EXPECT_EQ(items[6]->actionName(), "colorChoice:");
    EXPECT_EQ(platform::Application::shared().statusBarStyle(),
              platform::StatusBarStyle::BlackTranslucent);
    EXPECT_EQ(platform::Accelerometer::shared().delegate(), &app());
    EXPECT_DOUBLE_EQ(platform::Accelerometer::shared().updateInterval(), 0.04);
    EXPECT_EQ(canvas().delegate(), static_cast<PaintingViewDelegate*>(&app()));
    EXPECT_EQ(app().canvoViewController()->canvoDelegate(), &app());
    EXPECT_EQ(canvas().tag(), 100);
    // Every interface file of the main screen loaded without an error.
    EXPECT_TRUE(chrome().loadStatus().ok()) << chrome().loadStatus().error();
    EXPECT_TRUE(app().canvoViewController()->loadStatus().ok());
    EXPECT_EQ(chrome().navigationBar()->title(), "Zorbel");
}

TEST_F(LaunchTest, ToolbarViewStartsBelowTheStatusBarWhateverTheFileSays) {
    launch();
    const platform::Rect frame = chrome().view()->frame();
    EXPECT_EQ(frame.origin.y, 20.0f);
    EXPECT_EQ(frame.origin.x, 0.0f);
    EXPECT_EQ(chrome().view()->autoresizingMask(), 18u);
}

TEST_F(LaunchTest, StoredBrushIndicesOutOfRangeBecomeTheLastEntry) {
    for (long stored : {25L, -3L}) {
        storeSettings([&](platform::UserDefaults& d) {
            d.setInteger(stored, "BrushIndex");
            d.setInteger(stored == 25 ? 50 : -1, "ColorBrushIndex");
        });
        launch();
        EXPECT_EQ(app().brushIndex(), 18) << stored;
        EXPECT_EQ(app().currentBrushImage(), Image::named("brusharrowup.png"));
        EXPECT_EQ(app().colorBrushIndex(), 42);
        EXPECT_EQ(canvas().colorBrushImage(), Image::named("greenarrowleft.brush.png"));
        // The corrected value is the one written back.
        terminate();
        EXPECT_EQ(defaults().integerForKey("BrushIndex"), 18);
        EXPECT_EQ(defaults().integerForKey("ColorBrushIndex"), 42);
    }
}

TEST_F(LaunchTest, TextToolIsRestoredWithItsButtonAndMarksTheDocumentDirty) {
    storeSettings([](platform::UserDefaults& d) { d.setInteger(int(Tool::TextTool), "ToolID"); });
    launch();
    EXPECT_EQ(app().selectedTool(), Tool::TextTool);
    EXPECT_TRUE(app().dirtyFlag());
    EXPECT_EQ(chrome().bottomToolbar()->items()[4]->image(), Image::named("textbutton.png"));
    EXPECT_FALSE(app().paintStyleTool());
}

TEST_F(LaunchTest, TerminationThenRelaunchRestoresPaintingAndUndoPicture) {
    launch();
    fill(canvas().offscreenPaintContext(), {10, 20, 30, 40}, Color::rgb(1, 0, 0));
    fill(canvas().undoLayerContext(), {200, 300, 10, 10}, Color::rgb(0, 0, 1));
    terminate();
    EXPECT_TRUE(std::filesystem::exists(home_ / "Documents" / "zorbel.png"));
    EXPECT_TRUE(std::filesystem::exists(home_ / "Documents" / "zorbelorgimage.png"));
    EXPECT_TRUE(std::filesystem::exists(home_ / "Documents" / "tempundo.png"));

    launch();
    // The undo picture waits in its file until something needs it: a run
    // that ends before then keeps it as it was.
    EXPECT_EQ(canvas().undoLayerContext(), nullptr);
    platform::clearLogCapture();
    terminate();
    EXPECT_FALSE(platform::logContains("writeOnlyRawImageNamed image is nil"));
    EXPECT_FALSE(platform::logContains("was NOT written"));
    launch();
    canvas().reloadUndoBufferIfNecessary();
    // The canvas contexts take screen coordinates as they are.
    EXPECT_EQ(shownPixel(canvas(), 10, 20), kRed);
    EXPECT_EQ(shownPixel(canvas(), 39, 59), kRed);
    EXPECT_EQ(shownPixel(canvas(), 40, 59), kWhite);
    EXPECT_EQ(undoPixel(canvas(), 205, 305), kBlue);
    EXPECT_NE(undoPixel(canvas(), 215, 305), kBlue);
    // The original picture is still the white sheet: erasing brings it back.
    app().eraseToOriginal();
    EXPECT_EQ(shownPixel(canvas(), 10, 20), kWhite);
}

TEST_F(LaunchTest, TerminationThenRelaunchRestoresEverySetting) {
    launch();
    app().setSmartShapesEnabled(true);
    app().setAskOnShake(false);
    app().setBrushIndex(3);
    app().setUseCropImage(true);
    app().setColorBrushIndex(7);
    app().setOverlayIndex(20);
    app().setSelectedTool(Tool::ColorBrushTool);
    app().setCursorDisplayFlag(false);
    app().setBrushAlpha(0.5f);
    app().setBlendMode(platform::BlendMode::Overlay);
    app().setSmoothPaintBrushFlag(true);
    app().setSmoothPaintBrushAmount(8.0f);
    auto palette = app().colorSelectionArray();
    palette[0] = Color::rgb(0.1f, 0.2f, 0.3f);
    app().setColorSelectionArray(palette);
    app().setColor(Color::rgb(0.2f, 0.4f, 0.6f));
    app().setFingerOffset({5, -40});
    app().setDirtyFlag(true);
    terminate();

    launch();
    EXPECT_TRUE(app().smartShapesEnabled());
    EXPECT_FALSE(app().askOnShake());
    EXPECT_EQ(app().brushIndex(), 3);
    EXPECT_EQ(app().currentBrushImage(), Image::named("brushhard16.png"));
    EXPECT_TRUE(app().useCropImage());
    EXPECT_EQ(app().colorBrushIndex(), 7);
    EXPECT_EQ(canvas().colorBrushImage(), Image::named("starsbrushcolors.png"));
    EXPECT_EQ(app().overlayIndex(), 20);
    EXPECT_EQ(app().selectedTool(), Tool::ColorBrushTool);
    EXPECT_EQ(chrome().bottomToolbar()->items()[4]->image(), Image::named("stampbutton.png"));
    EXPECT_FALSE(app().cursorDisplayFlag());
    EXPECT_EQ(app().paintBrushAlpha(), 0.5f);
    EXPECT_EQ(app().blendMode(), platform::BlendMode::Overlay);
    EXPECT_TRUE(app().smoothPaintBrushFlag());
    EXPECT_EQ(app().smoothPaintBrushAmount(), 8.0f);
    EXPECT_EQ(app().colorSelectionArray()[0], Color::rgb(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(canvas().currentColor(), Color::rgb(0.2f, 0.4f, 0.6f));
    EXPECT_EQ(chrome().color(), Color::rgb(0.2f, 0.4f, 0.6f));
    EXPECT_EQ(canvas().touchState().fingerOffset, (platform::Point{5, -40}));
    EXPECT_TRUE(canvas().touchState().showCursor);
    EXPECT_TRUE(app().dirtyFlag());
    // The size is never stored: every launch starts at 16.
    EXPECT_EQ(app().brushSizeBadge(), "16");
}

TEST_F(LaunchTest, KilledRunLosesOnlyItsOwnChanges) {
    launch();
    fill(canvas().offscreenPaintContext(), {0, 0, 320, 480}, Color::rgb(1, 0, 0));
    app().setOverlayIndex(4);
    terminate();

    launch();
    fill(canvas().offscreenPaintContext(), {0, 0, 320, 480}, Color::rgb(0, 0, 1));
    app().setOverlayIndex(9);
    kill();

    launch();
    EXPECT_EQ(app().overlayIndex(), 4);
    EXPECT_EQ(shownPixel(canvas(), 100, 100), kRed);
}

// Pictures can only be written upright (1) or turned (3): any other
// orientation is refused where it is set, so that nothing keeps the painting
// from being written at the end of the run.
TEST_F(LaunchTest, OrientationOtherThanUprightOrTurnedIsRefused) {
    launch();
    fill(canvas().offscreenPaintContext(), {0, 0, 320, 480}, Color::rgb(1, 0, 0));
    for (int odd : {2, 0, -1, 99}) {
        app().setDocumentOrientation(odd);
        EXPECT_EQ(app().documentOrientation(), 1) << odd;
    }
    EXPECT_TRUE(platform::logContains("setDocumentOrientation: 2 is neither 1 nor 3"));
    terminate();
    EXPECT_TRUE(std::filesystem::exists(home_ / "Documents" / "zorbel.png"));
    EXPECT_EQ(defaults().integerForKey("DocumentOrientation"), 1);
}

// A picture that cannot be written is never lost in silence: the log names
// each file, and the settings are still written.
TEST_F(LaunchTest, TerminationSaysWhichPictureWasNotWritten) {
    launch();
    app().setOverlayIndex(6);
    const auto documents = home_ / "Documents";
    std::filesystem::remove_all(documents);
    std::ofstream(documents) << "not a folder";
    terminate();
    for (const char* file : {"zorbel.png", "zorbelorgimage.png", "tempundo.png"})
        EXPECT_TRUE(logHas(std::string("applicationWillTerminate: ") + file +
                           " was NOT written; the copy from the last run (if any) stays"))
            << file;
    EXPECT_EQ(defaults().integerForKey("OverlayIndex"), 6);
}

TEST_F(LaunchTest, MemoryWarningLogsFlushesTheCanvasAndShowsAnAlert) {
    launch();
    fill(canvas().offscreenPaintContext(), {0, 0, 320, 480}, Color::rgb(1, 0, 0));
    platform::clearLogCapture();
    platform::Application::shared().receiveMemoryWarning();

    EXPECT_TRUE(logHas("++++++++++++++++++ applicationDidReceiveMemoryWarning"));
    EXPECT_TRUE(logHas("******* didReceiveMemoryWarning NewMasterVC"));
    EXPECT_TRUE(logHas("******* didReceiveMemoryWarning CanvoViewController"));
    EXPECT_EQ(canvas().offscreenPaintContext(), nullptr);
    EXPECT_EQ(canvas().undoLayerContext(), nullptr);

    platform::AlertView* alert = findAlert(window());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Warning");
    EXPECT_EQ(alert->message(), "Low on Memory");
    ASSERT_EQ(alert->numberOfButtons(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Ok");
    alert->dismissWithClickedButtonIndex(0, false);
    wait(1);

    // The painting comes back from its file unchanged when next needed.
    canvas().reloadOffscreenBufferIfNecessary();
    EXPECT_EQ(shownPixel(canvas(), 100, 100), kRed);
}

} // namespace
} // namespace zorbel::testing
