#include "platform/foundation/Allocator.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

// The sanitizers bring their own allocator, which ignores these calls.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define ZORBEL_TUNABLE_ALLOCATOR 1
#endif

bool Allocator::keepLargeBlocksApart() {
#ifdef ZORBEL_TUNABLE_ALLOCATOR
    // Setting the threshold also stops the C library from moving it.
    return mallopt(M_MMAP_THRESHOLD, int(kOwnPagesFrom)) == 1;
#else
    return false;
#endif
}

bool Allocator::returnFreePages() {
#ifdef ZORBEL_TUNABLE_ALLOCATOR
    return malloc_trim(0) == 1;
#else
    return false;
#endif
}

} // namespace platform
