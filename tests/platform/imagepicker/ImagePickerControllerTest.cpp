// The image picker as a person uses it: the grid of the library's pictures
// with cells only for what is in view, a damaged file that is never handed
// on, the editing square giving the edited picture, its crop rectangle and
// the original, an empty folder's message, and the camera (GStreamer's test
// source standing in) through the same square.

#include <cmath>

#include "PickerFiles.h"
#include "platform/foundation/Log.h"
#include "platform/imagepicker/Camera.h"
#include "platform/imagepicker/CameraPreviewView.h"
#include "platform/imagepicker/ImageEditingView.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/imagepicker/PhotoCellView.h"
#include "platform/imagepicker/PhotoGridView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"

using namespace picker_testing;
using namespace platform;

namespace {

struct Answers : ImagePickerControllerDelegate {
    void imagePickerControllerDidFinishPickingImage(ImagePickerController&, ImageRef image,
                                                    const ImagePickerEditingInfo& info) override {
        ++finished;
        edited = std::move(image);
        this->info = info;
    }
    void imagePickerControllerDidCancel(ImagePickerController&) override { ++cancelled; }
    int finished = 0;
    int cancelled = 0;
    ImageRef edited;
    ImagePickerEditingInfo info;
};

class Picker : public ::testing::Test {
protected:
    void SetUp() override {
        setLogQuiet(true);
        clearLogCapture();
        Application::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Virtual);
        Animator::shared().reset();
        window = std::make_shared<Window>();
        window->makeKeyAndVisible();
        root = std::make_shared<ViewController>();
        window->addSubview(root->view());
    }
    void TearDown() override {
        ImagePickerController::setCameraFactory({});
        Application::shared().resetForTesting();
        setLogQuiet(false);
    }

    std::shared_ptr<ImagePickerController> present(ImagePickerSourceType type, bool editing) {
        auto picker = std::make_shared<ImagePickerController>();
        picker->setSourceType(type);
        picker->setDelegate(&answers);
        picker->setAllowsImageEditing(editing);
        picker->setLibraryFolders({folder.path()});
        root->presentModalViewController(picker, false);
        settle();
        return picker;
    }
    void settle() {
        RunLoop::main().drain();
        RunLoop::main().settle();
    }
    void tapCell(PhotoGridView& grid, std::size_t index) {
        PhotoCellView* cell = grid.cellForIndex(index);
        ASSERT_NE(cell, nullptr) << index;
        const Point p = cell->convertPointToView(cell->bounds().center(), nullptr);
        window->touchDown(1, p, 1);
        window->touchUp(1, p);
        settle();
    }

    TempFolder folder;
    Answers answers;
    std::shared_ptr<Window> window;
    std::shared_ptr<ViewController> root;
};

TEST_F(Picker, GridHasCellsOnlyForTheRowsInViewAndFillsThemInTheBackground) {
    for (int i = 0; i < 100; ++i) {
        const auto f = folder.path() / ("p" + std::to_string(i) + ".jpg");
        writeJpeg(f, 40, 30, {std::uint8_t(i), 0, 0});
        setAge(f, i);
    }
    auto picker = present(ImagePickerSourceType::PhotoLibrary, true);
    PhotoGridView* grid = picker->gridView();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->count(), 100u);
    EXPECT_TRUE(picker->emptyMessage().empty());
    // 416 points of 78.5-point rows: six rows in view and one below.
    const auto shown = grid->visibleIndices();
    EXPECT_EQ(shown.size(), 28u);
    EXPECT_EQ(shown.front(), 0u);
    // Newest first: cell 0 is p99.
    ASSERT_NE(grid->cellForIndex(0)->thumbnail(), nullptr);
    EXPECT_TRUE(near(pixel(*grid->cellForIndex(0)->thumbnail(), 4, 4), {99, 0, 0}, 6));
    EXPECT_EQ(grid->loader()->thumbnailsHeld(), 28u);

    // Scrolled to the end: the first rows' cells went, the last rows' came.
    grid->setContentOffset(grid->maximumContentOffset());
    settle();
    const auto after = grid->visibleIndices();
    EXPECT_EQ(after.back(), 99u);
    EXPECT_EQ(grid->cellForIndex(0), nullptr);
    EXPECT_LE(after.size(), 32u);
    EXPECT_NE(grid->cellForIndex(99)->thumbnail(), nullptr);
}

TEST_F(Picker, DamagedPictureStaysBlankAndIsNeverHandedOn) {
    writeBytes(folder.path() / "damaged.jpg", std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0, 1, 2});
    auto picker = present(ImagePickerSourceType::PhotoLibrary, true);
    PhotoGridView* grid = picker->gridView();
    ASSERT_EQ(grid->count(), 1u);
    EXPECT_EQ(grid->cellForIndex(0)->thumbnail(), nullptr);
    tapCell(*grid, 0);
    EXPECT_EQ(answers.finished, 0);
    EXPECT_EQ(picker->stage(), ImagePickerController::Stage::Library);
    EXPECT_TRUE(logContains("was not opened"));
    // The person is told, in an alert over the picker.
    bool alert = false;
    for (const auto& v : window->subviews())
        alert |= dynamic_cast<AlertView*>(v.get()) != nullptr;
    EXPECT_TRUE(alert);
}

TEST_F(Picker, EmptyOrMissingFolderSaysSo) {
    auto picker = present(ImagePickerSourceType::PhotoLibrary, true);
    EXPECT_FALSE(picker->emptyMessage().empty());
    EXPECT_TRUE(picker->gridView()->visibleIndices().empty());
    root->dismissModalViewControllerAnimated(false);
    fs::remove_all(folder.path());
    auto again = present(ImagePickerSourceType::PhotoLibrary, true);
    EXPECT_FALSE(again->emptyMessage().empty());
    fs::create_directories(folder.path());
}

TEST_F(Picker, EditingSquareGivesTheEditedPictureItsCropAndTheOriginal) {
    // 600 x 300: left half red, right half blue.
    writeBytes(folder.path() / "two.jpg", jpegBytes(600, 300, [](int x, int) {
                   return x < 300 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
               }));
    auto picker = present(ImagePickerSourceType::PhotoLibrary, true);
    tapCell(*picker->gridView(), 0);
    ASSERT_EQ(picker->stage(), ImagePickerController::Stage::Editing);
    ImageEditingView* editor = picker->editingView();
    const Rect square = editor->squareRect();
    EXPECT_FLOAT_EQ(square.width(), 320);
    // Drag the picture left as far as it goes: the square shows the blue half.
    const Point start = editor->convertPointToView(square.center(), nullptr);
    window->touchDown(1, start, 1);
    for (int i = 1; i <= 10; ++i)
        window->touchMove(1, {start.x - 40.0f * i, start.y});
    window->touchUp(1, {start.x - 400, start.y});
    settle();
    picker->choose(nullptr);
    ASSERT_EQ(answers.finished, 1);
    ASSERT_NE(answers.info.originalImage, nullptr);
    EXPECT_EQ(answers.info.originalImage->width(), 600);
    EXPECT_EQ(answers.info.originalImage->height(), 300);
    EXPECT_NEAR(answers.info.cropRect.minX(), 300, 0.5);
    EXPECT_NEAR(answers.info.cropRect.minY(), 0, 0.5);
    EXPECT_NEAR(answers.info.cropRect.width(), 300, 0.5);
    ASSERT_NE(answers.edited, nullptr);
    EXPECT_EQ(answers.edited->width(), answers.edited->height());
    EXPECT_EQ(answers.edited->width(), 300);
    EXPECT_TRUE(near(pixel(*answers.edited, 10, 150), {0, 0, 255}, 12));
    // Once handed over, further presses do nothing.
    picker->choose(nullptr);
    picker->cancel(nullptr);
    EXPECT_EQ(answers.finished, 1);
    EXPECT_EQ(answers.cancelled, 0);
}

TEST_F(Picker, WheelAndTwoFingersScaleThePicture) {
    writeJpeg(folder.path() / "a.jpg", 400, 400, {0, 128, 0});
    auto picker = present(ImagePickerSourceType::PhotoLibrary, true);
    tapCell(*picker->gridView(), 0);
    ImageEditingView* editor = picker->editingView();
    const float fitted = editor->geometry().scale;
    const Point c = editor->convertPointToView(editor->squareRect().center(), nullptr);
    EXPECT_TRUE(window->scrollWheel(c, 0, 3));
    EXPECT_NEAR(editor->geometry().scale, fitted * std::pow(ImageEditingView::kWheelZoom, 3), 1e-4);
    // Two fingers pulled apart to twice their distance scale it twice again.
    const float before = editor->geometry().scale;
    window->touchDown(1, {c.x - 20, c.y}, 1);
    window->touchDown(2, {c.x + 20, c.y}, 1);
    window->touchMove(1, {c.x - 40, c.y});
    window->touchMove(2, {c.x + 40, c.y});
    window->touchUp(1, {c.x - 40, c.y});
    window->touchUp(2, {c.x + 40, c.y});
    EXPECT_NEAR(editor->geometry().scale, std::min(before * 2, fitted * 6), 1e-3);
}

TEST_F(Picker, WithoutEditingTheWholePictureIsHandedOnUpright) {
    writeJpeg(folder.path() / "a.jpg", 120, 80, {0, 0, 255});
    auto picker = present(ImagePickerSourceType::PhotoLibrary, false);
    tapCell(*picker->gridView(), 0);
    ASSERT_EQ(answers.finished, 1);
    EXPECT_EQ(answers.edited, answers.info.originalImage);
    EXPECT_EQ(answers.info.cropRect, Rect(0, 0, 120, 80));
}

TEST_F(Picker, PicturesAreTurnedUprightBeforeAnyoneSeesThem) {
    // Stored 2 x 1 (red, blue) with orientation 3: seen 1 x 2, red on top.
    std::vector<std::uint8_t> px = {255, 255, 0, 0, 255, 0, 0, 255};
    auto stored = Image::create(2, 1, px, 3);
    ASSERT_TRUE(stored.ok());
    const ImageRef upright = ImagePickerController::uprightImage(stored.value());
    EXPECT_EQ(upright->orientation(), 0);
    EXPECT_EQ(upright->width(), 1);
    EXPECT_EQ(upright->height(), 2);
    const Size seen = stored.value()->size();
    EXPECT_EQ(int(seen.width), 1);
}

TEST_F(Picker, CancelFromTheGridTellsTheDelegate) {
    auto picker = present(ImagePickerSourceType::PhotoLibrary, true);
    picker->cancel(nullptr);
    EXPECT_EQ(answers.cancelled, 1);
}

// GStreamer's test source as the camera: live frames reach the preview, the
// shutter takes one, and it goes through the editing square.
TEST_F(Picker, CameraFramesGoThroughTheShutterAndTheSquare) {
    ImagePickerController::setCameraFactory([] { return Camera::openTestPattern(320, 240); });
    ASSERT_TRUE(ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType::Camera));
    auto picker = present(ImagePickerSourceType::Camera, true);
    ASSERT_NE(picker->camera(), nullptr);
    ASSERT_NE(picker->camera()->waitForFrame(10), nullptr);
    RunLoop::main().runOnce(0);
    ASSERT_NE(picker->previewView()->picture(), nullptr);
    picker->shutter(nullptr);
    ASSERT_EQ(picker->stage(), ImagePickerController::Stage::Editing);
    EXPECT_FALSE(picker->camera()->isRunning());
    picker->choose(nullptr);
    ASSERT_EQ(answers.finished, 1);
    EXPECT_EQ(answers.info.originalImage->width(), 320);
    EXPECT_EQ(answers.info.originalImage->height(), 240);
    EXPECT_EQ(answers.edited->width(), 240);
    EXPECT_TRUE(answers.info.originalImage->isOpaque());
}

TEST_F(Picker, NoCameraMeansTheCameraIsNotThere) {
    ImagePickerController::setCameraFactory([] { return std::unique_ptr<Camera>(); });
    EXPECT_FALSE(ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType::Camera));
    EXPECT_TRUE(ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType::PhotoLibrary));
}

} // namespace
