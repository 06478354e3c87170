#include "platform/drivers/LibraryStandIns.h"

#include <dlfcn.h>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"

namespace platform {

const std::vector<std::string>& LibraryStandIns::soundFileNames() {
    static const std::vector<std::string> names{"libzorbel-no-pulse.so", "libzorbel-no-asound.so",
                                                "libzorbel-no-samplerate.so"};
    return names;
}

const std::vector<std::string>& LibraryStandIns::x11FileNames() {
    static const std::vector<std::string> names{
        "libzorbel-no-wayland-client.so", "libzorbel-no-wayland-egl.so",
        "libzorbel-no-wayland-cursor.so", "libzorbel-no-xkbcommon.so",
        "libzorbel-no-decor.so",          "libzorbel-no-gbm.so",
        "libzorbel-no-drm.so"};
    return names;
}

bool LibraryStandIns::windowWillBeX11(const char* display, const char* waylandDisplay,
                                      const char* videoDriver) {
    if (!display || !*display)
        return false;
    if (videoDriver && *videoDriver)
        return std::string_view(videoDriver) == "x11";
    return !waylandDisplay || !*waylandDisplay;
}

LibraryStandIns LibraryStandIns::loadFrom(const std::filesystem::path& folder,
                                          const std::vector<std::string>& fileNames) {
    LibraryStandIns standIns;
    if (folder.empty())
        return standIns;
    for (const std::string& name : fileNames) {
        const std::filesystem::path path = folder / name;
        if (!fileExists(path))
            continue;
        // Local: only the libraries that ask for them by name bind to them.
        if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            standIns.handles_.push_back(handle);
        else if (const char* why = dlerror())
            log(std::string("Library stand-in left out: ") + why);
    }
    return standIns;
}

void LibraryStandIns::unload() {
    for (void* handle : handles_)
        dlclose(handle);
    handles_.clear();
}

} // namespace platform
