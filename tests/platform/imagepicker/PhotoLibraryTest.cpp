// The photo library's listing: pictures only, newest first, each file once,
// and nothing but a quiet empty list from a folder that is not there.

#include <sys/stat.h>

#include "PickerFiles.h"
#include "platform/foundation/Log.h"
#include "platform/imagepicker/PhotoLibrary.h"

using namespace picker_testing;
using platform::PhotoLibrary;

namespace {

std::vector<std::string> names(const std::vector<PhotoLibrary::Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.path.filename().string());
    return out;
}

TEST(PhotoLibrary, ListsPicturesNewestFirstAndLeavesTheRestOut) {
    TempFolder pictures, album;
    writeJpeg(pictures.path() / "old.jpg", 8, 8, {255, 0, 0});
    writeJpeg(pictures.path() / "NEW.JPEG", 8, 8, {0, 255, 0});
    writeJpeg(album.path() / "middle.png", 8, 8, {0, 0, 255}); // content does not matter here
    writeJpeg(pictures.path() / ".hidden.jpg", 8, 8, {0, 0, 0});
    writeJpeg(pictures.path() / "notes.txt", 8, 8, {0, 0, 0});
    fs::create_directory(pictures.path() / "folder.jpg");
    ASSERT_EQ(::mkfifo((pictures.path() / "pipe.jpg").c_str(), 0600), 0);
    // A link to a picture counts as that picture; a link to a FIFO does not.
    fs::create_symlink(pictures.path() / "pipe.jpg", pictures.path() / "pipelink.png");
    fs::create_symlink(pictures.path() / "old.jpg", album.path() / "again.jpg");
    setAge(pictures.path() / "old.jpg", 10);
    setAge(pictures.path() / "NEW.JPEG", 30);
    setAge(album.path() / "middle.png", 20);

    const auto entries = PhotoLibrary::scan({pictures.path(), album.path()});
    EXPECT_EQ(names(entries), (std::vector<std::string>{"NEW.JPEG", "middle.png", "old.jpg"}));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_GT(entries[0].bytes, 0u);
}

TEST(PhotoLibrary, SameFolderTwiceListsItOnce) {
    TempFolder pictures;
    writeJpeg(pictures.path() / "a.jpg", 8, 8, {255, 0, 0});
    EXPECT_EQ(PhotoLibrary::scan({pictures.path(), pictures.path()}).size(), 1u);
}

TEST(PhotoLibrary, MissingFolderGivesNothingAndNoComplaint) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    TempFolder base;
    EXPECT_TRUE(PhotoLibrary::scan({base.path() / "none"}).empty());
    EXPECT_TRUE(platform::logLines().empty());
    // A file where the folder should be is not a folder: said once in the log.
    writeJpeg(base.path() / "file", 8, 8, {0, 0, 0});
    EXPECT_TRUE(PhotoLibrary::scan({base.path() / "file"}).empty());
    EXPECT_TRUE(platform::logContains("Photo library: cannot list"));
    platform::setLogQuiet(false);
}

TEST(PhotoLibrary, SameMomentIsOrderedByName) {
    TempFolder pictures;
    for (const char* n : {"c.jpg", "a.jpg", "b.jpg"}) {
        writeJpeg(pictures.path() / n, 8, 8, {0, 0, 0});
        setAge(pictures.path() / n, 5);
    }
    EXPECT_EQ(names(PhotoLibrary::scan({pictures.path()})),
              (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
}

} // namespace
