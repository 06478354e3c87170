#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// A timer on the main run loop. A scheduled timer is kept alive by the loop
// until it is invalidated (a one-shot timer invalidates itself after firing);
// holding the returned pointer is optional.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Callback = std::function<void(Timer&)>;

    // Fires `interval` seconds from now (at least a tiny step later), and then
    // every `interval` seconds when it repeats.
    static std::shared_ptr<Timer> scheduledTimer(double interval, Callback callback,
                                                 bool repeats = false);

    void invalidate();
    bool isValid() const { return valid_; }
    double fireDate() const { return fireDate_; }
    double timeInterval() const { return interval_; }
    bool repeats() const { return repeats_; }
    // Fires now without changing the schedule (a one-shot timer then ends).
    void fire();

    // A repeating timer fires on every beat while `observed` answers true (the
    // default: always). While it answers false nothing depends on how many
    // beats there were, only on the time (a clock face, a blinking caret that
    // reads the time, a resting accelerometer whose listener has settled): a
    // virtual clock then jumps over its beats and fires it once where it
    // stops, so a long wait costs one firing instead of millions.
    void setObservedWhile(std::function<bool()> observed);
    bool isObserved() const { return !observed_ || observed_(); }

    Timer(double interval, Callback callback, bool repeats);

private:
    friend class RunLoop;
    double interval_;
    Callback callback_;
    std::function<bool()> observed_;
    bool repeats_;
    bool valid_ = true;
    double fireDate_ = 0;
    std::uint64_t sequence_ = 0;
};

} // namespace platform
