// The interactive effects: the slider panel opens when the picker has gone,
// every movement recomputes the picture from the snapshot taken when it
// opened, OK keeps the result (the twirl rendered again, smoothly) and Cancel
// puts the snapshot back bit for bit.

#include "PipelineTestSupport.h"
#include "effects/ContrastLUT.h"
#include "effects/SingleChannelLUT.h"
#include "effects/TwirlImage3.h"
#include "platform/ui/Button.h"

namespace zorbel::testing {
namespace {

constexpr int kW = PaintingView::kCanvasWidth;
constexpr int kH = PaintingView::kCanvasHeight;

Pixels brightened(const Pixels& snapshot, int amount) {
    SingleChannelLUT table{};
    createBrightnessLUT(table, amount);
    Pixels out = snapshot;
    applySingleChannelLUTRaw(snapshot.data(), out.data(), kW, kH, table);
    return out;
}

Pixels twirled(const Pixels& snapshot, float amount, bool interpolate) {
    Pixels out = snapshot;
    twirlImage3(snapshot.data(), out.data(), kW, kH, amount, interpolate);
    return out;
}

class SliderPanelTest : public PipelineTest {};

TEST_F(SliderPanelTest, BrightnessOpensASliderFromMinus255To255AndMovingBackGivesThePictureBack) {
    const Pixels before = picture();
    app().setDirtyFlag(false);
    choose("setBrightnessTool:");
    ASSERT_NE(panel(), nullptr);
    EXPECT_EQ(app().filterTool(), Tool::BrightnessTool);
    EXPECT_TRUE(app().dirtyFlag());
    EXPECT_FALSE(chrome().areToolsShowing());
    EXPECT_EQ(panel()->view()->superview(), chrome().view().get());
    EXPECT_EQ(slider().minimumValue(), -255);
    EXPECT_EQ(slider().maximumValue(), 255);
    EXPECT_EQ(slider().value(), 0);
    EXPECT_NE(slider().minimumValueImage(), nullptr);
    EXPECT_NE(slider().maximumValueImage(), nullptr);
    EXPECT_TRUE(picture() == before);

    slide(100);
    EXPECT_TRUE(picture() == brightened(before, 100));
    slide(0);
    EXPECT_TRUE(picture() == before);
    slide(-255);
    slide(255);
    EXPECT_TRUE(picture() == brightened(before, 255));
}

TEST_F(SliderPanelTest, TheValueIsRoundedByAddingAHalfAndTruncatingTowardZero) {
    EXPECT_EQ(CanvoAppDelegate::sliderAmount(0.4f), 0);
    EXPECT_EQ(CanvoAppDelegate::sliderAmount(0.5f), 1);
    EXPECT_EQ(CanvoAppDelegate::sliderAmount(-0.4f), 0);
    EXPECT_EQ(CanvoAppDelegate::sliderAmount(-0.6f), 0);
    EXPECT_EQ(CanvoAppDelegate::sliderAmount(-1.6f), -1);
    EXPECT_EQ(CanvoAppDelegate::sliderAmount(-255.0f), -254);
    EXPECT_EQ(CanvoAppDelegate::sliderAmount(255.0f), 255);

    // The same through the panel, seen in the picture.
    const Pixels before = picture();
    choose("setBrightnessTool:");
    const std::pair<float, int> cases[] = {{0.4f, 0}, {0.5f, 1}, {-0.6f, 0}, {-1.6f, -1}};
    for (const auto& [value, amount] : cases) {
        slide(value);
        EXPECT_TRUE(picture() == brightened(before, amount)) << value;
    }
}

TEST_F(SliderPanelTest, CancelRestoresThePictureBitForBit) {
    const char* effects[] = {"setBrightnessTool:", "setContrastTool:", "setTwirlTool:"};
    for (const char* action : effects) {
        const Pixels before = picture();
        choose(action);
        ASSERT_NE(panel(), nullptr) << action;
        slide(slider().maximumValue() * 0.7f);
        slide(slider().minimumValue() * 0.3f);
        EXPECT_FALSE(picture() == before) << action;
        auto* cancel = panel()->view()->viewWithTag(ScreenSlidersViewController::kCancelTag);
        ASSERT_NE(dynamic_cast<platform::Button*>(cancel), nullptr);
        dynamic_cast<platform::Button*>(cancel)->sendActionsForControlEvents(
            platform::ControlEventTouchUpInside);
        EXPECT_EQ(panel(), nullptr) << action;
        EXPECT_EQ(app().filterTool(), Tool::NoTool) << action;
        EXPECT_TRUE(picture() == before) << action;
        wait(1);
        EXPECT_TRUE(chrome().areToolsShowing()) << action;
    }
}

TEST_F(SliderPanelTest, OkKeepsTheLastPreviewAndTheTwirlIsRenderedAgainSmoothly) {
    const Pixels before = picture();
    choose("setContrastTool:");
    EXPECT_EQ(slider().minimumValue(), -100);
    EXPECT_EQ(slider().maximumValue(), 100);
    slide(40.2f);
    const Pixels contrasted = picture();
    panel()->okButtonAction(nullptr);
    EXPECT_EQ(panel(), nullptr);
    EXPECT_TRUE(picture() == contrasted);
    chrome().undo(nullptr);
    EXPECT_TRUE(picture() == before); // the snapshot is the undo picture

    choose("setTwirlTool:");
    EXPECT_EQ(slider().minimumValue(), -2);
    EXPECT_EQ(slider().maximumValue(), 2);
    EXPECT_EQ(slider().minimumValueImage(), nullptr);
    slide(1.3f);
    const Pixels preview = twirled(before, 1.3f, false);
    EXPECT_TRUE(picture() == preview);
    panel()->okButtonAction(nullptr);
    const Pixels smooth = twirled(before, 1.3f, true);
    EXPECT_FALSE(smooth == preview);
    EXPECT_TRUE(picture() == smooth);
    EXPECT_EQ(app().filterTool(), Tool::NoTool);
    wait(1);
    EXPECT_TRUE(chrome().areToolsShowing());
}

TEST_F(SliderPanelTest, TheKeysMoveTheSliderAndAnswerOkAndCancel) {
    const Pixels before = picture();
    choose("setBrightnessTool:");
    ASSERT_TRUE(slider().isFirstResponder());
    window().key(platform::Key::Right);
    window().key(platform::Key::Right);
    EXPECT_FLOAT_EQ(slider().value(), 10.2f);
    EXPECT_TRUE(picture() == brightened(before, 10));
    window().key(platform::Key::Escape);
    EXPECT_EQ(panel(), nullptr);
    EXPECT_TRUE(picture() == before);

    choose("setBrightnessTool:");
    window().key(platform::Key::Left);
    window().key(platform::Key::Return);
    EXPECT_EQ(panel(), nullptr);
    EXPECT_TRUE(picture() == brightened(before, -4));
}

TEST_F(SliderPanelTest, APortraitPanelStaysAsItIsWhenTheDeviceTurns) {
    choose("setBrightnessTool:");
    platform::View& root = *panel()->view();
    auto origin = [&](int tag) { return root.viewWithTag(tag)->frame().origin; };
    EXPECT_EQ(root.frame().size, (platform::Size{320, 480}));
    EXPECT_EQ(origin(350), (platform::Point{11, 390}));
    EXPECT_EQ(root.viewWithTag(350)->frame().width(), 300);
    EXPECT_EQ(origin(360), (platform::Point{61, 420}));
    EXPECT_EQ(origin(370), (platform::Point{196, 420}));

    // A portrait document: the panel allows only portrait, and with the
    // toolbars hidden nothing turns.
    EXPECT_FALSE(panel()->shouldAutorotateToInterfaceOrientation(3));
    EXPECT_TRUE(panel()->shouldAutorotateToInterfaceOrientation(1));
    window().setDeviceOrientation(3);
    wait(1);
    EXPECT_EQ(window().interfaceOrientation(), 1);
    EXPECT_EQ(origin(350), (platform::Point{11, 390}));

    // A turn that does happen lays the panel out by the table.
    panel()->didRotateFromInterfaceOrientation(1);
    EXPECT_EQ(root.frame().size, (platform::Size{480, 320}));
    EXPECT_EQ(origin(350), (platform::Point{11, 220}));
    EXPECT_EQ(root.viewWithTag(350)->frame().width(), 460);
    EXPECT_EQ(origin(360), (platform::Point{60, 250}));
    EXPECT_EQ(origin(370), (platform::Point{360, 250}));
    panel()->didRotateFromInterfaceOrientation(3);
    EXPECT_EQ(origin(370), (platform::Point{196, 420}));
}

TEST_F(SliderPanelTest, ALandscapeDocumentGetsTheLandscapePanel) {
    app().setDocumentOrientation(3);
    window().setDeviceOrientation(3);
    wait(1);
    ASSERT_EQ(app().getCurrentOrientation(), 3);
    choose("setTwirlTool:");
    ASSERT_NE(panel(), nullptr);
    platform::View& root = *panel()->view();
    EXPECT_EQ(root.frame().size, (platform::Size{480, 320}));
    EXPECT_EQ(root.viewWithTag(350)->frame(), platform::Rect(11, 220, 460, 31));
    EXPECT_TRUE(panel()->shouldAutorotateToInterfaceOrientation(3));
    EXPECT_FALSE(panel()->shouldAutorotateToInterfaceOrientation(1));
}

TEST_F(SliderPanelTest, AMemoryWarningIsLoggedAndThePreviewGoesOnFromTheSnapshot) {
    const Pixels before = picture();
    choose("setBrightnessTool:");
    platform::clearLogCapture();
    platform::Application::shared().receiveMemoryWarning();
    EXPECT_TRUE(platform::logContains("******* didReceiveMemoryWarning ScreenSlidersVC"));
    slide(30);
    EXPECT_TRUE(picture() == brightened(before, 30));
}

TEST_F(SliderPanelTest, ShakesAreIgnoredWhileThePanelIsOpen) {
    choose("setContrastTool:");
    slide(50);
    const Pixels previewed = picture();
    platform::Accelerometer::shared().deliver(3, 0, -1);
    EXPECT_FALSE(app().shaken());
    EXPECT_TRUE(picture() == previewed);
    EXPECT_NE(panel(), nullptr);
}

} // namespace
} // namespace zorbel::testing
