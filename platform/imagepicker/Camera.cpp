// The camera as the app sees it: the newest frame, the wait for one, and the
// notices to the main thread. The frames themselves come from the camera
// module (GstCamera.cpp), loaded the first time a camera is asked for.
#include "platform/imagepicker/Camera.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/foundation/LoadableModule.h"
#include "platform/foundation/Log.h"
#include "platform/imagepicker/CameraStream.h"
#include "platform/ui/RunLoop.h"

namespace platform {

namespace {

// The module's offer, loaded once; null (logged once) when it cannot be.
const CameraModuleEntry* cameraModule() {
    static const CameraModuleEntry* entry = [] {
        auto address = LoadableModule::entryPoint(kCameraModuleFile, kCameraModuleEntry);
        if (!address) {
            log("Camera: the camera module could not be loaded (" + address.error() + ")");
            return static_cast<const CameraModuleEntry*>(nullptr);
        }
        const auto* offered =
            reinterpret_cast<decltype(&zorbel_camera_module)>(address.value())();
        if (!offered || !offered->openFirst || !offered->openTestPattern ||
            !offered->isAvailable) {
            log(std::string("Camera: the camera module could not be loaded (") +
                kCameraModuleFile + " offers no camera)");
            return static_cast<const CameraModuleEntry*>(nullptr);
        }
        return offered;
    }();
    return entry;
}

} // namespace

struct Camera::State : std::enable_shared_from_this<Camera::State> {
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    ImageRef frame;
    std::uint64_t frames = 0;
    bool noticePending = false;
    std::function<void()> handler; // main thread only

    void take(ImageRef image);
    void notice();
};

void Camera::State::take(ImageRef image) {
    {
        std::lock_guard lock(mutex);
        frame = std::move(image);
        ++frames;
        // Posted before anyone waiting hears of the frame, so that whoever
        // waited finds the notice already queued for the main thread.
        if (!noticePending) {
            noticePending = true;
            notice();
        }
    }
    arrived.notify_all();
}

// One notice at a time reaches the main thread, however fast frames come.
void Camera::State::notice() {
    std::weak_ptr<State> weak = weak_from_this();
    RunLoop::main().performOnMainThread([weak] {
        auto state = weak.lock();
        if (!state)
            return;
        {
            std::lock_guard lock(state->mutex);
            state->noticePending = false;
        }
        if (state->handler)
            state->handler();
    });
}

Camera::Camera() : state_(std::make_shared<State>()) {}

Camera::~Camera() {
    stop();
    // The stream ends its threads before it goes.
    stream_.reset();
}

namespace {

CameraFrameSink sinkFor(const std::shared_ptr<Camera::State>& state) {
    std::weak_ptr<Camera::State> weak = state;
    return [weak](ImageRef image) {
        if (auto s = weak.lock())
            s->take(std::move(image));
    };
}

} // namespace

std::unique_ptr<Camera> Camera::adopt(
    const std::function<std::unique_ptr<CameraStream>(CameraFrameSink)>& open) {
    std::unique_ptr<Camera> camera(new Camera());
    camera->stream_ = open(sinkFor(camera->state_));
    if (!camera->stream_)
        return nullptr;
    camera->name_ = camera->stream_->name();
    return camera;
}

std::unique_ptr<Camera> Camera::openFirst() {
    const CameraModuleEntry* module = cameraModule();
    if (!module)
        return nullptr;
    return adopt([module](CameraFrameSink sink) { return module->openFirst(std::move(sink)); });
}

std::unique_ptr<Camera> Camera::openTestPattern(int width, int height) {
    const CameraModuleEntry* module = cameraModule();
    if (!module)
        return nullptr;
    return adopt([&](CameraFrameSink sink) {
        return module->openTestPattern(width, height, std::move(sink));
    });
}

bool Camera::isAvailable() {
    const CameraModuleEntry* module = cameraModule();
    return module && module->isAvailable();
}

Status Camera::start() {
    if (running_)
        return success();
    if (Status played = stream_->play(); !played) {
        log("Camera: " + name_ + ": " + played.error());
        return played;
    }
    running_ = true;
    return success();
}

void Camera::stop() {
    if (!running_ || !stream_)
        return;
    stream_->stop();
    running_ = false;
}

ImageRef Camera::latestFrame() const {
    std::lock_guard lock(state_->mutex);
    return state_->frame;
}

std::uint64_t Camera::frameCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->frames;
}

ImageRef Camera::waitForFrame(double seconds, std::uint64_t after) const {
    std::unique_lock lock(state_->mutex);
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                           std::chrono::duration<double>(seconds));
    if (!state_->arrived.wait_until(lock, until, [&] { return state_->frames > after; }))
        return nullptr;
    return state_->frame;
}

void Camera::setFrameHandler(std::function<void()> handler) {
    state_->handler = std::move(handler);
}

} // namespace platform
