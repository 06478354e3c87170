#include "platform/drivers/SessionBus.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include <unistd.h>

#include "platform/foundation/FileIO.h"

namespace platform {

namespace {

bool isExecutable(const std::filesystem::path& file) {
    return fileExists(file) && ::access(file.c_str(), X_OK) == 0;
}

// libdbus runs dbus-launch from its own install folder, then from the PATH.
bool busLauncherInstalled(const char* path) {
    if (isExecutable("/usr/bin/dbus-launch"))
        return true;
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        if (!dir.empty() && isExecutable(std::filesystem::path(dir) / "dbus-launch"))
            return true;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return false;
}

} // namespace

std::string sessionBusStandIn(const char* busAddress, const char* runtimeDir, const char* path,
                              unsigned uid) {
    if (busAddress && *busAddress)
        return "";
    const std::filesystem::path userBus =
        std::filesystem::path(runtimeDir && *runtimeDir ? runtimeDir
                                                        : "/run/user/" + std::to_string(uid)) /
        "bus";
    std::error_code ec;
    if (std::filesystem::exists(userBus, ec) || busLauncherInstalled(path))
        return "";
    // Where the user's bus would be: connecting fails at once, as there is
    // none, and SDL goes on without D-Bus as it would after the launch failed.
    return "unix:path=" + userBus.string();
}

bool avoidFutileSessionBusLaunch() {
    const std::string address =
        sessionBusStandIn(std::getenv("DBUS_SESSION_BUS_ADDRESS"), std::getenv("XDG_RUNTIME_DIR"),
                          std::getenv("PATH"), unsigned(::getuid()));
    if (address.empty())
        return false;
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    return true;
}

} // namespace platform
