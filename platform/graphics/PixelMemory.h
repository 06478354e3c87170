#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Zeroed memory for a bitmap's pixels. A large bitmap (the canvas's buffers,
// the window's framebuffer at scale 2) is mapped on its own, aligned for the
// kernel's huge pages: touching it for the first time then costs a handful of
// page faults instead of one for every 4 KB, which at launch was a large part of the
// time spent drawing the first frame.
class PixelMemory {
public:
    // Blocks of at least this many bytes are mapped on their own.
    static constexpr std::size_t kMappedFrom = std::size_t(2) << 20;

    // Null when the memory cannot be had.
    [[nodiscard]] static std::uint8_t* allocate(std::size_t bytes);
    // `bytes` is what allocate was given.
    static void release(std::uint8_t* pixels, std::size_t bytes);
};

} // namespace platform
