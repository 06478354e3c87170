// The camera through GStreamer, with its test source: frames come as opaque
// ARGB pictures of the asked size, and stopping ends them.

#include <gtest/gtest.h>

#include "PickerFiles.h"
#include "platform/imagepicker/Camera.h"
#include "platform/ui/RunLoop.h"

using namespace picker_testing;
using platform::Camera;

namespace {

TEST(Camera, TestPatternGivesOpaqueFramesOfTheAskedSizeUntilStopped) {
    platform::RunLoop::main().reset(platform::ClockMode::Virtual);
    auto camera = Camera::openTestPattern(160, 120);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->latestFrame(), nullptr);
    int notices = 0;
    camera->setFrameHandler([&] { ++notices; });
    ASSERT_TRUE(camera->start().ok());
    auto frame = camera->waitForFrame(10);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width(), 160);
    EXPECT_EQ(frame->height(), 120);
    EXPECT_TRUE(frame->isOpaque());
    // The SMPTE bars: the leftmost is a light grey, the seventh blue.
    const Rgb left = pixel(*frame, 5, 10);
    EXPECT_EQ(left.r, left.g);
    EXPECT_GT(left.r, 150);
    const Rgb blue = pixel(*frame, 155, 10);
    EXPECT_GT(blue.b, 150);
    EXPECT_LT(blue.r, 40);
    // Frames are announced on the main thread.
    platform::RunLoop::main().runOnce(0);
    EXPECT_GE(notices, 1);

    camera->stop();
    const auto count = camera->frameCount();
    EXPECT_EQ(camera->waitForFrame(0.3, count), nullptr);
    EXPECT_FALSE(camera->isRunning());
}

} // namespace
