#include "platform/graphics/Image.h"

#include <cstring>
#include <string>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/graphics/NamedPictureCache.h"

namespace platform {

namespace {

// Larger files than this cannot hold a picture within the pixel limits at any
// sane compression; refusing them early keeps a bad file from filling memory.
constexpr std::size_t kMaxFileBytes = 256u << 20;

bool sizeWithinLimits(int width, int height) {
    return width > 0 && height > 0 && width <= Image::kMaxDimension &&
           height <= Image::kMaxDimension && std::int64_t(width) * height <= Image::kMaxPixels;
}

Result<ImageRef> refuse(std::string reason) {
    log(reason);
    return Result<ImageRef>::failure(std::move(reason));
}

} // namespace

Image::Image(int width, int height, std::vector<std::uint8_t> pixels, int orientation)
    : width_(width), height_(height),
      orientation_(pictureOrientationFromNumber(orientation).value_or(PictureOrientation::Up)),
      pixels_(std::move(pixels)) {}

Image::Image(int width, int height, ImagePixels pixels, int orientation)
    : width_(width), height_(height),
      orientation_(pictureOrientationFromNumber(orientation).value_or(PictureOrientation::Up)),
      block_(std::move(pixels)) {}

Image::Image(const Image& other)
    : width_(other.width_), height_(other.height_), orientation_(other.orientation_),
      pixels_(other.bytes().begin(), other.bytes().end()),
      opaque_(other.opaque_.load(std::memory_order_relaxed)) {}

Result<ImageRef> Image::create(int width, int height, std::vector<std::uint8_t> argbPremultiplied,
                               int orientation) {
    if (!sizeWithinLimits(width, height))
        return Result<ImageRef>::failure("Picture size " + std::to_string(width) + " x " +
                                         std::to_string(height) + " is outside the limits");
    if (argbPremultiplied.size() != std::size_t(width) * 4 * std::size_t(height))
        return Result<ImageRef>::failure("Picture data has the wrong size");
    if (!pictureOrientationFromNumber(orientation))
        return Result<ImageRef>::failure("Invalid image orientation");
    return ImageRef(
        std::make_shared<const Image>(width, height, std::move(argbPremultiplied), orientation));
}

Result<ImageRef> Image::decode(std::span<const std::uint8_t> bytes, int maxDimension) {
    static constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0)
        return decodePng(bytes);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return decodeJpeg(bytes, maxDimension);
    return refuse("Not a picture: neither PNG nor JPEG data (" + std::to_string(bytes.size()) +
                  " bytes)");
}

namespace {

Result<ImageRef> loadFile(const std::filesystem::path& path, int maxDimension) {
    // The file's bytes live only while it is decoded; a photo's are several
    // megabytes, which in the memory a picture's pixels get are faulted in a
    // few huge pages instead of 4 KB at a time (some 15 ms for 6 MB).
    ImagePixels file;
    auto got = readFileInto(path, kMaxFileBytes, [&file](std::size_t size) {
        file = ImagePixels::allocate(size);
        return file.data();
    });
    if (!got)
        return refuse(got.error());
    auto image = Image::decode(std::span<const std::uint8_t>(file.data(), got.value()), maxDimension);
    if (!image)
        return Result<ImageRef>::failure(path.filename().string() + ": " + image.error());
    return image;
}

} // namespace

Result<ImageRef> Image::load(const std::filesystem::path& path, int maxDimension) {
    return loadFile(path, maxDimension);
}

ImageRef Image::named(std::string_view name) {
    // A name with its own extension other than .png is looked up as it is.
    const auto dot = name.rfind('.');
    std::string key(name);
    if (dot == std::string_view::npos)
        key += ".png";
    // Only found pictures are kept: a resource built later is still found.
    return NamedPictureCache::shared().picture(key, [](const std::string& file) -> ImageRef {
        const auto path = ResourceBundle::pathForResource(file, "");
        if (path.empty())
            return nullptr;
        auto loaded = load(path);
        return loaded ? *loaded : nullptr;
    });
}

std::size_t Image::purgeNamedPictures() {
    return NamedPictureCache::shared().purge();
}

Size Image::size() const {
    return seenSize(orientation_, Size{float(width_), float(height_)});
}

bool Image::isOpaque() const {
    int known = opaque_.load(std::memory_order_relaxed);
    if (known < 0) {
        known = 1;
        const std::uint8_t* p = data();
        const std::size_t n = bytes().size();
        for (std::size_t i = 0; i < n; i += 4)
            if (p[i] != 255) {
                known = 0;
                break;
            }
        opaque_.store(known, std::memory_order_relaxed);
    }
    return known == 1;
}

Result<std::vector<std::uint8_t>> Image::pngData(int compressionLevel) const {
    return encodePng(data(), width_, height_, bytesPerRow(), false, compressionLevel);
}

} // namespace platform
