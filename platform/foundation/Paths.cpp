#include "platform/foundation/Paths.h"

#include <cstdlib>
#include <mutex>
#include <system_error>

#include "platform/foundation/AppName.h"
#include "platform/foundation/Log.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::mutex& homeMutex() {
    static std::mutex m;
    return m;
}

fs::path& homeOverride() {
    static fs::path p;
    return p;
}

// An environment variable that names an absolute folder (the XDG rules ignore
// relative ones).
fs::path absoluteFromEnv(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v)
        return {};
    fs::path p(v);
    return p.is_absolute() ? p : fs::path{};
}

fs::path userHome() {
    if (fs::path h = absoluteFromEnv("HOME"); !h.empty())
        return h;
    return fs::temp_directory_path();
}

fs::path ensured(fs::path dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec)
        log("Could not create folder " + dir.string() + ": " + ec.message());
    return dir;
}

fs::path overrideHome() {
    std::lock_guard lock(homeMutex());
    return homeOverride();
}

} // namespace

fs::path Paths::documentsDirectory() {
    if (fs::path h = overrideHome(); !h.empty())
        return ensured(h / "Documents");
    fs::path base = absoluteFromEnv("XDG_DATA_HOME");
    if (base.empty())
        base = userHome() / ".local" / "share";
    return ensured(base / appName().name / "Documents");
}

fs::path Paths::configDirectory() {
    if (fs::path h = overrideHome(); !h.empty())
        return ensured(h / "config");
    fs::path base = absoluteFromEnv("XDG_CONFIG_HOME");
    if (base.empty())
        base = userHome() / ".config";
    return ensured(base / appName().name);
}

fs::path Paths::picturesDirectory() {
    if (fs::path h = overrideHome(); !h.empty())
        return ensured(h / "Pictures");
    fs::path base = absoluteFromEnv("XDG_PICTURES_DIR");
    if (base.empty())
        base = userHome() / "Pictures";
    return ensured(base / appName().displayName);
}

void Paths::setHome(const fs::path& dir) {
    std::lock_guard lock(homeMutex());
    homeOverride() = dir.empty() ? dir : fs::absolute(dir);
}

fs::path Paths::home() {
    return overrideHome();
}

} // namespace platform
