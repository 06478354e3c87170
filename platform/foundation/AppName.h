#pragma once

#include <string>

namespace platform {

// The name of the application the platform serves. The application gives it
// at start (ApplicationMain); until then both names are the program's file
// name.
struct AppName {
    // The command and the folders: "$XDG_DATA_HOME/<name>/Documents",
    // "$XDG_CONFIG_HOME/<name>", "share/<name>/resources", log lines.
    std::string name;
    // What a person reads: the window title, the album folder and the names
    // of the pictures saved there.
    std::string displayName;
};

// Thread-safe. An empty field keeps what it was.
void setAppName(const AppName& name);
AppName appName();

} // namespace platform
