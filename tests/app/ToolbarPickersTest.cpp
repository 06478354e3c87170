// The pickers the toolbar opens: which one each tool gets, what it is given,
// and the colour well that shows the paint colour and opens the colour picker.
#include "tests/app/AppTestSupport.h"

#include "layers/TextSettingsViewController.h"
#include "pickers/BrushChoiceViewController.h"
#include "pickers/ColorBrushSelectionViewController.h"
#include "pickers/ColorButtonView.h"
#include "pickers/ColorChoiceViewController.h"
#include "pickers/ShapeSelectionViewController.h"
#include "pickers/ToolbarColorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"

namespace zorbel::testing {
namespace {

class ToolbarPickersTest : public AppTest {
protected:
    // The screen the brush button opens for `tool`, or null.
    std::shared_ptr<platform::ViewController> brushPickerFor(Tool tool) {
        app().setSelectedTool(tool);
        chrome().brushChoice(nullptr);
        std::shared_ptr<platform::ViewController> picker;
        if (chrome().modalViewController()) {
            picker = chrome().modalViewController()->shared_from_this();
            chrome().dismissModalViewControllerAnimated(false);
            wait(1);
        }
        return picker;
    }

    std::shared_ptr<platform::ViewController> modal() {
        auto* shown = chrome().modalViewController();
        return shown ? shown->shared_from_this() : nullptr;
    }

    std::shared_ptr<platform::View> colorItemView() {
        return chrome().bottomToolbar()->items().at(NewMasterViewController::kColorItemIndex)->customView();
    }
};

TEST_F(ToolbarPickersTest, TheBrushButtonOpensThePickerOfTheSelectedTool) {
    launch();
    // Opacity and blend mode are offered for the paint brush alone.
    for (Tool tool : {Tool::PaintBrushTool, Tool::EraserTool, Tool::CloneTool}) {
        auto brushes = std::dynamic_pointer_cast<BrushChoiceViewController>(brushPickerFor(tool));
        ASSERT_TRUE(brushes) << int(tool);
        EXPECT_EQ(brushes->interfaceName(), "BrushImageChoice");
        EXPECT_EQ(brushes->showSliderModes(), tool == Tool::PaintBrushTool) << int(tool);
    }
    auto colorBrushes =
        std::dynamic_pointer_cast<ColorBrushSelectionViewController>(brushPickerFor(Tool::ColorBrushTool));
    ASSERT_TRUE(colorBrushes);
    EXPECT_EQ(colorBrushes->imageNameArray().size(), 43u);
    auto shapes = std::dynamic_pointer_cast<ShapeSelectionViewController>(brushPickerFor(Tool::ShapeTool));
    ASSERT_TRUE(shapes);
    EXPECT_EQ(shapes->imageNameArray().size(), 78u);
    EXPECT_TRUE(std::dynamic_pointer_cast<TextSettingsViewController>(brushPickerFor(Tool::TextTool)));
    // The eyedropper and the effects have no brush to choose.
    for (Tool tool : {Tool::EyeDropperTool, Tool::TwirlTool, Tool::SepiaTool})
        EXPECT_FALSE(brushPickerFor(tool)) << int(tool);
}

TEST_F(ToolbarPickersTest, ABrushChosenInThePickerPaintsAndIsKept) {
    launch();
    app().setSelectedTool(Tool::PaintBrushTool);
    chrome().brushChoice(nullptr);
    auto picker = std::dynamic_pointer_cast<BrushChoiceViewController>(modal());
    ASSERT_TRUE(picker);
    picker->brushOpacitySlider()->setValue(0.5f);
    picker->blendModeControl()->setSelectedSegmentIndex(3);
    picker->brushIndexWasSelected(6);
    picker->allDone();
    wait(1);
    EXPECT_FALSE(chrome().modalViewController());
    EXPECT_EQ(app().blendMode(), platform::BlendMode::Darken);
    EXPECT_FLOAT_EQ(app().brushAlpha(), 0.5f);
    EXPECT_EQ(app().settings().brushIndex, 6);
}

TEST_F(ToolbarPickersTest, AShapeChosenInThePickerIsLaidOverThePainting) {
    launch();
    app().setSelectedTool(Tool::ShapeTool);
    chrome().brushChoice(nullptr);
    auto picker = std::dynamic_pointer_cast<ShapeSelectionViewController>(modal());
    ASSERT_TRUE(picker);
    auto* tophat = picker->shapesView()->viewWithTag(10);
    ASSERT_TRUE(tophat);
    picker->buttonPushed(tophat);
    wait(1);
    EXPECT_FALSE(chrome().modalViewController());
    ASSERT_TRUE(app().lastMovedTouchImageView());
    EXPECT_EQ(app().overlayIndex(), 10);
    EXPECT_TRUE(app().dirtyFlag());
}

TEST_F(ToolbarPickersTest, TheColourWellShowsThePaintColourAndOpensThePicker) {
    launch();
    const platform::Color red = platform::Color::rgb(1, 0, 0);
    app().setColor(red);
    auto well = std::dynamic_pointer_cast<ToolbarColorView>(colorItemView());
    ASSERT_TRUE(well);
    EXPECT_EQ(well->frame().size, (platform::Size{26, 26})); // placed by the toolbar
    ASSERT_TRUE(well->toolbarImage());
    const std::uint8_t* argb = well->toolbarImage()->data();
    EXPECT_EQ((std::vector<int>{argb[0], argb[1], argb[2], argb[3]}), (std::vector<int>{255, 255, 0, 0}));

    well->doAction();
    auto picker = std::dynamic_pointer_cast<ColorChoiceViewController>(modal());
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->color(), red);
    // A colour chosen there is the canvas's and the well's.
    const platform::Color green = platform::Color::rgb(0, 1, 0);
    picker->colorWasSelected(green);
    wait(1);
    EXPECT_FALSE(chrome().modalViewController());
    EXPECT_EQ(app().getSelectedColor(), green);
    EXPECT_EQ(chrome().color(), green);
    EXPECT_NE(colorItemView(), well);
}

TEST_F(ToolbarPickersTest, AToolbarStartsWithAPlainColourSquare) {
    launch();
    NewMasterViewController fresh;
    ASSERT_TRUE(fresh.view());
    auto square = std::dynamic_pointer_cast<ColorButtonView>(
        fresh.bottomToolbar()->items().at(NewMasterViewController::kColorItemIndex)->customView());
    ASSERT_TRUE(square);
    EXPECT_EQ(square->frame().size, (platform::Size{27, 27}));
}

} // namespace
} // namespace zorbel::testing
