// The keys people know, pressed in a real (offscreen) SDL window: each key
// goes through the window driver's key path to the app's shortcut table, and
// each test checks what the key is for: the pixels, the album, the sheet.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <SDL.h>

#include "AppTestSupport.h"
#include "app/KeyCommands.h"
#include "app/KeyHelpView.h"
#include "app/NewImageChoice.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/drivers/SdlDriver.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/PhotoAlbum.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::Point;

const ARGBColorBytes kWhite{255, 255, 255, 255};

class KeyShortcutsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        launch();
        auto made = platform::SdlDriver::create();
        if (!made)
            GTEST_SKIP() << "no SDL video: " << made.error();
        driver_ = std::move(made.value());
        // A white picture, so that a stroke shows.
        auto* context = canvas().offscreenPaintContext();
        context->setFillColor(Color::white());
        context->fillRect({0, 0, 320, 480});
        canvas().copyToUndoBuffer();
    }
    void TearDown() override {
        driver_.reset();
        AppTest::TearDown();
    }

    void stroke(Point from, Point to) {
        window().touchDown(1, from, 1);
        for (int i = 1; i <= 10; ++i)
            window().touchMove(1, Point{from.x + (to.x - from.x) * i / 10.0f,
                                        from.y + (to.y - from.y) * i / 10.0f});
        window().touchUp(1, to);
        wait(2);
    }
    void pushKey(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = SDL_GetWindowID(driver_->screen().window());
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    // Runs the window until the keys pushed so far are handled.
    void run() {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        driver_->run();
    }
    ARGBColorBytes strokePixel() { return shownPixel(canvas(), 160, 200); }
    std::size_t albumFileCount() const {
        const auto dir = platform::PhotoAlbum::directory();
        if (!std::filesystem::exists(dir))
            return 0;
        return std::size_t(std::distance(std::filesystem::directory_iterator(dir),
                                         std::filesystem::directory_iterator()));
    }

    std::unique_ptr<platform::SdlDriver> driver_;
};

TEST_F(KeyShortcutsTest, CtrlZUndoesTheStroke) {
    stroke({40, 200}, {280, 200});
    ASSERT_NE(strokePixel(), kWhite);
    pushKey(SDLK_z, KMOD_LCTRL);
    run();
    EXPECT_EQ(strokePixel(), kWhite);
}

// Undo is also redo: a second Ctrl+Z brings the stroke back.
TEST_F(KeyShortcutsTest, SecondCtrlZRedoes) {
    stroke({40, 200}, {280, 200});
    const ARGBColorBytes painted = strokePixel();
    pushKey(SDLK_z, KMOD_LCTRL);
    pushKey(SDLK_z, KMOD_LCTRL);
    run();
    EXPECT_EQ(strokePixel(), painted);
}

// Ctrl+Y and Ctrl+Shift+Z redo right after an undo, and never undo.
TEST_F(KeyShortcutsTest, RedoKeysActOnlyRightAfterAnUndo) {
    stroke({40, 200}, {280, 200});
    const ARGBColorBytes painted = strokePixel();
    pushKey(SDLK_y, KMOD_LCTRL);                // nothing to redo: the stroke stays
    pushKey(SDLK_z, KMOD_LCTRL | KMOD_LSHIFT);  // nor this one, which used to shake
    run();
    EXPECT_EQ(strokePixel(), painted);
    EXPECT_EQ(chrome().visibleSheet(), nullptr);
}

TEST_F(KeyShortcutsTest, CtrlYAfterCtrlZRedoesOnce) {
    stroke({40, 200}, {280, 200});
    const ARGBColorBytes painted = strokePixel();
    pushKey(SDLK_z, KMOD_LCTRL);
    pushKey(SDLK_y, KMOD_LCTRL);
    pushKey(SDLK_y, KMOD_LCTRL); // a second redo would undo again
    run();
    EXPECT_EQ(strokePixel(), painted);
}

TEST_F(KeyShortcutsTest, CtrlSWritesTheDirtyPictureToTheAlbumOnce) {
    stroke({40, 200}, {280, 200});
    ASSERT_TRUE(app().dirtyFlag());
    pushKey(SDLK_s, KMOD_LCTRL);
    pushKey(SDLK_s, KMOD_LCTRL); // saved already: nothing more to write
    run();
    EXPECT_EQ(albumFileCount(), 1u);
    EXPECT_FALSE(app().dirtyFlag());
}

// Ctrl+N asks "Save Image?" over a dirty picture; Escape is the sheet's
// Cancel, which keeps everything.
TEST_F(KeyShortcutsTest, EscapeCancelsTheSaveImageSheet) {
    stroke({40, 200}, {280, 200});
    const ARGBColorBytes painted = strokePixel();
    pushKey(SDLK_n, KMOD_LCTRL);
    run();
    ASSERT_NE(chrome().visibleSheet(), nullptr);
    EXPECT_EQ(chrome().visibleSheet()->title(), "Save Image?");
    driver_.reset();
    auto again = platform::SdlDriver::create();
    ASSERT_TRUE(again.ok());
    driver_ = std::move(again.value());
    pushKey(SDLK_ESCAPE);
    run();
    EXPECT_EQ(chrome().visibleSheet(), nullptr);
    EXPECT_FALSE(chrome().isModalViewShowing());
    EXPECT_EQ(strokePixel(), painted);
    EXPECT_TRUE(app().dirtyFlag());
}

// Erasing moved off Ctrl+Shift+Z to Ctrl+Backspace, which always asks; Return
// is not "Yes" there (the default never throws the picture away).
TEST_F(KeyShortcutsTest, CtrlBackspaceAsksBeforeErasing) {
    stroke({40, 200}, {280, 200});
    const ARGBColorBytes painted = strokePixel();
    app().setAskOnShake(false);
    pushKey(SDLK_BACKSPACE, KMOD_LCTRL);
    pushKey(SDLK_RETURN);
    run();
    ASSERT_NE(chrome().visibleSheet(), nullptr);
    EXPECT_EQ(chrome().visibleSheet()->title(), "Erase Image?");
    EXPECT_EQ(strokePixel(), painted);
    chrome().visibleSheet()->dismissWithClickedButtonIndex(0, false);
    EXPECT_EQ(strokePixel(), kWhite);
    EXPECT_FALSE(app().shaken());
}

// Return is the sheet's default: "Save" on "Save Image?" saves, then the
// new-document screen opens.
TEST_F(KeyShortcutsTest, ReturnOnTheSaveImageSheetSavesFirst) {
    stroke({40, 200}, {280, 200});
    pushKey(SDLK_n, KMOD_LCTRL);
    pushKey(SDLK_RETURN);
    run();
    EXPECT_EQ(albumFileCount(), 1u);
    EXPECT_TRUE(chrome().isModalViewShowing());
}

// F1 shows the keys over the window; any shortcut key closes it first, and
// Escape only closes it.
TEST_F(KeyShortcutsTest, F1ShowsTheKeysAndEscapeClosesThem) {
    pushKey(SDLK_F1);
    run();
    ASSERT_TRUE(app().keyCommands().isHelpShowing());
    EXPECT_EQ(window().subviews().back()->className(), "KeyHelpView");
    EXPECT_TRUE(app().keyCommands().helpLines().size() >= 12);
    driver_.reset();
    driver_ = std::move(platform::SdlDriver::create().value());
    pushKey(SDLK_ESCAPE);
    run();
    EXPECT_FALSE(app().keyCommands().isHelpShowing());
    EXPECT_NE(window().subviews().back()->className(), "KeyHelpView");
}

// Escape leaves present mode; P enters it.
TEST_F(KeyShortcutsTest, PEntersAndEscapeLeavesPresentMode) {
    pushKey(SDLK_p);
    run();
    ASSERT_TRUE(app().inPresentMode());
    driver_.reset();
    driver_ = std::move(platform::SdlDriver::create().value());
    pushKey(SDLK_ESCAPE);
    run();
    EXPECT_FALSE(app().inPresentMode());
}

// Ctrl+T opens the tool picker; Escape is its Cancel.
TEST_F(KeyShortcutsTest, CtrlTOpensTheToolPickerAndEscapeClosesIt) {
    pushKey(SDLK_t, KMOD_LCTRL);
    run();
    ASSERT_TRUE(chrome().isModalViewShowing());
    driver_.reset();
    driver_ = std::move(platform::SdlDriver::create().value());
    pushKey(SDLK_ESCAPE);
    run();
    wait(1);
    EXPECT_FALSE(chrome().isModalViewShowing());
}

// Ctrl+O is the new-document screen with the photo library picker open on
// it; over a dirty picture "Save Image?" comes first.
TEST_F(KeyShortcutsTest, CtrlOOpensThePhotoLibraryPicker) {
    pushKey(SDLK_o, KMOD_LCTRL);
    run();
    auto* choice = dynamic_cast<NewImageChoice*>(chrome().modalViewController());
    ASSERT_NE(choice, nullptr);
    EXPECT_NE(dynamic_cast<platform::ImagePickerController*>(choice->modalViewController()), nullptr);
}

TEST_F(KeyShortcutsTest, CtrlOAsksFirstOverADirtyPicture) {
    stroke({40, 200}, {280, 200});
    pushKey(SDLK_o, KMOD_LCTRL);
    run();
    EXPECT_EQ(chrome().modalViewController(), nullptr);
    bool asked = false;
    for (const auto& v : window().subviews())
        if (auto* sheet = dynamic_cast<platform::ActionSheet*>(v.get()); sheet && sheet->isVisible())
            asked = sheet->title() == "Save Image?";
    EXPECT_TRUE(asked);
}

} // namespace
} // namespace zorbel::testing
