// The settings screen edits a private copy that the back action hands over
// all at once, and the store is written only at termination; the finger
// offset screen sets centre - touch, (0, 0) at the centre and on a double
// tap, and only Done hands it over.

#include <fstream>

#include <nlohmann/json.hpp>

#include "AppTestSupport.h"
#include "app/FingerOffsetView.h"
#include "app/FingerOffsetViewController.h"
#include "app/SettingsViewController.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Button.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"

namespace zorbel::testing {
namespace {

using platform::Point;

class SettingsScreenTest : public AppTest {
protected:
    void settle() {
        platform::RunLoop::main().drain();
        platform::RunLoop::main().settle();
    }
    SettingsViewController& openSettings() {
        chrome().settings(nullptr);
        settle();
        auto* screen = dynamic_cast<SettingsViewController*>(chrome().modalViewController());
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
    // A switch flipped as a finger would: its value, then its action.
    static void flip(platform::Switch& s) {
        s.setOn(!s.isOn());
        s.sendActionsForControlEvents(platform::ControlEventValueChanged);
    }
    nlohmann::json storedSettings() {
        std::ifstream in(defaults().filePath());
        if (!in)
            return nlohmann::json::object();
        return nlohmann::json::parse(in, nullptr, false);
    }
};

TEST_F(SettingsScreenTest, BackHandsOverAllSixValuesAndOnlyTerminationStoresThem) {
    launch();
    app().setAskOnShake(true);
    app().setSmartShapesEnabled(false);
    app().setUseCropImage(false);
    app().setCursorDisplayFlag(true);
    app().setSmoothPaintBrushFlag(false);
    app().setSmoothPaintBrushAmount(20);
    SettingsViewController& screen = openSettings();
    EXPECT_TRUE(screen.askOnShakeSwitch()->isOn());
    EXPECT_FALSE(screen.geometricsSwitch()->isOn());
    EXPECT_TRUE(screen.cursorSwitch()->isOn());
    EXPECT_FLOAT_EQ(screen.smoothSlider()->value(), 20);

    flip(*screen.askOnShakeSwitch());
    flip(*screen.geometricsSwitch());
    flip(*screen.cropSwitch());
    flip(*screen.cursorSwitch());
    flip(*screen.smoothSwitch());
    screen.smoothSlider()->setValue(42);
    screen.smoothSlider()->sendActionsForControlEvents(platform::ControlEventValueChanged);
    // Only the copy changed.
    EXPECT_TRUE(app().askOnShake());
    EXPECT_FALSE(app().smartShapesEnabled());
    EXPECT_FLOAT_EQ(app().smoothPaintBrushAmount(), 20);

    screen.goBackAction(nullptr);
    settle();
    EXPECT_EQ(chrome().modalViewController(), nullptr);
    EXPECT_FALSE(app().askOnShake());
    EXPECT_TRUE(app().smartShapesEnabled());
    EXPECT_TRUE(app().useCropImage());
    EXPECT_FALSE(app().cursorDisplayFlag());
    EXPECT_TRUE(app().smoothPaintBrushFlag());
    EXPECT_FLOAT_EQ(app().smoothPaintBrushAmount(), 42);
    // Not in the store yet.
    const auto before = storedSettings();
    EXPECT_FALSE(before.contains("SmoothAmount") && before["SmoothAmount"] == 42.0);

    terminate();
    const auto stored = storedSettings();
    EXPECT_EQ(stored.value("ShakeCheck", true), false);
    EXPECT_EQ(stored.value("SmartFlag", false), true);
    EXPECT_EQ(stored.value("CropFlag", false), true);
    EXPECT_EQ(stored.value("CursorDisplay", true), false);
    EXPECT_EQ(stored.value("SmoothFlag", false), true);
    EXPECT_FLOAT_EQ(stored.value("SmoothAmount", 0.0f), 42);
}

TEST_F(SettingsScreenTest, FingerOffsetButtonSitsWhereTheOrientationSays) {
    launch();
    EXPECT_EQ(openSettings().fingerOffsetButton()->frame(),
              SettingsViewController::kFingerOffsetButtonPortrait);
    chrome().dismissModalViewControllerAnimated(false);
    chrome().didRotateFromInterfaceOrientation(1);
    SettingsViewController& screen = openSettings();
    EXPECT_EQ(screen.fingerOffsetButton()->frame(), platform::Rect(275, 55, 185, 40));
    EXPECT_EQ(screen.fingerOffsetButton()->currentTitle(), "Set Finger Offset");
    // Turning again makes a new button for the new orientation.
    auto old = screen.fingerOffsetButton();
    screen.didRotateFromInterfaceOrientation(1);
    EXPECT_NE(screen.fingerOffsetButton(), old);
    EXPECT_EQ(old->superview(), nullptr);
}

class FingerOffsetTest : public SettingsScreenTest {
protected:
    FingerOffsetViewController& openFingerOffset(SettingsViewController& settings) {
        settings.setFingerOffsetAction(nullptr);
        settle();
        auto* screen = dynamic_cast<FingerOffsetViewController*>(settings.modalViewController());
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
    // The centre of the offset view, in the window.
    Point centre(FingerOffsetViewController& screen) {
        FingerOffsetView* v = screen.offsetView();
        return v->convertPointToView(v->centerPoint(), nullptr);
    }
    // taps 0: the window counts (a second tap soon after makes a double tap).
    void tapAt(Point p, int taps = 0) {
        window().touchDown(1, p, taps);
        window().touchUp(1, p);
    }
};

TEST_F(FingerOffsetTest, OffsetIsCentreLessTouchAndZeroAtTheCentre) {
    launch();
    FingerOffsetViewController& screen = openFingerOffset(openSettings());
    FingerOffsetView* v = screen.offsetView();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->centerPoint(), (Point{160, 230}));
    const Point c = centre(screen);
    tapAt({c.x + 30, c.y + 40});
    EXPECT_EQ(screen.fingerOffset(), (Point{-30, -40}));
    wait(1);
    tapAt(c);
    EXPECT_EQ(screen.fingerOffset(), (Point{0, 0}));
}

TEST_F(FingerOffsetTest, DoubleTapResetsAndDrawsTheTouchCrossOnTheCentre) {
    launch();
    app().setFingerOffset({0, -32});
    FingerOffsetViewController& screen = openFingerOffset(openSettings());
    EXPECT_EQ(screen.fingerOffset(), (Point{0, -32}));
    const Point c = centre(screen);
    const Point far{c.x - 80, c.y + 100};
    tapAt(far);
    EXPECT_EQ(screen.fingerOffset(), (Point{80, -100}));
    tapAt(far); // the second tap of a double tap
    EXPECT_EQ(screen.fingerOffset(), (Point{0, 0}));
    // Drawn: black on the centre cross, nothing left where the finger was.
    FingerOffsetView* v = screen.offsetView();
    auto bitmap = platform::Context::createBitmap(320, 460, nullptr, platform::YAxis::Down);
    v->renderInContext(*bitmap);
    auto shot = bitmap->makeImage();
    auto at = [&](Point p) {
        const std::uint8_t* px = shot->data() + (std::size_t(p.y) * 320 + std::size_t(p.x)) * 4;
        return ARGBColorBytes{px[0], px[1], px[2], px[3]};
    };
    const Point vc = v->centerPoint();
    EXPECT_EQ(at({vc.x + 3, vc.y}), (ARGBColorBytes{255, 0, 0, 0}));
    EXPECT_EQ(at({vc.x - 80, vc.y + 100}), (ARGBColorBytes{255, 255, 255, 255}));
}

TEST_F(FingerOffsetTest, DoneHandsItToTheCanvasAndCancelChangesNothing) {
    launch();
    app().setFingerOffset({0, -32});
    SettingsViewController& settings = openSettings();
    FingerOffsetViewController& first = openFingerOffset(settings);
    const Point c = centre(first);
    tapAt({c.x + 50, c.y});
    first.done(nullptr);
    settle();
    EXPECT_EQ(app().fingerOffset(), (Point{-50, 0}));
    EXPECT_TRUE(canvas().touchState().showCursor);

    // Opened again in the same visit: it starts from the offset the settings
    // screen opened with, and Cancel leaves the canvas's as it is.
    FingerOffsetViewController& second = openFingerOffset(settings);
    EXPECT_EQ(second.fingerOffset(), (Point{0, -32}));
    wait(1);
    tapAt(c, 1);
    second.cancel(nullptr);
    settle();
    EXPECT_EQ(app().fingerOffset(), (Point{-50, 0}));

    // A small offset hides the cursor once applied.
    FingerOffsetViewController& third = openFingerOffset(settings);
    wait(1);
    tapAt(c);
    third.done(nullptr);
    settle();
    EXPECT_EQ(app().fingerOffset(), (Point{0, 0}));
    EXPECT_FALSE(canvas().touchState().showCursor);
}

TEST_F(FingerOffsetTest, TurnsOnlyToTheDocumentsOrientation) {
    launch();
    FingerOffsetViewController screen(Point{0, 0});
    app().setDocumentOrientation(1);
    EXPECT_TRUE(screen.shouldAutorotateToInterfaceOrientation(1));
    EXPECT_FALSE(screen.shouldAutorotateToInterfaceOrientation(3));
    app().setDocumentOrientation(3);
    EXPECT_TRUE(screen.shouldAutorotateToInterfaceOrientation(3));
    EXPECT_FALSE(screen.shouldAutorotateToInterfaceOrientation(1));
}

} // namespace
} // namespace zorbel::testing
