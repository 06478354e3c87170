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

constexpr const char* kPurpose = "the new document's picture";

// The preload is handed out once, to the load it was started for.
TEST(PicturePreload, TheLoadStartedAheadIsTakenOnce) {
    const fs::path path = scratchFile("once.jpg");
    write(path, greyJpeg(16, 8, 200));
    PicturePreload::start(path, kPurpose, marker);
    auto first = PicturePreload::take(path, kPurpose);
    ASSERT_TRUE(first && first->ok());
    EXPECT_EQ(first->value()->width(), 1);
    EXPECT_FALSE(PicturePreload::take(path, kPurpose));
    fs::remove(path);
}

// Another file put in its place (or the same changed) since the preload began
// is not handed out: the caller reads what the file holds now.
TEST(PicturePreload, AFileReplacedMeanwhileIsNotTaken) {
    const fs::path path = scratchFile("replaced.jpg");
    write(path, greyJpeg(16, 8, 200));
    PicturePreload::start(path, kPurpose, marker);
    write(path, greyJpeg(24, 12, 30));
    EXPECT_FALSE(PicturePreload::take(path, kPurpose));
    fs::remove(path);
}

// Only the very load it was started for takes it: not another purpose, not
// another file, and a plain load reads the file.
TEST(PicturePreload, OtherLoadsDoNotTakeIt) {
    const fs::path path = scratchFile("other.jpg");
    const fs::path other = scratchFile("other-too.jpg");
    write(path, greyJpeg(16, 8, 200));
    write(other, greyJpeg(32, 8, 200));
    PicturePreload::start(path, kPurpose, marker);
    EXPECT_FALSE(PicturePreload::take(path, "decoded at another size"));
    EXPECT_FALSE(PicturePreload::take(other, kPurpose));
    EXPECT_EQ(Image::load(path, 0).value()->width(), 16);
    auto taken = PicturePreload::take(path, kPurpose);
    ASSERT_TRUE(taken && taken->ok());
    EXPECT_EQ(taken->value()->width(), 1);
    fs::remove(path);
    fs::remove(other);
}
