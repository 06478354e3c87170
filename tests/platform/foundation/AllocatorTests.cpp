#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/foundation/Allocator.h"

using platform::Allocator;

namespace {
// Blocks the compiler may not leave out: their address is seen.
void* volatile seen;
} // namespace

// Once tuned, a picture-sized block has pages of its own even after a larger
// one was freed (which untuned would have moved the threshold above it), and
// freeing it hands those pages back at once.
TEST(Allocator, PictureSizedBlocksGetAndReturnPagesOfTheirOwn) {
    if (!Allocator::keepLargeBlocksApart())
        GTEST_SKIP() << "the allocator cannot be tuned in this build (sanitizer or C library)";
#if defined(__GLIBC__)
    const auto mapped = [] { return mallinfo2().hblkhd; };
    void* larger = std::malloc(8u << 20);
    ASSERT_NE(larger, nullptr);
    seen = larger;
    std::memset(larger, 1, 8u << 20);
    std::free(larger);
    const std::size_t before = mapped();
    void* picture = std::malloc(320 * 480 * 4);
    ASSERT_NE(picture, nullptr);
    seen = picture;
    std::memset(picture, 1, 320 * 480 * 4);
    EXPECT_GE(mapped(), before + 320 * 480 * 4);
    std::free(picture);
    EXPECT_EQ(mapped(), before);
    // Small blocks still come from the heap.
    void* small = std::malloc(Allocator::kOwnPagesFrom / 2);
    seen = small;
    EXPECT_EQ(mapped(), before);
    std::free(small);
#endif
}
