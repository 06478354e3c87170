// The session bus address is set only where libdbus would otherwise fork the
// app to launch a bus that cannot be had; a bus that is set, exists or can be
// launched is left alone.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/drivers/SessionBus.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

class SessionBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tmp = std::getenv("ZORBEL_TEST_TMP");
        dir_ = fs::path(tmp ? tmp : ZORBEL_BINARY_DIR "/test-tmp") / "session-bus";
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "runtime");
        fs::create_directories(dir_ / "bin");
        fs::create_directories(dir_ / "emptybin");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string runtime() const { return (dir_ / "runtime").string(); }
    std::string emptyPath() const { return (dir_ / "emptybin").string(); }

    fs::path dir_;
};

TEST_F(SessionBusTest, NoBusAndNoLauncherPointsAtTheMissingUserBus) {
    // Only meaningful where the system itself has no launcher.
    if (fs::exists("/usr/bin/dbus-launch"))
        GTEST_SKIP() << "dbus-launch is installed";
    EXPECT_EQ(sessionBusStandIn(nullptr, runtime().c_str(), emptyPath().c_str(), 1000),
              "unix:path=" + runtime() + "/bus");
    EXPECT_EQ(sessionBusStandIn("", runtime().c_str(), nullptr, 1000),
              "unix:path=" + runtime() + "/bus");
    // No runtime folder named: where the user's would be.
    EXPECT_EQ(sessionBusStandIn(nullptr, nullptr, emptyPath().c_str(), 1234),
              "unix:path=/run/user/1234/bus");
}

TEST_F(SessionBusTest, ABusThatIsSetExistsOrCanBeLaunchedIsLeftAlone) {
    EXPECT_EQ(
        sessionBusStandIn("unix:path=/somewhere/bus", runtime().c_str(), emptyPath().c_str(), 1000),
        "");

    std::ofstream(dir_ / "runtime" / "bus").put('x');
    EXPECT_EQ(sessionBusStandIn(nullptr, runtime().c_str(), emptyPath().c_str(), 1000), "");
    fs::remove(dir_ / "runtime" / "bus");

    // A launcher on the PATH (after an empty entry and a folder without one).
    const fs::path launcher = dir_ / "bin" / "dbus-launch";
    std::ofstream(launcher) << "#!/bin/sh\n";
    ::chmod(launcher.c_str(), 0755);
    const std::string path = ":" + emptyPath() + ":" + (dir_ / "bin").string();
    EXPECT_EQ(sessionBusStandIn(nullptr, runtime().c_str(), path.c_str(), 1000), "");
    // One that cannot be run does not count.
    ::chmod(launcher.c_str(), 0644);
    if (!fs::exists("/usr/bin/dbus-launch")) {
        EXPECT_NE(sessionBusStandIn(nullptr, runtime().c_str(), path.c_str(), 1000), "");
    }
}

} // namespace
