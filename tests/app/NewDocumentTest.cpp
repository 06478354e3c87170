// A new document from the toolbar: the new-document screen, the background
// sheets (layers removed, both screens closed), a photo from the library with
// and without "CropFlag", the camera that is not there, and a failed album
// write that the person is told about.

#include <fstream>

#include "AppTestSupport.h"
#include "app/CleanBackgroundViewController.h"
#include "app/NewImageChoice.h"
#include "layers/TextLayerView.h"
#include "layers/TouchImageView.h"
#include "platform/graphics/Context.h"
#include "platform/imagepicker/Camera.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/imagepicker/PhotoCellView.h"
#include "platform/imagepicker/PhotoGridView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/PhotoAlbum.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::ImageRef;
using platform::Rect;

ImageRef filled(int w, int h, const Color& c) {
    auto bitmap = platform::Context::createBitmap(w, h, nullptr, platform::YAxis::Down);
    bitmap->setFillColor(c);
    bitmap->fillRect(Rect(0, 0, float(w), float(h)));
    return bitmap->makeImage();
}

// The middle of a background sheet's picture.
ARGBColorBytes sheetColour(const char* name) {
    auto sheet = platform::Image::named(name);
    const std::uint8_t* p = sheet->data() + (std::size_t(240) * std::size_t(sheet->width()) + 160) * 4;
    return {p[0], p[1], p[2], p[3]};
}

const ARGBColorBytes kRed{255, 255, 0, 0};
const ARGBColorBytes kGreen{255, 0, 255, 0};

class NewDocumentTest : public AppTest {
protected:
    void TearDown() override {
        platform::ImagePickerController::setCameraFactory({});
        AppTest::TearDown();
    }
    void settle() {
        platform::RunLoop::main().drain();
        platform::RunLoop::main().settle();
    }
    // Two views on the canvas standing for overlay and text layers.
    void addLayers() {
        canvas().addSubview(std::make_shared<TouchImageView>(Rect(10, 10, 50, 50)));
        canvas().addSubview(std::make_shared<TextLayerView>(Rect(60, 60, 50, 50)));
    }
    NewImageChoice* newImageScreen() {
        return dynamic_cast<NewImageChoice*>(chrome().modalViewController());
    }
    NewImageChoice& openNewImageScreen() {
        chrome().add(nullptr);
        settle();
        NewImageChoice* screen = newImageScreen();
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
};

TEST_F(NewDocumentTest, CleanPictureGoesStraightToTheThreeButtons) {
    launch();
    NewImageChoice& screen = openNewImageScreen();
    EXPECT_EQ(screen.canvoViewController(), app().canvoViewController());
    const std::shared_ptr<platform::Button> buttons[] = {
        screen.newButton(), screen.photoAlbumButton(), screen.cameraButton()};
    const char* titles[] = {"New", "Photo Album", "Take Photo"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(buttons[i], nullptr);
        EXPECT_EQ(buttons[i]->currentTitle(), titles[i]);
        EXPECT_EQ(buttons[i]->frame(), Rect(60, 100 + 60.0f * float(i), 200, 40));
        EXPECT_EQ(buttons[i]->titleColorForState(platform::ControlStateNormal), Color::black());
    }
    // Added in that order, after what the interface file holds.
    const auto& subs = screen.view()->subviews();
    ASSERT_GE(subs.size(), 3u);
    EXPECT_EQ(subs[subs.size() - 3], buttons[0]);
    EXPECT_EQ(subs[subs.size() - 1], buttons[2]);
    screen.cancel(nullptr);
    settle();
    EXPECT_EQ(chrome().modalViewController(), nullptr);
}

TEST_F(NewDocumentTest, SheetRemovesTheLayersBecomesTheBackgroundAndBothScreensClose) {
    launch();
    addLayers();
    app().setDirtyFlag(true);
    // Dirty: the question first; "No" goes on without saving.
    chrome().add(nullptr);
    ASSERT_NE(chrome().visibleSheet(), nullptr);
    chrome().actionSheetClickedButtonAtIndex(*chrome().visibleSheet(), 0);
    settle();
    NewImageChoice* screen = newImageScreen();
    ASSERT_NE(screen, nullptr);
    screen->newImage(nullptr);
    settle();
    auto* sheets = dynamic_cast<CleanBackgroundViewController*>(screen->modalViewController());
    ASSERT_NE(sheets, nullptr);
    EXPECT_EQ(sheets->scrollView()->contentSize(), CleanBackgroundViewController::kPortraitContent);
    EXPECT_EQ(sheets->view()->viewWithTag(500)->frame().size,
              CleanBackgroundViewController::kPortraitContent);
    EXPECT_EQ(sheets->newImageChoice().get(), screen);

    // "blackAction:" is the third sheet.
    ASSERT_STREQ(CleanBackgroundViewController::sheets()[2].action, "blackAction:");
    sheets->chooseSheet(2);
    EXPECT_TRUE(canvas().subviews().empty());
    EXPECT_FALSE(app().dirtyFlag());
    const ARGBColorBytes black = sheetColour("blackvert480.png");
    EXPECT_LT(black.red, 40);
    EXPECT_EQ(shownPixel(canvas(), 160, 240), black);
    EXPECT_TRUE(screen->quitOnRevealFlag());
    settle();
    // The sheet screen closed, then the new-document screen as it showed again.
    EXPECT_EQ(chrome().modalViewController(), nullptr);
    // The eraser brings back the sheet, not the picture before it.
    app().eraseToOriginal();
    EXPECT_EQ(shownPixel(canvas(), 20, 20), black);
}

TEST_F(NewDocumentTest, SheetScreenIsTallerAndWiderInALandscapeInterface) {
    launch();
    chrome().didRotateFromInterfaceOrientation(1); // the toolbar now stands in landscape
    ASSERT_EQ(app().getCurrentOrientation(), 3);
    auto choice = std::make_shared<NewImageChoice>();
    auto sheets = std::make_shared<CleanBackgroundViewController>(choice.get());
    (void)sheets->view();
    EXPECT_EQ(sheets->scrollView()->contentSize(), CleanBackgroundViewController::kLandscapeContent);
    EXPECT_EQ(sheets->view()->viewWithTag(500)->frame().size,
              CleanBackgroundViewController::kLandscapeContent);
}

TEST_F(NewDocumentTest, CancellingTheSheetsKeepsThePictureAndTheNewImageScreen) {
    launch();
    addLayers();
    app().setDirtyFlag(true);
    NewImageChoice& screen = *[&] {
        chrome().doAddImage();
        settle();
        return newImageScreen();
    }();
    screen.newImage(nullptr);
    settle();
    auto* sheets = dynamic_cast<CleanBackgroundViewController*>(screen.modalViewController());
    ASSERT_NE(sheets, nullptr);
    sheets->cancelAction(nullptr);
    settle();
    EXPECT_EQ(chrome().modalViewController(), &screen);
    EXPECT_EQ(canvas().subviews().size(), 2u);
    EXPECT_TRUE(app().dirtyFlag());
}

// The picker's edited picture is a green square; the original a red
// landscape picture.
struct Picked {
    ImageRef edited = filled(300, 300, Color::rgb(0, 1, 0));
    platform::ImagePickerEditingInfo info{filled(480, 320, Color::rgb(1, 0, 0)),
                                          Rect(90, 10, 300, 300)};
};

TEST_F(NewDocumentTest, WithoutCropFlagTheWholeOriginalIsUsed) {
    launch();
    app().setUseCropImage(false);
    addLayers();
    app().setDirtyFlag(true);
    Picked picked;
    NewImageChoice screen;
    screen.setCanvoViewController(app().canvoViewController());
    screen.newImageObtained(picked.edited, picked.info);
    EXPECT_FALSE(app().wasCropped());
    EXPECT_TRUE(canvas().subviews().empty());
    EXPECT_FALSE(app().dirtyFlag());
    // A landscape original is shown turned: a landscape document.
    EXPECT_EQ(app().documentOrientation(), 3);
    EXPECT_EQ(shownPixel(canvas(), 160, 240), kRed);
}

TEST_F(NewDocumentTest, WithCropFlagTheEditedPictureIsUsed) {
    launch();
    app().setUseCropImage(true);
    Picked picked;
    NewImageChoice screen;
    screen.setCanvoViewController(app().canvoViewController());
    screen.newImageObtained(picked.edited, picked.info);
    EXPECT_TRUE(app().wasCropped());
    EXPECT_EQ(app().documentOrientation(), 1);
    EXPECT_EQ(shownPixel(canvas(), 160, 240), kGreen);
    EXPECT_FALSE(app().dirtyFlag());
}

TEST_F(NewDocumentTest, PhotoFromTheLibraryClosesThePickerAndTheScreenTogether) {
    launch();
    app().setUseCropImage(true);
    // One red picture in the album folder, which the library lists.
    std::ofstream(platform::PhotoAlbum::directory() / "red.png", std::ios::binary) << [] {
        auto png = filled(200, 300, Color::rgb(1, 0, 0))->pngData();
        return std::string(png->begin(), png->end());
    }();
    NewImageChoice& screen = openNewImageScreen();
    screen.getPhoto(nullptr);
    settle();
    auto* picker = dynamic_cast<platform::ImagePickerController*>(screen.modalViewController());
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->allowsImageEditing());
    EXPECT_FALSE(app().wasFromCamera());
    picker->chooseEntry(0);
    ASSERT_EQ(picker->stage(), platform::ImagePickerController::Stage::Editing);
    picker->choose(nullptr);
    settle();
    EXPECT_EQ(chrome().modalViewController(), nullptr);
    EXPECT_EQ(shownPixel(canvas(), 160, 240), kRed);
    EXPECT_TRUE(app().wasCropped());
}

TEST_F(NewDocumentTest, CancellingThePickerReturnsToTheNewImageScreen) {
    launch();
    NewImageChoice& screen = openNewImageScreen();
    screen.getPhoto(nullptr);
    settle();
    auto* picker = dynamic_cast<platform::ImagePickerController*>(screen.modalViewController());
    ASSERT_NE(picker, nullptr);
    picker->cancel(nullptr);
    settle();
    EXPECT_EQ(chrome().modalViewController(), &screen);
    EXPECT_EQ(screen.modalViewController(), nullptr);
}

TEST_F(NewDocumentTest, WithoutACameraTakePhotoClosesTheScreenAndChangesNothing) {
    launch();
    platform::ImagePickerController::setCameraFactory([] { return std::unique_ptr<platform::Camera>(); });
    addLayers();
    const ARGBColorBytes before = shownPixel(canvas(), 160, 240);
    NewImageChoice& screen = openNewImageScreen();
    EXPECT_FALSE(screen.startCameraPickerFromViewController(&screen, &screen));
    screen.takePhoto(nullptr);
    settle();
    EXPECT_EQ(chrome().modalViewController(), nullptr);
    EXPECT_EQ(canvas().subviews().size(), 2u);
    EXPECT_EQ(shownPixel(canvas(), 160, 240), before);
    EXPECT_FALSE(app().wasFromCamera());
    EXPECT_TRUE(platform::logContains("No camera"));
}

TEST_F(NewDocumentTest, CameraPickerMarksThePictureAsTheCamerasAndOpens) {
    launch();
    platform::ImagePickerController::setCameraFactory(
        [] { return platform::Camera::openTestPattern(64, 48); });
    NewImageChoice& screen = openNewImageScreen();
    screen.takePhoto(nullptr);
    settle();
    EXPECT_TRUE(app().wasFromCamera());
    auto* picker = dynamic_cast<platform::ImagePickerController*>(screen.modalViewController());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->sourceType(), platform::ImagePickerSourceType::Camera);
    picker->cancel(nullptr);
    settle();
}

TEST_F(NewDocumentTest, MissingPickerArgumentsOpenNothing) {
    launch();
    NewImageChoice& screen = openNewImageScreen();
    EXPECT_FALSE(screen.startImagePickerFromViewController(nullptr, &screen));
    EXPECT_FALSE(screen.startImagePickerFromViewController(&screen, nullptr));
    EXPECT_EQ(screen.modalViewController(), nullptr);
}

// A failed album write looked like a save: the mark is back, the log says
// why, and an alert tells the person.
TEST_F(NewDocumentTest, FailedAlbumWriteIsToldToThePerson) {
    launch();
    app().setDirtyFlag(true);
    const auto dir = platform::PhotoAlbum::directory();
    std::filesystem::remove_all(dir);
    std::ofstream(dir) << "not a folder";
    chrome().save(nullptr);
    platform::RunLoop::main().drain();
    std::filesystem::remove(dir);
    EXPECT_TRUE(app().dirtyFlag());
    EXPECT_TRUE(platform::logContains("the picture was NOT saved"));
    platform::AlertView* alert = findAlert(window());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Picture Not Saved");
    // The next new document asks first.
    alert->dismissWithClickedButtonIndex(0, false);
    chrome().add(nullptr);
    EXPECT_NE(chrome().visibleSheet(), nullptr);
}

} // namespace
} // namespace zorbel::testing
