#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace platform {

// The pictures a person can pick a new document from: the PNG and JPEG files
// (by their extension, any case) of a few folders, newest first. Only regular
// files count (a link is followed); hidden files, folders, FIFOs and devices
// are left out, and a folder that is missing or unreadable gives nothing.
// Nothing is opened here: whether a file really is a picture shows when it is
// decoded.
class PhotoLibrary {
public:
    struct Entry {
        std::filesystem::path path;
        std::int64_t modified = 0; // nanoseconds since the epoch
        std::uintmax_t bytes = 0;
    };

    // The person's Pictures folder ($XDG_PICTURES_DIR, else ~/Pictures) and
    // the app's album folder inside it; with a home set for the app (tests,
    // --home) both are that home's Pictures folder, listed once.
    static std::vector<std::filesystem::path> defaultFolders();

    // Lists the folders (not their subfolders); a file reached twice (the
    // same folder named twice, or through a link) is listed once.
    static std::vector<Entry> scan(const std::vector<std::filesystem::path>& folders);

    static bool hasPictureExtension(const std::filesystem::path& path);
};

} // namespace platform
