#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

namespace platform {

class Accelerometer;
class Timer;

// One reading, in units of g along the screen's axes: x to the right, y up
// the screen, z out of its face. A phone lying face up reads (0, 0, -1).
struct Acceleration {
    double x = 0;
    double y = 0;
    double z = 0;
    double timestamp = 0; // seconds on the main run loop's clock
};

class AccelerometerDelegate {
public:
    virtual ~AccelerometerDelegate() = default;
    virtual void accelerometerDidAccelerate(Accelerometer& accelerometer,
                                            const Acceleration& acceleration) = 0;
};

// The device's accelerometer. While it has a delegate it hands it a sample
// every update interval on the main thread (a repeating run loop timer). The
// samples come from the Linux IIO accelerometer under /sys/bus/iio/devices
// when there is one (phones); otherwise the device rests face up, except for
// the short burst of strong readings that shake() asks for.
class Accelerometer {
public:
    // Made on first use and never destroyed.
    static Accelerometer& shared();

    double updateInterval() const { return interval_; }
    // Clamped to 0.01 ... 1 second; takes effect at once.
    void setUpdateInterval(double seconds);
    AccelerometerDelegate* delegate() const { return delegate_; }
    // Not owned. A delegate starts the samples, null stops them.
    void setDelegate(AccelerometerDelegate* delegate);

    // The user shakes the device: the next samples (about 0.3 seconds of them)
    // swing by 3 g from side to side, then the rest position returns.
    void shake();
    // One reading handed to the delegate at once (scripts); the regular
    // samples go on afterwards.
    void deliver(double x, double y, double z);

    // The folder searched for IIO devices (tests point it elsewhere).
    void setDeviceRoot(const std::filesystem::path& root);
    // The device folder in use, empty when the rest position is simulated.
    const std::filesystem::path& device() const { return device_; }

    // Stops the samples and forgets delegate, interval, shake and device root.
    void resetForTesting();

    static constexpr double kStandardGravity = 9.80665; // m/s² in one g
    static constexpr double kShakeDuration = 0.3;
    static constexpr double kShakeStrength = 3.0;
    // How long after the last reading other than the rest position every
    // sample still counts: long enough for a listener's smoothing filter to
    // settle exactly on the rest reading. After that, while the device rests,
    // a virtual clock may jump over the samples (Timer::setObservedWhile).
    static constexpr double kSettleTime = 60.0;

    // True while each sample matters: a shake burst is coming, a real device
    // is read, or the last movement is less than kSettleTime ago.
    bool samplesObserved() const;

    // The next sample's x, y, z (the timer calls this; exposed for tests).
    std::array<double, 3> nextReading();

private:
    Accelerometer() = default;
    void restart();
    void tick();
    void findDevice();
    bool readDevice(std::array<double, 3>& out);

    AccelerometerDelegate* delegate_ = nullptr;
    double interval_ = 0.1;
    std::shared_ptr<Timer> timer_;
    std::vector<std::array<double, 3>> pending_; // the shake burst still to come
    double lastMovement_ = 0; // run loop time of the last reading off the rest position
    std::filesystem::path deviceRoot_ = "/sys/bus/iio/devices";
    std::filesystem::path device_;
    bool searched_ = false;
    std::array<std::array<double, 3>, 3> mount_{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
};

} // namespace platform
