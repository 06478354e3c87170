#include "platform/foundation/Prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

namespace platform {

namespace {

// Below this the faults cost less than the call.
constexpr std::size_t kWorthFrom = std::size_t(256) << 10;

} // namespace

void prefaultForWriting(void* data, std::size_t bytes) {
    if (!data || bytes < kWorthFrom)
        return;
    // Only the whole pages inside: the block's first and last pages may be
    // shared with other blocks, which the kernel is free to touch as well.
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + page - 1) & ~(page - 1);
    const std::uintptr_t end = (start + bytes) & ~(page - 1);
    if (end > begin)
        (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

std::vector<std::uint8_t> prefaultedBytes(std::size_t bytes) {
    std::vector<std::uint8_t> block;
    block.reserve(bytes);
    prefaultForWriting(block.data(), bytes);
    block.resize(bytes);
    return block;
}

} // namespace platform
