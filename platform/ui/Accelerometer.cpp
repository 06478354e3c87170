#include "platform/ui/Accelerometer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "platform/foundation/Log.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"

namespace platform {

namespace {

bool readNumber(const std::filesystem::path& file, double& out) {
    std::ifstream in(file);
    if (!in)
        return false;
    double v = 0;
    if (!(in >> v) || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool hasAxes(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::exists(dir / "in_accel_x_raw", ec) &&
           std::filesystem::exists(dir / "in_accel_y_raw", ec) &&
           std::filesystem::exists(dir / "in_accel_z_raw", ec);
}

// "x1, y1, z1; x2, y2, z2; x3, y3, z3" (the kernel's mount matrix format).
bool parseMountMatrix(const std::string& text, std::array<std::array<double, 3>, 3>& m) {
    std::string cleaned = text;
    std::replace(cleaned.begin(), cleaned.end(), ',', ' ');
    std::replace(cleaned.begin(), cleaned.end(), ';', ' ');
    std::istringstream in(cleaned);
    std::array<std::array<double, 3>, 3> parsed{};
    for (auto& row : parsed)
        for (double& v : row)
            if (!(in >> v) || !std::isfinite(v))
                return false;
    m = parsed;
    return true;
}

} // namespace

Accelerometer& Accelerometer::shared() {
    // Never destroyed, like the run loop that holds its sample timer: a
    // delegate released at exit may still stop its samples.
    static Accelerometer* const accelerometer = new Accelerometer;
    return *accelerometer;
}

void Accelerometer::setUpdateInterval(double seconds) {
    if (!std::isfinite(seconds))
        return;
    interval_ = std::clamp(seconds, 0.01, 1.0);
    restart();
}

void Accelerometer::setDelegate(AccelerometerDelegate* delegate) {
    delegate_ = delegate;
    restart();
}

void Accelerometer::restart() {
    if (timer_) {
        timer_->invalidate();
        timer_.reset();
    }
    if (!delegate_)
        return;
    if (!searched_)
        findDevice();
    lastMovement_ = RunLoop::main().now();
    timer_ = Timer::scheduledTimer(
        interval_, [this](Timer&) { tick(); }, true);
    timer_->setObservedWhile([this] { return samplesObserved(); });
}

bool Accelerometer::samplesObserved() const {
    return !pending_.empty() || !device_.empty() ||
           RunLoop::main().now() - lastMovement_ < kSettleTime;
}

void Accelerometer::shake() {
    const int count = std::max(2, int(std::lround(kShakeDuration / interval_)));
    pending_.clear();
    for (int i = 0; i < count; ++i) {
        const double side = i % 2 == 0 ? kShakeStrength : -kShakeStrength;
        pending_.push_back({side, 0.5 * side, -1});
    }
}

void Accelerometer::deliver(double x, double y, double z) {
    if (x != 0 || y != 0 || z != -1)
        lastMovement_ = RunLoop::main().now();
    if (delegate_)
        delegate_->accelerometerDidAccelerate(*this, {x, y, z, RunLoop::main().now()});
}

std::array<double, 3> Accelerometer::nextReading() {
    if (!pending_.empty()) {
        const std::array<double, 3> r = pending_.front();
        pending_.erase(pending_.begin());
        return r;
    }
    std::array<double, 3> r{0, 0, -1};
    if (!device_.empty() && !readDevice(r)) {
        log("Accelerometer " + device_.string() + " stopped answering; the device now rests");
        device_.clear();
        r = {0, 0, -1};
    }
    return r;
}

void Accelerometer::tick() {
    const std::array<double, 3> r = nextReading();
    deliver(r[0], r[1], r[2]);
}

void Accelerometer::setDeviceRoot(const std::filesystem::path& root) {
    deviceRoot_ = root;
    searched_ = false;
    device_.clear();
    if (delegate_)
        findDevice();
}

void Accelerometer::findDevice() {
    searched_ = true;
    device_.clear();
    mount_ = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    std::error_code ec;
    std::vector<std::filesystem::path> candidates;
    for (const auto& entry : std::filesystem::directory_iterator(deviceRoot_, ec))
        if (hasAxes(entry.path()))
            candidates.push_back(entry.path());
    if (candidates.empty())
        return;
    std::sort(candidates.begin(), candidates.end());
    const std::filesystem::path dir = candidates.front();
    for (const char* name : {"in_accel_mount_matrix", "mount_matrix"}) {
        std::ifstream in(dir / name);
        std::string text;
        if (in && std::getline(in, text)) {
            if (!parseMountMatrix(text, mount_))
                log("Accelerometer " + dir.string() + ": unreadable mount matrix ignored");
            break;
        }
    }
    device_ = dir;
    std::array<double, 3> probe{};
    if (!readDevice(probe)) {
        log("Accelerometer " + dir.string() + " cannot be read; the device rests");
        device_.clear();
        return;
    }
    log("Accelerometer: reading " + dir.string());
}

bool Accelerometer::readDevice(std::array<double, 3>& out) {
    double scale = 1;
    if (!readNumber(device_ / "in_accel_scale", scale))
        scale = 1;
    double offset = 0;
    if (!readNumber(device_ / "in_accel_offset", offset))
        offset = 0;
    std::array<double, 3> raw{};
    const char* axes[] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        double axisScale = scale;
        readNumber(device_ / (std::string("in_accel_") + axes[i] + "_scale"), axisScale);
        double v = 0;
        if (!readNumber(device_ / (std::string("in_accel_") + axes[i] + "_raw"), v))
            return false;
        raw[std::size_t(i)] = (v + offset) * axisScale;
    }
    // The kernel reports the reaction to gravity in m/s² (face up: z = +9.8);
    // the app expects gravity itself in g (face up: z = -1).
    for (std::size_t r = 0; r < 3; ++r) {
        double sum = 0;
        for (std::size_t c = 0; c < 3; ++c)
            sum += mount_[r][c] * raw[c];
        out[r] = -sum / kStandardGravity;
    }
    return true;
}

void Accelerometer::resetForTesting() {
    delegate_ = nullptr;
    if (timer_)
        timer_->invalidate();
    timer_.reset();
    interval_ = 0.1;
    pending_.clear();
    lastMovement_ = 0;
    deviceRoot_ = "/sys/bus/iio/devices";
    device_.clear();
    searched_ = false;
    mount_ = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
}

} // namespace platform
