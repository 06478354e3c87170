#include "platform/ui/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "platform/ui/Timer.h"

namespace platform {

namespace {
// 1 January 2001 in seconds since the Unix epoch.
constexpr double kReferenceDateOffset = 978307200.0;

double wallClockAbsolute() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count() - kReferenceDateOffset;
}
} // namespace

RunLoop& RunLoop::main() {
    // Never destroyed: timers and screens released at exit, and background
    // work still running then, reach the loop whichever static goes first.
    static RunLoop* const loop = new RunLoop;
    return *loop;
}

RunLoop::RunLoop() {
    reset(ClockMode::Real);
}

void RunLoop::reset(ClockMode mode) {
    {
        std::lock_guard lock(mutex_);
        posted_.clear();
    }
    auto old = std::move(timers_);
    timers_.clear();
    for (auto& t : old)
        t->valid_ = false;
    mode_ = mode;
    realStart_ = std::chrono::steady_clock::now();
    virtualNow_ = 0;
    // A virtual clock starts at a fixed moment (1 January 2025, 12:00 UTC) so
    // that headless runs see the same times on every machine.
    absoluteBase_ = mode == ClockMode::Virtual ? 757944000.0 : wallClockAbsolute();
}

double RunLoop::now() const {
    if (mode_ == ClockMode::Virtual)
        return virtualNow_;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - realStart_).count();
}

double RunLoop::absoluteTime() const {
    return absoluteBase_ + now();
}

double absoluteTimeGetCurrent() {
    return RunLoop::main().absoluteTime();
}

void RunLoop::performOnMainThread(std::function<void()> work) {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
        woken_ = true;
        handler = wakeHandler_;
    }
    wake_.notify_all();
    if (handler)
        handler();
}

bool RunLoop::hasPostedWork() const {
    std::lock_guard lock(mutex_);
    return !posted_.empty();
}

void RunLoop::setWakeHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    wakeHandler_ = std::move(handler);
}

void RunLoop::performInBackground(std::function<void()> work) {
    background_.fetch_add(1);
    std::thread([this, work = std::move(work)] {
        work();
        std::function<void()> handler;
        {
            std::lock_guard lock(mutex_);
            background_.fetch_sub(1);
            woken_ = true;
            handler = wakeHandler_;
        }
        wake_.notify_all();
        if (handler)
            handler();
    }).detach();
}

void RunLoop::wakeUp() {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
        handler = wakeHandler_;
    }
    wake_.notify_all();
    if (handler)
        handler();
}

void RunLoop::addTimer(std::shared_ptr<Timer> timer) {
    timer->sequence_ = ++timerSequence_;
    timers_.push_back(std::move(timer));
    wakeUp();
}

void RunLoop::removeTimer(const Timer* timer) {
    std::erase_if(timers_, [timer](const auto& t) { return t.get() == timer; });
}

std::optional<double> RunLoop::nextTimerDate() const {
    std::optional<double> next;
    for (const auto& t : timers_)
        if (t->valid_ && (!next || t->fireDate_ < *next))
            next = t->fireDate_;
    return next;
}

bool RunLoop::hasPendingOneShotWork() const {
    if (needsFrames())
        return true;
    return std::any_of(timers_.begin(), timers_.end(),
                       [](const auto& t) { return t->valid_ && !t->repeats_; });
}

void RunLoop::runPosted() {
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard lock(mutex_);
            if (posted_.empty())
                return;
            work = std::move(posted_.front());
            posted_.pop_front();
        }
        work();
    }
}

void RunLoop::fireDueTimers() {
    // Fire in date order (then scheduling order); a timer scheduled by a
    // callback for a date already due fires in this same pass.
    for (;;) {
        const double t = now();
        std::shared_ptr<Timer> due;
        for (const auto& timer : timers_) {
            if (!timer->valid_ || timer->fireDate_ > t)
                continue;
            if (!due || timer->fireDate_ < due->fireDate_ ||
                (timer->fireDate_ == due->fireDate_ && timer->sequence_ < due->sequence_))
                due = timer;
        }
        if (!due)
            return;
        if (due->repeats_) {
            // Next date on the original grid; skipped beats are not made up.
            double next = due->fireDate_ + due->interval_;
            if (next <= t)
                next = t + due->interval_ - std::fmod(t - due->fireDate_, due->interval_);
            due->fireDate_ = std::max(next, due->fireDate_ + 1e-9);
            due->sequence_ = ++timerSequence_;
        }
        due->fire();
        runPosted();
    }
}

void RunLoop::stepFrame() {
    if (frameHook_)
        frameHook_->stepFrame(now());
}

std::optional<double> RunLoop::nextFrameEvent() const {
    return frameHook_ ? frameHook_->nextEventTime() : std::nullopt;
}

void RunLoop::runOnce(double timeout) {
    if (mode_ == ClockMode::Real && timeout > 0) {
        double wait = timeout;
        if (auto next = nextTimerDate())
            wait = std::min(wait, std::max(0.0, *next - now()));
        if (needsFrames())
            wait = std::min(wait, 1.0 / 60);
        std::unique_lock lock(mutex_);
        if (!woken_ && posted_.empty())
            wake_.wait_for(lock, std::chrono::duration<double>(wait),
                           [this] { return woken_ || !posted_.empty(); });
        woken_ = false;
    }
    runPosted();
    fireDueTimers();
    stepFrame();
    runPosted();
}

std::optional<double> RunLoop::nextObservedTimerDate() const {
    std::optional<double> next;
    for (const auto& t : timers_)
        if (t->valid_ && (!t->repeats_ || t->isObserved()) && (!next || t->fireDate_ < *next))
            next = t->fireDate_;
    return next;
}

void RunLoop::passUnobservedBeats() {
    const double t = now();
    for (const auto& timer : timers_) {
        if (!timer->valid_ || !timer->repeats_ || timer->fireDate_ > t || timer->isObserved())
            continue;
        // Onto the last beat of its grid at or before now, so that it fires once now.
        const double beats = std::floor((t - timer->fireDate_) / timer->interval_);
        const double last = timer->fireDate_ + beats * timer->interval_;
        if (last > timer->fireDate_ && last <= t)
            timer->fireDate_ = last;
    }
}

void RunLoop::advanceBy(double seconds) {
    const double end = virtualNow_ + std::max(0.0, seconds);
    runOnce();
    for (;;) {
        if (interrupted())
            break;
        double next = end;
        if (auto t = nextObservedTimerDate())
            next = std::min(next, *t);
        if (auto a = nextFrameEvent())
            next = std::min(next, *a);
        // Animations move in 60 Hz frames on the way, as on a screen.
        if (needsFrames())
            next = std::min(next, virtualNow_ + 1.0 / 60);
        next = std::max(next, virtualNow_);
        virtualNow_ = next;
        passUnobservedBeats();
        runOnce();
        if (virtualNow_ >= end)
            break;
    }
}

void RunLoop::drain() {
    for (;;) {
        runPosted();
        if (background_.load() == 0) {
            std::lock_guard lock(mutex_);
            if (posted_.empty())
                break;
            continue;
        }
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(50),
                       [this] { return !posted_.empty() || background_.load() == 0; });
    }
    runOnce();
}

bool RunLoop::settle(double limit) {
    const double end = now() + limit;
    drain();
    while (hasPendingOneShotWork() || background_.load() > 0) {
        if (now() >= end || interrupted())
            return false;
        double next = end;
        if (auto a = nextFrameEvent())
            next = std::min(next, *a);
        for (const auto& t : timers_)
            if (t->valid_ && !t->repeats_)
                next = std::min(next, t->fireDate_);
        if (mode_ == ClockMode::Virtual)
            advanceBy(std::max(0.0, next - virtualNow_));
        else
            runOnce(0.01);
        drain();
    }
    return true;
}

} // namespace platform
