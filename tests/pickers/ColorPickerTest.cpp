// The colour picker: the palette's grid by the view's shape, the rainbow's
// pixels, the swatch dropped on a box, and what Done, Cancel and a palette
// tap leave in the application's palette and paint colour.

#include "PickerTestSupport.h"
#include "pickers/ColorButtonView.h"
#include "pickers/ColorChoiceView.h"
#include "pickers/ColorChoiceViewController.h"
#include "pickers/ColorSquareView.h"
#include "pickers/RainbowColorView.h"
#include "pickers/ToolbarColorView.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::Point;
using platform::Rect;

const Color kOpening = Color::rgb(0.2f, 0.4f, 0.6f);

class ColorPickerTest : public PickerTest {
protected:
    std::shared_ptr<ColorChoiceViewController> open() {
        auto picker = present(std::make_shared<ColorChoiceViewController>(delegate, kOpening));
        shoot("color-picker");
        return picker;
    }
};

// A palette of twelve drawn (so it knows its columns) in a view of this size.
std::shared_ptr<ColorChoiceView> paletteOfSize(float w, float h) {
    auto palette = std::make_shared<ColorChoiceView>(Rect(0, 0, w, h));
    FakePickerHost colours;
    palette->CreateColorArray(colours.palette);
    auto c = platform::Context::createBitmap(int(w), int(h), nullptr, platform::YAxis::Down);
    palette->drawRect(*c, palette->bounds());
    return palette;
}

TEST(PaletteGrid, TallViewsShowSixColumnsWideViewsFour) {
    auto tall = paletteOfSize(320, 460);
    EXPECT_EQ(tall->numColorBoxes(), 6);
    EXPECT_EQ(tall->hitColorIndex({65, 65}), 7);   // column 1, row 1
    EXPECT_EQ(tall->hitColorIndex({5, 5}), 0);     // the margin counts as box 0
    EXPECT_EQ(tall->hitColorIndex({65, 115}), -1); // no third row
    auto wide = paletteOfSize(480, 300);
    EXPECT_EQ(wide->numColorBoxes(), 4);
    EXPECT_EQ(wide->hitColorIndex({165, 115}), 11); // column 3, row 2
    EXPECT_EQ(wide->hitColorIndex({215, 15}), -1);  // no fifth column
}

// With five columns, twelve colours make two full rows and a third of two:
// it is drawn but only whole rows count for choosing.
TEST(PaletteGrid, ThePartRowOfFiveColumnsIsDrawnButCannotBeChosen) {
    auto palette = std::make_shared<ColorChoiceView>(Rect(0, 0, 260, 400));
    palette->CreateColorArray(FakePickerHost().palette);
    auto c = platform::Context::createBitmap(260, 400, nullptr, platform::YAxis::Down);
    palette->drawRect(*c, palette->bounds());
    EXPECT_EQ(palette->numColorBoxes(), 5);
    EXPECT_EQ(palette->hitColorIndex({115, 65}), 7);
    EXPECT_EQ(palette->hitColorIndex({15, 115}), -1); // box 10
    const Pixel drawn = pixelAt(*c, 30, 130);         // inside box 10
    EXPECT_EQ(drawn.a, 255);
    EXPECT_EQ(drawn.b, int(255 * (1.0f - 10.0f / 11.0f)));
    EXPECT_EQ(pixelAt(*c, 9, 109), (Pixel{255, 0, 0, 0})); // its black frame
}

TEST(PaletteGrid, ANarrowViewStillHasAColumn) {
    auto palette = paletteOfSize(30, 700);
    EXPECT_EQ(palette->numColorBoxes(), 1);
    EXPECT_EQ(palette->hitColorIndex({20, 560}), 11);
}

TEST_F(ColorPickerTest, APaletteTapSetsThatColourAndCloses) {
    auto picker = open();
    tap(*picker->palette(), {65, 65});
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"setColor", "setColorSelectionArray 12"}));
    EXPECT_EQ(delegate.color, delegate.palette[7]);
    EXPECT_FALSE(isPresented());
}

TEST_F(ColorPickerTest, ATapBelowTheBoxesIsNotTaken) {
    auto picker = open();
    tap(*picker->palette(), {300, 300});
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_TRUE(isPresented());
}

TEST_F(ColorPickerTest, DoneAppliesTheOpeningColourWhenTheRainbowWasNotTouched) {
    auto picker = open();
    picker->done(nullptr);
    EXPECT_EQ(delegate.color, kOpening);
    EXPECT_FALSE(isPresented());
}

TEST_F(ColorPickerTest, TouchingTheRainbowPutsItsPixelInTheSwatch) {
    auto picker = open();
    RainbowColorView& rainbow = *picker->rainbow();
    ASSERT_TRUE(rainbow.image());
    tap(rainbow, {200.7f, 100.2f});
    const std::uint8_t* px = rainbow.image()->data() + (100 * rainbow.image()->width() + 200) * 4;
    const Color expected = Color::rgb(px[1] / 255.0f, px[2] / 255.0f, px[3] / 255.0f);
    EXPECT_EQ(*picker->swatch()->color(), expected);
    picker->done(nullptr);
    EXPECT_EQ(delegate.color, expected);
}

// The copy keeps the premultiplied bytes: a half-transparent pixel reads darker.
TEST(RainbowPicking, PremultipliedBytesGiveADarkerOpaqueColour) {
    auto rainbow = std::make_shared<RainbowColorView>(Rect(0, 0, 20, 20));
    auto swatch = std::make_shared<ColorSquareView>(Rect(0, 0, 10, 10));
    rainbow->setImage(solidPicture(20, 20, {128, 128, 64, 0}));
    rainbow->setColorSquareView(swatch);
    rainbow->createOffscreenVersion();
    EXPECT_EQ(rainbow->getPixelValueAt(3, 4), (ARGBColorBytes{128, 128, 64, 0}));
    EXPECT_EQ(RainbowColorView::ARGBtoUIColor({128, 128, 64, 0}),
              Color::rgb(128 / 255.0f, 64 / 255.0f, 0, 1));
}

TEST(RainbowPicking, WithoutACopyPickingGivesOpaqueBlack) {
    RainbowColorView rainbow;
    EXPECT_FALSE(rainbow.hasOffscreenVersion());
    EXPECT_EQ(rainbow.getPixelValueAt(1, 1), (ARGBColorBytes{255, 0, 0, 0}));
}

// The view is larger than its picture and the finger wanders past the edge:
// those points lie outside the copy's pixels and are never read.
TEST_F(ColorPickerTest, PointsOutsideTheRainbowsPixelsLeaveTheSwatchAlone) {
    auto picker = open();
    RainbowColorView& rainbow = *picker->rainbow();
    rainbow.setImage(solidPicture(100, 50, {255, 255, 0, 0}));
    rainbow.setFrame(Rect(rainbow.frame().origin, {200, 100}));
    // Shown at its own size, so what is shown under a finger is what is read.
    auto shown = shoot("rainbow-larger-than-its-picture");
    const Point red = rainbow.convertPointToView({90, 40}, nullptr);
    const Point beside = rainbow.convertPointToView({150, 40}, nullptr);
    EXPECT_EQ(pixelAt(*shown, int(red.x), int(red.y)), (Pixel{255, 255, 0, 0}));
    EXPECT_NE(pixelAt(*shown, int(beside.x), int(beside.y)), (Pixel{255, 255, 0, 0}));
    tap(rainbow, {150, 20}); // inside the view, right of the picture
    tap(rainbow, {20, 70});  // below it
    EXPECT_EQ(*picker->swatch()->color(), kOpening);
    drag(rainbow, {90, 40}, {130, 40}); // on the picture, then past its edge
    EXPECT_EQ(*picker->swatch()->color(), Color::rgb(1, 0, 0));
    picker->swatch()->setColor(kOpening);
    drag(rainbow, {10, 10}, {-30, -20}); // out through the top left corner
    EXPECT_EQ(*picker->swatch()->color(), Color::rgb(1, 0, 0));
}

TEST_F(ColorPickerTest, TheSwatchDroppedOnBoxThreeIsDroppedAgainByCancel) {
    const auto before = delegate.palette;
    auto picker = open();
    ColorChoiceView& palette = *picker->palette();
    drag(*picker->swatch(), {100, 30},
         palette.convertPointToView(palette.selectedBox(3).center(), picker->swatch()));
    EXPECT_EQ(palette.colorArray()[3], kOpening);
    picker->cancel(nullptr);
    EXPECT_EQ(delegate.palette, before);
    EXPECT_FALSE(delegate.called("setColorSelectionArray"));
}

TEST_F(ColorPickerTest, TheSwatchDroppedOnBoxThreeIsKeptByAChoice) {
    auto picker = open();
    ColorChoiceView& palette = *picker->palette();
    drag(*picker->swatch(), {100, 30},
         palette.convertPointToView(palette.selectedBox(3).center(), picker->swatch()));
    tap(palette, palette.selectedBox(0).center());
    EXPECT_EQ(delegate.palette[3], kOpening);
    EXPECT_EQ(delegate.palette.size(), 12u);
}

TEST_F(ColorPickerTest, TheSwatchLiftedAwayFromTheBoxesChangesNone) {
    const auto before = delegate.palette;
    auto picker = open();
    drag(*picker->swatch(), {100, 30}, {100, 60}); // lifted on the swatch itself
    picker->done(nullptr);
    EXPECT_EQ(delegate.palette, before);
}

TEST_F(ColorPickerTest, LandscapeMovesTheRainbowAndFlattensTheSwatch) {
    holdInLandscape();
    auto picker = open();
    EXPECT_EQ(picker->rainbow()->frame().origin, (Point{230, 70}));
    EXPECT_EQ(picker->swatch()->frame(), (Rect(230, 46, 240, 24)));
    EXPECT_EQ(picker->palette()->numColorBoxes(), 4);
    tap(*picker->palette(), {165, 115});
    EXPECT_EQ(delegate.color, delegate.palette[11]);
    shoot("color-picker-landscape");
}

TEST_F(PickerTest, TheColourWellActsOnAFingerWithinTenPointsOfIt) {
    auto well = std::make_shared<ToolbarColorView>(Rect(100, 100, 26, 26));
    int actions = 0;
    well->setTarget([&](platform::ActionSender* sender) {
        EXPECT_EQ(sender, well.get());
        ++actions;
    });
    presenter->view()->addSubview(well);
    tap(*well, {-9, 30});
    EXPECT_EQ(actions, 1);
    tap(*well, {-11, 13});
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(well->answersToPressName("Colour"));
    EXPECT_TRUE(well->answersToPressName("colorChoice:"));
}

TEST(ColourSquares, TheWellShowsItsPictureOrElseItsColour) {
    ToolbarColorView well(Rect(0, 0, 26, 26));
    auto c = platform::Context::createBitmap(26, 26, nullptr, platform::YAxis::Down);
    well.drawRect(*c, well.bounds());
    EXPECT_EQ(pixelAt(*c, 13, 13), (Pixel{0, 0, 0, 0}));
    well.setDisplayColor(Color::rgb(0, 1, 0));
    well.drawRect(*c, well.bounds());
    EXPECT_EQ(pixelAt(*c, 25, 25), (Pixel{255, 0, 255, 0}));
    well.setToolbarImage(solidPicture(10, 10, {255, 255, 0, 0}));
    well.drawRect(*c, well.bounds());
    EXPECT_EQ(pixelAt(*c, 9, 9), (Pixel{255, 255, 0, 0}));

    ColorButtonView square;
    auto s = platform::Context::createBitmap(27, 27, nullptr, platform::YAxis::Down);
    square.drawRect(*s, Rect(0, 0, 27, 27));
    EXPECT_EQ(pixelAt(*s, 26, 26), (Pixel{255, 0, 0, 255}));
}

} // namespace
} // namespace zorbel::testing
