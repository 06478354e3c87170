// Save to the photo album from the toolbar: the flattened picture lands in the
// album folder upright, only a changed picture is saved, a landscape document
// is saved as a landscape picture, and a failed write is not taken as saved.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/SavedNoteView.h"
#include "platform/graphics/Context.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/PhotoAlbum.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::Image;
using platform::ImageRef;
using platform::Point;

// A picture of the given size, its top half `top` and its bottom half
// `bottom` (or left / right halves when it is wider than high).
ImageRef twoColourPicture(int width, int height, const Color& first, const Color& second) {
    auto bitmap = platform::Context::createBitmap(width, height, nullptr, platform::YAxis::Down);
    const bool wide = width > height;
    bitmap->setFillColor(first);
    bitmap->fillRect(wide ? platform::Rect(0, 0, width / 2.0f, float(height))
                          : platform::Rect(0, 0, float(width), height / 2.0f));
    bitmap->setFillColor(second);
    bitmap->fillRect(wide ? platform::Rect(width / 2.0f, 0, width / 2.0f, float(height))
                          : platform::Rect(0, height / 2.0f, float(width), height / 2.0f));
    return bitmap->makeImage();
}

ARGBColorBytes pixel(const Image& image, int x, int y) {
    const std::uint8_t* p = image.data() + (std::size_t(y) * image.width() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

const ARGBColorBytes kRed{255, 255, 0, 0};
const ARGBColorBytes kBlue{255, 0, 0, 255};

class SaveTest : public AppTest {
protected:
    std::vector<std::filesystem::path> albumFiles() const {
        std::vector<std::filesystem::path> files;
        const auto dir = platform::PhotoAlbum::directory();
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            files.push_back(entry.path());
        return files;
    }

    void stroke(Point from, Point to) {
        window().touchDown(1, from, 1);
        for (int i = 1; i <= 10; ++i)
            window().touchMove(1, Point{from.x + (to.x - from.x) * i / 10.0f,
                                        from.y + (to.y - from.y) * i / 10.0f});
        window().touchUp(1, to);
        wait(2); // the toolbars come back
    }

    // Presses Save and lets the album write finish and answer.
    void save() {
        chrome().save(nullptr);
        platform::RunLoop::main().drain();
    }
};

TEST_F(SaveTest, StrokeThenSaveWritesTheUprightPaintingOnceUntilItChangesAgain) {
    launch();
    app().setBGImage(twoColourPicture(320, 480, Color::rgb(1, 0, 0), Color::rgb(0, 0, 1)));
    stroke({40, 100}, {280, 100});
    ASSERT_TRUE(app().dirtyFlag());
    ASSERT_TRUE(albumFiles().empty());

    save();
    EXPECT_FALSE(app().dirtyFlag());
    auto files = albumFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".png");
    auto saved = Image::load(files[0]);
    ASSERT_TRUE(saved.ok());
    const Image& picture = **saved;
    ASSERT_EQ(picture.width(), 320);
    ASSERT_EQ(picture.height(), 480);
    // Upright: red above, blue below, and pixel for pixel the painting shown,
    // the stroke included.
    EXPECT_EQ(pixel(picture, 10, 10), kRed);
    EXPECT_EQ(pixel(picture, 10, 470), kBlue);
    EXPECT_NE(pixel(picture, 160, 100), kRed);
    for (int y : {0, 100, 239, 240, 479})
        for (int x : {0, 40, 160, 280, 319})
            EXPECT_EQ(pixel(picture, x, y), shownPixel(canvas(), x, y)) << x << ", " << y;
    auto alone = canvas().getImageToSave(DocumentOrientation::Upright);
    ASSERT_NE(alone, nullptr);
    EXPECT_TRUE(std::equal(picture.bytes().begin(), picture.bytes().end(), alone->bytes().begin(),
                           alone->bytes().end()));

    // Nothing changed: nothing written.
    save();
    EXPECT_EQ(albumFiles().size(), 1u);

    // A new stroke makes it worth saving again, under a new name.
    stroke({40, 300}, {280, 300});
    save();
    EXPECT_EQ(albumFiles().size(), 2u);
}

TEST_F(SaveTest, LandscapeDocumentIsSavedAsTheLandscapePictureUpright) {
    launch();
    app().setBGImage(twoColourPicture(480, 320, Color::rgb(1, 0, 0), Color::rgb(0, 0, 1)));
    ASSERT_EQ(app().documentOrientation(), 3);
    app().setDirtyFlag(true);
    save();
    auto files = albumFiles();
    ASSERT_EQ(files.size(), 1u);
    auto saved = Image::load(files[0]);
    ASSERT_TRUE(saved.ok());
    const Image& picture = **saved;
    ASSERT_EQ(picture.width(), 480);
    ASSERT_EQ(picture.height(), 320);
    EXPECT_EQ(pixel(picture, 10, 160), kRed);
    EXPECT_EQ(pixel(picture, 470, 160), kBlue);
    auto alone = canvas().getImageToSave(DocumentOrientation::Turned);
    ASSERT_NE(alone, nullptr);
    EXPECT_TRUE(std::equal(picture.bytes().begin(), picture.bytes().end(), alone->bytes().begin(),
                           alone->bytes().end()));
}

TEST_F(SaveTest, FailedAlbumWriteIsLoggedAndLeavesThePictureUnsaved) {
    launch();
    stroke({40, 100}, {280, 100});
    // The album folder cannot take files: a plain file stands in its place.
    const auto dir = platform::PhotoAlbum::directory();
    std::filesystem::remove_all(dir);
    std::ofstream(dir) << "not a folder";
    save();
    std::filesystem::remove(dir);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(albumFiles().empty());
    EXPECT_TRUE(app().dirtyFlag());
    bool logged = false;
    for (const auto& line : platform::logLines())
        logged |= line.starts_with("saveCurrentImageToAlbum: the picture was NOT saved: ");
    EXPECT_TRUE(logged);
}

// The album folder replaced by a plain file after a first save: the next save
// fails and says so (log line, alert, still unsaved) and the file is left as
// it was; with the folder back, Save writes the picture.
TEST_F(SaveTest, AlbumFolderTurnedIntoAFileAfterAFirstSaveFailsTheNextSaveAloud) {
    launch();
    stroke({40, 100}, {280, 100});
    save();
    ASSERT_EQ(albumFiles().size(), 1u);
    ASSERT_FALSE(app().dirtyFlag());
    ASSERT_EQ(findAlert(window()), nullptr);

    const auto dir = platform::PhotoAlbum::directory();
    std::filesystem::remove_all(dir);
    std::ofstream(dir) << "not a folder";
    stroke({40, 300}, {280, 300});
    save();
    EXPECT_TRUE(app().dirtyFlag());
    EXPECT_TRUE(platform::logContains("saveCurrentImageToAlbum: the picture was NOT saved: "));
    platform::AlertView* alert = findAlert(window());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Picture Not Saved");
    std::ifstream kept(dir);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "not a folder");
    alert->dismissWithClickedButtonIndex(0, false);

    std::filesystem::remove(dir);
    save();
    EXPECT_FALSE(app().dirtyFlag());
    EXPECT_EQ(albumFiles().size(), 1u);
}

// Quitting right after Save: the picture is finished before the application
// ends, and a failed write is stored as unsaved for the next launch.
TEST_F(SaveTest, TerminationWaitsForTheAlbumWrite) {
    launch();
    stroke({40, 100}, {280, 100});
    chrome().save(nullptr);
    terminate();
    auto files = albumFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".png");
    EXPECT_TRUE(Image::load(files[0]).ok());

    launch();
    EXPECT_FALSE(app().dirtyFlag());
    stroke({40, 300}, {280, 300});
    const auto dir = platform::PhotoAlbum::directory();
    std::filesystem::remove_all(dir);
    std::ofstream(dir) << "not a folder";
    chrome().save(nullptr);
    terminate();
    std::filesystem::remove(dir);
    launch();
    EXPECT_TRUE(app().dirtyFlag());
}

TEST_F(SaveTest, OddDocumentOrientationGivesNoPictureAndSaysWhich) {
    launch();
    EXPECT_EQ(canvas().getFlattenedImageToSave(DocumentOrientation(2)), nullptr);
    EXPECT_TRUE(logHas("Non-standard image orientation!"));
    EXPECT_TRUE(logHas("UIImageOrientationLeft - 90 deg CCW"));
}

TEST_F(SaveTest, SaveAnswerOfTheNewDocumentSheetSavesTheDirtyPicture) {
    launch();
    stroke({40, 100}, {280, 100});
    chrome().add(nullptr);
    auto* sheet = chrome().visibleSheet();
    ASSERT_NE(sheet, nullptr);
    chrome().actionSheetClickedButtonAtIndex(*sheet, 1);
    platform::RunLoop::main().drain();
    EXPECT_EQ(albumFiles().size(), 1u);
    EXPECT_FALSE(app().dirtyFlag());
}

// A save is silent on its own: a note says where the picture went, then
// fades away.
TEST_F(SaveTest, SavedNoteShowsAfterTheAlbumWriteAndFades) {
    auto note = [this]() -> SavedNoteView* {
        for (const auto& v : window().subviews())
            if (auto* n = dynamic_cast<SavedNoteView*>(v.get()))
                return n;
        return nullptr;
    };
    launch();
    stroke({40, 100}, {280, 100});
    save();
    // The note's dark box on the white picture, as the window shows it.
    auto shownRed = [this] {
        auto shot = window().snapshot();
        return shot ? pixel(*shot, 160, 404).red : -1;
    };
    ASSERT_NE(note(), nullptr);
    EXPECT_EQ(note()->frame().maxY(), 480 - 60);
    EXPECT_LT(shownRed(), 100);
    wait(SavedNoteView::kShownDuration - 0.1);
    EXPECT_LT(shownRed(), 100);
    wait(0.1 + SavedNoteView::kFadeDuration + 0.1);
    EXPECT_EQ(note(), nullptr);
    EXPECT_EQ(shownRed(), 255);
}

} // namespace
} // namespace zorbel::testing
