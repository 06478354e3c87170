#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace platform {

// The app's read-only resources (pictures, interface files). A name is looked
// up, in this order, in the override folder (tests), the build's resource
// folder, <executable dir>/../share/<app name>/resources and the installed resource
// folder. A name that is empty, absolute, or holds a path separator or ".." is
// refused with a log line. Safe to call from any thread.
class ResourceBundle {
public:
    // "whitevert480", "png" and "whitevert480.png", "png" and
    // "whitevert480.png", "" all find whitevert480.png. Empty when not found.
    static std::filesystem::path pathForResource(std::string_view name, std::string_view type);
    // interfaces/<name>.json; empty when not found.
    static std::filesystem::path pathForInterface(std::string_view name);

    // Searched before every other folder; an empty path removes it.
    static void setOverrideDirectory(const std::filesystem::path& dir);
    // The folders searched, in order (those that do not exist included).
    static std::vector<std::filesystem::path> searchDirectories();

    // True for a plain file name: not empty, no separator, no "..", no NUL.
    static bool isSafeName(std::string_view name);
};

} // namespace platform
