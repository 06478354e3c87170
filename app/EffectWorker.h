#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace zorbel {

// One one-shot effect in flight. Its pixel work runs on a short-lived thread
// of its own; it reads a snapshot that no one changes meanwhile and writes a
// result buffer of its own that no one else sees, so the display and the
// worker never share a buffer. When the work is done, `finished` is posted
// to the main thread, which takes the result.
class EffectWorker {
public:
    // Reads width * height pixels at `source`, writes as many at `target`
    // (which starts as a copy of the source).
    using PixelWork = std::function<void(const std::uint8_t* source, std::uint8_t* target,
                                         int width, int height)>;

    // Starts the work at once on its own thread. `source` must stay unchanged
    // and alive until finished() is true. `finished` runs on the main thread.
    // Null, and nothing started, when the result buffer cannot be had.
    static std::shared_ptr<EffectWorker> start(const std::uint8_t* source, int width, int height,
                                               PixelWork work,
                                               std::function<void(EffectWorker&)> finished);

    // True once the pixel work has ended (any thread).
    bool isFinished() const;
    // Blocks until the pixel work has ended.
    void waitUntilFinished() const;
    // The new picture, size() bytes; complete only once isFinished().
    const std::uint8_t* result() const { return result_.get(); }
    std::size_t size() const { return size_; }

    // Tests: runs on the worker thread before the pixel work (to hold it).
    static void setBeforeWorkHook(std::function<void()> hook);

private:
    EffectWorker() = default;
    void run(const std::uint8_t* source, int width, int height, const PixelWork& work);

    // Not cleared when made: the worker fills every byte, off the main thread.
    std::unique_ptr<std::uint8_t[]> result_;
    std::size_t size_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable done_;
    bool finished_ = false;
};

} // namespace zorbel
