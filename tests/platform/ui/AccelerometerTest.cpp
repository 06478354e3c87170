#include "platform/ui/Accelerometer.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/ui/RunLoop.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

struct Recorder : AccelerometerDelegate {
    std::vector<Acceleration> samples;
    void accelerometerDidAccelerate(Accelerometer&, const Acceleration& a) override {
        samples.push_back(a);
    }
};

struct AccelerometerTest : ::testing::Test {
    fs::path empty;
    void SetUp() override {
        RunLoop::main().reset(ClockMode::Virtual);
        Accelerometer::shared().resetForTesting();
        const char* tmp = std::getenv("ZORBEL_TEST_TMP");
        empty = fs::path(tmp ? tmp : "/tmp") / "accel-none";
        fs::remove_all(empty);
        fs::create_directories(empty);
        Accelerometer::shared().setDeviceRoot(empty);
    }
    void TearDown() override { Accelerometer::shared().resetForTesting(); }
};

} // namespace

// Without a sensor the device rests face up, one sample per interval.
TEST_F(AccelerometerTest, RestingSamplesArriveAtTheInterval) {
    Recorder r;
    Accelerometer& a = Accelerometer::shared();
    a.setUpdateInterval(0.04);
    a.setDelegate(&r);
    RunLoop::main().advanceBy(0.4 + 1e-9);
    ASSERT_EQ(r.samples.size(), 10u);
    for (const Acceleration& s : r.samples) {
        EXPECT_EQ(s.x, 0);
        EXPECT_EQ(s.y, 0);
        EXPECT_EQ(s.z, -1);
    }
    EXPECT_NEAR(r.samples[1].timestamp - r.samples[0].timestamp, 0.04, 1e-9);
    a.setDelegate(nullptr);
    RunLoop::main().advanceBy(1);
    EXPECT_EQ(r.samples.size(), 10u);
}

// A shake is a short burst that a high-pass shake detector (2 g) notices once.
TEST_F(AccelerometerTest, ShakeGivesAShortBurstOfStrongSamples) {
    Recorder r;
    Accelerometer& a = Accelerometer::shared();
    a.setUpdateInterval(0.04);
    a.setDelegate(&r);
    a.shake();
    RunLoop::main().advanceBy(1.0 + 1e-9);
    double filtered[3] = {0, 0, 0};
    int strong = 0;
    int burst = 0;
    for (const Acceleration& s : r.samples) {
        const double v[3] = {s.x, s.y, s.z};
        double high = 0;
        for (int i = 0; i < 3; ++i) {
            filtered[i] = v[i] * 0.1 + filtered[i] * 0.9;
            high += (v[i] - filtered[i]) * (v[i] - filtered[i]);
        }
        strong += std::sqrt(high) >= 2.0;
        burst += std::fabs(s.x) > 1;
    }
    EXPECT_GE(strong, 1);
    EXPECT_EQ(burst, 8); // 0.3 s of samples at 25 a second
    EXPECT_EQ(r.samples.back().z, -1);
}

// Every sample reaches the listener while the device moves and for a minute after (its
// filters settle on the rest reading); then a long wait on the virtual clock jumps over the
// resting samples instead of delivering hundreds of millions of them.
TEST_F(AccelerometerTest, ALongRestIsJumpedOnceTheListenerHasSettled) {
    Recorder r;
    Accelerometer& a = Accelerometer::shared();
    a.setUpdateInterval(0.04);
    a.setDelegate(&r);
    RunLoop::main().advanceBy(1e7);
    const std::size_t settle = std::size_t(Accelerometer::kSettleTime / 0.04);
    EXPECT_GE(r.samples.size(), settle - 1);
    EXPECT_LE(r.samples.size(), settle + 2);
    EXPECT_NEAR(r.samples.back().timestamp, 1e7, 0.04);

    // A shake: each sample of the burst, then another minute of rest samples, counts again.
    r.samples.clear();
    a.shake();
    RunLoop::main().advanceBy(1e7);
    int strong = 0;
    for (const Acceleration& s : r.samples)
        strong += std::abs(s.x) >= 2 ? 1 : 0;
    EXPECT_GE(strong, 6);
    EXPECT_GE(r.samples.size(), settle);
    EXPECT_LE(r.samples.size(), settle + 12);
    a.setDelegate(nullptr);
}

// A Linux IIO accelerometer: raw x scale in m/s², mount matrix applied, turned into g.
TEST_F(AccelerometerTest, ReadsAnIioDeviceInG) {
    const fs::path root = empty.parent_path() / "accel-iio";
    fs::remove_all(root);
    const fs::path dev = root / "iio:device0";
    fs::create_directories(dev);
    std::ofstream(dev / "in_accel_x_raw") << "0\n";
    std::ofstream(dev / "in_accel_y_raw") << "-500\n";
    std::ofstream(dev / "in_accel_z_raw") << "1000\n";
    std::ofstream(dev / "in_accel_scale") << "0.00980665\n";
    std::ofstream(dev / "in_accel_mount_matrix") << "1, 0, 0; 0, 1, 0; 0, 0, 1\n";
    Recorder r;
    Accelerometer& a = Accelerometer::shared();
    a.setDeviceRoot(root);
    a.setDelegate(&r);
    EXPECT_EQ(a.device(), dev);
    const auto reading = a.nextReading();
    EXPECT_NEAR(reading[0], 0, 1e-12);
    EXPECT_NEAR(reading[1], 0.5, 1e-12);
    EXPECT_NEAR(reading[2], -1, 1e-12);
}
