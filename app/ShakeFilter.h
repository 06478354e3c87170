#pragma once

#include <array>

namespace zorbel {

// Tells a shake from the accelerometer's samples. A slow (low-pass) filter
// follows gravity; what it does not follow is the person's movement. A sample
// whose movement reaches 2 g is a shake, unless it comes within half a second
// of the last one that was: the burst of strong samples one shake gives (and
// a shake right after it) counts once.
//
// Pure: the caller says when each sample was read, so the rules can be fed
// any sequence without a device or a clock.
class ShakeFilter {
public:
    // Each sample moves the filtered value a tenth of the way towards it.
    static constexpr double kNewWeight = 0.1;
    static constexpr double kOldWeight = 0.9;
    // Movement, in g, that counts as a shake.
    static constexpr double kThreshold = 2.0;
    // Seconds after an accepted shake during which strong samples are the same shake.
    static constexpr double kInterval = 0.5;

    // One sample x, y, z (in g), read at `now` (seconds). True when it is a
    // shake; then lastTime() becomes `now`. A shake is accepted even if the
    // caller then ignores it (the picture is busy, a sheet is up), so strong
    // samples keep the half-second going.
    bool takeSample(double x, double y, double z, double now);

    // The low-pass filtered acceleration x, y, z, starting at 0.
    const std::array<double, 3>& filtered() const { return filtered_; }
    // When the last shake was accepted; 0 before the first.
    double lastTime() const { return lastTime_; }

private:
    std::array<double, 3> filtered_{};
    double lastTime_ = 0;
};

} // namespace zorbel
