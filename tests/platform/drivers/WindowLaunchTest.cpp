// A window module that cannot be loaded ends the windowed run with one log
// line carrying the loader's reason, whether the worker loaded it (the
// launch) or the main thread did; the main thread leaves the C locale it
// kept while the worker ran.

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <locale.h>
#include <string>

#include <gtest/gtest.h>

#include "platform/drivers/ApplicationMain.h"
#include "platform/foundation/Log.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

class WindowLaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tmp = std::getenv("ZORBEL_TEST_TMP");
        dir_ = fs::path(tmp ? tmp : ZORBEL_BINARY_DIR "/test-tmp") /
               ("window-module-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        setenv("ZORBEL_MODULE_DIR", dir_.c_str(), 1);
        setLogQuiet(true);
        clearLogCapture();
    }
    void TearDown() override {
        unsetenv("ZORBEL_MODULE_DIR");
        setLogQuiet(false);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(WindowLaunchTest, MissingModuleEndsTheRunWithTheFolderLookedIn) {
    const LaunchOptions options;
    startWindowDriver();
    EXPECT_EQ(runWindowDriver(options), 1);
    EXPECT_TRUE(logContains("The window could not be opened (libzorbel-window.so is not in " +
                            dir_.string() + "); try --headless"));
    EXPECT_EQ(uselocale(nullptr), LC_GLOBAL_LOCALE);
    // Without the worker (no thread could be made), the same on the main thread.
    clearLogCapture();
    EXPECT_EQ(runWindowDriver(options), 1);
    EXPECT_TRUE(logContains("The window could not be opened (libzorbel-window.so is not in "));
}

TEST_F(WindowLaunchTest, DamagedModuleEndsTheRunWithTheLoadersReason) {
    std::ofstream(dir_ / "libzorbel-window.so") << std::string(4096, '\0');
    startWindowDriver();
    EXPECT_EQ(runWindowDriver(LaunchOptions{}), 1);
    const std::string expected = "The window could not be opened (" +
                                 (dir_ / "libzorbel-window.so").string() + ": invalid ELF header";
    EXPECT_TRUE(logContains(expected)) << (logLines().empty() ? "" : logLines().back());
    EXPECT_EQ(uselocale(nullptr), LC_GLOBAL_LOCALE);
}

} // namespace
