#include "platform/foundation/LoadableModule.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <system_error>

#include <dlfcn.h>

#include "platform/foundation/FileIO.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::mutex& loadMutex() {
    static std::mutex m;
    return m;
}

// Each module's handle once opened, by its file's path (never closed: its
// code may still be on another thread's stack, and its symbols in tables the
// program keeps).
std::map<std::string, void*>& openedModules() {
    static auto* opened = new std::map<std::string, void*>;
    return *opened;
}

fs::path executableDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path{} : exe.parent_path();
}

} // namespace

std::vector<fs::path> LoadableModule::searchDirectories() {
    if (const char* dir = std::getenv("ZORBEL_MODULE_DIR"); dir && *dir)
        return {fs::path(dir)};
    const fs::path exe = executableDirectory();
    if (exe.empty())
        return {};
    return {exe.parent_path() / "lib" / "zorbel"};
}

fs::path LoadableModule::folderHolding(std::string_view file) {
    for (const fs::path& dir : searchDirectories())
        if (fileExists(dir / file))
            return dir;
    return {};
}

Result<void*> LoadableModule::entryPoint(std::string_view file, const char* entry) {
    const std::lock_guard lock(loadMutex());
    const std::string name(file);
    const fs::path folder = folderHolding(name);
    if (folder.empty()) {
        const auto dirs = searchDirectories();
        std::string where;
        for (const fs::path& dir : dirs)
            where += (where.empty() ? "" : ", ") + dir.string();
        return Result<void*>::failure(name + " is not in " +
                                      (where.empty() ? std::string("any folder") : where));
    }
    // Kept by the file's place: another folder asked for is another module.
    const fs::path path = folder / name;
    void* handle = nullptr;
    if (auto found = openedModules().find(path.string()); found != openedModules().end()) {
        handle = found->second;
    } else {
        // Every symbol bound now: a module that does not fit this program
        // fails here, with the loader's words, not later in the middle of a call.
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            return Result<void*>::failure(why ? why : path.string() + " could not be loaded");
        }
        openedModules()[path.string()] = handle;
    }
    dlerror();
    void* address = dlsym(handle, entry);
    if (!address) {
        const char* why = dlerror();
        return Result<void*>::failure(why ? why : name + " has no " + entry);
    }
    return address;
}

} // namespace platform
