#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

namespace platform {

class CameraStream;

// A live camera through GStreamer: the frames come on GStreamer's own thread
// and the newest is kept; the frame handler hears of new frames on the main
// thread (at most one notice waits at a time). Stopping or destroying the
// camera ends its threads before it returns.
//
// Nothing else in the program sees GStreamer: it lives in the camera module
// (CameraStream.h), loaded and started the first time a camera is looked
// for, not at launch. A module that cannot be loaded is logged once and
// then there is no camera.
class Camera {
public:
    // Frames are made no larger than this on either side where the camera can.
    static constexpr int kMaxFrameSide = 1280;

    // The first camera the system offers: libcamera's source where it is
    // installed and sees one, otherwise a V4L2 device. Null (logged) if none.
    static std::unique_ptr<Camera> openFirst();
    // GStreamer's test source (videotestsrc) standing in for a camera.
    static std::unique_ptr<Camera> openTestPattern(int width, int height);
    // Whether openFirst would find a camera (asks the system each time).
    static bool isAvailable();

    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // The device's name as the system gives it.
    const std::string& name() const { return name_; }
    // Starts the frames; fails (logged) when the pipeline cannot play.
    Status start();
    void stop();
    bool isRunning() const { return running_; }

    // The newest frame (opaque, A R G B), null before the first. Any thread.
    ImageRef latestFrame() const;
    std::uint64_t frameCount() const;
    // Waits up to `seconds` of real time for a frame newer than `after`
    // frames; answers the newest frame then (null on timeout).
    ImageRef waitForFrame(double seconds, std::uint64_t after = 0) const;
    // Main thread: called after new frames arrived.
    void setFrameHandler(std::function<void()> handler);

    struct State;

private:
    Camera();
    // A camera around the stream `open` makes (null when it makes none).
    static std::unique_ptr<Camera>
    adopt(const std::function<std::unique_ptr<CameraStream>(std::function<void(ImageRef)>)>& open);
    std::shared_ptr<State> state_;
    std::unique_ptr<CameraStream> stream_;
    std::string name_;
    bool running_ = false;
};

} // namespace platform
