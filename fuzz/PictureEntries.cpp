// The picture decoders, as a picture from the album, the camera or the
// Documents folder reaches them.
#include <span>

#include "fuzz/FuzzEntries.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace fuzz {

namespace {

// Whatever decodes must also be usable: encoded again, and drawn upright
// (its orientation applied) and reduced, as a new document's picture is.
void useDecoded(const platform::ImageRef& image) {
    auto png = image->pngData(platform::Image::kFastPngCompression);
    if (png) {
        auto again = platform::Image::decode(std::span<const std::uint8_t>(*png));
        if (!again || (*again)->width() != image->width() || (*again)->height() != image->height())
            __builtin_trap(); // what we wrote ourselves must read back
    }
    if (auto ctx = platform::Context::createBitmap(64, 96, nullptr))
        ctx->drawImageUpright(platform::Rect{0, 0, 64, 96}, *image);
}

} // namespace

int pngLoader(const std::uint8_t* data, std::size_t size) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    auto image = platform::Image::decode(std::span<const std::uint8_t>(data, size));
    if (image)
        useDecoded(*image);
    return 0;
}

int jpegLoader(const std::uint8_t* data, std::size_t size) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    const std::span<const std::uint8_t> bytes(data, size);
    // Both the whole picture and the reduced decode the photo picker asks for.
    if (auto image = platform::Image::decode(bytes))
        useDecoded(*image);
    if (auto reduced = platform::Image::decode(bytes, 480))
        useDecoded(*reduced);
    return 0;
}

} // namespace fuzz
