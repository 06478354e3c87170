#pragma once

#include <cstddef>

namespace platform {

// What a keyed archive may hold. The reader refuses anything beyond these, so
// a damaged or hostile file can exhaust neither memory nor time, and the
// writer refuses to write what the reader would refuse.
struct ArchiveLimits {
    // The whole archive text.
    static constexpr std::size_t maxArchiveBytes = std::size_t(16) << 20;
    // Elements of one list of objects (the layer stack).
    static constexpr std::size_t maxListCount = 1000;
    // One string value, in UTF-8 bytes.
    static constexpr std::size_t maxStringBytes = std::size_t(16) << 10;
    // One list of floats (a rectangle is 4).
    static constexpr std::size_t maxFloatCount = 16;
    // Objects inside objects, the root list's elements being depth 1.
    static constexpr int maxObjectDepth = 8;
    // Nesting of the JSON text, and every number, string, list and object in
    // it, checked before the text is parsed.
    static constexpr int maxJsonDepth = 32;
    static constexpr std::size_t maxJsonValues = 250000;
};

} // namespace platform
