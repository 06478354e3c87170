// Thumbnails: the middle square of the upright picture, decoded off the main
// thread, only for what is asked; a damaged, huge or unreadable file fails
// once and for all, and is never retried.

#include "PickerFiles.h"
#include "platform/foundation/Log.h"
#include "platform/imagepicker/ThumbnailLoader.h"
#include "platform/ui/RunLoop.h"

using namespace picker_testing;
using platform::ThumbnailLoader;

namespace {

class Thumbnails : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RunLoop::main().reset(platform::ClockMode::Virtual);
        platform::setLogQuiet(true);
        platform::clearLogCapture();
    }
    void TearDown() override { platform::setLogQuiet(false); }
    TempFolder folder;
};

TEST_F(Thumbnails, MiddleSquareOfAWidePictureAtTheAskedSide) {
    // 300 x 100: red, green, blue thirds; the square is the green middle.
    const auto file = folder.path() / "wide.jpg";
    writeBytes(file, jpegBytes(300, 100, [](int x, int) {
                   return x < 100 ? Rgb{255, 0, 0} : x < 200 ? Rgb{0, 255, 0} : Rgb{0, 0, 255};
               }));
    auto thumb = ThumbnailLoader::makeThumbnail(file, 40);
    ASSERT_TRUE(thumb.ok()) << thumb.error();
    const platform::Image& t = *thumb.value();
    EXPECT_EQ(t.width(), 40);
    EXPECT_EQ(t.height(), 40);
    EXPECT_TRUE(near(pixel(t, 20, 20), {0, 255, 0}, 8));
    EXPECT_TRUE(near(pixel(t, 2, 20), {0, 255, 0}, 40));
    EXPECT_TRUE(near(pixel(t, 37, 20), {0, 255, 0}, 40));
}

// A camera's own small picture stands in for decoding the photograph, when
// it is large enough and the photograph itself is whole and not too large.
TEST_F(Thumbnails, CamerasSmallPictureIsUsedWhenTheFileIsWhole) {
    const auto red = jpegBytes(400, 300, [](int, int) { return Rgb{255, 0, 0}; });
    const auto blue = jpegBytes(160, 120, [](int, int) { return Rgb{0, 0, 255}; });
    writeBytes(folder.path() / "camera.jpg", withExifThumbnail(red, blue));
    auto thumb = ThumbnailLoader::makeThumbnail(folder.path() / "camera.jpg", 150);
    ASSERT_TRUE(thumb.ok()) << thumb.error();
    EXPECT_TRUE(near(pixel(*thumb.value(), 75, 75), {0, 0, 255}, 8));
    // Too small for the cell: the photograph is decoded instead.
    auto big = ThumbnailLoader::makeThumbnail(folder.path() / "camera.jpg", 300);
    ASSERT_TRUE(big.ok());
    EXPECT_TRUE(near(pixel(*big.value(), 150, 150), {255, 0, 0}, 8));
    // Turned as the photograph is: EXIF 6 (a quarter turn) gives a tall picture.
    const auto halves = jpegBytes(160, 120, [](int x, int) {
        return x < 80 ? Rgb{0, 255, 0} : Rgb{0, 0, 255};
    });
    writeBytes(folder.path() / "turned.jpg", withExifThumbnail(red, halves, 6));
    auto turned = ThumbnailLoader::makeThumbnail(folder.path() / "turned.jpg", 100);
    ASSERT_TRUE(turned.ok());
    // Left (green) goes to the top when turned clockwise.
    EXPECT_TRUE(near(pixel(*turned.value(), 50, 10), {0, 255, 0}, 12));
    EXPECT_TRUE(near(pixel(*turned.value(), 50, 90), {0, 0, 255}, 12));
    // A cut-off photograph or one too large to open shows no thumbnail.
    auto whole = withExifThumbnail(red, blue);
    writeBytes(folder.path() / "cut.jpg", {whole.begin(), whole.end() - long(whole.size() / 4)});
    EXPECT_FALSE(ThumbnailLoader::makeThumbnail(folder.path() / "cut.jpg", 150).ok());
    const auto wide = jpegBytes(platform::Image::kMaxDimension + 8, 16, [](int, int) {
        return Rgb{0, 0, 0};
    });
    writeBytes(folder.path() / "wide.jpg", withExifThumbnail(wide, blue));
    EXPECT_FALSE(ThumbnailLoader::makeThumbnail(folder.path() / "wide.jpg", 150).ok());
}

TEST_F(Thumbnails, BadFilesFailWithTheirReason) {
    const auto good = jpegBytes(64, 64, [](int, int) { return Rgb{10, 20, 30}; });
    writeBytes(folder.path() / "cut.jpg", {good.begin(), good.begin() + long(good.size() / 3)});
    writeBytes(folder.path() / "noise.jpg", std::vector<std::uint8_t>(500, 0x5a));
    writeBytes(folder.path() / "empty.png", {});
    writeJpeg(folder.path() / "huge.jpg", platform::Image::kMaxDimension + 8, 16, {0, 0, 0});
    // Larger than any picture is allowed to be: not even read.
    {
        std::ofstream big(folder.path() / "big.jpg", std::ios::binary);
        big.seekp(std::streamoff(ThumbnailLoader::kMaxFileBytes) + 1);
        big.put('x');
    }
    writeJpeg(folder.path() / "locked.jpg", 16, 16, {0, 0, 0});
    fs::permissions(folder.path() / "locked.jpg", fs::perms::none);
    const bool root = ::geteuid() == 0; // root reads anything
    for (const char* name :
         {"cut.jpg", "noise.jpg", "empty.png", "huge.jpg", "big.jpg", "locked.jpg", "none.jpg"}) {
        if (root && std::string(name) == "locked.jpg")
            continue;
        auto thumb = ThumbnailLoader::makeThumbnail(folder.path() / name, 32);
        EXPECT_FALSE(thumb.ok()) << name;
        if (!thumb.ok()) {
            EXPECT_FALSE(thumb.error().empty()) << name;
        }
    }
}

TEST_F(Thumbnails, LoaderDecodesWhatIsAskedInTheBackgroundAndReportsEach) {
    std::vector<fs::path> files;
    for (int i = 0; i < 6; ++i) {
        files.push_back(folder.path() / ("p" + std::to_string(i) + ".jpg"));
        writeJpeg(files.back(), 64, 48, {std::uint8_t(40 * i), 0, 0});
    }
    writeBytes(folder.path() / "bad.jpg", std::vector<std::uint8_t>(100, 1));
    files.push_back(folder.path() / "bad.jpg");

    ThumbnailLoader loader(files, 16);
    std::vector<std::size_t> ready;
    loader.setReadyHandler([&](std::size_t i) { ready.push_back(i); });
    loader.request({6, 1, 3});
    // Nothing lands until the main thread takes the results.
    EXPECT_TRUE(ready.empty());
    platform::RunLoop::main().drain();
    std::sort(ready.begin(), ready.end());
    EXPECT_EQ(ready, (std::vector<std::size_t>{1, 3, 6}));
    EXPECT_EQ(loader.state(1), ThumbnailLoader::State::Ready);
    EXPECT_EQ(loader.state(6), ThumbnailLoader::State::Failed);
    EXPECT_EQ(loader.state(0), ThumbnailLoader::State::None);
    EXPECT_EQ(loader.thumbnail(6), nullptr);
    ASSERT_NE(loader.thumbnail(3), nullptr);
    EXPECT_TRUE(near(pixel(*loader.thumbnail(3), 8, 8), {120, 0, 0}, 6));

    // Asked again, a failure is not decoded again, nor a thumbnail held.
    ready.clear();
    loader.request({6, 3});
    EXPECT_EQ(loader.outstanding(), 0u);
    platform::RunLoop::main().drain();
    EXPECT_TRUE(ready.empty());

    // Held thumbnails beyond the limit go, farthest from the shown range first.
    loader.request({0, 2, 4, 5});
    platform::RunLoop::main().drain();
    EXPECT_EQ(loader.thumbnailsHeld(), 6u);
    loader.trim(4, 5, 3);
    EXPECT_EQ(loader.thumbnailsHeld(), 3u);
    EXPECT_NE(loader.thumbnail(4), nullptr);
    EXPECT_NE(loader.thumbnail(5), nullptr);
    EXPECT_NE(loader.thumbnail(3), nullptr);
    EXPECT_EQ(loader.thumbnail(0), nullptr);
}

TEST_F(Thumbnails, ANewRequestDropsWhatHasNotStarted) {
    std::vector<fs::path> files;
    for (int i = 0; i < 40; ++i) {
        files.push_back(folder.path() / ("p" + std::to_string(i) + ".jpg"));
        writeJpeg(files.back(), 32, 32, {0, 0, 0});
    }
    ThumbnailLoader loader(files, 16);
    std::vector<std::size_t> all(40);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    loader.request(all);
    loader.request({39});
    platform::RunLoop::main().drain();
    // At most the decodes already running when the second request came.
    std::size_t done = 0;
    for (std::size_t i = 0; i < 39; ++i)
        done += loader.state(i) == ThumbnailLoader::State::Ready;
    EXPECT_LE(done, std::size_t(ThumbnailLoader::kWorkers));
    EXPECT_EQ(loader.state(39), ThumbnailLoader::State::Ready);
}

TEST_F(Thumbnails, ResultsArrivingAfterTheLoaderIsGoneAreDropped) {
    const auto file = folder.path() / "a.jpg";
    writeJpeg(file, 64, 64, {0, 0, 0});
    auto loader = std::make_unique<ThumbnailLoader>(std::vector<fs::path>{file}, 16);
    loader->setReadyHandler([](std::size_t) { FAIL() << "a gone loader was called"; });
    loader->request({0});
    loader.reset();
    platform::RunLoop::main().drain();
}

} // namespace
