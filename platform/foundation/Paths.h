#pragma once

#include <filesystem>

namespace platform {

// Where the app keeps its files, named after the app (AppName: "name" and
// "Display Name"). Each folder is created the first time it is asked for (a
// failure to create it is logged; the path is returned anyway).
//   documents: $XDG_DATA_HOME/name/Documents (default ~/.local/share/name/Documents)
//   config:    $XDG_CONFIG_HOME/name         (default ~/.config/name)
//   pictures:  $XDG_PICTURES_DIR/Display Name (default ~/Pictures/Display Name)
// After setHome(dir) (tests, and the --home option) they are dir/Documents,
// dir/config and dir/Pictures. Safe to call from any thread.
class Paths {
public:
    static std::filesystem::path documentsDirectory();
    static std::filesystem::path configDirectory();
    static std::filesystem::path picturesDirectory();

    // Roots every folder above in `dir`; an empty path returns to the defaults.
    static void setHome(const std::filesystem::path& dir);
    static std::filesystem::path home(); // empty unless setHome was called
};

} // namespace platform
