#include "canvas/DocumentFolder.h"

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace zorbel {

namespace fs = std::filesystem;
using platform::log;

fs::path DocumentFolder::pathFor(std::string_view fileName) const {
    if (auto beside = writtenBeside_.find(fileName); beside != writtenBeside_.end())
        return beside->second;
    const fs::path directory = platform::Paths::documentsDirectory();
    if (directory.empty())
        return {};
    return directory / std::string(fileName);
}

bool DocumentFolder::write(std::span<const std::uint8_t> data, std::string_view fileName) {
    const fs::path path = pathFor(fileName);
    if (path.empty())
        return false;
    if (platform::writeFileAtomically(path, data))
        return true;
    auto again = platform::writeFileAtomically(path, data);
    if (!again)
        log("Could not write " + std::string(fileName) + ": " + again.error());
    return again.ok();
}

bool DocumentFolder::writeBuffer(std::string_view fileName, const platform::Context& buffer) {
    // Encoded straight from the buffer, last memory row first: the picture
    // upright as on screen, without an intermediate copy.
    auto png = platform::Image::encodePng(buffer.data(), buffer.width(), buffer.height(),
                                          buffer.bytesPerRow(), true, kPngCompressionLevel);
    if (!png) {
        log("Could not encode " + std::string(fileName) + ": " + png.error());
        return false;
    }
    return write(*png, fileName);
}

platform::ImageRef DocumentFolder::load(std::string_view fileName, std::string* whyRefused) {
    const fs::path path = pathFor(fileName);
    if (path.empty() || !platform::pathIsTaken(path))
        return nullptr;
    // Only a regular file is opened: a FIFO would block the read.
    std::error_code ec;
    std::string why;
    if (!fs::is_regular_file(path, ec)) {
        why = "it is not a file";
    } else {
        auto picture = platform::Image::load(path);
        if (picture)
            return picture.value();
        why = picture.error();
    }
    const std::string line = std::string(fileName) + " is damaged and was not used: " + why + "; " +
                             keepRefused(fileName, path);
    if (whyRefused)
        *whyRefused = line;
    return nullptr;
}

platform::Result<fs::path> DocumentFolder::moveAside(const fs::path& path) {
    return platform::moveAside(path, platform::kDamagedSuffix);
}

std::string DocumentFolder::keepRefused(std::string_view fileName, const fs::path& path) {
    auto aside = moveAside(path);
    if (aside)
        return "kept it as " + aside->string();
    const fs::path beside = platform::freeNameBeside(path, ".new");
    writtenBeside_[std::string(fileName)] = beside;
    return "it could not be moved aside (" + aside.error() + "), so " + std::string(fileName) +
           " is written to " + beside.string() + " instead";
}

} // namespace zorbel
