#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {

class Timer;

// What moves with the frames of a screen (view animations): the loop steps it
// at the end of every turn, turns at least 60 times a second while it needs
// frames, and a virtual clock stops at every moment it names, so that starts
// and ends happen at their own time.
class FrameHook {
public:
    virtual ~FrameHook() = default;
    virtual bool needsFrames() const = 0;
    // The next moment after now at which something starts or ends.
    virtual std::optional<double> nextEventTime() const = 0;
    virtual void stepFrame(double now) = 0;
};

// Which clock the main run loop reads.
enum class ClockMode {
    Real,    // the steady clock (the window driver)
    Virtual, // starts at 0 and moves only when advanced (headless driver, tests)
};

// The main run loop: timers, view animations, redisplay and work posted from
// other threads, all on the main thread, on one clock.
//
// Drivers: the window driver calls runOnce(timeout) in its event loop and
// renders the window after it; the headless driver calls advanceBy(seconds)
// for `wait` and drain() after each input event. Both deliver input by calling
// the Window directly between those calls.
class RunLoop {
public:
    // Made on first use and never destroyed.
    static RunLoop& main();

    // Seconds since the loop's clock started.
    double now() const;
    // Seconds since 1 January 2001 (the absolute time the app reads); follows
    // the run loop clock, so it is virtual in headless runs.
    double absoluteTime() const;
    ClockMode clockMode() const { return mode_; }
    // Resets the clock to 0 in the given mode and drops timers and posted work.
    void reset(ClockMode mode);

    // Thread-safe: runs `work` on the main thread at the next turn of the loop.
    void performOnMainThread(std::function<void()> work);
    // Runs `work` on a new thread; the loop counts it as background work
    // until it returns (drain waits for it).
    void performInBackground(std::function<void()> work);
    int backgroundWorkCount() const { return background_.load(); }

    // The one frame hook (not owned; null for none). The view animator sets
    // itself when it is made.
    void setFrameHook(FrameHook* hook) { frameHook_ = hook; }
    FrameHook* frameHook() const { return frameHook_; }
    bool needsFrames() const { return frameHook_ && frameHook_->needsFrames(); }

    // Timers (Timer.h schedules itself here).
    void addTimer(std::shared_ptr<Timer> timer);
    void removeTimer(const Timer* timer);
    // The earliest fire date of a valid timer, if any.
    std::optional<double> nextTimerDate() const;
    // True while a one-shot timer is scheduled or the frame hook needs frames.
    bool hasPendingOneShotWork() const;

    // One turn: posted work, due timers (in fire-date order), animations.
    // Real clock: first waits up to `timeout` seconds for work or a timer.
    void runOnce(double timeout = 0);
    // Virtual clock: moves the clock forward by `seconds`, stopping at every
    // date of a one-shot or observed timer and every animation start or end on
    // the way, so everything happens in order at its own time; the beats of an
    // unobserved repeating timer (Timer::setObservedWhile) are jumped over and
    // it fires once where the clock stops, its grid kept. Stops early, between two of those
    // moments, when the interrupt check answers true.
    void advanceBy(double seconds);
    // Waits (real time) for background work to finish, then runs what it
    // posted; repeats until none is left.
    void drain();
    // Virtual clock: drain, then advance until no one-shot timer or animation
    // is pending (repeating timers do not count). Gives up after `limit`
    // seconds of virtual time, or when interrupted; returns false then.
    bool settle(double limit = 600);

    // Asked between the steps of advanceBy and settle (the headless driver
    // passes its termination request, so that a signal ends a long wait).
    // Called on the main thread; null for none.
    void setInterruptCheck(bool (*check)()) { interruptCheck_ = check; }
    bool interrupted() const { return interruptCheck_ && interruptCheck_(); }

    // Wakes a runOnce that is waiting (from any thread).
    void wakeUp();
    // True while work posted with performOnMainThread waits for its turn.
    bool hasPostedWork() const;
    // Called (on any thread) whenever work is posted, background work ends or
    // the loop is woken, so that a driver waiting for its own events (the
    // window driver) can wake up too. Set it before other threads run.
    void setWakeHandler(std::function<void()> handler);

private:
    RunLoop();
    void runPosted();
    void fireDueTimers();
    void stepFrame();
    std::optional<double> nextObservedTimerDate() const;
    void passUnobservedBeats();
    std::optional<double> nextFrameEvent() const;

    ClockMode mode_ = ClockMode::Real;
    std::chrono::steady_clock::time_point realStart_;
    double virtualNow_ = 0;
    double absoluteBase_ = 0;

    FrameHook* frameHook_ = nullptr;
    bool (*interruptCheck_)() = nullptr;
    std::vector<std::shared_ptr<Timer>> timers_;
    std::uint64_t timerSequence_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> posted_;
    bool woken_ = false;
    std::atomic<int> background_{0};
    std::function<void()> wakeHandler_;
};

// Seconds since 1 January 2001 on the main run loop's clock.
double absoluteTimeGetCurrent();

} // namespace platform
