#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

// The small picture a camera stores in a JPEG's EXIF block (commonly 160 x
// 120), with the main picture's orientation (0 up ... as Image numbers them).
struct ExifThumbnail {
    std::vector<std::uint8_t> jpeg;
    int orientation = 0;

    // Null when the bytes are not a JPEG with an EXIF thumbnail.
    static std::optional<ExifThumbnail> find(std::span<const std::uint8_t> jpegFile);
};

} // namespace platform
