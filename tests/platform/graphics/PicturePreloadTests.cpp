#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <turbojpeg.h>

#include "platform/foundation/FileIO.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/PicturePreload.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

fs::path scratchFile(const std::string& name) {
    const char* tmp = std::getenv("ZORBEL_TEST_TMP");
    const fs::path dir =
        fs::path(tmp && *tmp ? tmp : fs::temp_directory_path().string()) / "graphics-preload";
    fs::create_directories(dir);
    return dir / name;
}

// A grey JPEG of w x h pixels.
std::vector<std::uint8_t> greyJpeg(int w, int h, std::uint8_t level) {
    std::vector<std::uint8_t> grey(std::size_t(w) * h, level);
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(tjCompress2(tj, grey.data(), w, 0, h, TJPF_GRAY, &out, &size, TJSAMP_GRAY, 95, 0), 0);
    std::vector<std::uint8_t> bytes(out, out + size);
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

void write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(writeFileAtomically(path, bytes).ok());
}

// What a preload hands over, told apart from any decoded file by its size.
PicturePreload::Loaded marker() {
    return Image::create(1, 1, {255, 1, 2, 3});
}

} // namespace

// The load asked for at launch gets the picture decoded ahead, once; the next
// load reads the file again.
TEST(PicturePreload, TheLoadStartedAheadIsTakenOnce) {
    const fs::path path = scratchFile("once.jpg");
    write(path, greyJpeg(16, 8, 200));
    PicturePreload::start(path, Image::preloadPurpose(960), marker);
    auto first = Image::load(path, 960);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.value()->width(), 1);
    auto second = Image::load(path, 960);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.value()->width(), 16);
    fs::remove(path);
}

// startLoading decodes the file itself: the same pixels as a load without it.
TEST(PicturePreload, APictureDecodedAheadHasThePixelsOfTheFile) {
    const fs::path path = scratchFile("ahead.jpg");
    write(path, greyJpeg(40, 24, 90));
    Image::startLoading(path, 0);
    auto ahead = Image::load(path, 0);
    auto again = Image::load(path, 0);
    ASSERT_TRUE(ahead.ok());
    ASSERT_TRUE(again.ok());
    EXPECT_NE(ahead.value().get(), again.value().get());
    EXPECT_EQ(ahead.value()->width(), 40);
    EXPECT_EQ(ahead.value()->height(), 24);
    EXPECT_TRUE(std::equal(ahead.value()->bytes().begin(), ahead.value()->bytes().end(),
                           again.value()->bytes().begin(), again.value()->bytes().end()));
    fs::remove(path);
}

// Another file put in its place (or the same changed) since the preload began
// is read anew: what is shown is what the file holds now.
TEST(PicturePreload, AFileReplacedMeanwhileIsReadAgain) {
    const fs::path path = scratchFile("replaced.jpg");
    write(path, greyJpeg(16, 8, 200));
    PicturePreload::start(path, Image::preloadPurpose(0), marker);
    write(path, greyJpeg(24, 12, 30));
    auto loaded = Image::load(path, 0);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.value()->width(), 24);
    fs::remove(path);
}

// Only the very load it was started for takes it: not another purpose or
// size limit, not another file.
TEST(PicturePreload, OtherLoadsDoNotTakeIt) {
    const fs::path path = scratchFile("other.jpg");
    const fs::path other = scratchFile("other-too.jpg");
    write(path, greyJpeg(16, 8, 200));
    write(other, greyJpeg(32, 8, 200));
    PicturePreload::start(path, Image::preloadPurpose(960), marker);
    EXPECT_FALSE(PicturePreload::take(path, "the new document's picture"));
    EXPECT_EQ(Image::load(path, 0).value()->width(), 16);
    EXPECT_EQ(Image::load(other, 960).value()->width(), 32);
    EXPECT_EQ(Image::load(path, 960).value()->width(), 1);
    fs::remove(path);
    fs::remove(other);
}
