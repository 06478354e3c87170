#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/foundation/AppName.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/ResourceBundle.h"
#include "tests/support/Fifo.h"

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

// Read into the caller's memory: room is asked for once, for the whole file,
// and only after the checks (a file too large or a device never asks); an
// empty file asks for none; no room fails the read, saying so.
TEST(FileIO, ReadFileIntoAsksOnceForRoomForTheWholeFile) {
    const fs::path dir = scratch("read-into");
    ASSERT_TRUE(writeFileAtomically(dir / "ten", std::string_view("0123456789")));
    ASSERT_TRUE(writeFileAtomically(dir / "empty", std::string_view("")));
    std::vector<std::size_t> asked;
    std::vector<std::uint8_t> room(64, 0xEE);
    auto place = [&](std::size_t size) {
        asked.push_back(size);
        return room.data();
    };
    auto got = readFileInto(dir / "ten", 10, place);
    ASSERT_TRUE(got);
    EXPECT_EQ(got.value(), 10u);
    EXPECT_EQ(asked, std::vector<std::size_t>{10});
    EXPECT_EQ(std::string(room.begin(), room.begin() + 10), "0123456789");
    EXPECT_EQ(room[10], 0xEE);

    asked.clear();
    EXPECT_FALSE(readFileInto(dir / "ten", 9, place));
    EXPECT_FALSE(readFileInto("/dev/zero", 10, place));
    auto empty = readFileInto(dir / "empty", 10, place);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty.value(), 0u);
    EXPECT_TRUE(asked.empty());

    auto noRoom = readFileInto(dir / "ten", 10, [](std::size_t) -> std::uint8_t* { return nullptr; });
    ASSERT_FALSE(noRoom);
    EXPECT_NE(noRoom.error().find("No memory"), std::string::npos) << noRoom.error();
}

// A FIFO would keep open() waiting for a writer, a device could be read from
// for ever: both are refused at once, saying what they are.
TEST(FileIO, ReadFileRefusesFifosAndDevicesWithoutWaiting) {
    const fs::path dir = scratch("read-fifo");
    const fs::path fifo = dir / "defaults.json";
    ASSERT_TRUE(zorbel::test::makeFifo(fifo));
    Result<std::vector<std::uint8_t>> fromFifo = std::vector<std::uint8_t>{};
    EXPECT_TRUE(zorbel::test::returnsWithoutBlocking(fifo, [&] { fromFifo = readFile(fifo); }));
    ASSERT_FALSE(fromFifo);
    EXPECT_NE(fromFifo.error().find("is a FIFO"), std::string::npos) << fromFifo.error();

    auto fromDevice = readFile("/dev/zero");
    ASSERT_FALSE(fromDevice);
    EXPECT_NE(fromDevice.error().find("is a device"), std::string::npos) << fromDevice.error();
    auto fromFolder = readFile(dir);
    ASSERT_FALSE(fromFolder);
    EXPECT_NE(fromFolder.error().find("is a folder"), std::string::npos) << fromFolder.error();
}

// Only a regular file is ever replaced: a FIFO, a folder or a device in its
// place stays as it is (as root, a device node would otherwise be replaced).
TEST(FileIO, AtomicWriteRefusesWhatIsNotAFile) {
    const fs::path dir = scratch("write-odd");
    ASSERT_TRUE(zorbel::test::makeFifo(dir / "fifo.png"));
    fs::create_directories(dir / "folder.png");
    const bool haveDevice = ::mknod((dir / "null.png").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    for (const char* name : {"fifo.png", "folder.png", "null.png"}) {
        if (std::string(name) == "null.png" && !haveDevice)
            continue; // only root may make a device node
        const fs::path target = dir / name;
        const fs::file_type before = fs::symlink_status(target).type();
        const Status s = writeFileAtomically(target, std::string_view("picture"));
        ASSERT_FALSE(s) << name;
        EXPECT_NE(s.error().find("not a file"), std::string::npos) << s.error();
        EXPECT_EQ(fs::symlink_status(target).type(), before) << name;
    }
    EXPECT_EQ(entries(dir), haveDevice ? 3u : 2u); // no temporary file left
}

// A link is followed: the file it names gets the new content, the link stays,
// and a link to nothing yet makes the file it names.
TEST(FileIO, AtomicWriteReplacesTheFileALinkNames) {
    const fs::path dir = scratch("write-link");
    fs::create_directories(dir / "real");
    ASSERT_TRUE(writeFileAtomically(dir / "real" / "zorbel.png", std::string_view("old")));
    fs::create_symlink("real/zorbel.png", dir / "link.png");
    fs::create_symlink(dir / "link.png", dir / "link-to-link.png");
    ASSERT_TRUE(writeFileAtomically(dir / "link-to-link.png", std::string_view("new")));
    EXPECT_EQ(text(dir / "real" / "zorbel.png"), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
    EXPECT_TRUE(fs::is_symlink(dir / "link-to-link.png"));
    EXPECT_EQ(entries(dir / "real"), 1u);

    fs::create_symlink("real/later.png", dir / "dangling.png");
    ASSERT_TRUE(writeFileAtomically(dir / "dangling.png", std::string_view("made")));
    EXPECT_EQ(text(dir / "real" / "later.png"), "made");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.png"));

    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_FALSE(writeFileAtomically(dir / "loop-a", std::string_view("x")));
    EXPECT_TRUE(fs::is_symlink(dir / "loop-a"));
}

// What a killed write leaves (".NAME.XXXXXX", often empty) is removed; every
// other file, a folder or a link of that shape included, is kept.
TEST(FileIO, StaleTemporariesAreRemovedAndNothingElse) {
    const fs::path dir = scratch("stale");
    auto tmp = writeTemporaryFile(dir / "zorbel.png", {});
    ASSERT_TRUE(tmp);
    ASSERT_TRUE(writeFileAtomically(dir / ".defaults.json.a1B2c3", std::string_view("{}")));
    const char* kept[] = {"zorbel.png", ".hidden", ".zorbel.png.abc12", ".zorbel.png.abc-12",
                          "zorbel.png.abc123", ".zorbel.png.abc1234"};
    for (const char* name : kept)
        ASSERT_TRUE(writeFileAtomically(dir / name, std::string_view("keep")));
    fs::create_directories(dir / ".folder.png.abc123");
    fs::create_symlink("zorbel.png", dir / ".link.png.abc123");
    setLogQuiet(true);
    clearLogCapture();
    EXPECT_EQ(removeStaleTemporaries(dir), 2);
    EXPECT_TRUE(logContains("Removed " + tmp->string()));
    setLogQuiet(false);
    EXPECT_FALSE(fs::exists(*tmp));
    EXPECT_FALSE(fs::exists(dir / ".defaults.json.a1B2c3"));
    for (const char* name : kept)
        EXPECT_EQ(text(dir / name), "keep") << name;
    EXPECT_TRUE(fs::is_directory(dir / ".folder.png.abc123"));
    EXPECT_TRUE(fs::is_symlink(dir / ".link.png.abc123"));
    EXPECT_EQ(removeStaleTemporaries(dir / "missing"), 0);
}

// At launch the app's three folders are cleaned, and none is created for it.
TEST(Paths, StaleTemporariesAreRemovedFromEveryFolder) {
    const fs::path home = scratch("stale-home");
    fs::create_directories(home / "Documents");
    fs::create_directories(home / "config");
    ASSERT_TRUE(writeTemporaryFile(home / "Documents" / "zorbel.png", {}));
    ASSERT_TRUE(writeTemporaryFile(home / "config" / "defaults.json", {}));
    Paths::setHome(home);
    setLogQuiet(true);
    EXPECT_EQ(Paths::removeStaleTemporaries(), 2);
    setLogQuiet(false);
    Paths::setHome({});
    EXPECT_EQ(entries(home / "Documents"), 0u);
    EXPECT_EQ(entries(home / "config"), 0u);
    EXPECT_FALSE(fs::exists(home / "Pictures"));
}

// Setting a file aside never replaces another one kept aside before.
TEST(FileIO, MoveAsideTakesTheFirstFreeName) {
    const fs::path dir = scratch("aside");
    for (const char* content : {"first", "second", "third"}) {
        ASSERT_TRUE(writeFileAtomically(dir / "zorbel.png", std::string_view(content)));
        ASSERT_TRUE(moveAside(dir / "zorbel.png", ".damaged"));
    }
    ASSERT_TRUE(zorbel::test::makeFifo(dir / "zorbel.png"));
    auto fifo = moveAside(dir / "zorbel.png", ".damaged");
    ASSERT_TRUE(fifo);
    EXPECT_EQ(*fifo, dir / "zorbel.png.damaged-4");
    EXPECT_EQ(text(dir / "zorbel.png.damaged"), "first");
    EXPECT_EQ(text(dir / "zorbel.png.damaged-2"), "second");
    EXPECT_EQ(text(dir / "zorbel.png.damaged-3"), "third");
    EXPECT_FALSE(moveAside(dir / "zorbel.png", ".damaged"));
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

// A refused file is renamed out of the way, never over an earlier damaged
// copy; folders and FIFOs are moved like files.
TEST(FileIO, MoveAsideKeepsEveryDamagedCopy) {
    const fs::path dir = scratch("aside");
    const fs::path file = dir / "zorbel.png";
    ASSERT_TRUE(writeFileAtomically(file, std::string_view("first")));
    auto first = moveAside(file, ".damaged");
    ASSERT_TRUE(first) << first.error();
    EXPECT_EQ(*first, dir / "zorbel.png.damaged");
    EXPECT_FALSE(pathIsTaken(file));
    ASSERT_TRUE(writeFileAtomically(file, std::string_view("second")));
    auto second = moveAside(file, ".damaged");
    ASSERT_TRUE(second) << second.error();
    EXPECT_EQ(*second, dir / "zorbel.png.damaged-2");
    EXPECT_EQ(text(dir / "zorbel.png.damaged"), "first");
    EXPECT_EQ(text(dir / "zorbel.png.damaged-2"), "second");

    fs::create_directories(file);
    auto folder = moveAside(file, ".damaged");
    ASSERT_TRUE(folder) << folder.error();
    EXPECT_EQ(*folder, dir / "zorbel.png.damaged-3");
    EXPECT_TRUE(fs::is_directory(*folder));

    EXPECT_FALSE(moveAside(dir / "missing.png", ".damaged"));
    EXPECT_EQ(freeNameBeside(dir / "x.png", ".new"), dir / "x.png.new");
}

// With a home set, the folders live in it and are made on first use.
TEST(Paths, HomeOverrideRootsEveryFolder) {
    const fs::path home = scratch("home");
    Paths::setHome(home);
    EXPECT_EQ(Paths::documentsDirectory(), home / "Documents");
    EXPECT_EQ(Paths::configDirectory(), home / "config");
    EXPECT_EQ(Paths::picturesDirectory(), home / "Pictures");
    EXPECT_EQ(Paths::cacheDirectory(), home / "cache");
    EXPECT_TRUE(fs::is_directory(home / "Documents"));
    EXPECT_TRUE(fs::is_directory(home / "cache"));
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
    const char* oldCache = std::getenv("XDG_CACHE_HOME");
    const std::string savedCache = oldCache ? oldCache : "";
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_PICTURES_DIR", (root / "pictures").c_str(), 1);
    setAppName({"sketcher", "Sketcher Pro"});
    EXPECT_EQ(Paths::documentsDirectory(), root / "data" / "sketcher" / "Documents");
    EXPECT_EQ(Paths::configDirectory(), root / "config" / "sketcher");
    EXPECT_EQ(Paths::picturesDirectory(), root / "pictures" / "Sketcher Pro");
    EXPECT_EQ(Paths::cacheDirectory(), root / "cache" / "sketcher");
    setAppName(before);
    if (oldCache)
        setenv("XDG_CACHE_HOME", savedCache.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
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
