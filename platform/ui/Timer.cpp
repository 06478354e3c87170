#include "platform/ui/Timer.h"

#include <algorithm>

#include "platform/ui/RunLoop.h"

namespace platform {

Timer::Timer(double interval, Callback callback, bool repeats)
    : interval_(std::max(interval, 0.0)), callback_(std::move(callback)), repeats_(repeats) {}

std::shared_ptr<Timer> Timer::scheduledTimer(double interval, Callback callback, bool repeats) {
    auto timer = std::make_shared<Timer>(interval, std::move(callback), repeats);
    // A timer of zero interval would let a callback that schedules another
    // spin the loop forever: the shortest interval is a tenth of a millisecond.
    if (timer->interval_ < 1e-4)
        timer->interval_ = 1e-4;
    RunLoop& loop = RunLoop::main();
    timer->fireDate_ = loop.now() + timer->interval_;
    loop.addTimer(timer);
    return timer;
}

void Timer::setObservedWhile(std::function<bool()> observed) {
    observed_ = std::move(observed);
}

void Timer::invalidate() {
    if (!valid_)
        return;
    valid_ = false;
    RunLoop::main().removeTimer(this);
    // Drop what the callback holds now, not when the last pointer goes.
    callback_ = nullptr;
    observed_ = nullptr;
}

void Timer::fire() {
    if (!valid_)
        return;
    auto keep = shared_from_this();
    Callback cb = callback_;
    if (cb)
        cb(*this);
    if (!repeats_)
        invalidate();
}

} // namespace platform
