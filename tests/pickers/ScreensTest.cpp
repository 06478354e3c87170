// Each picker as a person sees it, at one and two pixels a point, upright
// and in landscape: the artwork is where the grids say. (Set
// ZORBEL_PICKER_SHOTS to a folder to keep the pictures.)

#include "PickerTestSupport.h"
#include "pickers/BrushChoiceViewController.h"
#include "pickers/BrushImageChoiceView.h"
#include "pickers/ColorBrushSelectionViewController.h"
#include "pickers/ColorChoiceView.h"
#include "pickers/ColorChoiceViewController.h"
#include "pickers/ColorSquareView.h"
#include "pickers/RainbowColorView.h"
#include "pickers/ShapeSelectionViewController.h"

namespace zorbel::testing {
namespace {

using platform::Point;

struct Look {
    bool landscape;
    float scale;
    std::string name() const { return std::string(landscape ? "landscape" : "portrait"); }
};

class ScreensTest : public PickerTest, public ::testing::WithParamInterface<Look> {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        if (GetParam().landscape)
            holdInLandscape();
    }
    // The pixel shown at a point of `view`.
    Pixel shownAt(const platform::Context& frame, platform::View& view, Point p, float scale) {
        const Point w = view.convertPointToView(p, nullptr);
        return pixelAt(frame, int(w.x * scale), int(w.y * scale));
    }
};

bool isBackground(const Pixel& p) {
    return p == Pixel{255, 0xDC, 0xDC, 0xD6};
}

TEST_P(ScreensTest, BrushPicker) {
    {
        const Look& l = GetParam();
        auto picker = present(std::make_shared<BrushChoiceViewController>(delegate, true));
        auto frame = shoot("brushes-" + l.name(), l.scale);
        // brushhard64, a black disc, fills its cell: row 0, column 6 in
        // landscape's 7 columns, row 1, column 1 in portrait's 5.
        const Point centre = l.landscape ? Point{6 * 64 + 32, 32} : Point{96, 96};
        EXPECT_EQ(shownAt(*frame, *picker->brushView(), centre, l.scale), (Pixel{255, 0, 0, 0}))
            << l.name() << " " << l.scale;
    }
}

TEST_P(ScreensTest, ColourPicker) {
    {
        const Look& l = GetParam();
        auto picker = present(
            std::make_shared<ColorChoiceViewController>(delegate, platform::Color::rgb(1, 0, 0)));
        auto frame = shoot("colours-" + l.name(), l.scale);
        const Pixel box0 = shownAt(*frame, *picker->palette(), {30, 30}, l.scale);
        const platform::Color c0 = delegate.palette[0];
        EXPECT_EQ(box0, (Pixel{255, int(c0.red() * 255 + 0.5f), int(c0.green() * 255 + 0.5f),
                               int(c0.blue() * 255 + 0.5f)}))
            << l.name() << " " << l.scale;
        EXPECT_EQ(shownAt(*frame, *picker->swatch(), {5, 5}, l.scale), (Pixel{255, 255, 0, 0}));
        const platform::Image& rainbow = *picker->rainbow()->image();
        const std::uint8_t* px = rainbow.data() + (90 * rainbow.width() + 120) * 4;
        const Pixel shown = shownAt(*frame, *picker->rainbow(), {120.25f, 90.25f}, l.scale);
        // Two pixels a point blend neighbours a little.
        const int slack = l.scale == 1 ? 0 : 3;
        EXPECT_NEAR(shown.r, px[1], slack) << l.name() << " " << l.scale;
        EXPECT_NEAR(shown.g, px[2], slack) << l.name() << " " << l.scale;
        EXPECT_NEAR(shown.b, px[3], slack) << l.name() << " " << l.scale;
    }
}

TEST_P(ScreensTest, ShapePicker) {
    std::vector<std::string> names = {"tophat.overlay.png", "crown2.overlay.png",
                                      "shapetalkbubble.png", "fullbeard.overlay.png"};
    {
        const Look& l = GetParam();
        auto picker = present(std::make_shared<ShapeSelectionViewController>(delegate, names));
        auto frame = shoot("shapes-" + l.name(), l.scale);
        platform::View& content = *picker->shapesView();
        for (int i = 0; i < 4; ++i) {
            const Point cellCentre{80.0f * float(i) + 40, 90};
            EXPECT_FALSE(isBackground(shownAt(*frame, content, cellCentre, l.scale)))
                << names[std::size_t(i)] << " " << l.name() << " " << l.scale;
        }
        EXPECT_TRUE(isBackground(shownAt(*frame, content, {40, 165}, l.scale)));
    }
}

// A 32-point brush is shown at its own size in the middle of its cell.
TEST_P(ScreensTest, ColourBrushPicker) {
    std::vector<std::string> names = {"colorbrushheart64.png", "colorbrshheart32.png"};
    {
        const Look& l = GetParam();
        auto picker = present(std::make_shared<ColorBrushSelectionViewController>(delegate, names));
        auto frame = shoot("colourbrushes-" + l.name(), l.scale);
        platform::View& content = *picker->colorBrushView();
        EXPECT_FALSE(isBackground(shownAt(*frame, content, {42, 32}, l.scale)));
        EXPECT_FALSE(isBackground(shownAt(*frame, content, {122, 34}, l.scale)));
        EXPECT_TRUE(isBackground(shownAt(*frame, content, {122, 54}, l.scale)));
        EXPECT_TRUE(isBackground(shownAt(*frame, content, {140, 34}, l.scale)));
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, ScreensTest,
                         ::testing::Values(Look{false, 1}, Look{false, 2}, Look{true, 1},
                                           Look{true, 2}),
                         [](const ::testing::TestParamInfo<Look>& info) {
                             return info.param.name() + "x" + std::to_string(int(info.param.scale));
                         });

} // namespace
} // namespace zorbel::testing
