#include "platform/ui/PhotoAlbum.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/foundation/Paths.h"

using namespace platform;
namespace fs = std::filesystem;

// Two pictures saved in the same second get two files; neither replaces the other.
TEST(PhotoAlbum, SavesUnderNewDatedNamesWithoutReplacing) {
    const char* tmp = std::getenv("ZORBEL_TEST_TMP");
    const fs::path home = fs::path(tmp ? tmp : "/tmp") / "album-home";
    fs::remove_all(home);
    Paths::setHome(home);
    auto image = Image::create(2, 1, {255, 255, 0, 0, 255, 0, 0, 255});
    ASSERT_TRUE(image);
    auto first = PhotoAlbum::saveImage(**image);
    auto second = PhotoAlbum::saveImage(**image);
    ASSERT_TRUE(first) << first.error();
    ASSERT_TRUE(second) << second.error();
    EXPECT_NE(*first, *second);
    EXPECT_EQ(first->parent_path(), PhotoAlbum::directory());
    EXPECT_EQ(first->filename().string().rfind("Zorbel ", 0), 0u);
    EXPECT_EQ(first->extension(), ".png");
    int files = 0;
    for (const auto& e : fs::directory_iterator(PhotoAlbum::directory())) {
        ++files;
        auto back = Image::load(e.path());
        ASSERT_TRUE(back);
        EXPECT_EQ((*back)->width(), 2);
    }
    EXPECT_EQ(files, 2); // no temporary file left behind
    Paths::setHome({});
}
