#include "platform/graphics/PixelMemory.h"

#include <cstdlib>

#include <sys/mman.h>

namespace platform {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kPage = 4096;

bool mappedOnItsOwn(std::size_t bytes) {
    return bytes >= PixelMemory::kMappedFrom;
}

std::size_t roundedToPages(std::size_t bytes) {
    return (bytes + kPage - 1) / kPage * kPage;
}

// Maps a huge page more than asked and gives back the ends, so that the
// block starts on a huge-page boundary.
std::uint8_t* mapAligned(std::size_t bytes) {
    const std::size_t length = roundedToPages(bytes);
    void* raw = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    const std::uintptr_t end = start + length + kHugePage;
    if (end > aligned + length)
        ::munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    auto* block = reinterpret_cast<std::uint8_t*>(aligned);
    // Only a hint: where huge pages are off the block is used as it is.
    (void)::madvise(block, length, MADV_HUGEPAGE);
    return block;
}

} // namespace

std::uint8_t* PixelMemory::allocate(std::size_t bytes) {
    if (mappedOnItsOwn(bytes))
        return mapAligned(bytes);
    return static_cast<std::uint8_t*>(std::calloc(bytes, 1));
}

void PixelMemory::release(std::uint8_t* pixels, std::size_t bytes) {
    if (!pixels)
        return;
    if (mappedOnItsOwn(bytes))
        ::munmap(pixels, roundedToPages(bytes));
    else
        std::free(pixels);
}

} // namespace platform
