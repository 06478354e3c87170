#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "platform/foundation/Result.h"
#include "platform/graphics/Size.h"

namespace platform {

// Immutable pixels in the canvas pixel format: bytes A, R, G, B, premultiplied,
// rows of width * 4 bytes, top row first. The orientation (0 up, 1 down,
// 2 left, 3 right, 4..7 their mirrored forms) is metadata only: the pixels
// stay as stored, and Context::drawImage ignores it.
class Image {
public:
    static constexpr int kMaxDimension = 8192;
    static constexpr std::int64_t kMaxPixels = 64ll * 1024 * 1024;

    // Takes the pixels; fails for a size outside the limits or a wrong byte count.
    static Result<std::shared_ptr<const Image>> create(int width, int height,
                                                       std::vector<std::uint8_t> argbPremultiplied,
                                                       int orientation = 0);

    // Decodes PNG or JPEG (recognised by content). maxDimension > 0 lets a JPEG
    // decode at a reduced scale whose size is still at least maxDimension on
    // its long side. Failures are logged and returned with the reason.
    static Result<std::shared_ptr<const Image>> decode(std::span<const std::uint8_t> bytes,
                                                       int maxDimension = 0);
    static Result<std::shared_ptr<const Image>> load(const std::filesystem::path& path,
                                                     int maxDimension = 0);

    int width() const { return width_; }   // pixels, as stored
    int height() const { return height_; } // pixels, as stored
    // Size in points as the picture is seen: width and height exchanged for the
    // orientations that turn it a quarter (2, 3, 6, 7).
    Size size() const;
    int orientation() const { return orientation_; }
    std::size_t bytesPerRow() const { return std::size_t(width_) * 4; }
    const std::uint8_t* data() const { return pixels_.data(); }
    std::span<const std::uint8_t> bytes() const { return pixels_; }
    // True when every alpha byte is 255.
    bool isOpaque() const;

    // PNG bytes, un-premultiplied, top row first; RGB when the picture is opaque.
    // compressionLevel -1 is libpng's default; the canvas flush writes use a fast level.
    Result<std::vector<std::uint8_t>> pngData(int compressionLevel = -1) const;

    Image(int width, int height, std::vector<std::uint8_t> pixels, int orientation);

private:
    int width_;
    int height_;
    int orientation_;
    std::vector<std::uint8_t> pixels_;
};

using ImageRef = std::shared_ptr<const Image>;

} // namespace platform
