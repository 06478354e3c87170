// Linked into every test program: before any test runs, the settings,
// Documents, cache and photo-album folders point into the build folder, so no test
// reads or changes the files of the person running the tests. A test that
// needs its own folders still calls Paths::setHome. Like the app, each test
// program gives the platform the app's name.
#include <cstdlib>
#include <string>

#include "platform/foundation/AppName.h"

namespace {

struct IsolatedHome {
    IsolatedHome() {
        const std::string root = std::string(ZORBEL_BINARY_DIR) + "/test-tmp/home";
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
        setenv("XDG_PICTURES_DIR", (root + "/Pictures").c_str(), 1);
        platform::setAppName({"zorbel", "Zorbel"});
    }
};

const IsolatedHome isolatedHome;

} // namespace
