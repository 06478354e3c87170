#pragma once

#include <filesystem>
#include <functional>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

namespace platform {

// The user's photo album: the folder Paths::picturesDirectory()
// ($XDG_PICTURES_DIR/<display name>, or <home>/Pictures with --home). Pictures
// are written as PNG under a new dated name after the app's display name
// ("Zorbel 2026-12-08 01.55.21.png",
// then "... 01.55.21 2.png" for a second one in the same second); an existing
// file is never replaced.
class PhotoAlbum {
public:
    using Completion = std::function<void(const Result<std::filesystem::path>& saved)>;

    static std::filesystem::path directory();

    // Encodes and writes the picture now; answers the new file's path.
    static Result<std::filesystem::path> saveImage(const Image& image);

    // Encodes and writes the picture on a background thread, then calls
    // `completion` on the main thread with the path or the reason it failed
    // (also logged). The completion may be empty.
    static void writeImageToSavedPhotosAlbum(ImageRef image, Completion completion = {});
};

} // namespace platform
