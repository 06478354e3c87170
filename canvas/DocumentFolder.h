#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace zorbel {

// The Documents folder as the canvas keeps its pictures in it: every file is
// written whole or not at all.
class DocumentFolder {
public:
    // Compression of the canvas's PNGs: zlib level 1 with the "up" row filter,
    // several times faster than the default for a few per cent more bytes.
    static constexpr int kPngCompressionLevel = platform::Image::kFastPngCompression;

    // Writes Documents/fileName atomically; a failed write is tried once more
    // (a full disk may be cleared meanwhile), then logged.
    bool write(std::span<const std::uint8_t> data, std::string_view fileName);
    // The PNG of a canvas buffer (rows bottom-up), upright.
    bool writeBuffer(std::string_view fileName, const platform::Context& buffer);
    // The picture in Documents/fileName, or null. A file that is there but
    // cannot be decoded is refused: *whyRefused says why.
    platform::ImageRef load(std::string_view fileName, std::string* whyRefused);
    // Where fileName is read and written; empty without a Documents folder.
    std::filesystem::path pathFor(std::string_view fileName) const;
};

} // namespace zorbel
