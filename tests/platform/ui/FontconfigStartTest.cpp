// fontconfig is started with the configuration a person's environment names,
// as FcInit starts it; one that names no cache folder, or cannot be read,
// gets FcInit's defaults and fallbacks, and fonts are found either way.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include "platform/ui/FontFaces.h"

using namespace platform::detail;
namespace fs = std::filesystem;

namespace {

const fs::path kDejaVu = "/usr/share/fonts/truetype/dejavu";

std::vector<std::string> listed(FcStrList* list) {
    std::vector<std::string> out;
    if (!list)
        return out;
    while (FcChar8* s = FcStrListNext(list))
        out.emplace_back(reinterpret_cast<const char*>(s));
    FcStrListDone(list);
    return out;
}

bool contains(const std::vector<std::string>& list, const fs::path& path) {
    for (const auto& s : list)
        if (fs::path(s) == path)
            return true;
    return false;
}

class FontconfigStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tmp = std::getenv("ZORBEL_TEST_TMP");
        dir_ = fs::path(tmp ? tmp : ZORBEL_BINARY_DIR "/test-tmp") /
               ("fontconfig-start-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        config_ = dir_ / "fonts.conf";
        ::setenv("FONTCONFIG_FILE", config_.c_str(), 1);
    }
    // Whatever runs next in this process starts fontconfig afresh, with the
    // system's configuration.
    void TearDown() override {
        ::unsetenv("FONTCONFIG_FILE");
        FcFini();
        fs::remove_all(dir_);
    }

    void write(const std::string& text) { std::ofstream(config_) << text; }

    // The file of the face fontconfig now gives for `family`, any family.
    static std::string faceFileFor(const char* family) {
        FoundFace face;
        return askStartedFontconfig({family, -1, -1}, false, face) ? face.file : std::string();
    }

    fs::path dir_, config_;
};

} // namespace

// The named configuration is the one in use: its file, its one font folder and
// its cache folder, and only that folder's faces are given.
TEST_F(FontconfigStartTest, TheConfigurationNamedIsTheOneInUse) {
    write("<fontconfig><dir>" + kDejaVu.string() + "</dir><cachedir>" + (dir_ / "cache").string() +
          "</cachedir></fontconfig>");
    ASSERT_TRUE(startFontconfig());
    EXPECT_TRUE(contains(listed(FcConfigGetConfigFiles(nullptr)), config_));
    EXPECT_EQ(listed(FcConfigGetFontDirs(nullptr)), std::vector<std::string>{kDejaVu.string()});
    EXPECT_TRUE(contains(listed(FcConfigGetCacheDirs(nullptr)), dir_ / "cache"));
    EXPECT_EQ(fs::path(faceFileFor("Liberation Sans")).parent_path(), kDejaVu);
    // The templates fontconfig ships are not among the files read.
    for (const auto& file : listed(FcConfigGetConfigFiles(nullptr)))
        EXPECT_EQ(file.find("conf.avail"), std::string::npos) << file;
}

// Without a cache folder named, fontconfig's own defaults are used (as FcInit
// adds them), and the configuration's fonts are still given.
TEST_F(FontconfigStartTest, AConfigurationWithoutACacheFolderGetsTheDefaults) {
    write("<fontconfig><dir>" + kDejaVu.string() + "</dir></fontconfig>");
    ASSERT_TRUE(startFontconfig());
    EXPECT_FALSE(listed(FcConfigGetCacheDirs(nullptr)).empty());
    EXPECT_EQ(fs::path(faceFileFor("DejaVu Sans")).parent_path(), kDejaVu);
}

// A damaged configuration: fontconfig's fallback (the standard font folders)
// answers instead.
TEST_F(FontconfigStartTest, ADamagedConfigurationFallsBackToTheStandardFolders) {
    write("<fontconfig><dir>not closed");
    ASSERT_TRUE(startFontconfig());
    EXPECT_FALSE(faceFileFor("DejaVu Sans").empty());
}
