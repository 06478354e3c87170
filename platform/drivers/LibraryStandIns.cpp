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
