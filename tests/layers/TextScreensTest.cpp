// The two text screens as a person uses them: typing into the field, the
// keyboard's return key, Done, Cancel, New and the font buttons, in portrait
// and with a landscape document.

#include "LayersTestSupport.h"
#include "layers/LayerStack.h"
#include "layers/TextFontTable.h"
#include "layers/TextInputViewController.h"
#include "layers/TextSettingsUIView.h"
#include "layers/TextSettingsViewController.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Switch.h"
#include "platform/ui/ViewController.h"

namespace zorbel::testing {
namespace {

using platform::Point;
using platform::Rect;

class TextScreensTest : public LayersTest {
protected:
    void SetUp() override {
        LayersTest::SetUp();
        master = std::make_shared<platform::ViewController>();
        window->addSubview(master->view());
        master->view()->setFrame(Rect(0, 0, 320, 480));
    }

    template <class Screen>
    std::shared_ptr<Screen> present(std::shared_ptr<Screen> screen) {
        master->presentModalViewController(screen, true);
        settle();
        EXPECT_TRUE(screen->loadStatus().ok()) << screen->loadStatus().error();
        return screen;
    }
    void settle() { platform::RunLoop::main().advanceBy(1); }
    bool presented(const platform::ViewController& screen) const {
        return master->modalViewController() == &screen;
    }

    std::shared_ptr<platform::ViewController> master;
};

// --- Text settings screen ----------------------------------------------------

TEST_F(TextScreensTest, ANewCaptionIsItsTextSizePlusMarginsCentredOnTheScreen) {
    // A text that measures 50 x 70 makes a 470 x 190 layer.
    EXPECT_EQ(TextSettingsViewController::captionFrameForTextSize({50, 70}), Rect(0, 0, 470, 190));

    auto screen = present(std::make_shared<TextSettingsViewController>());
    // A new caption takes the keyboard at once, in the paint colour.
    ASSERT_TRUE(screen->textField()->isFirstResponder());
    EXPECT_EQ(screen->fontName(), "ArialRoundedMTBold");
    EXPECT_EQ(screen->fontColor(), delegate.selectedColor);
    window->insertText("Hello");
    screen->save();
    settle();

    ASSERT_EQ(delegate.added.size(), 1u);
    auto layer = delegate.added[0];
    EXPECT_EQ(layer->textString(), "Hello");
    EXPECT_EQ(layer->fontName(), "ArialRoundedMTBold");
    EXPECT_EQ(layer->fontSize(), 60);
    EXPECT_EQ(layer->fontColor(), delegate.selectedColor);
    const platform::Size text = layer->font()->sizeOfString("Hello");
    EXPECT_EQ(layer->bounds().size, (platform::Size{text.width + 420, text.height + 120}));
    EXPECT_EQ(layer->center(), (Point{160, 230}));
    EXPECT_EQ(layer->textOrigin(), (Point{210, 60}));
    EXPECT_EQ(layer->transform(), platform::AffineTransform::identity());
    EXPECT_EQ(layer->superview(), canvas.get());
    EXPECT_EQ(delegate.lastText, layer);
    EXPECT_TRUE(delegate.dirty);
    EXPECT_FALSE(presented(*screen));
}

TEST_F(TextScreensTest, EditingAMovedCaptionGivesAFreshUprightOneAndRemovesTheOld) {
    auto old = std::make_shared<TextLayerView>(Rect(0, 0, 500, 200));
    old->setTextString("Old words");
    old->setFontName("Georgia-Bold");
    old->setFont(platform::Font::fontWithName("Georgia-Bold", 60));
    old->setFontColor(platform::Color::rgb(0, 1, 0));
    canvas->addSubview(old);
    const auto turned = platform::AffineTransform::makeRotation(0.8f).scaled(1.7f, 1.7f);
    old->setOriginalTransform(turned);
    old->setTransform(turned);
    old->setCenter({40, 400});

    auto screen = present(std::make_shared<TextSettingsViewController>(old));
    EXPECT_EQ(screen->textField()->text(), "Old words");
    EXPECT_FALSE(screen->textField()->isFirstResponder()) << "editing does not pop the keyboard";
    screen->textField()->setText("New words");
    screen->save();
    settle();

    EXPECT_EQ(old->superview(), nullptr);
    ASSERT_EQ(delegate.added.size(), 1u);
    auto fresh = delegate.added[0];
    EXPECT_EQ(fresh->textString(), "New words");
    EXPECT_EQ(fresh->fontName(), "Georgia-Bold");
    EXPECT_EQ(fresh->fontColor(), platform::Color::rgb(0, 1, 0));
    EXPECT_EQ(fresh->center(), (Point{160, 230}));
    EXPECT_EQ(fresh->transform(), platform::AffineTransform::identity());
    EXPECT_EQ(canvas->subviews().back(), fresh);
}

TEST_F(TextScreensTest, ZapfinoIsMadeAtHalfTheSizeAndKeepsItAcrossTheArchive) {
    auto screen = present(std::make_shared<TextSettingsViewController>());
    screen->chooseFont(9);
    EXPECT_EQ(screen->fontName(), "Zapfino");
    ASSERT_TRUE(screen->font());
    EXPECT_EQ(screen->font()->pointSize(), 30);
    EXPECT_EQ(screen->fontSize(), 60) << "the buttons leave fontSize alone";
    for (int row = 0; row < 9; ++row) {
        screen->chooseFont(row);
        EXPECT_EQ(screen->font()->pointSize(), 60) << kTextFontTable[std::size_t(row)].fontName;
    }
    screen->chooseFont(9);
    window->insertText("Love");
    screen->save();
    ASSERT_EQ(delegate.added.size(), 1u);
    auto layer = delegate.added[0];
    // Stored at the size it is drawn at, so a relaunch does not double it.
    EXPECT_EQ(layer->fontSize(), 30);
    auto text = platform::KeyedArchiver::archivedDataWithRootObjects(
        std::vector<const platform::Codable*>{layer.get()});
    ASSERT_TRUE(text.ok());
    auto coder = platform::KeyedUnarchiver::unarchiverForReadingData(*text, LayerStack::registry());
    ASSERT_TRUE(coder.ok());
    auto back = coder->decodeObjects(platform::KeyedArchiver::rootKey);
    ASSERT_EQ(back.size(), 1u);
    auto restored = std::dynamic_pointer_cast<TextLayerView>(back[0]);
    EXPECT_EQ(restored->bounds().size, layer->bounds().size);
    EXPECT_EQ(restored->font()->pointSize(), 30);
}

TEST_F(TextScreensTest, EmptyTextKeepsTheKeyboardAndIsNeverSaved) {
    auto screen = present(std::make_shared<TextSettingsViewController>());
    auto field = screen->textField();
    ASSERT_TRUE(field->isFirstResponder());
    EXPECT_FALSE(field->isReturnKeyEnabled());
    EXPECT_FALSE(field->resignFirstResponder());
    EXPECT_TRUE(field->isFirstResponder());
    screen->save();
    settle();
    EXPECT_TRUE(delegate.added.empty());
    EXPECT_TRUE(presented(*screen));

    // With text the return key hides the keyboard and saves nothing yet.
    window->insertText("Hi");
    window->key(platform::Key::Return);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_TRUE(delegate.added.empty());
    EXPECT_TRUE(presented(*screen));
}

TEST_F(TextScreensTest, CancelChangesNothingAndNewStartsAgain) {
    auto old = std::make_shared<TextLayerView>(Rect(0, 0, 500, 200));
    old->setFontName("Helvetica-Bold");
    canvas->addSubview(old);
    auto screen = present(std::make_shared<TextSettingsViewController>(old));
    screen->textField()->becomeFirstResponder();
    window->insertText(" more");
    screen->newCaption();
    EXPECT_EQ(screen->textLayerView(), nullptr);
    EXPECT_EQ(screen->textField()->text(), "");
    EXPECT_EQ(screen->textField()->placeholder(), "Type text");
    EXPECT_EQ(screen->fontName(), "ArialRoundedMTBold");
    EXPECT_TRUE(screen->textField()->isFirstResponder());
    EXPECT_TRUE(presented(*screen));
    window->insertText("Typed");
    screen->cancel();
    settle();
    EXPECT_FALSE(presented(*screen));
    EXPECT_TRUE(delegate.added.empty());
    EXPECT_EQ(old->superview(), canvas.get());
}

TEST_F(TextScreensTest, TheSwitchesNameTheBoldAndItalicFaces) {
    auto screen = std::make_shared<TextSettingsViewController>();
    (void)screen->view();
    platform::Switch on;
    on.setOn(true);
    platform::Switch off;
    EXPECT_EQ(screen->addBoldAndItalic("Georgia"), "Georgia");
    screen->bold(&on);
    EXPECT_EQ(screen->addBoldAndItalic("Georgia"), "Georgia-Bold");
    screen->italic(&on);
    EXPECT_EQ(screen->addBoldAndItalic("Georgia"), "Georgia-BoldItalic");
    screen->bold(&off);
    EXPECT_EQ(screen->addBoldAndItalic("Georgia"), "Georgia-Italic");
}

TEST_F(TextScreensTest, InALandscapeDocumentTheSecondFontColumnStandsBesideTheFirst) {
    delegate.currentOrientation = 3;
    delegate.docOrientation = 3;
    auto screen = std::make_shared<TextSettingsViewController>();
    platform::View* root = screen->view().get();
    for (int tag = 6; tag <= 10; ++tag)
        EXPECT_EQ(root->viewWithTag(tag)->frame().origin, (Point{200, 110 + 30.0f * (tag - 6)}));
    EXPECT_EQ(root->viewWithTag(100)->frame().origin, (Point{350, 63}));
    const platform::Size size = root->viewWithTag(6)->frame().size;

    // Turned back to portrait they return under the first column.
    screen->didRotateFromInterfaceOrientation(3);
    for (int tag = 6; tag <= 10; ++tag) {
        EXPECT_EQ(root->viewWithTag(tag)->frame().origin, (Point{20, 260 + 30.0f * (tag - 6)}));
        EXPECT_EQ(root->viewWithTag(tag)->frame().size, size);
    }
    EXPECT_EQ(root->viewWithTag(100)->frame().origin, (Point{193, 107}));
    screen->didRotateFromInterfaceOrientation(1);
    EXPECT_EQ(root->viewWithTag(10)->frame().origin, (Point{200, 230}));

    EXPECT_TRUE(screen->shouldAutorotateToInterfaceOrientation(3));
    EXPECT_FALSE(screen->shouldAutorotateToInterfaceOrientation(1));
}

TEST_F(TextScreensTest, TheSelectedFontsButtonIsFramedInWhite) {
    auto screen = present(std::make_shared<TextSettingsViewController>());
    screen->textField()->resignFirstResponder();
    screen->chooseFont(2); // Georgia, tag 3
    settle();
    auto fb = composeWindow(*window, 1, "text-settings-georgia");
    const Rect georgia = screen->view()->viewWithTag(3)->convertRectToView(
        screen->view()->viewWithTag(3)->bounds(), nullptr);
    const Rect arial = screen->view()->viewWithTag(1)->convertRectToView(
        screen->view()->viewWithTag(1)->bounds(), nullptr);
    auto at = [&](float x, float y) {
        const std::uint8_t* p =
            fb->data() + std::size_t(y) * fb->bytesPerRow() + std::size_t(x) * 4;
        return std::array<int, 4>{p[0], p[1], p[2], p[3]};
    };
    const std::array<int, 4> white{255, 255, 255, 255};
    EXPECT_EQ(at(georgia.minX() + 2, georgia.minY()), white);
    EXPECT_EQ(at(georgia.minX(), georgia.maxY() - 1), white);
    EXPECT_NE(at(arial.minX() + 2, arial.minY()), white);
}

TEST_F(TextScreensTest, EveryFontButtonSendsItsFontAndAMemoryWarningIsLogged) {
    auto screen = std::make_shared<TextSettingsViewController>();
    platform::View* root = screen->view().get();
    for (const TextFontChoice& choice : kTextFontTable) {
        auto* button = dynamic_cast<platform::Control*>(root->viewWithTag(choice.tag));
        ASSERT_TRUE(button) << choice.action;
        EXPECT_TRUE(button->answersToPressName(choice.action));
        button->sendActionsForControlEvents(platform::ControlEventTouchUpInside);
        EXPECT_EQ(screen->fontName(), choice.fontName);
        EXPECT_EQ(dynamic_cast<TextSettingsUIView*>(root)->fontName(), choice.fontName);
    }
    screen->didReceiveMemoryWarning();
    EXPECT_TRUE(platform::logContains("******* didReceiveMemoryWarning TextsettingsVC"));
}

TEST_F(TextScreensTest, TheSettingsScreenLooksRightAtEveryScale) {
    // As on a touch screen: the keyboard comes up with the field.
    platform::Keyboard::setOnScreenEnabled(true);
    struct KeyboardOff {
        ~KeyboardOff() { platform::Keyboard::setOnScreenEnabled(false); }
    } keyboardOff;
    auto screen = present(std::make_shared<TextSettingsViewController>());
    window->insertText("Happy birthday");
    screen->chooseFont(4);
    settle();
    composeWindow(*window, 1, "text-settings");
    composeWindow(*window, 2, "text-settings");
    auto input = std::make_shared<TextInputViewController>();
    screen->cancel();
    settle();
    present(input);
    composeWindow(*window, 1, "text-input");
    composeWindow(*window, 2, "text-input");
    input->cancel();
    settle();

    // A landscape document: the screen turns with the device.
    delegate.currentOrientation = 3;
    delegate.docOrientation = 3;
    auto turned = present(std::make_shared<TextSettingsViewController>());
    window->setDeviceOrientation(3);
    settle();
    ASSERT_EQ(window->interfaceOrientation(), 3);
    composeWindow(*window, 1, "text-settings-landscape");
    composeWindow(*window, 2, "text-settings-landscape");
    platform::View* root = turned->view().get();
    EXPECT_EQ(root->viewWithTag(6)->frame().origin, (Point{200, 110}));
    // Nothing overlaps: the columns and the options group stay apart.
    const Rect options = root->viewWithTag(100)->frame();
    for (int tag = 1; tag <= 10; ++tag)
        EXPECT_FALSE(root->viewWithTag(tag)->frame().intersects(options)) << tag;
    EXPECT_LE(options.maxX(), root->bounds().width());
    EXPECT_LE(options.maxY(), root->bounds().height());
}

// --- Text entry screen -------------------------------------------------------

TEST_F(TextScreensTest, TheEntryScreenHandsItsTextOnOnceThroughDoneOrReturn) {
    auto screen = present(std::make_shared<TextInputViewController>());
    ASSERT_TRUE(screen->textField()->isFirstResponder());
    EXPECT_EQ(screen->textField()->text(), "Some Text");
    EXPECT_EQ(screen->textField()->returnKeyType(), platform::ReturnKeyDone);
    window->insertText("!");
    window->key(platform::Key::Return);
    settle();
    EXPECT_EQ(delegate.overlayTexts, std::vector<std::string>{"Some Text!"});
    EXPECT_FALSE(presented(*screen));

    auto again = present(std::make_shared<TextInputViewController>("Two"));
    again->save();
    settle();
    EXPECT_EQ(delegate.overlayTexts, (std::vector<std::string>{"Some Text!", "Two"}));
    EXPECT_FALSE(presented(*again));
}

TEST_F(TextScreensTest, TheEntryScreenWithEmptyTextOrCancelChangesNothing) {
    auto screen = present(std::make_shared<TextInputViewController>(""));
    screen->save();
    settle();
    EXPECT_FALSE(presented(*screen));
    auto cancelled = present(std::make_shared<TextInputViewController>("Kept back"));
    cancelled->cancel();
    settle();
    EXPECT_FALSE(presented(*cancelled));
    EXPECT_TRUE(delegate.overlayTexts.empty()) << "leaving the window must not save";
    cancelled->didReceiveMemoryWarning();
    EXPECT_TRUE(platform::logContains("******* didReceiveMemoryWarning TextInputView"));
}

TEST_F(TextScreensTest, AScreenAskedToQuitOnRevealGoesAwayAtOnce) {
    auto screen = std::make_shared<TextSettingsViewController>();
    screen->setQuitOnRevealFlag(true);
    present(screen);
    EXPECT_FALSE(presented(*screen));
}

} // namespace
} // namespace zorbel::testing
