// The brush picker: which tap chooses which brush, what is handed to the
// application, and the opacity and blend mode offered for the paint brush only.

#include "PickerTestSupport.h"
#include "pickers/BrushChoiceViewController.h"
#include "pickers/BrushImageChoiceView.h"
#include "pickers/BrushTable.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"

namespace zorbel::testing {
namespace {

class BrushPickerTest : public PickerTest {
protected:
    std::shared_ptr<BrushChoiceViewController> open(bool showSlider) {
        auto picker = present(std::make_shared<BrushChoiceViewController>(delegate, showSlider));
        shoot("brush-picker"); // draws, so the grid knows its columns
        return picker;
    }
};

TEST_F(BrushPickerTest, AllNineteenBrushesInFiveColumnsAndFourRows) {
    auto picker = open(true);
    BrushImageChoiceView& grid = *picker->brushView();
    ASSERT_EQ(grid.brushImages().size(), 19u);
    EXPECT_EQ(grid.frame().width(), 320);
    EXPECT_EQ(grid.numBrushBoxes(), 5);
    EXPECT_EQ(grid.hitBrushIndex({70, 70}), 6);
    EXPECT_EQ(grid.hitBrushIndex({250, 250}), 18); // the last row holds 4
    EXPECT_EQ(grid.hitBrushIndex({300, 200}), -1); // column 4, row 3: past the last
    EXPECT_EQ(grid.hitBrushIndex({70, 260}), -1);  // below the last row
}

TEST_F(BrushPickerTest, ATapChoosesTheBrushWithSizeFiveAndCloses) {
    auto picker = open(false);
    tap(*picker->brushView(), {70, 70});
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"setBrushSize 5", "setBrushIndex 6",
                                                        "setBrushImage picture"}));
    EXPECT_EQ(delegate.brushImage, platform::Image::named("brushhard64.png"));
    EXPECT_EQ(picker->brushView()->getBrushIndex(), 6);
    EXPECT_FALSE(isPresented());
}

TEST_F(BrushPickerTest, EveryBrushIsHandedOnAtSizeFive) {
    for (platform::Point p : {platform::Point{10, 10}, platform::Point{200, 150}}) {
        delegate.calls.clear();
        auto picker = open(false);
        tap(*picker->brushView(), p);
        ASSERT_FALSE(delegate.calls.empty());
        EXPECT_EQ(delegate.calls.front(), "setBrushSize 5");
    }
}

TEST_F(BrushPickerTest, ATapPastTheLastBrushChoosesNothingAndStaysOpen) {
    auto picker = open(true);
    tap(*picker->brushView(), {300, 200});
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_TRUE(isPresented());
}

TEST_F(BrushPickerTest, EraserAndCloneHideTheControlsAndKeepOpacityAndBlendMode) {
    delegate.alpha = 0.4f;
    delegate.mode = platform::BlendMode::Screen;
    auto picker = open(false);
    EXPECT_TRUE(picker->brushOpacitySlider()->isHidden());
    EXPECT_TRUE(picker->opacityLabel()->isHidden());
    EXPECT_TRUE(picker->blendModeControl()->isHidden());
    tap(*picker->brushView(), {70, 70});
    EXPECT_FALSE(delegate.called("setBrushAlpha"));
    EXPECT_FALSE(delegate.called("setBlendMode"));
    EXPECT_FALSE(isPresented());
}

TEST_F(BrushPickerTest, PaintBrushShowsTheStoredModeAndStoresTheChosenSegment) {
    delegate.alpha = 0.25f;
    delegate.mode = platform::BlendMode::Overlay;
    auto picker = open(true);
    EXPECT_FALSE(picker->brushOpacitySlider()->isHidden());
    EXPECT_FLOAT_EQ(picker->brushOpacitySlider()->value(), 0.25f);
    platform::SegmentedControl& segments = *picker->blendModeControl();
    EXPECT_EQ(segments.selectedSegmentIndex(), 5);
    tap(segments, segments.rectForSegment(3).center());
    EXPECT_EQ(segments.selectedSegmentIndex(), 3);
    picker->done(nullptr);
    EXPECT_EQ(delegate.mode, platform::BlendMode::Darken); // stored as 4
    EXPECT_FLOAT_EQ(delegate.alpha, 0.25f);
    EXPECT_FALSE(isPresented());
}

TEST_F(BrushPickerTest, ABrushTapWithThePaintBrushAlsoAppliesTheControls) {
    delegate.mode = platform::BlendMode::Multiply;
    auto picker = open(true);
    picker->brushOpacitySlider()->setValue(0.5f);
    tap(*picker->brushView(), {10, 10});
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{
                                  "setBrushSize 5", "setBrushIndex 0", "setBrushImage picture",
                                  "setBrushAlpha 0.500000", "setBlendMode 1"}));
}

TEST_F(BrushPickerTest, CancelClosesWithoutApplyingAnything) {
    auto picker = open(true);
    picker->brushOpacitySlider()->setValue(0.1f);
    picker->cancel(nullptr);
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_FALSE(isPresented());
}

TEST_F(BrushPickerTest, SegmentsAndModesMapBothWays) {
    // The stored numbers of the six segments, in segment order.
    const int modes[] = {0, 1, 2, 4, 5, 3};
    for (int segment = 0; segment < 6; ++segment) {
        const auto mode = platform::BlendMode(modes[segment]);
        EXPECT_EQ(BrushChoiceViewController::buttonToBlendMode(segment), mode);
        EXPECT_EQ(BrushChoiceViewController::blendModeToButtonIndex(mode), segment);
    }
    EXPECT_EQ(BrushChoiceViewController::buttonToBlendMode(-1), platform::BlendMode::Normal);
    EXPECT_EQ(BrushChoiceViewController::buttonToBlendMode(6), platform::BlendMode::Normal);
    EXPECT_EQ(BrushChoiceViewController::blendModeToButtonIndex(platform::BlendMode::Clear), 0);
}

TEST_F(BrushPickerTest, LandscapeWidensTheSliderAndCentresTheSegments) {
    holdInLandscape();
    auto picker = open(true);
    const platform::Rect slider = picker->brushOpacitySlider()->frame();
    EXPECT_EQ(slider.origin, (platform::Point{15, 240}));
    EXPECT_EQ(slider.width(), 450);
    EXPECT_TRUE(picker->opacityLabel()->isHidden());
    const platform::Rect segments = picker->blendModeControl()->frame();
    EXPECT_EQ(segments.origin, (platform::Point{(480 - segments.width()) / 2, 265}));
    EXPECT_EQ(picker->brushView()->numBrushBoxes(), 7);
    shoot("brush-picker-landscape");
}

// Each picture is centred at its own size in its 64-point cell.
TEST(BrushGridDrawing, PicturesSitCentredInTheirCells) {
    BrushImageChoiceView grid(platform::Rect(0, 0, 320, 300));
    grid.setBrushImages(
        {solidPicture(16, 16, {255, 255, 0, 0}), solidPicture(64, 64, {255, 0, 0, 255})});
    auto c = platform::Context::createBitmap(320, 300, nullptr, platform::YAxis::Down);
    grid.drawRect(*c, grid.bounds());
    EXPECT_EQ(pixelAt(*c, 24, 24), (Pixel{255, 255, 0, 0}));
    EXPECT_EQ(pixelAt(*c, 39, 39), (Pixel{255, 255, 0, 0}));
    EXPECT_EQ(pixelAt(*c, 23, 24), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(*c, 40, 40), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(*c, 64, 0), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*c, 127, 63), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*c, 128, 0), (Pixel{0, 0, 0, 0}));
}

TEST(BrushGridDrawing, AViewNarrowerThanACellShowsOneColumn) {
    BrushImageChoiceView grid(platform::Rect(0, 0, 40, 300));
    grid.setBrushImages({solidPicture(8, 8, {255, 0, 0, 0}), solidPicture(8, 8, {255, 0, 0, 0})});
    auto c = platform::Context::createBitmap(40, 300, nullptr, platform::YAxis::Down);
    grid.drawRect(*c, grid.bounds());
    EXPECT_EQ(grid.numBrushBoxes(), 1);
    EXPECT_EQ(grid.hitBrushIndex({20, 70}), 1);
}

// A picture that cannot be loaded is left out; the ones after it move up.
TEST(BrushGridLoading, AMissingBrushIsLoggedAndTheRestMoveUp) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    BrushImageChoiceView grid;
    grid.setBrushFilenames({"brush1.png", "nosuchbrush.png", "brushhard8.png"});
    grid.createBrushImagesFromPNGs();
    ASSERT_EQ(grid.brushImages().size(), 2u);
    EXPECT_EQ(grid.brushImages()[1], platform::Image::named("brushhard8.png"));
    EXPECT_TRUE(platform::logContains("Standard Brush not found"));
    platform::setLogQuiet(false);
}

TEST(BrushGridLoading, TheFileMadeViewLoadsTheBrushTable) {
    BrushImageChoiceView grid;
    grid.awakeFromNib();
    EXPECT_EQ(grid.brushFilenames(), brushTable());
    EXPECT_EQ(grid.brushImages().size(), brushTable().size());
    EXPECT_EQ(grid.getSelectedBrushSize(), 5);
}

} // namespace
} // namespace zorbel::testing
