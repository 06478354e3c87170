#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/foundation/LibraryPages.h"

using platform::LibraryPages;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kPages = 64;

// The resident kilobytes of the /proc/self/smaps entry holding `address`
// (-1 when none does).
long residentKb(const void* address) {
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        unsigned long begin = 0, end = 0;
        char perms[5] = {};
        // Field lines ("Rss:", "AnonHugePages:") never read as a range.
        if (std::sscanf(line.c_str(), "%lx-%lx %4s", &begin, &end, perms) == 3) {
            inside = at >= begin && at < end;
            continue;
        }
        if (inside && line.rfind("Rss:", 0) == 0)
            return std::strtol(line.c_str() + 4, nullptr, 10);
    }
    return -1;
}

// A scratch file of kPages pages, each filled with its own number.
struct ScratchFile {
    fs::path path;
    int fd = -1;
    std::size_t size = 0;

    ScratchFile() {
        const char* tmp = std::getenv("ZORBEL_TEST_TMP");
        const fs::path dir =
            fs::path(tmp && *tmp ? tmp : fs::temp_directory_path().string()) / "library-pages";
        fs::create_directories(dir);
        path = dir / ("pages-" + std::to_string(getpid()));
        size = kPages * std::size_t(sysconf(_SC_PAGESIZE));
        std::vector<char> bytes(size);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = char(i / std::size_t(sysconf(_SC_PAGESIZE)) + 1);
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(size));
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    ~ScratchFile() {
        if (fd >= 0)
            close(fd);
        fs::remove(path);
    }
    // Every page read through `map`, summed (which also makes them resident).
    long touch(const char* map) const {
        long sum = 0;
        for (std::size_t i = 0; i < size; i += 64)
            sum += static_cast<const volatile char*>(map)[i];
        return sum;
    }
};

LibraryPages::Range rangeOf(const void* map, std::size_t size) {
    const auto begin = reinterpret_cast<std::uintptr_t>(map);
    return {begin, begin + size};
}

} // namespace

// A read-only private mapping of a file, read through, gives its pages back
// and reads the same bytes afterwards (they fault in again from the file).
TEST(LibraryPages, CleanFilePagesGoBackAndReadTheSameAfterwards) {
    ScratchFile file;
    ASSERT_GE(file.fd, 0);
    auto* map = static_cast<char*>(mmap(nullptr, file.size, PROT_READ, MAP_PRIVATE, file.fd, 0));
    ASSERT_NE(map, MAP_FAILED);
    const long sum = file.touch(map);
    const long before = residentKb(map);
    ASSERT_GE(before, long(file.size / 1024) / 2);

    const auto released = LibraryPages::releaseCleanFilePages({rangeOf(map, file.size)});
    EXPECT_EQ(released.mappings, 1);
    EXPECT_EQ(released.bytes, std::size_t(before) * 1024);
    EXPECT_EQ(residentKb(map), 0);
    EXPECT_EQ(file.touch(map), sum);
    EXPECT_EQ(map[file.size - 1], char(kPages));
    munmap(map, file.size);
}

// Pages of their own (written once, as relocated constants are, then made
// read-only) would be lost: such a mapping keeps every page and its bytes;
// so does one still writable, and so does anything outside the ranges.
TEST(LibraryPages, MappingsWithWrittenPagesOrOutsideTheRangesAreLeftAlone) {
    ScratchFile file;
    ASSERT_GE(file.fd, 0);
    auto* written = static_cast<char*>(
        mmap(nullptr, file.size, PROT_READ | PROT_WRITE, MAP_PRIVATE, file.fd, 0));
    ASSERT_NE(written, MAP_FAILED);
    file.touch(written);
    written[5] = 'W';
    ASSERT_EQ(mprotect(written, file.size, PROT_READ), 0);

    auto* writable = static_cast<char*>(
        mmap(nullptr, file.size, PROT_READ | PROT_WRITE, MAP_PRIVATE, file.fd, 0));
    ASSERT_NE(writable, MAP_FAILED);
    file.touch(writable);

    auto* elsewhere =
        static_cast<char*>(mmap(nullptr, file.size, PROT_READ, MAP_PRIVATE, file.fd, 0));
    ASSERT_NE(elsewhere, MAP_FAILED);
    file.touch(elsewhere);

    const long writtenKb = residentKb(written);
    const long writableKb = residentKb(writable);
    const long elsewhereKb = residentKb(elsewhere);
    const auto released = LibraryPages::releaseCleanFilePages(
        {rangeOf(written, file.size), rangeOf(writable, file.size)});
    EXPECT_EQ(released.mappings, 0);
    EXPECT_EQ(released.bytes, 0u);
    EXPECT_EQ(written[5], 'W');
    EXPECT_EQ(residentKb(written), writtenKb);
    EXPECT_EQ(residentKb(writable), writableKb);
    EXPECT_EQ(residentKb(elsewhere), elsewhereKb);
    munmap(written, file.size);
    munmap(writable, file.size);
    munmap(elsewhere, file.size);
}

// A library loaded after the snapshot: its code is found among the new
// read-only segments, given back, and still runs.
TEST(LibraryPages, CodeOfALibraryLoadedSinceGoesBackAndStillRuns) {
    if (dlopen("libz.so.1", RTLD_NOW | RTLD_NOLOAD))
        GTEST_SKIP() << "zlib is loaded already";
    const LibraryPages before = LibraryPages::loadedNow();
    EXPECT_TRUE(before.readOnlySegmentsSince().empty());
    void* zlib = dlopen("libz.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!zlib)
        GTEST_SKIP() << "zlib is not installed";
    using Version = const char* (*)();
    auto version = reinterpret_cast<Version>(dlsym(zlib, "zlibVersion"));
    ASSERT_NE(version, nullptr);
    const std::string expected = version();
    const auto at = reinterpret_cast<std::uintptr_t>(version);
    bool found = false;
    for (const auto& r : before.readOnlySegmentsSince())
        found = found || (at >= r.begin && at < r.end);
    EXPECT_TRUE(found);

    ASSERT_GT(residentKb(reinterpret_cast<void*>(version)), 0);
    const auto released = before.releaseSince();
    EXPECT_GE(released.mappings, 1);
    EXPECT_GT(released.bytes, 0u);
    EXPECT_EQ(residentKb(reinterpret_cast<void*>(version)), 0);
    EXPECT_EQ(std::string(version()), expected);
    EXPECT_GT(LibraryPages::loadedNow().count(), before.count());
    dlclose(zlib);
}
