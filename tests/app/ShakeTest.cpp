// Shake to erase in the application: the "Erase Image?" sheet, the guards
// that ignore a shake, and the filter's rules seen from the device.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "platform/ui/ActivityIndicatorView.h"

namespace zorbel::testing {
namespace {

using platform::Color;

const ARGBColorBytes kWhite{255, 255, 255, 255};
const ARGBColorBytes kRed{255, 255, 0, 0};

class ShakeTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        launch();
        paintRed();
    }

    void paintRed() {
        auto* context = canvas().offscreenPaintContext();
        context->setFillColor(Color::rgb(1, 0, 0));
        context->fillRect({0, 0, 320, 480});
    }

    // One strong sample: 3 g sideways on top of the resting reading.
    void shake() { platform::Accelerometer::shared().deliver(3, 0, -1); }
    ARGBColorBytes picture() { return shownPixel(canvas(), 160, 240); }
};

TEST_F(ShakeTest, WeakMovementIsNoShake) {
    ASSERT_EQ(app().shakeFilter().filtered(), (std::array<double, 3>{0, 0, 0}));
    // High-passed: 2.2 - 0.22 = 1.98 g, just below the threshold.
    platform::Accelerometer::shared().deliver(2.2, 0, 0);
    EXPECT_FALSE(app().shaken());
    EXPECT_EQ(chrome().visibleSheet(), nullptr);
    EXPECT_EQ(app().shakeFilter().lastTime(), 0.0);
}

TEST_F(ShakeTest, ShakeAsksBeforeErasingAndYesErases) {
    app().setDirtyFlag(true);
    shake();
    EXPECT_TRUE(app().shaken());
    ASSERT_NE(chrome().visibleSheet(), nullptr);
    EXPECT_EQ(chrome().visibleSheet()->title(), "Erase Image?");
    EXPECT_EQ(chrome().visibleSheet()->tag(), 2);
    EXPECT_EQ(chrome().visibleSheet()->buttonTitleAtIndex(0), "Yes");
    EXPECT_EQ(chrome().visibleSheet()->buttonTitleAtIndex(1), "Cancel");
    EXPECT_EQ(picture(), kRed);

    chrome().visibleSheet()->dismissWithClickedButtonIndex(0, false);
    EXPECT_FALSE(app().shaken());
    EXPECT_FALSE(app().dirtyFlag());
    EXPECT_EQ(picture(), kWhite);
}

TEST_F(ShakeTest, CancelKeepsThePicture) {
    shake();
    ASSERT_NE(chrome().visibleSheet(), nullptr);
    chrome().visibleSheet()->dismissWithClickedButtonIndex(1, false);
    EXPECT_FALSE(app().shaken());
    EXPECT_EQ(picture(), kRed);
}

TEST_F(ShakeTest, ShakeLeavesPresentMode) {
    chrome().present(nullptr);
    ASSERT_FALSE(chrome().areToolsShowing());
    shake();
    EXPECT_FALSE(app().inPresentMode());
    EXPECT_TRUE(chrome().areToolsShowing());
}

TEST_F(ShakeTest, ShakesWhileTheSheetIsUpAreIgnoredButMoveTheClock) {
    shake();
    const double first = app().shakeFilter().lastTime();
    ASSERT_GT(first, 0.0);
    auto* sheet = chrome().visibleSheet();
    wait(0.3);
    shake(); // within half a second: not even the clock moves
    EXPECT_EQ(app().shakeFilter().lastTime(), first);
    wait(0.3);
    shake(); // later, but the sheet is still up
    EXPECT_GT(app().shakeFilter().lastTime(), first);
    EXPECT_EQ(chrome().visibleSheet(), sheet);
    EXPECT_TRUE(app().shaken());
    EXPECT_EQ(picture(), kRed);
}

TEST_F(ShakeTest, WithoutAskingAShakeErasesAtOnce) {
    app().setAskOnShake(false);
    shake();
    EXPECT_EQ(chrome().visibleSheet(), nullptr);
    EXPECT_FALSE(app().shaken());
    EXPECT_EQ(picture(), kWhite);

    // The next shake within half a second is the same shake ...
    paintRed();
    wait(0.3);
    shake();
    EXPECT_EQ(picture(), kRed);
    // ... after it, a new one.
    wait(0.3);
    shake();
    EXPECT_EQ(picture(), kWhite);
}

TEST_F(ShakeTest, ShakeDuringAnEffectOrASliderPanelIsIgnored) {
    app().setAskOnShake(false);
    auto spinner = std::make_shared<platform::ActivityIndicatorView>();
    spinner->startAnimating();
    app().setProgressView(spinner);
    ASSERT_TRUE(app().tooBusyForUserInteraction());
    shake();
    EXPECT_EQ(picture(), kRed);
    EXPECT_GT(app().shakeFilter().lastTime(), 0.0);

    spinner->stopAnimating();
    EXPECT_FALSE(app().tooBusyForUserInteraction());
    wait(0.6);
    shake();
    EXPECT_EQ(picture(), kWhite);
}

TEST_F(ShakeTest, ShakeDuringAModalScreenIsIgnored) {
    app().setAskOnShake(false);
    chrome().presentModalViewController(std::make_shared<platform::ViewController>(), false);
    ASSERT_TRUE(chrome().isModalViewShowing());
    shake();
    EXPECT_EQ(picture(), kRed);
    chrome().dismissModalViewControllerAnimated(false);
    wait(0.6);
    shake();
    EXPECT_EQ(picture(), kWhite);
}

TEST_F(ShakeTest, RestingDeviceNeverShakes) {
    app().setAskOnShake(false);
    wait(5); // 125 resting samples
    EXPECT_EQ(picture(), kRed);
    EXPECT_NEAR(app().shakeFilter().filtered()[2], -1.0, 1e-3);
}

TEST_F(ShakeTest, AccelerometerShakeGestureErases) {
    app().setAskOnShake(false);
    wait(1);
    platform::Accelerometer::shared().shake();
    wait(0.5);
    EXPECT_EQ(picture(), kWhite);
}

} // namespace
} // namespace zorbel::testing
