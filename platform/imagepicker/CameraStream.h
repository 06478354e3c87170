#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

namespace platform {

// A camera's frames as the camera module (libzorbel-camera.so, GStreamer)
// makes them: Camera holds one and keeps the newest frame. GStreamer and the
// libraries it brings are mapped only once a camera is first asked for.
class CameraStream {
public:
    virtual ~CameraStream() = default;
    // The device's name as the system gives it.
    virtual const std::string& name() const = 0;
    // Starts the frames; the failure carries the reason (not logged).
    virtual Status play() = 0;
    // Ends the frames: no frame is delivered after this returns.
    virtual void stop() = 0;
};

// Hears each frame (opaque, A R G B) on the camera's own thread.
using CameraFrameSink = std::function<void(ImageRef)>;

// What the camera module offers (see Camera's functions of the same names).
struct CameraModuleEntry {
    std::unique_ptr<CameraStream> (*openFirst)(CameraFrameSink sink);
    std::unique_ptr<CameraStream> (*openTestPattern)(int width, int height, CameraFrameSink sink);
    bool (*isAvailable)();
};

inline constexpr const char* kCameraModuleFile = "libzorbel-camera.so";
inline constexpr const char* kCameraModuleEntry = "zorbel_camera_module";

} // namespace platform

extern "C" const platform::CameraModuleEntry* zorbel_camera_module();
