// The camera module: the camera through GStreamer. Device discovery with the
// device monitor, a pipeline that converts whatever the device gives to ARGB
// frames, and an appsink whose every sample becomes an Image for the camera
// (Camera.cpp, in the program) to keep.
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include "platform/foundation/Log.h"
#include "platform/imagepicker/CameraStream.h"

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

// A pipeline ending in the appsink "frames", its samples to `sink`.
class GstCameraStream final : public CameraStream {
public:
    GstCameraStream(GstElement* pipeline, std::string name, CameraFrameSink sink)
        : pipeline_(pipeline), name_(std::move(name)), sink_(std::move(sink)) {}
    ~GstCameraStream() override {
        stop();
        gst_object_unref(pipeline_);
    }
    GstCameraStream(const GstCameraStream&) = delete;
    GstCameraStream& operator=(const GstCameraStream&) = delete;

    const std::string& name() const override { return name_; }
    Status play() override;
    void stop() override;

    // Puts the appsink's callback on this stream (false: no sink).
    // (gst_bin_get_by_name looks inside the converter's bin as well.)
    bool attachSink();

private:
    static GstFlowReturn newSample(GstAppSink* sink, gpointer data);
    void take(GstSample* sample);

    GstElement* pipeline_;
    std::string name_;
    CameraFrameSink sink_;
};

GstFlowReturn GstCameraStream::newSample(GstAppSink* sink, gpointer data) {
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_EOS;
    static_cast<GstCameraStream*>(data)->take(sample);
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void GstCameraStream::take(GstSample* sample) {
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
    if (image && sink_)
        sink_(image.value());
}

bool GstCameraStream::attachSink() {
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline_), "frames");
    if (!sink)
        return false;
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &GstCameraStream::newSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
    gst_object_unref(sink);
    return true;
}

Status GstCameraStream::play() {
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        std::string reason = "the camera did not start";
        GstBus* bus = gst_element_get_bus(pipeline_);
        if (GstMessage* m = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
            GError* error = nullptr;
            gst_message_parse_error(m, &error, nullptr);
            if (error)
                reason += std::string(": ") + error->message;
            g_clear_error(&error);
            gst_message_unref(m);
        }
        gst_object_unref(bus);
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        return Status::failure(reason);
    }
    return success();
}

void GstCameraStream::stop() {
    // Going to NULL joins the streaming threads: no callback runs after this.
    gst_element_set_state(pipeline_, GST_STATE_NULL);
}

std::unique_ptr<CameraStream> openFirst(CameraFrameSink sink) {
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
    auto stream = std::make_unique<GstCameraStream>(pipeline, found.name, std::move(sink));
    if (!stream->attachSink()) {
        log("Camera: no frame sink");
        return nullptr;
    }
    return stream;
}

std::unique_ptr<CameraStream> openTestPattern(int width, int height, CameraFrameSink sink) {
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
    auto stream = std::make_unique<GstCameraStream>(pipeline, "Test pattern", std::move(sink));
    if (!stream->attachSink()) {
        log("Camera: test pattern: no frame sink");
        return nullptr;
    }
    return stream;
}

bool isAvailable() {
    Found found = findCameraSource();
    if (!found.source)
        return false;
    gst_object_unref(gst_object_ref_sink(found.source));
    return true;
}

} // namespace

} // namespace platform

const platform::CameraModuleEntry* zorbel_camera_module() {
    static const platform::CameraModuleEntry entry{&platform::openFirst,
                                                   &platform::openTestPattern,
                                                   &platform::isAvailable};
    return &entry;
}
