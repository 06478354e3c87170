// The headless driver's own files: the script it reads and the screenshots it
// writes are regular files only; a FIFO or a device never hangs or loses it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/HeadlessDriver.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"
#include "tests/support/Fifo.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

class WindowOnly : public ApplicationDelegate {
public:
    void applicationDidFinishLaunching() override {
        window = std::make_shared<Window>();
        window->setBackgroundColor(Color::rgb(0, 0, 1));
        window->makeKeyAndVisible();
    }
    std::shared_ptr<Window> window;
};

class HeadlessFiles : public ::testing::Test {
protected:
    void SetUp() override {
        setLogQuiet(true);
        clearTerminationRequest();
        Application::shared().resetForTesting();
        Accelerometer::shared().resetForTesting();
        Accelerometer::shared().setDeviceRoot(dir / "no-iio");
        Application::shared().setOwnedDelegate(std::make_unique<WindowOnly>());
    }
    void TearDown() override {
        Application::shared().resetForTesting();
        Accelerometer::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Virtual);
        setLogQuiet(false);
    }

    // One per test: ctest runs the tests of this file side by side.
    static fs::path freshFolder() {
        const char* env = std::getenv("ZORBEL_TEST_TMP");
        fs::path d = fs::path(env ? env : fs::temp_directory_path().string()) /
                     (std::string("headless-files-") +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }

    HeadlessRun runFile(const fs::path& script) {
        ::testing::internal::CaptureStderr();
        HeadlessRun r = runHeadless(script.string());
        errors = ::testing::internal::GetCapturedStderr();
        return r;
    }

    HeadlessRun run(const std::string& text) {
        std::ofstream(dir / "run.zscript") << text;
        return runFile(dir / "run.zscript");
    }

    fs::path dir = freshFolder();
    std::string errors;
};

} // namespace

// A screenshot over a FIFO (or a device: as root, /dev/null itself) fails the
// line and leaves it as it was.
TEST_F(HeadlessFiles, ScreenshotRefusesATargetThatIsNotAFile) {
    ASSERT_TRUE(zorbel::test::makeFifo(dir / "shot.png"));
    const HeadlessRun r = run("screenshot " + (dir / "shot.png").string() + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(errors.find(":1: screenshot: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("not a file"), std::string::npos) << errors;
    EXPECT_EQ(fs::symlink_status(dir / "shot.png").type(), fs::file_type::fifo);
}

// A screenshot through a link lands in the file the link names.
TEST_F(HeadlessFiles, ScreenshotThroughALinkWritesTheFileItNames) {
    fs::create_directories(dir / "shots");
    fs::create_symlink("shots/latest.png", dir / "latest.png");
    const HeadlessRun r = run("screenshot " + (dir / "latest.png").string() + "\n");
    EXPECT_EQ(r.status, 0) << errors;
    EXPECT_TRUE(fs::is_symlink(dir / "latest.png"));
    auto shot = Image::load(dir / "shots" / "latest.png");
    ASSERT_TRUE(shot);
    EXPECT_EQ((*shot)->width(), 320);
    const std::uint8_t* middle = (*shot)->data() + (240 * 320 + 160) * 4;
    EXPECT_EQ(middle[3], 255); // A R G B: the blue window
    EXPECT_EQ(middle[1], 0);
}

// A script that is a FIFO is refused at once instead of hanging the launch;
// "--script -" is the way to pipe one in.
TEST_F(HeadlessFiles, AScriptThatIsAFifoIsRefusedWithoutWaiting) {
    const fs::path fifo = dir / "script.zscript";
    ASSERT_TRUE(zorbel::test::makeFifo(fifo));
    HeadlessRun r{0, false};
    EXPECT_TRUE(zorbel::test::returnsWithoutBlocking(fifo, [&] { r = runFile(fifo); }));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(errors.find("cannot open the script"), std::string::npos) << errors;
    EXPECT_NE(errors.find("FIFO"), std::string::npos) << errors;
}
