#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace zorbel {

// The Documents folder as the canvas keeps its pictures in it: every file is
// written whole or not at all, and a file the canvas cannot use is kept, never
// written over.
class DocumentFolder {
public:
    virtual ~DocumentFolder() = default;

    // The files of the canvas's buffers and of the painting.
    static constexpr std::string_view kTempImageFile = "tempimage.png";
    static constexpr std::string_view kUndoFile = "tempundo.png";
    static constexpr std::string_view kOrgImageFile = "zorbelorgimage.png";
    static constexpr std::string_view kDocumentFile = "zorbel.png";

    // Compression of the canvas's PNGs: zlib level 1 with the "up" row filter,
    // several times faster than the default for a few per cent more bytes.
    static constexpr int kPngCompressionLevel = platform::Image::kFastPngCompression;

    // Writes Documents/fileName atomically; a failed write is tried once more
    // (a full disk may be cleared meanwhile), then logged.
    bool write(std::span<const std::uint8_t> data, std::string_view fileName);
    // The PNG of a canvas buffer (rows bottom-up), upright.
    bool writeBuffer(std::string_view fileName, const platform::Context& buffer);
    // The picture in Documents/fileName, or null. A file that is there but
    // cannot be used (damaged, unreadable, not a file) is refused: *whyRefused
    // says why and where it went. It is moved aside as a damaged copy; one that
    // cannot be moved stays as it is, and fileName is written beside it from
    // then on.
    platform::ImageRef load(std::string_view fileName, std::string* whyRefused);
    // Where fileName is read and written; empty without a Documents folder.
    std::filesystem::path pathFor(std::string_view fileName) const;

protected:
    // Renames a refused file out of the way (platform::moveAside).
    virtual platform::Result<std::filesystem::path> moveAside(const std::filesystem::path& path);

private:
    // Keeps a refused file; the sentence that says where.
    std::string keepRefused(std::string_view fileName, const std::filesystem::path& path);

    // Names whose refused file could not be moved, and where they go instead.
    std::map<std::string, std::filesystem::path, std::less<>> writtenBeside_;
};

} // namespace zorbel
