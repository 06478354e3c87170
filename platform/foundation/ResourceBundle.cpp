#include "platform/foundation/ResourceBundle.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <system_error>

#include <unistd.h>

#include "platform/foundation/AppName.h"
#include "platform/foundation/Log.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::mutex& overrideMutex() {
    static std::mutex m;
    return m;
}

fs::path& overrideDir() {
    static fs::path p;
    return p;
}

fs::path executableDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path{} : exe.parent_path();
}

std::string fileNameFor(std::string_view name, std::string_view type) {
    std::string file(name);
    if (!type.empty()) {
        std::string suffix(".");
        suffix.append(type);
        if (file.size() <= suffix.size() ||
            file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
            file += suffix;
    }
    return file;
}

fs::path find(const fs::path& relative) {
    for (const fs::path& dir : ResourceBundle::searchDirectories()) {
        std::error_code ec;
        const fs::path candidate = dir / relative;
        if (fs::is_regular_file(candidate, ec))
            return candidate;
    }
    return {};
}

} // namespace

bool ResourceBundle::isSafeName(std::string_view name) {
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos)
        return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == '\0')
            return false;
    return true;
}

std::vector<fs::path> ResourceBundle::searchDirectories() {
    std::vector<fs::path> dirs;
    {
        std::lock_guard lock(overrideMutex());
        if (!overrideDir().empty())
            dirs.push_back(overrideDir());
    }
    // An installed copy finds its resources beside itself, wherever the
    // prefix was moved; only a program still inside the build folder reads
    // the build's resources, so an installed app never depends on a build.
    const fs::path exe = executableDirectory();
    if (!exe.empty())
        dirs.push_back(exe.parent_path() / "share" / appName().name / "resources");
#ifdef ZORBEL_RESOURCE_BUILD_DIR
    {
        const fs::path build = fs::path(ZORBEL_RESOURCE_BUILD_DIR).parent_path();
        const auto [end, unused] = std::mismatch(build.begin(), build.end(), exe.begin(), exe.end());
        (void)unused;
        if (exe.empty() || end == build.end())
            dirs.emplace_back(ZORBEL_RESOURCE_BUILD_DIR);
    }
#endif
#ifdef ZORBEL_RESOURCE_INSTALL_DIR
    dirs.emplace_back(ZORBEL_RESOURCE_INSTALL_DIR);
#endif
    return dirs;
}

fs::path ResourceBundle::pathForResource(std::string_view name, std::string_view type) {
    const std::string file = fileNameFor(name, type);
    if (!isSafeName(name) || !isSafeName(file) || (!type.empty() && !isSafeName(type))) {
        log(std::string("Resource name refused: \"").append(name).append("\""));
        return {};
    }
    return find(file);
}

fs::path ResourceBundle::pathForInterface(std::string_view name) {
    const std::string file = fileNameFor(name, "json");
    if (!isSafeName(name) || !isSafeName(file)) {
        log(std::string("Interface name refused: \"").append(name).append("\""));
        return {};
    }
    return find(fs::path("interfaces") / file);
}

void ResourceBundle::setOverrideDirectory(const fs::path& dir) {
    std::lock_guard lock(overrideMutex());
    overrideDir() = dir;
}

} // namespace platform
