#pragma once

#include <filesystem>

namespace platform {

// Where the app keeps its files, named after the app (AppName: "name" and
// "Display Name"). Each folder is created the first time it is asked for (a
// failure to create it is logged; the path is returned anyway).
//   documents: $XDG_DATA_HOME/name/Documents (default ~/.local/share/name/Documents)
//   config:    $XDG_CONFIG_HOME/name         (default ~/.config/name)
//   pictures:  $XDG_PICTURES_DIR/Display Name (default ~/Pictures/Display Name)
//   cache:     $XDG_CACHE_HOME/name          (default ~/.cache/name; what can
//              be made again, kept only to save time)
// After setHome(dir) (tests, and the --home option) they are dir/Documents,
// dir/config, dir/Pictures and dir/cache. Safe to call from any thread.
class Paths {
public:
    static std::filesystem::path documentsDirectory();
    static std::filesystem::path configDirectory();
    static std::filesystem::path picturesDirectory();
    static std::filesystem::path cacheDirectory();

    // Removes what writes cut off by a killed process left in these folders
    // (see removeStaleTemporaries in FileIO), creating none of them. For the
    // launch, before anything is written; answers how many were removed.
    static int removeStaleTemporaries();

    // Roots every folder above in `dir`; an empty path returns to the defaults.
    static void setHome(const std::filesystem::path& dir);
    static std::filesystem::path home(); // empty unless setHome was called
};

} // namespace platform
