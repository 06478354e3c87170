// The shape and colour-brush pickers: the grid's geometry and scrolling for
// catalogues of any length, and what a chosen picture hands to the application.

#include <algorithm>

#include "PickerTestSupport.h"
#include "pickers/ColorBrushSelectionViewController.h"
#include "pickers/PickerGrid.h"
#include "pickers/PictureButton.h"
#include "pickers/ShapeSelectionViewController.h"
#include "platform/ui/ScrollView.h"

namespace zorbel::testing {
namespace {

using platform::Point;
using platform::Rect;

// Overlay pictures of the resources, repeated to the length asked for.
std::vector<std::string> overlays(std::size_t n) {
    const std::vector<std::string> some = {"shapearrow.png",       "papercrown.png",
                                           "glasses4.overlay.png", "catears.png",
                                           "crown2.overlay.png",   "tophat.overlay.png"};
    std::vector<std::string> names;
    for (std::size_t i = 0; i < n; ++i)
        names.push_back(some[i % some.size()]);
    return names;
}

std::vector<std::string> colorBrushes(std::size_t n) {
    const std::vector<std::string> some = {"colorbrushheart64.png", "starsbrush.png",
                                           "colorbrshheart32.png", "note.brush.png"};
    std::vector<std::string> names;
    for (std::size_t i = 0; i < n; ++i)
        names.push_back(some[i % some.size()]);
    return names;
}

PictureButton* buttonAt(platform::View& content, int index) {
    for (const auto& v : content.subviews())
        if (auto* b = dynamic_cast<PictureButton*>(v.get()); b && b->tag() == index)
            return b;
    return nullptr;
}

class GridPickersTest : public PickerTest {};

TEST_F(GridPickersTest, ShapeContentHeightsAndScrolling) {
    struct Case {
        std::size_t count;
        float height;
        float contentHeight;
        bool scrolls;
    };
    for (const Case& c :
         {Case{78, 1860, 1860, true}, Case{8, 330, 330, true}, Case{2, 150, 276, false}}) {
        ShapeSelectionViewController picker(delegate, overlays(c.count));
        (void)picker.view();
        platform::ScrollView& scroll = *picker.scrollView();
        EXPECT_EQ(picker.shapesView()->frame(), (Rect(0, 0, 320, c.height))) << c.count;
        EXPECT_EQ(scroll.contentSize(), (platform::Size{320, c.contentHeight})) << c.count;
        EXPECT_EQ(scroll.isScrollEnabled(), c.scrolls) << c.count;
        EXPECT_EQ(picker.shapesView()->subviews().size(), c.count + 1) << c.count; // + heading
    }
}

TEST_F(GridPickersTest, ColourBrushContentHeightOfFortyThree) {
    ColorBrushSelectionViewController picker(delegate, colorBrushes(43));
    (void)picker.view();
    EXPECT_EQ(picker.colorBrushView()->frame(), (Rect(0, 0, 320, 1030)));
    EXPECT_EQ(picker.scrollView()->contentSize(), (platform::Size{320, 1030}));
    EXPECT_TRUE(picker.scrollView()->isScrollEnabled());
    // 11 rows of 64-point buttons, 80 apart.
    PictureButton* last = buttonAt(*picker.colorBrushView(), 42);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->frame().size, (platform::Size{64, 64}));
    EXPECT_EQ(last->frame().origin.y, 800 + (64 - last->image()->size().height) / 2);
}

TEST_F(GridPickersTest, ThumbnailFiveSitsInTheCellAtNinetyAndOneFortyCentredByItsSize) {
    ShapeSelectionViewController picker(delegate, overlays(8));
    (void)picker.view();
    PictureButton* five = buttonAt(*picker.shapesView(), 5);
    ASSERT_NE(five, nullptr);
    const platform::ImageRef thumb = five->image();
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb, platform::Image::named("tophat.overlay.thumb.png"));
    EXPECT_EQ(five->frame(), (Rect(90 + (60 - thumb->size().width) / 2,
                                   140 + (60 - thumb->size().height) / 2, 60, 60)));
}

TEST_F(GridPickersTest, ThumbnailNamesDropTheExtensionForThumb) {
    EXPECT_EQ(ShapeSelectionViewController::imagenameToThumbName("shapearrow.png"),
              "shapearrow.thumb");
    EXPECT_EQ(ShapeSelectionViewController::imagenameToThumbName("tophat.overlay.png"),
              "tophat.overlay.thumb");
    EXPECT_EQ(ShapeSelectionViewController::imagenameToThumbName("ab"), "thumb");
}

TEST_F(GridPickersTest, AMissingThumbnailIsLoggedAndItsButtonStillMade) {
    ShapeSelectionViewController picker(delegate, {"shapearrow.png", "nosuchshape.png"});
    (void)picker.view();
    const auto lines = platform::logLines();
    const auto it = std::find(lines.begin(), lines.end(), "nosuchshape.png");
    ASSERT_NE(it, lines.end());
    ASSERT_NE(it + 1, lines.end());
    EXPECT_EQ(*(it + 1), "Overlay Thumbnail Not found!");
    PictureButton* missing = buttonAt(*picker.shapesView(), 1);
    ASSERT_NE(missing, nullptr);
    EXPECT_FALSE(missing->image());
    EXPECT_EQ(missing->frame(), (Rect(120, 90, 60, 60)));
}

TEST_F(GridPickersTest, ChoosingAShapeAddsItAsALayerAndCloses) {
    auto picker = present(std::make_shared<ShapeSelectionViewController>(delegate, overlays(78)));
    shoot("shape-picker");
    PictureButton& five = *buttonAt(*picker->shapesView(), 5);
    tap(five, five.bounds().center());
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"setOverlayIndex 5", "setDirtyFlag YES",
                                                        "AddShape tophat.overlay.png"}));
    EXPECT_FALSE(isPresented());
}

TEST_F(GridPickersTest, ADragOverTheThumbnailsScrollsAndChoosesNothing) {
    auto picker = present(std::make_shared<ShapeSelectionViewController>(delegate, overlays(78)));
    shoot("shape-picker");
    platform::ScrollView& scroll = *picker->scrollView();
    PictureButton& nine = *buttonAt(*picker->shapesView(), 9);
    drag(nine, nine.bounds().center(), {nine.bounds().center().x, -200});
    wait(3);
    EXPECT_GT(scroll.contentOffset().y, 150);
    EXPECT_LE(scroll.contentOffset().y, scroll.maximumContentOffset().y);
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_TRUE(isPresented());
    shoot("shape-picker-scrolled");
}

TEST_F(GridPickersTest, CancelChoosesNothing) {
    auto picker =
        present(std::make_shared<ColorBrushSelectionViewController>(delegate, colorBrushes(43)));
    picker->cancel(nullptr);
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_FALSE(isPresented());
}

TEST_F(GridPickersTest, AColourBrushSixtyFourWideSelectsTheToolAtSizeSixtyFour) {
    auto picker =
        present(std::make_shared<ColorBrushSelectionViewController>(delegate, colorBrushes(43)));
    shoot("colorbrush-picker");
    PictureButton& heart = *buttonAt(*picker->colorBrushView(), 4); // colorbrushheart64
    tap(heart, heart.bounds().center());
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{
                                  "setSelectedTool 19", "applyTool", "setColorBrushImage picture",
                                  "setBrushSize 64", "setColorBrushIndex 4"}));
    EXPECT_EQ(delegate.colorBrushImage, platform::Image::named("colorbrushheart64.png"));
    EXPECT_FALSE(isPresented());
}

TEST_F(GridPickersTest, AMissingColourBrushGivesAnEmptyBrushOfSizeZero) {
    auto picker = present(std::make_shared<ColorBrushSelectionViewController>(
        delegate, std::vector<std::string>{"starsbrush.png", "nosuchbrush.png"}));
    PictureButton& missing = *buttonAt(*picker->colorBrushView(), 1);
    EXPECT_FALSE(missing.image());
    picker->buttonPushed(&missing);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"setSelectedTool 19", "applyTool",
                                                        "setColorBrushImage none", "setBrushSize 0",
                                                        "setColorBrushIndex 1"}));
}

TEST_F(GridPickersTest, LandscapeContentIsFourHundredEightyWide) {
    holdInLandscape();
    auto shapes = present(std::make_shared<ShapeSelectionViewController>(delegate, overlays(78)));
    EXPECT_EQ(shapes->shapesView()->frame(), (Rect(0, 0, 480, 1860)));
    shoot("shape-picker-landscape");
    shapes->cancel(nullptr);
    wait(0.5);
    auto brushes =
        present(std::make_shared<ColorBrushSelectionViewController>(delegate, colorBrushes(43)));
    EXPECT_EQ(brushes->colorBrushView()->frame(), (Rect(0, 0, 480, 1030)));
    shoot("colorbrush-picker-landscape");
}

} // namespace
} // namespace zorbel::testing
