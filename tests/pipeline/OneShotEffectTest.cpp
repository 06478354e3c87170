// One-shot effects chosen in the tool picker: the pixel work runs on a worker
// thread behind the activity indicator; while it runs every input that could
// touch the canvas buffers is refused; the completion comes back to the main
// thread in a fixed order, after the indicator has been seen in a frame.

#include <cstring>
#include <filesystem>
#include <thread>

#include "PipelineTestSupport.h"
#include "effects/BulgeImageBitmap.h"
#include "effects/DentImageBitmap.h"
#include "effects/FisheyeImageBitmap.h"
#include "effects/GrayLUTImageBitmap.h"
#include "effects/GrayScaleImageBitmap.h"
#include "effects/LightTunnelImageBitmap.h"
#include "effects/MirrorImageBitmap.h"
#include "effects/SqueezeImage2.h"
#include "platform/ui/ActivityIndicatorView.h"

namespace zorbel::testing {
namespace {

using PixelFunction = void (*)(const std::uint8_t*, std::uint8_t*, int, int);

Pixels expected(const Pixels& snapshot, PixelFunction f) {
    Pixels out = snapshot;
    f(snapshot.data(), out.data(), PaintingView::kCanvasWidth, PaintingView::kCanvasHeight);
    return out;
}

void sepia(const std::uint8_t* s, std::uint8_t* d, int w, int h) {
    ColorLUT table{};
    createSepiaLUT(table);
    grayLUTImageBitmap(s, d, w, h, table);
}
void mirror(const std::uint8_t* s, std::uint8_t* d, int w, int h) {
    mirrorImageBitmap(s, d, w, h, false);
}
void mirrorRows(const std::uint8_t* s, std::uint8_t* d, int w, int h) {
    mirrorImageBitmap(s, d, w, h, true);
}

class OneShotEffectTest : public PipelineTest {};

TEST_F(OneShotEffectTest, EachEffectGivesItsPixelFunctionsPictureAndUndoTakesItBack) {
    const std::pair<const char*, PixelFunction> effects[] = {
        {"setHorizontalMirrorTool:", mirror},
        {"setSqueezeTool:", squeezeImage2},
        {"setLightTunnelTool:", lightTunnelImageBitmap},
        {"setBulgeTool:", bulgeImageBitmap},
        {"setDentTool:", dentImageBitmap},
        {"setFisheyeTool:", fisheyeImageBitmap},
        {"setGrayScaleTool:", grayScaleImageBitmap},
        {"setSepiaTool:", sepia}};
    for (const auto& [action, function] : effects) {
        const Pixels before = picture();
        app().setDirtyFlag(false);
        choose(action);
        finishEffect();
        EXPECT_FALSE(app().tooBusyForUserInteraction()) << action;
        EXPECT_EQ(app().progressView(), nullptr) << action;
        EXPECT_TRUE(app().dirtyFlag()) << action;
        EXPECT_TRUE(picture() == expected(before, function)) << action;
        chrome().undo(nullptr);
        EXPECT_TRUE(picture() == before) << action << ": undo";
    }
    EXPECT_EQ(app().selectedFilterTool(), Tool::SepiaTool); // sepia was the last one recorded
}

TEST_F(OneShotEffectTest, TheMirrorFlipsRowsWhileTheToolbarsAreTurned) {
    app().setDocumentOrientation(3);
    window().setDeviceOrientation(3);
    wait(1);
    ASSERT_EQ(app().getCurrentOrientation(), 3);
    const Pixels before = picture();
    choose("setHorizontalMirrorTool:");
    finishEffect();
    EXPECT_TRUE(picture() == expected(before, mirrorRows));
}

TEST_F(OneShotEffectTest, TheIndicatorSpinsInTheMiddleUntilTheWorkIsDone) {
    holdWorkers();
    choose("setBulgeTool:");
    auto indicator = app().progressView();
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(indicator->isAnimating());
    EXPECT_EQ(indicator->frame(), platform::Rect(135, 215, 50, 50));
    EXPECT_EQ(indicator->autoresizingMask(), 45u);
    EXPECT_EQ(indicator->activityIndicatorViewStyle(),
              platform::ActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_EQ(indicator->superview(), app().canvoViewController()->view().get());
    EXPECT_TRUE(app().tooBusyForUserInteraction());
    for (int i = 0; i < 5; ++i) {
        frame();
        wait(0.1);
    }
    EXPECT_TRUE(app().tooBusyForUserInteraction()); // still held
    releaseWorkers();
    finishEffect();
    EXPECT_FALSE(indicator->isAnimating());
    EXPECT_EQ(indicator->superview(), nullptr);
}

TEST_F(OneShotEffectTest, CompletionWaitsForAFrameWithTheIndicator) {
    const Pixels before = picture();
    choose("setGrayScaleTool:");
    // The work is done (drain waits for it), but no frame has shown the
    // indicator yet: nothing changes.
    platform::RunLoop::main().drain();
    platform::RunLoop::main().drain();
    EXPECT_TRUE(app().tooBusyForUserInteraction());
    EXPECT_TRUE(picture() == before);
    frame();
    platform::RunLoop::main().drain();
    // Picture first, then the indicator stops: once not busy, the new
    // picture is there.
    EXPECT_FALSE(app().tooBusyForUserInteraction());
    EXPECT_TRUE(picture() == expected(before, grayScaleImageBitmap));
    EXPECT_TRUE(canvas().needsDisplay());
}

TEST_F(OneShotEffectTest, InputIsRefusedWhileTheWorkerRunsAndAcceptedAfter) {
    app().setAskOnShake(true);
    holdWorkers();
    choose("setDentTool:");
    ASSERT_TRUE(app().tooBusyForUserInteraction());
    frame();
    const Pixels snapshot = picture();
    const std::uint8_t* source = canvas().undoBitmapData();

    window().touchDown(1, {100, 100}); // a stroke on the canvas
    window().touchMove(1, {200, 300});
    window().touchUp(1, {200, 300});
    chrome().undo(nullptr);
    chrome().save(nullptr);
    chrome().add(nullptr);
    chrome().selectToolAction(nullptr);
    platform::Accelerometer::shared().deliver(3, 0, -1);
    wait(2);
    EXPECT_TRUE(picture() == snapshot);
    EXPECT_EQ(canvas().undoBitmapData(), source); // the worker's snapshot stayed put
    EXPECT_TRUE(app().dirtyFlag());               // not saved
    EXPECT_EQ(chrome().visibleSheet(), nullptr);  // neither "Save Image?" nor "Erase Image?"
    EXPECT_FALSE(app().shaken());
    EXPECT_FALSE(chrome().isModalViewShowing());

    releaseWorkers();
    finishEffect();
    const Pixels dented = picture();
    EXPECT_TRUE(dented == expected(snapshot, dentImageBitmap));

    chrome().undo(nullptr);
    EXPECT_TRUE(picture() == snapshot);
    chrome().undo(nullptr);
    EXPECT_TRUE(picture() == dented);
    chrome().add(nullptr);
    ASSERT_NE(chrome().visibleSheet(), nullptr);
    EXPECT_EQ(chrome().visibleSheet()->title(), "Save Image?");
    chrome().actionSheetClickedButtonAtIndex(*chrome().visibleSheet(), 2);
    chrome().selectToolAction(nullptr);
    EXPECT_TRUE(chrome().isModalViewShowing());
}

TEST_F(OneShotEffectTest, AMemoryWarningWaitsUntilTheWorkerIsDone) {
    holdWorkers();
    const Pixels before = picture();
    choose("setFisheyeTool:");
    platform::clearLogCapture();
    platform::Application::shared().receiveMemoryWarning();
    EXPECT_NE(canvas().undoBitmapData(), nullptr); // not flushed under the worker
    EXPECT_FALSE(platform::logContains("Paint view lowMemoryWarning"));
    releaseWorkers();
    finishEffect();
    EXPECT_TRUE(platform::logContains("Paint view lowMemoryWarning"));
    EXPECT_EQ(canvas().undoBitmapData(), nullptr);
    canvas().reloadOffscreenAndUndoIfNecessary();
    EXPECT_TRUE(picture() == expected(before, fisheyeImageBitmap));
}

TEST_F(OneShotEffectTest, TerminationWaitsForTheWorkerAndKeepsItsPicture) {
    holdWorkers();
    const Pixels before = picture();
    choose("setSqueezeTool:");
    std::thread releaser([gate = gate_] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate->release();
    });
    terminate();
    releaser.join();
    auto saved = platform::Image::load(platform::Paths::documentsDirectory() / "zorbel.png");
    ASSERT_TRUE(saved);
    // The file holds the squeezed picture, upright (the buffer runs bottom-up).
    const Pixels squeezed = expected(before, squeezeImage2);
    const int w = PaintingView::kCanvasWidth, h = PaintingView::kCanvasHeight;
    const std::uint8_t* file = saved.value()->data();
    int differing = 0;
    for (int y = 0; y < h; ++y)
        differing += std::memcmp(file + std::size_t(y) * w * 4,
                                 squeezed.data() + std::size_t(h - 1 - y) * w * 4, w * 4) != 0;
    EXPECT_EQ(differing, 0);
}

} // namespace
} // namespace zorbel::testing

namespace zorbel::testing {
namespace {

class ToolPickerInAppTest : public PipelineTest {};

TEST_F(ToolPickerInAppTest, APickerMarkedToDisappearClosesAsSoonAsItShows) {
    auto picker = std::make_shared<ToolViewController>(app().pickerHost());
    picker->setNeedsToDisappear(true);
    chrome().presentModalViewController(picker, true);
    EXPECT_TRUE(chrome().isModalViewShowing());
    wait(0.5);
    EXPECT_FALSE(chrome().isModalViewShowing());
}

TEST_F(ToolPickerInAppTest, ChoosingAToolClosesThePickerAndSelectsIt) {
    choose("setEraserTool:");
    EXPECT_FALSE(chrome().isModalViewShowing());
    EXPECT_EQ(app().selectedTool(), Tool::EraserTool);
    choose("setVerticalMirrorTool:");
    EXPECT_EQ(app().selectedTool(), Tool::EraserTool);
    EXPECT_FALSE(app().tooBusyForUserInteraction());
}

} // namespace
} // namespace zorbel::testing
