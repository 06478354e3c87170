#pragma once

#include <cstddef>

namespace platform {

// How the process's memory allocator treats the app's pictures.
class Allocator {
public:
    // Blocks of at least this many bytes (a quarter of a 320 x 480 canvas
    // buffer: pictures, thumbnails of the large overlays, effect buffers) get
    // pages of their own, which go back to the system the moment they are freed.
    static constexpr std::size_t kOwnPagesFrom = 256u << 10;

    // Call once at start, before the first picture. Without it the C library
    // raises this threshold each time a large block is freed, until pictures
    // come from the shared heap, where the holes they leave stay resident: the
    // app's size then drifts by many megabytes with whichever pictures came
    // and went. Returns false where the allocator cannot be tuned (under a
    // sanitizer's allocator, or another C library).
    static bool keepLargeBlocksApart();
    // Hands the free pages inside the heap back to the system (after a memory
    // warning, once the caches have let go). Returns false when there was
    // nothing to hand back or it cannot be done here.
    static bool returnFreePages();
};

} // namespace platform
