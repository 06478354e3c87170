#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"
#include "platform/graphics/ImagePixels.h"
#include "platform/graphics/PictureOrientation.h"
#include "platform/graphics/Size.h"

namespace platform {

// Immutable pixels in the canvas pixel format: bytes A, R, G, B, premultiplied,
// rows of width * 4 bytes, top row first. The orientation (PictureOrientation,
// stored as its number) is metadata only: the pixels stay as stored, and
// Context::drawImage ignores it (drawImageUpright applies it).
class Image {
public:
    static constexpr int kMaxDimension = 8192;
    static constexpr std::int64_t kMaxPixels = 64ll * 1024 * 1024;
    // The level for the canvas's own files (flushes, termination): zlib level 1
    // with the "up" filter; a painted 320 x 480 canvas encodes about five times
    // faster than at the default (3 ms against 15) for some 15 % more bytes.
    static constexpr int kFastPngCompression = 1;
    static constexpr int kDefaultPngCompression = -1;

    // Takes the pixels; fails for a size outside the limits or a wrong byte count.
    static Result<std::shared_ptr<const Image>>
    create(int width, int height, std::vector<std::uint8_t> argbPremultiplied, int orientation = 0);

    // Decodes PNG or JPEG (recognised by content). maxDimension > 0 lets a JPEG
    // decode at a reduced scale whose size is still at least maxDimension on
    // its long side. Failures are logged and returned with the reason.
    static Result<std::shared_ptr<const Image>> decode(std::span<const std::uint8_t> bytes,
                                                       int maxDimension = 0);
    static Result<std::shared_ptr<const Image>> load(const std::filesystem::path& path,
                                                     int maxDimension = 0);

    // A picture of the app's resources by file name ("whitevert480.png", or
    // "whitevert480" meaning the .png), shared: while anyone holds it, it is
    // handed out again as the same object. Pictures nobody holds are kept for
    // a while, within a byte budget (NamedPictureCache). Null when there is no
    // such resource or it cannot be decoded (the decoder logs why; a missing
    // one is not logged: callers log their own line). Thread-safe.
    static std::shared_ptr<const Image> named(std::string_view name);
    // Lets go of the pictures named() keeps that nobody else holds (an overlay
    // no longer on the painting, a closed picker's thumbnails); they are loaded
    // again when next asked for. Returns how many went. Thread-safe.
    static std::size_t purgeNamedPictures();

    int width() const { return width_; }   // pixels, as stored
    int height() const { return height_; } // pixels, as stored
    // Size in points as the picture is seen: width and height exchanged for the
    // orientations that turn it a quarter.
    Size size() const;
    PictureOrientation pictureOrientation() const { return orientation_; }
    int orientation() const { return int(orientation_); } // the stored number
    std::size_t bytesPerRow() const { return std::size_t(width_) * 4; }
    const std::uint8_t* data() const { return block_ ? block_.data() : pixels_.data(); }
    std::span<const std::uint8_t> bytes() const {
        return block_ ? std::span<const std::uint8_t>(block_.data(), block_.size())
                      : std::span<const std::uint8_t>(pixels_);
    }
    // True when every alpha byte is 255.
    bool isOpaque() const;

    // PNG bytes, un-premultiplied, top row first; RGB when the picture is opaque.
    // compressionLevel -1 is zlib's default level with adaptive row filters;
    // 0..9 is that zlib level, with the "up" filter for levels 0 to 3. The
    // canvas's files use kFastPngCompression.
    Result<std::vector<std::uint8_t>> pngData(int compressionLevel = -1) const;
    // The same for raw canvas-format pixels, without making an Image first;
    // bottomUp writes the last row first (a y-up buffer as seen on screen).
    static Result<std::vector<std::uint8_t>> encodePng(const std::uint8_t* argbPremultiplied,
                                                       int width, int height,
                                                       std::size_t bytesPerRow, bool bottomUp,
                                                       int compressionLevel = -1);

    // The picture as it is seen: the stored pixels turned and mirrored as its
    // orientation says, into a picture of orientation Up, pixel for pixel
    // (what drawImageUpright draws at the picture's size). The very same
    // picture when it is Up; null for a null picture or when there is no
    // memory for the turned one.
    static std::shared_ptr<const Image> upright(const std::shared_ptr<const Image>& image);

    Image(int width, int height, std::vector<std::uint8_t> pixels, int orientation);
    // Takes pixels made whole (pixels.size() == width * 4 * height).
    Image(int width, int height, ImagePixels pixels, int orientation);
    Image(const Image& other);
    Image& operator=(const Image&) = delete;

private:
    static Result<std::shared_ptr<const Image>> decodePng(std::span<const std::uint8_t> bytes);
    static Result<std::shared_ptr<const Image>> decodeJpeg(std::span<const std::uint8_t> bytes,
                                                           int maxDimension);

    int width_;
    int height_;
    PictureOrientation orientation_;
    // The pixels are in one of the two: a vector handed over, or a block
    // made for the picture (ImagePixels).
    std::vector<std::uint8_t> pixels_;
    ImagePixels block_;
    mutable std::atomic<int> opaque_{-1}; // -1 not yet known, else 0 or 1
};

using ImageRef = std::shared_ptr<const Image>;

} // namespace platform
