#include "platform/ui/PhotoAlbum.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "platform/foundation/AppName.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/RunLoop.h"

namespace platform {

namespace {

std::string datedStem() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, " %Y-%m-%d %H.%M.%S", &local);
    return appName().displayName + buffer;
}

} // namespace

std::filesystem::path PhotoAlbum::directory() {
    return Paths::picturesDirectory();
}

Result<std::filesystem::path> PhotoAlbum::saveImage(const Image& image) {
    auto png = image.pngData();
    if (!png)
        return Result<std::filesystem::path>::failure("the picture could not be encoded: " +
                                                      png.error());
    const std::filesystem::path dir = directory();
    const std::string stem = datedStem();
    // Written whole under a private name first; link() then gives it its
    // album name only if that name is free, so no picture is ever replaced.
    const std::filesystem::path temp =
        dir / (".saving-" + std::to_string(::getpid()) + "-" + stem + ".png");
    Status written = writeFileAtomically(temp, std::span<const std::uint8_t>(*png));
    if (!written)
        return Result<std::filesystem::path>::failure(written.error());
    for (int n = 1; n < 1000; ++n) {
        const std::filesystem::path name =
            dir / (stem + (n == 1 ? std::string() : " " + std::to_string(n)) + ".png");
        if (::link(temp.c_str(), name.c_str()) == 0) {
            ::unlink(temp.c_str());
            return name;
        }
        if (errno != EEXIST) {
            const std::string why = std::strerror(errno);
            ::unlink(temp.c_str());
            return Result<std::filesystem::path>::failure("cannot create " + name.string() + ": " +
                                                          why);
        }
    }
    ::unlink(temp.c_str());
    return Result<std::filesystem::path>::failure("no free file name in " + dir.string());
}

void PhotoAlbum::writeImageToSavedPhotosAlbum(ImageRef image, Completion completion) {
    if (!image) {
        log("Saving to the photo album failed: no picture");
        if (completion)
            RunLoop::main().performOnMainThread(
                [completion] { completion(Result<std::filesystem::path>::failure("no picture")); });
        return;
    }
    RunLoop::main().performInBackground([image = std::move(image), completion] {
        Result<std::filesystem::path> saved = saveImage(*image);
        if (!saved)
            log("Saving to the photo album failed: " + saved.error());
        if (completion)
            RunLoop::main().performOnMainThread([completion, saved] { completion(saved); });
    });
}

} // namespace platform
