#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include "platform/foundation/ArchiveFile.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "tests/platform/foundation/TestCodables.h"

using namespace archive_test;
using platform::ArchiveFile;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
    const char* tmp = std::getenv("ZORBEL_TEST_TMP");
    fs::path dir =
        fs::path(tmp && *tmp ? tmp : fs::temp_directory_path().string()) / ("archive-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string text(const fs::path& p) {
    auto bytes = platform::readFile(p);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<unreadable>");
}

void put(const fs::path& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
}

std::shared_ptr<Codable> note(const std::string& text) {
    auto n = std::make_shared<Note>();
    n->text = text;
    return n;
}

std::string noteText(const std::shared_ptr<Codable>& o) {
    const auto* n = dynamic_cast<const Note*>(o.get());
    return n ? n->text : "<not a note>";
}

struct QuietLog {
    QuietLog() {
        platform::setLogQuiet(true);
        platform::clearLogCapture();
    }
    ~QuietLog() { platform::setLogQuiet(false); }
};

} // namespace

TEST(ArchiveFile, WrittenListReadsBackInOrder) {
    const fs::path dir = scratch("roundtrip");
    const ArchiveFile file(dir / "Layers.archive");
    EXPECT_FALSE(file.exists());
    ASSERT_TRUE(file.writeRootObjects(
        pointers({note("back"), std::make_shared<Sticker>(), note("front")})));
    EXPECT_TRUE(file.exists());
    const ArchiveFile::Contents c = file.readRootObjects(registry());
    EXPECT_TRUE(c.problems.empty());
    EXPECT_TRUE(c.setAsidePath.empty());
    ASSERT_EQ(c.objects.size(), 3u);
    EXPECT_EQ(noteText(c.objects[0]), "back");
    EXPECT_TRUE(dynamic_cast<const Sticker*>(c.objects[1].get()));
    EXPECT_EQ(noteText(c.objects[2]), "front");
    // Only the archive is left in the folder: the temporary file was renamed.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(ArchiveFile, RemovingLeavesNothingAndNoFileMeansNoObjects) {
    const fs::path dir = scratch("remove");
    const ArchiveFile file(dir / "Layers.archive");
    EXPECT_TRUE(file.remove()); // nothing there is success
    ASSERT_TRUE(file.writeRootObjects(pointers({note("a")})));
    EXPECT_TRUE(file.remove());
    EXPECT_FALSE(file.exists());
    const ArchiveFile::Contents c = file.readRootObjects(registry());
    EXPECT_TRUE(c.objects.empty());
    EXPECT_TRUE(c.problems.empty());
    EXPECT_FALSE(file.exists());
}

// A write that cannot be made leaves the previous archive as it was.
TEST(ArchiveFile, FailedWriteKeepsThePreviousFile) {
    QuietLog quiet;
    const fs::path dir = scratch("failedwrite");
    const ArchiveFile file(dir / "Layers.archive");
    ASSERT_TRUE(file.writeRootObjects(pointers({note("kept")})));
    const std::string before = text(file.path());
    std::vector<std::shared_ptr<Codable>> many(1001, note("x"));
    EXPECT_FALSE(file.writeRootObjects(pointers(many)));
    EXPECT_EQ(text(file.path()), before);

    const ArchiveFile nowhere(dir / "missing-folder" / "Layers.archive");
    EXPECT_FALSE(nowhere.writeRootObjects(pointers({note("a")})));
}

// An object that cannot be written is left out with a log line; the others are kept.
TEST(ArchiveFile, ObjectThatCannotBeWrittenIsLoggedAndLeftOut) {
    QuietLog quiet;
    const fs::path dir = scratch("leftout");
    const ArchiveFile file(dir / "Layers.archive");
    auto bad = std::make_shared<Sticker>();
    bad->ratio = std::nan("");
    ASSERT_TRUE(file.writeRootObjects(pointers({note("a"), bad, note("b")})));
    EXPECT_TRUE(platform::logContains("Archive " + file.path().string() +
                                      ": element 2 (Sticker) of \"root\" left out: \"Ratio\" is "
                                      "not a finite number"));
    const ArchiveFile::Contents c = file.readRootObjects(registry());
    ASSERT_EQ(c.objects.size(), 2u);
    EXPECT_EQ(noteText(c.objects[1]), "b");
}

// A damaged archive is logged and moved aside, never written over; a second
// damaged one does not replace the first.
TEST(ArchiveFile, DamagedFileIsSetAsideAndLogged) {
    QuietLog quiet;
    const fs::path dir = scratch("damaged");
    const ArchiveFile file(dir / "Layers.archive");
    put(file.path(), "{\"archiver\": \"ZorbelKeyed");
    ArchiveFile::Contents c = file.readRootObjects(registry());
    EXPECT_TRUE(c.objects.empty());
    ASSERT_EQ(c.problems.size(), 1u);
    EXPECT_EQ(c.problems[0], "not valid JSON");
    EXPECT_EQ(c.setAsidePath, dir / "Layers.archive.damaged");
    EXPECT_EQ(text(c.setAsidePath), "{\"archiver\": \"ZorbelKeyed");
    EXPECT_FALSE(file.exists());
    EXPECT_TRUE(platform::logContains("Archive " + file.path().string() + ": not valid JSON"));
    EXPECT_TRUE(platform::logContains("Archive " + file.path().string() +
                                      " was not read whole (0 objects read); moved it to " +
                                      (dir / "Layers.archive.damaged").string()));

    put(file.path(), "second");
    c = file.readRootObjects(registry());
    EXPECT_EQ(c.setAsidePath, dir / "Layers.archive.damaged-2");
    EXPECT_EQ(text(dir / "Layers.archive.damaged"), "{\"archiver\": \"ZorbelKeyed");
    EXPECT_EQ(text(dir / "Layers.archive.damaged-2"), "second");
}

// The good layers are read; the file, holding a bad one too, is kept aside so
// the next write (of the good ones only) loses nothing.
TEST(ArchiveFile, PartlyReadableFileGivesTheGoodObjectsAndIsSetAside) {
    QuietLog quiet;
    const fs::path dir = scratch("partial");
    const ArchiveFile file(dir / "Layers.archive");
    ASSERT_TRUE(file.writeRootObjects(pointers({note("a"), note("refuse me"), note("c")})));
    const std::string original = text(file.path());
    const ArchiveFile::Contents c = file.readRootObjects(registry());
    ASSERT_EQ(c.objects.size(), 2u);
    EXPECT_EQ(noteText(c.objects[0]), "a");
    EXPECT_EQ(noteText(c.objects[1]), "c");
    ASSERT_EQ(c.problems.size(), 1u);
    EXPECT_EQ(c.problems[0], "element 2 (Note) of \"root\" left out: the note refuses");
    EXPECT_EQ(text(c.setAsidePath), original);
    EXPECT_TRUE(platform::logContains("was not read whole (2 objects read)"));
}

// Something other than a plain file at the path is never opened (a FIFO would
// block the launch) and is moved aside; so is one larger than the limit,
// which is not read at all.
TEST(ArchiveFile, FifoFolderAndOversizedFileAreSetAside) {
    QuietLog quiet;
    const fs::path dir = scratch("special");
    const ArchiveFile file(dir / "Layers.archive");

    ASSERT_EQ(::mkfifo(file.path().c_str(), 0644), 0);
    ArchiveFile::Contents c = file.readRootObjects(registry());
    ASSERT_EQ(c.problems.size(), 1u);
    EXPECT_EQ(c.problems[0], "not a regular file");
    EXPECT_TRUE(fs::is_fifo(c.setAsidePath));

    fs::create_directory(file.path());
    c = file.readRootObjects(registry());
    EXPECT_EQ(c.problems.at(0), "not a regular file");
    EXPECT_TRUE(fs::is_directory(c.setAsidePath));

    put(file.path(), "");
    fs::resize_file(file.path(), (std::uintmax_t(16) << 20) + 1);
    c = file.readRootObjects(registry());
    EXPECT_EQ(c.problems.at(0), "larger than 16 MB (16777217 bytes)");
    EXPECT_EQ(fs::file_size(c.setAsidePath), (std::uintmax_t(16) << 20) + 1);
    EXPECT_FALSE(file.exists());

    // A link to nowhere is moved aside too, as the link.
    fs::create_symlink(dir / "nowhere", file.path());
    c = file.readRootObjects(registry());
    EXPECT_EQ(c.problems.at(0), "not a regular file");
    EXPECT_TRUE(fs::is_symlink(c.setAsidePath));
}

// When the unread file cannot be moved aside it stays, and this run neither
// writes over it nor removes it.
TEST(ArchiveFile, UnreadFileThatCannotBeMovedIsNeverWrittenOver) {
    QuietLog quiet;
    const fs::path dir = scratch("cannotmove");
    const ArchiveFile file(dir / "Layers.archive");
    put(file.path(), "damaged");
    put(dir / "Layers.archive.damaged", "");
    for (int n = 2; n <= 1000; ++n)
        put(dir / ("Layers.archive.damaged-" + std::to_string(n)), "");
    const ArchiveFile::Contents c = file.readRootObjects(registry());
    EXPECT_TRUE(c.setAsidePath.empty());
    EXPECT_TRUE(file.keepsUnreadFile());
    EXPECT_FALSE(file.writeRootObjects(pointers({note("a")})));
    EXPECT_FALSE(file.remove());
    EXPECT_EQ(text(file.path()), "damaged");
    EXPECT_TRUE(platform::logContains("could not be moved aside (no free name beside"));
    EXPECT_TRUE(platform::logContains("so it is kept and not written in this run"));
}

TEST(ArchiveFile, SetAsideNeverReplacesAnExistingFile) {
    const fs::path dir = scratch("aside");
    put(dir / "f", "new");
    put(dir / "f.damaged", "old");
    put(dir / "f.damaged-2", "older");
    auto aside = platform::moveAside(dir / "f", ".damaged");
    ASSERT_TRUE(aside);
    EXPECT_EQ(*aside, dir / "f.damaged-3");
    EXPECT_EQ(text(dir / "f.damaged"), "old");
    EXPECT_EQ(text(dir / "f.damaged-3"), "new");
    EXPECT_FALSE(platform::moveAside(dir / "gone", ".damaged"));
}
