#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "platform/foundation/Prefault.h"

using namespace platform;

namespace {

// How many of the pages of [data, data + bytes) are resident.
std::size_t residentPages(void* data, std::size_t bytes) {
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> flags((bytes + page - 1) / page);
    if (mincore(data, bytes, flags.data()) != 0)
        return 0;
    return std::size_t(
        std::count_if(flags.begin(), flags.end(), [](unsigned char f) { return f & 1; }));
}

} // namespace

// Fresh memory has no page yet; afterwards every page is there, still zero,
// and writable.
TEST(Prefault, PagesOfABlockAboutToBeWrittenAreResidentAtOnce) {
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    const std::size_t bytes = 256 * page;
    auto* block = static_cast<std::uint8_t*>(
        mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(block, MAP_FAILED);
    ASSERT_EQ(residentPages(block, bytes), 0u);
    prefaultForWriting(block, bytes);
    EXPECT_EQ(residentPages(block, bytes), 256u);
    EXPECT_TRUE(std::all_of(block, block + bytes, [](std::uint8_t b) { return b == 0; }));
    block[bytes - 1] = 7;
    EXPECT_EQ(block[bytes - 1], 7);
    munmap(block, bytes);
}

// What readers fill: as many bytes as asked, all zero.
TEST(Prefault, PrefaultedBytesAreZeroToTheSizeAsked) {
    const std::size_t bytes = 300 * std::size_t(sysconf(_SC_PAGESIZE)) + 123;
    const std::vector<std::uint8_t> block = prefaultedBytes(bytes);
    ASSERT_EQ(block.size(), bytes);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; }));
}
