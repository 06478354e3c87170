// Opening a picture file (the command line, a drop on the window): a good one
// becomes the new document the way a photo from the album does; anything else
// is refused with a log line and an alert, and the picture stays untouched.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include <sys/stat.h>
#include <turbojpeg.h>

#include "AppTestSupport.h"
#include "app/CanvoViewController.h"
#include "app/DocumentOpener.h"
#include "canvas/DocumentPictures.h"
#include "platform/foundation/FileIO.h"
#include "platform/graphics/Context.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"

namespace zorbel::testing {
namespace {

using platform::Color;

const ARGBColorBytes kRed{255, 255, 0, 0};
const ARGBColorBytes kBlue{255, 0, 0, 255};

class OpenPictureTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        launch();
        auto* context = canvas().offscreenPaintContext();
        context->setFillColor(Color::rgb(1, 0, 0));
        context->fillRect({0, 0, 320, 480});
    }

    // A PNG of the given size, blue, written to the home folder.
    std::filesystem::path writePicture(const std::string& name, int width, int height) {
        auto bitmap = platform::Context::createBitmap(width, height, nullptr, platform::YAxis::Down);
        bitmap->setFillColor(Color::rgb(0, 0, 1));
        bitmap->fillRect(platform::Rect(0, 0, float(width), float(height)));
        auto png = bitmap->makeImage()->pngData();
        EXPECT_TRUE(png.ok());
        const auto path = home_ / name;
        writeBytes(path, std::string(png->begin(), png->end()));
        return path;
    }
    static void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void open(const std::filesystem::path& file) {
        app().applicationOpenFile(file);
        platform::RunLoop::main().drain();
    }
    platform::AlertView* shownAlert() {
        for (const auto& v : window().subviews())
            if (auto* alert = dynamic_cast<platform::AlertView*>(v.get()); alert && alert->isVisible())
                return alert;
        return nullptr;
    }
    // The "Save Image?" sheet on screen, whoever asked.
    platform::ActionSheet* shownSheet() {
        for (const auto& v : window().subviews())
            if (auto* sheet = dynamic_cast<platform::ActionSheet*>(v.get()); sheet && sheet->isVisible())
                return sheet;
        return nullptr;
    }
    ARGBColorBytes picture() { return shownPixel(canvas(), 160, 240); }
};

TEST_F(OpenPictureTest, GoodPictureBecomesTheCleanNewDocumentWithoutLayers) {
    app().canvoViewController()->AddShape("shapearrow.png");
    ASSERT_FALSE(canvas().subviews().empty());
    app().setDirtyFlag(false); // asked about elsewhere: here the picture is saved
    const auto file = writePicture("blue.png", 640, 960);
    open(file);
    EXPECT_EQ(picture(), kBlue);
    EXPECT_TRUE(canvas().subviews().empty());
    EXPECT_FALSE(app().dirtyFlag());
    EXPECT_EQ(shownAlert(), nullptr);
    // It is the original too: the eraser brings the picture back, not the red.
    app().eraseToOriginal();
    EXPECT_EQ(shownPixel(canvas(), 20, 20), kBlue);
}

// A wide picture is turned onto the portrait canvas as an album photo is.
TEST_F(OpenPictureTest, LandscapePictureMakesALandscapeDocument) {
    open(writePicture("wide.png", 960, 640));
    EXPECT_EQ(picture(), kBlue);
    EXPECT_EQ(app().documentOrientation(), 3);
}

// Not a picture, damaged, too large, or not a regular file: refused, told,
// and the picture as it was.
TEST_F(OpenPictureTest, UnusableFilesAreRefusedAndThePictureStays) {
    std::vector<std::filesystem::path> files;
    files.push_back(home_ / "notes.png");
    writeBytes(files.back(), "just some words, not a picture");
    files.push_back(home_ / "cut.png");
    {
        const auto good = writePicture("whole.png", 64, 64);
        auto bytes = platform::readFile(good);
        ASSERT_TRUE(bytes.ok());
        writeBytes(files.back(), std::string(bytes->begin(), bytes->begin() + bytes->size() / 2));
    }
    // A PNG whose header claims 100000 x 100000 pixels.
    files.push_back(home_ / "huge.png");
    {
        const unsigned char bytes[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                       0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                       0, 0x01, 0x86, 0xa0, 0, 0x01, 0x86, 0xa0, 8, 6, 0, 0, 0};
        const std::string header(reinterpret_cast<const char*>(bytes), sizeof bytes);
        writeBytes(files.back(), header + std::string(4, '\0'));
    }
    files.push_back(home_ / "pipe.png");
    ASSERT_EQ(mkfifo(files.back().c_str(), 0600), 0);
    files.push_back(home_ / "missing.png");
    files.push_back(home_); // a folder

    app().setDirtyFlag(true);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        platform::clearLogCapture();
        open(file);
        EXPECT_EQ(picture(), kRed);
        EXPECT_TRUE(app().dirtyFlag());
        EXPECT_EQ(shownSheet(), nullptr); // no "Save Image?" for nothing
        bool logged = false;
        for (const auto& line : platform::logLines())
            logged = logged || line.starts_with("Cannot open " + file.string() + ": ");
        EXPECT_TRUE(logged);
        platform::AlertView* alert = shownAlert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->title(), DocumentOpener::kRefusalTitle);
        alert->dismissWithClickedButtonIndex(0, false);
        platform::RunLoop::main().drain();
    }
    // Nothing was written over or moved.
    EXPECT_TRUE(std::filesystem::exists(home_ / "notes.png"));
    EXPECT_TRUE(std::filesystem::is_fifo(home_ / "pipe.png"));
}

// Over a dirty picture the toolbar's question comes first: Cancel keeps it,
// No replaces it, Save writes it to the album and then replaces it.
TEST_F(OpenPictureTest, DirtyPictureIsAskedAboutFirst) {
    const auto file = writePicture("blue.png", 320, 480);
    app().setDirtyFlag(true);
    open(file);
    ASSERT_NE(shownSheet(), nullptr);
    platform::ActionSheet* sheet = shownSheet();
    EXPECT_EQ(sheet->title(), "Save Image?");
    EXPECT_EQ(picture(), kRed);
    sheet->dismissWithClickedButtonIndex(sheet->cancelButtonIndex(), false);
    EXPECT_EQ(picture(), kRed);
    EXPECT_TRUE(app().dirtyFlag());

    open(file);
    ASSERT_NE(shownSheet(), nullptr);
    shownSheet()->dismissWithClickedButtonIndex(0, false); // "No"
    EXPECT_EQ(picture(), kBlue);
    EXPECT_FALSE(app().dirtyFlag());
}

// A camera's JPEG, `width` x `height`, its left half red and its right half
// blue, with the EXIF orientation given (written as a camera writes it: an
// APP1 block right after the start marker).
std::string cameraJpeg(int width, int height, int exifOrientation) {
    std::vector<std::uint8_t> rgb(std::size_t(width) * std::size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            p[0] = x < width / 2 ? 255 : 0;
            p[2] = x < width / 2 ? 0 : 255;
        }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(tjCompress2(tj, rgb.data(), width, width * 3, height, TJPF_RGB, &out, &size,
                          TJSAMP_420, 90, 0),
              0);
    const std::string jpeg(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    tjDestroy(tj);
    // "Exif\0\0", then a little-endian TIFF header and one directory holding
    // only the orientation.
    const unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                                  0x12, 0x01, 3, 0, 1, 0, 0, 0, std::uint8_t(exifOrientation), 0,
                                  0, 0, 0, 0, 0, 0};
    const std::size_t length = sizeof exif + 2;
    std::string file = "\xFF\xD8\xFF\xE1";
    file += char(length >> 8);
    file += char(length & 0xFF);
    file.append(reinterpret_cast<const char*>(exif), sizeof exif);
    return file + jpeg.substr(2);
}

// A photo named at launch is made ready on a thread of its own while the app
// starts: what it gives is, pixel for pixel, the picture made when the file
// is opened without it, and the one the album's route made (decoded, drawn
// upright, then reduced by the canvas); the document shows it turned upright.
TEST_F(OpenPictureTest, APhotoPreparedAtLaunchGivesTheSamePicture) {
    const auto file = home_ / "camera.jpg";
    writeBytes(file, cameraJpeg(1200, 900, 6)); // seen 900 x 1200: red on top

    auto stored = platform::Image::load(file, platform::ImagePickerController::kPictureMaxDimension);
    ASSERT_TRUE(stored.ok());
    ASSERT_EQ(stored.value()->orientation(), int(platform::PictureOrientation::Right));
    const platform::Size seen = stored.value()->size();
    auto drawn = platform::Context::createBitmap(int(seen.width), int(seen.height), nullptr,
                                                 platform::YAxis::Down);
    drawn->drawImageUpright(platform::Rect(0, 0, seen.width, seen.height), *stored.value());
    const platform::ImageRef albumRoute = DocumentPictures::scaleAndRotateImage(drawn->makeImage());
    ASSERT_NE(albumRoute, nullptr);

    DocumentOpener::startPreparing(file);
    auto prepared = DocumentOpener::loadPicture(file);
    auto madeNow = DocumentOpener::loadPicture(file);
    ASSERT_TRUE(prepared.ok());
    ASSERT_TRUE(madeNow.ok());
    EXPECT_NE(prepared.value(), madeNow.value()); // the second was not handed out again
    for (const platform::ImageRef& picture : {prepared.value(), madeNow.value()}) {
        EXPECT_EQ(picture->width(), albumRoute->width());
        EXPECT_EQ(picture->height(), 480);
        EXPECT_EQ(picture->orientation(), 0);
        EXPECT_TRUE(std::ranges::equal(picture->bytes(), albumRoute->bytes()));
    }

    DocumentOpener::startPreparing(file);
    open(file);
    const ARGBColorBytes top = shownPixel(canvas(), 160, 100);
    const ARGBColorBytes bottom = shownPixel(canvas(), 160, 380);
    EXPECT_GT(top.red, 240);
    EXPECT_LT(top.blue, 15);
    EXPECT_GT(bottom.blue, 240);
    EXPECT_LT(bottom.red, 15);
    EXPECT_TRUE(std::ranges::equal(canvas().bgUIImage()->bytes(), albumRoute->bytes()));
    EXPECT_FALSE(app().dirtyFlag());
}

} // namespace
} // namespace zorbel::testing
