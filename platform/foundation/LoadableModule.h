#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

namespace platform {

// A part of the program kept in a shared object of its own (the window's
// SDL, the camera's GStreamer) so that the libraries it pulls in are mapped
// only when it is first wanted, not by every launch. A module uses the
// program's own code (the executable exports it) and links only its system
// libraries; it is opened once and stays.
//
// Modules live in lib/zorbel/ beside the program's bin/: the same in an
// installed prefix (wherever it was moved) and in the build folder, where
// every program sits one folder below the top.
class LoadableModule {
public:
    // The address of `entry` in `file` (e.g. "libzorbel-window.so"), opened
    // from the first module folder that holds it; the failure carries the
    // loader's own words. Any thread.
    static Result<void*> entryPoint(std::string_view file, const char* entry);
    // Where modules are looked for, in order. ZORBEL_MODULE_DIR, when set,
    // is the only folder (tests point it at empty or broken ones).
    static std::vector<std::filesystem::path> searchDirectories();
    // The first of those folders that holds `file`; empty when none does.
    static std::filesystem::path folderHolding(std::string_view file);
};

} // namespace platform
