#include "platform/foundation/Paths.h"

#include <cstdlib>
#include <mutex>
#include <system_error>

#include "platform/foundation/AppName.h"
#include "platform/foundation/FileIO.h"
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

// The folders as they are named, made or not: `sub` in a home set with
// setHome, otherwise `rest` in the XDG base folder `variable` names (or
// `fallback` in the user's home).
fs::path folder(const char* sub, const char* variable, const char* fallback,
                const fs::path& rest) {
    if (fs::path h = overrideHome(); !h.empty())
        return h / sub;
    fs::path base = absoluteFromEnv(variable);
    if (base.empty())
        base = userHome() / fallback;
    return base / rest;
}

fs::path documentsPath() {
    return folder("Documents", "XDG_DATA_HOME", ".local/share",
                  fs::path(appName().name) / "Documents");
}

fs::path configPath() {
    return folder("config", "XDG_CONFIG_HOME", ".config", appName().name);
}

fs::path picturesPath() {
    return folder("Pictures", "XDG_PICTURES_DIR", "Pictures", appName().displayName);
}

fs::path cachePath() {
    return folder("cache", "XDG_CACHE_HOME", ".cache", appName().name);
}

} // namespace

fs::path Paths::cacheDirectory() {
    return ensured(cachePath());
}

fs::path Paths::documentsDirectory() {
    return ensured(documentsPath());
}

fs::path Paths::configDirectory() {
    return ensured(configPath());
}

fs::path Paths::picturesDirectory() {
    return ensured(picturesPath());
}

int Paths::removeStaleTemporaries() {
    int removed = 0;
    for (const fs::path& dir : {documentsPath(), configPath(), picturesPath()})
        removed += platform::removeStaleTemporaries(dir);
    return removed;
}

void Paths::setHome(const fs::path& dir) {
    std::lock_guard lock(homeMutex());
    homeOverride() = dir.empty() ? dir : fs::absolute(dir);
}

fs::path Paths::home() {
    return overrideHome();
}

} // namespace platform
