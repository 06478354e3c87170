#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/foundation/AppName.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/ResourceBundle.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
    const char* tmp = std::getenv("ZORBEL_TEST_TMP");
    fs::path dir =
        fs::path(tmp && *tmp ? tmp : fs::temp_directory_path().string()) / ("foundation-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string text(const fs::path& p) {
    auto bytes = readFile(p);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<unreadable>");
}

std::size_t entries(const fs::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

// The new content replaces the old whole, and no temporary file is left.
TEST(FileIO, AtomicWriteReplacesTheFileWhole) {
    const fs::path dir = scratch("atomic");
    const fs::path file = dir / "zorbel.png";
    ASSERT_TRUE(writeFileAtomically(file, std::string_view("first version")));
    ASSERT_TRUE(writeFileAtomically(file, std::string_view("second")));
    EXPECT_EQ(text(file), "second");
    EXPECT_EQ(entries(dir), 1u);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::others_read, fs::perms::others_read);
}

// A write that cannot happen leaves the old file as it was.
TEST(FileIO, FailedWriteKeepsTheOldFile) {
    const fs::path dir = scratch("failed");
    EXPECT_FALSE(writeFileAtomically(dir / "missing-folder" / "x.png", std::string_view("data")));
    const fs::path file = dir / "keep.png";
    ASSERT_TRUE(writeFileAtomically(file, std::string_view("old")));
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    const bool canStillWrite = ::access(dir.c_str(), W_OK) == 0; // root ignores permissions
    const Status s = writeFileAtomically(file, std::string_view("new"));
    fs::permissions(dir, fs::perms::owner_all);
    if (!canStillWrite) {
        EXPECT_FALSE(s);
        EXPECT_FALSE(s.error().empty());
        EXPECT_EQ(text(file), "old");
    }
    EXPECT_EQ(entries(dir), 1u);
}

TEST(FileIO, ReadFileRefusesLargeFilesAndFolders) {
    const fs::path dir = scratch("read");
    ASSERT_TRUE(writeFileAtomically(dir / "ten", std::string_view("0123456789")));
    EXPECT_TRUE(readFile(dir / "ten", 10));
    auto tooBig = readFile(dir / "ten", 9);
    ASSERT_FALSE(tooBig);
    EXPECT_NE(tooBig.error().find("too large"), std::string::npos);
    EXPECT_FALSE(readFile(dir));
    EXPECT_FALSE(readFile(dir / "none"));
}

TEST(FileIO, ExistenceAndRemoval) {
    const fs::path dir = scratch("remove");
    const fs::path file = dir / "tempundo.png";
    EXPECT_FALSE(fileExists(file));
    EXPECT_FALSE(fileExists(dir)); // a folder is not a file
    ASSERT_TRUE(writeFileAtomically(file, std::string_view("x")));
    EXPECT_TRUE(fileExists(file));
    EXPECT_TRUE(removeFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_TRUE(removeFile(file)); // already gone is fine
}

// With a home set, the folders live in it and are made on first use.
TEST(Paths, HomeOverrideRootsEveryFolder) {
    const fs::path home = scratch("home");
    Paths::setHome(home);
    EXPECT_EQ(Paths::documentsDirectory(), home / "Documents");
    EXPECT_EQ(Paths::configDirectory(), home / "config");
    EXPECT_EQ(Paths::picturesDirectory(), home / "Pictures");
    EXPECT_TRUE(fs::is_directory(home / "Documents"));
    Paths::setHome({});
    EXPECT_TRUE(Paths::home().empty());
}

// The platform serves whichever app names itself: no folder keeps another app's name.
TEST(Paths, FoldersAreNamedAfterTheApp) {
    const fs::path root = scratch("app-name");
    const AppName before = appName();
    const std::string savedData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string savedConfig =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string savedPictures =
        std::getenv("XDG_PICTURES_DIR") ? std::getenv("XDG_PICTURES_DIR") : "";
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_PICTURES_DIR", (root / "pictures").c_str(), 1);
    setAppName({"sketcher", "Sketcher Pro"});
    EXPECT_EQ(Paths::documentsDirectory(), root / "data" / "sketcher" / "Documents");
    EXPECT_EQ(Paths::configDirectory(), root / "config" / "sketcher");
    EXPECT_EQ(Paths::picturesDirectory(), root / "pictures" / "Sketcher Pro");
    setAppName(before);
    setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    setenv("XDG_PICTURES_DIR", savedPictures.c_str(), 1);
}

TEST(Paths, XdgVariablesAreHonoured) {
    const fs::path root = scratch("xdg");
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldData ? oldData : "";
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    EXPECT_EQ(Paths::documentsDirectory(), root / "data" / "zorbel" / "Documents");
    EXPECT_TRUE(fs::is_directory(root / "data" / "zorbel" / "Documents"));
    // A relative value is ignored, as the XDG rules say: the default under
    // $HOME is used (a scratch HOME here, so the real one is left alone).
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", root.c_str(), 1);
    setenv("XDG_DATA_HOME", "relative/path", 1);
    EXPECT_EQ(Paths::documentsDirectory(), root / ".local" / "share" / "zorbel" / "Documents");
    setenv("HOME", savedHome.c_str(), 1);
    if (oldData)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(ResourceBundle, FindsByNameWithOrWithoutType) {
    const fs::path dir = scratch("resources");
    fs::create_directories(dir / "interfaces");
    ASSERT_TRUE(writeFileAtomically(dir / "zzbrush.png", std::string_view("png")));
    ASSERT_TRUE(writeFileAtomically(dir / "interfaces" / "ZZPrefs.json", std::string_view("{}")));
    ResourceBundle::setOverrideDirectory(dir);
    EXPECT_EQ(ResourceBundle::pathForResource("zzbrush", "png"), dir / "zzbrush.png");
    EXPECT_EQ(ResourceBundle::pathForResource("zzbrush.png", "png"), dir / "zzbrush.png");
    EXPECT_EQ(ResourceBundle::pathForResource("zzbrush.png", ""), dir / "zzbrush.png");
    EXPECT_TRUE(ResourceBundle::pathForResource("zznothing", "png").empty());
    EXPECT_EQ(ResourceBundle::pathForInterface("ZZPrefs"), dir / "interfaces" / "ZZPrefs.json");
    EXPECT_EQ(ResourceBundle::searchDirectories().front(), dir);
    ResourceBundle::setOverrideDirectory({});
}

// Names that could reach outside the resource folders are refused with a log line.
TEST(ResourceBundle, PathLikeNamesAreRefused) {
    const fs::path dir = scratch("refuse");
    ASSERT_TRUE(writeFileAtomically(dir / "secret.png", std::string_view("png")));
    fs::create_directories(dir / "inner");
    ResourceBundle::setOverrideDirectory(dir / "inner");
    setLogQuiet(true);
    for (const char* name : {"../secret", "..", "a/b", "a\\b", "", "/etc/passwd", "x..png"}) {
        clearLogCapture();
        EXPECT_TRUE(ResourceBundle::pathForResource(name, "png").empty()) << name;
        EXPECT_TRUE(logContains("refused")) << name;
    }
    EXPECT_TRUE(ResourceBundle::pathForResource("secret", "../png").empty());
    EXPECT_TRUE(ResourceBundle::pathForInterface("../x").empty());
    setLogQuiet(false);
    ResourceBundle::setOverrideDirectory({});
}
