// The camera through GStreamer: device discovery with the device monitor, a
// pipeline that converts whatever the device gives to ARGB frames, and an
// appsink whose newest sample becomes an Image.
#include "platform/imagepicker/Camera.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include "platform/foundation/Log.h"
#include "platform/ui/RunLoop.h"

namespace platform {

namespace {

bool startGStreamer() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        GError* error = nullptr;
        started = gst_init_check(nullptr, nullptr, &error);
        if (!started) {
            log(std::string("Camera: GStreamer did not start: ") +
                (error ? error->message : "unknown reason"));
            g_clear_error(&error);
        }
    });
    return started;
}

// Frames of any format the source offers, as ARGB bytes (A, R, G, B).
constexpr const char* kConverter =
    "decodebin ! videoconvert ! videoscale ! "
    "video/x-raw,format=ARGB,pixel-aspect-ratio=1/1,width=[1,1280],height=[1,1280] ! "
    "appsink name=frames max-buffers=1 drop=true sync=false";

std::string factoryName(GstElement* element) {
    GstElementFactory* factory = gst_element_get_factory(element);
    return factory ? GST_OBJECT_NAME(factory) : "";
}

struct Found {
    GstElement* source = nullptr; // floating reference, or null
    std::string name;
};

// The camera's source element: libcamera's first, else V4L2's.
Found findCameraSource() {
    Found found;
    if (!startGStreamer())
        return found;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    GList* devices = gst_device_monitor_get_devices(monitor);
    int bestRank = 0;
    for (GList* d = devices; d; d = d->next) {
        GstDevice* device = GST_DEVICE(d->data);
        GstElement* element = gst_device_create_element(device, nullptr);
        if (!element)
            continue;
        const std::string factory = factoryName(element);
        const int rank = factory == "libcamerasrc" ? 2 : factory == "v4l2src" ? 1 : 0;
        if (rank > bestRank) {
            if (found.source)
                gst_object_unref(gst_object_ref_sink(found.source));
            found.source = element;
            gchar* name = gst_device_get_display_name(device);
            found.name = name ? name : factory;
            g_free(name);
            bestRank = rank;
        } else {
            gst_object_unref(gst_object_ref_sink(element));
        }
    }
    g_list_free_full(devices, gst_object_unref);
    gst_object_unref(monitor);
    return found;
}

} // namespace

struct Camera::State : std::enable_shared_from_this<Camera::State> {
    GstElement* pipeline = nullptr;
    // What the appsink callback holds: GStreamer keeps a plain pointer.
    std::weak_ptr<State>* self = nullptr;
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    ImageRef frame;
    std::uint64_t frames = 0;
    bool noticePending = false;
    std::function<void()> handler; // main thread only

    static GstFlowReturn newSample(GstAppSink* sink, gpointer data);
    void take(GstSample* sample);
    void notice();
};

GstFlowReturn Camera::State::newSample(GstAppSink* sink, gpointer data) {
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_EOS;
    if (auto state = static_cast<std::weak_ptr<State>*>(data)->lock())
        state->take(sample);
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void Camera::State::take(GstSample* sample) {
    GstVideoInfo info;
    GstCaps* caps = gst_sample_get_caps(sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return;
    GstVideoFrame mapped;
    if (!gst_video_frame_map(&mapped, &info, buffer, GST_MAP_READ))
        return;
    const int w = GST_VIDEO_FRAME_WIDTH(&mapped), h = GST_VIDEO_FRAME_HEIGHT(&mapped);
    const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&mapped, 0);
    const auto* src = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&mapped, 0));
    std::vector<std::uint8_t> pixels(std::size_t(w) * 4 * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = pixels.data() + std::size_t(y) * std::size_t(w) * 4;
        std::memcpy(row, src + std::size_t(y) * std::size_t(stride), std::size_t(w) * 4);
        // A camera frame is opaque whatever its alpha bytes say.
        for (int x = 0; x < w; ++x)
            row[x * 4] = 255;
    }
    gst_video_frame_unmap(&mapped);
    auto image = Image::create(w, h, std::move(pixels));
    if (!image)
        return;
    {
        std::lock_guard lock(mutex);
        frame = image.value();
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
    if (state_->pipeline)
        gst_object_unref(state_->pipeline);
    delete state_->self;
}

namespace {

// Puts the appsink's callback on the state.
// (gst_bin_get_by_name looks inside the converter's bin as well.)
bool attachSink(GstElement* pipeline, std::weak_ptr<Camera::State>* self) {
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "frames");
    if (!sink)
        return false;
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &Camera::State::newSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, self, nullptr);
    gst_object_unref(sink);
    return true;
}

} // namespace

std::unique_ptr<Camera> Camera::openFirst() {
    Found found = findCameraSource();
    if (!found.source) {
        log("Camera: no camera found");
        return nullptr;
    }
    GError* error = nullptr;
    GstElement* tail = gst_parse_bin_from_description(kConverter, TRUE, &error);
    if (!tail) {
        log(std::string("Camera: ") + (error ? error->message : "no converter"));
        g_clear_error(&error);
        gst_object_unref(gst_object_ref_sink(found.source));
        return nullptr;
    }
    GstElement* pipeline = gst_pipeline_new("camera");
    gst_bin_add_many(GST_BIN(pipeline), found.source, tail, nullptr);
    if (!gst_element_link(found.source, tail)) {
        log("Camera: " + found.name + " cannot be linked to the converter");
        gst_object_unref(pipeline);
        return nullptr;
    }
    std::unique_ptr<Camera> camera(new Camera());
    camera->name_ = found.name;
    camera->state_->pipeline = pipeline;
    camera->state_->self = new std::weak_ptr<State>(camera->state_);
    if (!attachSink(pipeline, camera->state_->self)) {
        log("Camera: no frame sink");
        return nullptr;
    }
    return camera;
}

std::unique_ptr<Camera> Camera::openTestPattern(int width, int height) {
    if (!startGStreamer())
        return nullptr;
    const std::string description =
        "videotestsrc is-live=true pattern=smpte ! video/x-raw,width=" + std::to_string(width) +
        ",height=" + std::to_string(height) + " ! " + kConverter;
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (!pipeline || error) {
        log(std::string("Camera: test pattern: ") + (error ? error->message : "no pipeline"));
        g_clear_error(&error);
        if (pipeline)
            gst_object_unref(pipeline);
        return nullptr;
    }
    std::unique_ptr<Camera> camera(new Camera());
    camera->name_ = "Test pattern";
    camera->state_->pipeline = pipeline;
    camera->state_->self = new std::weak_ptr<State>(camera->state_);
    if (!attachSink(pipeline, camera->state_->self)) {
        log("Camera: test pattern: no frame sink");
        return nullptr;
    }
    return camera;
}

bool Camera::isAvailable() {
    Found found = findCameraSource();
    if (!found.source)
        return false;
    gst_object_unref(gst_object_ref_sink(found.source));
    return true;
}

Status Camera::start() {
    if (running_)
        return success();
    GstElement* pipeline = state_->pipeline;
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        std::string reason = "the camera did not start";
        GstBus* bus = gst_element_get_bus(pipeline);
        if (GstMessage* m = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
            GError* error = nullptr;
            gst_message_parse_error(m, &error, nullptr);
            if (error)
                reason += std::string(": ") + error->message;
            g_clear_error(&error);
            gst_message_unref(m);
        }
        gst_object_unref(bus);
        gst_element_set_state(pipeline, GST_STATE_NULL);
        log("Camera: " + name_ + ": " + reason);
        return Status::failure(reason);
    }
    running_ = true;
    return success();
}

void Camera::stop() {
    if (!running_ || !state_->pipeline)
        return;
    // Going to NULL joins the streaming threads: no callback runs after this.
    gst_element_set_state(state_->pipeline, GST_STATE_NULL);
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
