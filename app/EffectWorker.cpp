#include "app/EffectWorker.h"

#include <cstring>
#include <new>

#include "platform/ui/RunLoop.h"

namespace zorbel {

namespace {

std::function<void()>& beforeWorkHook() {
    static std::function<void()> hook;
    return hook;
}

} // namespace

void EffectWorker::setBeforeWorkHook(std::function<void()> hook) {
    beforeWorkHook() = std::move(hook);
}

std::shared_ptr<EffectWorker> EffectWorker::start(const std::uint8_t* source, int width, int height,
                                                  PixelWork work,
                                                  std::function<void(EffectWorker&)> finished) {
    std::shared_ptr<EffectWorker> worker(new EffectWorker());
    // The buffer is made here, on the main thread, so that a failure to get
    // the memory shows before any thread starts.
    worker->size_ = std::size_t(width) * std::size_t(height) * 4;
    worker->result_.reset(new (std::nothrow) std::uint8_t[worker->size_]);
    if (!worker->result_)
        return nullptr;
    std::function<void()> hook = beforeWorkHook();
    // The run loop counts the thread as background work, so a headless
    // `wait` waits for it; the thread keeps the worker alive until it posted
    // its completion.
    platform::RunLoop::main().performInBackground(
        [worker, source, width, height, work = std::move(work), finished = std::move(finished),
         hook = std::move(hook)]() mutable {
            if (hook)
                hook();
            worker->run(source, width, height, work);
            platform::RunLoop::main().performOnMainThread(
                [worker, finished = std::move(finished)] { finished(*worker); });
        });
    return worker;
}

void EffectWorker::run(const std::uint8_t* source, int width, int height, const PixelWork& work) {
    std::memcpy(result_.get(), source, size_);
    work(source, result_.get(), width, height);
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
}

bool EffectWorker::isFinished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

void EffectWorker::waitUntilFinished() const {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return finished_; });
}

} // namespace zorbel
