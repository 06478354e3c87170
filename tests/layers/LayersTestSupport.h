#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "layers/LayersDelegate.h"
#include "layers/TextLayerView.h"
#include "layers/TouchImageView.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Event.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"

namespace zorbel::testing {

// Stands in for the canvas: writes down each phase handed to it.
class RecordingCanvas : public platform::View {
public:
    using View::View;
    std::vector<std::string> phases;
    void touchesBegan(const platform::TouchSet&, platform::Event&) override {
        phases.push_back("began");
    }
    void touchesMoved(const platform::TouchSet&, platform::Event&) override {
        phases.push_back("moved");
    }
    void touchesEnded(const platform::TouchSet&, platform::Event&) override {
        phases.push_back("ended");
    }
    void touchesCancelled(const platform::TouchSet&, platform::Event&) override {
        phases.push_back("cancelled");
    }
};

// The application as the layers see it.
class FakeLayersDelegate : public platform::ApplicationDelegate, public LayersDelegate {
public:
    int tool = kShapeTool;
    int currentOrientation = 1;
    int docOrientation = 1;
    bool dirty = false;
    platform::Color selectedColor = platform::Color::rgb(1, 0, 0);
    platform::View* canvas = nullptr;
    std::shared_ptr<TouchImageView> lastImage;
    std::shared_ptr<TextLayerView> lastText;
    std::vector<std::shared_ptr<TextLayerView>> added;
    std::vector<std::string> overlayTexts;

    int layersSelectedTool() const override { return tool; }
    platform::View* layersCanvas() const override { return canvas; }
    void setLastMovedTouchImageView(std::shared_ptr<TouchImageView> l) override {
        lastImage = std::move(l);
    }
    std::shared_ptr<TextLayerView> lastMovedTextLayer() const override { return lastText; }
    void setLastMovedTextLayer(std::shared_ptr<TextLayerView> l) override {
        lastText = std::move(l);
    }
    void setDirtyFlag(bool d) override { dirty = d; }
    int getCurrentOrientation() const override { return currentOrientation; }
    int documentOrientation() const override { return docOrientation; }
    platform::Color getSelectedColor() const override { return selectedColor; }
    void addTextLayer(std::shared_ptr<TextLayerView> layer) override {
        dirty = true;
        lastText = layer;
        if (canvas)
            canvas->addSubview(layer);
        added.push_back(std::move(layer));
    }
    void setOverlayText(const std::string& text) override { overlayTexts.push_back(text); }
};

// Fingers on one view, driven by hand: each phase goes to the view with an
// event that holds every finger down, as the window sends it. The touches'
// addresses are known, so tests can tell which finger comes first.
class Fingers {
public:
    explicit Fingers(platform::View& view) : view_(view) {}

    const platform::Touch* down(int finger, platform::Point p, int tapCount = 1) {
        auto t = std::make_shared<platform::Touch>(finger, &view_, nullptr, p, time_, tapCount);
        touches_[finger] = t;
        send(t, platform::TouchPhase::Began);
        return t.get();
    }
    void move(int finger, platform::Point p) { update(finger, platform::TouchPhase::Moved, p); }
    void up(int finger, platform::Point p) {
        update(finger, platform::TouchPhase::Ended, p);
        touches_.erase(finger);
    }
    void up(int finger) { up(finger, touches_.at(finger)->locationInWindow()); }
    const platform::Touch* touch(int finger) const { return touches_.at(finger).get(); }

private:
    void update(int finger, platform::TouchPhase phase, platform::Point p) {
        time_ += 0.01;
        auto t = touches_.at(finger);
        t->update(phase, p, time_);
        send(t, phase);
    }
    void send(const std::shared_ptr<platform::Touch>& t, platform::TouchPhase phase) {
        platform::TouchSet all;
        for (auto& [f, other] : touches_)
            all.add(other);
        platform::Event event(all, time_);
        platform::TouchSet set({t});
        switch (phase) {
        case platform::TouchPhase::Began:
            view_.touchesBegan(set, event);
            break;
        case platform::TouchPhase::Moved:
        case platform::TouchPhase::Stationary:
            view_.touchesMoved(set, event);
            break;
        case platform::TouchPhase::Ended:
            view_.touchesEnded(set, event);
            break;
        case platform::TouchPhase::Cancelled:
            view_.touchesCancelled(set, event);
            break;
        }
    }

    platform::View& view_;
    std::map<int, std::shared_ptr<platform::Touch>> touches_;
    double time_ = 0;
};

// A window with a 320 x 480 stand-in canvas and the fake application delegate.
class LayersTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Application::shared().resetForTesting();
        platform::RunLoop::main().reset(platform::ClockMode::Virtual);
        platform::Animator::shared().reset();
        platform::setLogQuiet(true);
        platform::clearLogCapture();
        window = std::make_shared<platform::Window>();
        window->makeKeyAndVisible();
        platform::Application::shared().setStatusBarHidden(true);
        canvas = std::make_shared<RecordingCanvas>(platform::Rect(0, 0, 320, 480));
        window->addSubview(canvas);
        delegate.canvas = canvas.get();
        platform::Application::shared().setDelegate(&delegate);
    }
    void TearDown() override {
        platform::Application::shared().setDelegate(nullptr);
        platform::Application::shared().resetForTesting();
        platform::setLogQuiet(false);
    }

    // An opaque picture of the size, one colour.
    static platform::ImageRef solidPicture(int width, int height, std::uint8_t r = 200,
                                           std::uint8_t g = 40, std::uint8_t b = 40) {
        std::vector<std::uint8_t> px(std::size_t(width) * std::size_t(height) * 4);
        for (std::size_t i = 0; i < px.size(); i += 4) {
            px[i] = 255;
            px[i + 1] = r;
            px[i + 2] = g;
            px[i + 3] = b;
        }
        return platform::Image::create(width, height, std::move(px)).value();
    }

    // A picture layer of the frame on the canvas.
    std::shared_ptr<TouchImageView> addPictureLayer(const platform::Rect& frame) {
        auto layer = std::make_shared<TouchImageView>(frame);
        layer->setImage(solidPicture(60, 30));
        canvas->addSubview(layer);
        return layer;
    }

    std::shared_ptr<platform::Window> window;
    std::shared_ptr<RecordingCanvas> canvas;
    FakeLayersDelegate delegate;
};

// The window composed at `scale` pixels per point. With ZORBEL_LAYERS_SNAPSHOTS
// set to a folder, the frame is also kept there as NAME@<scale>x.png.
inline std::unique_ptr<platform::Context> composeWindow(platform::Window& window, float scale,
                                                        const std::string& name) {
    window.setScale(scale);
    const platform::Size size = window.size();
    auto fb = platform::Context::createBitmap(int(size.width * scale), int(size.height * scale),
                                              nullptr, platform::YAxis::Down);
    window.render(*fb);
    if (const char* dir = std::getenv("ZORBEL_LAYERS_SNAPSHOTS")) {
        auto png = platform::Image::encodePng(fb->data(), fb->width(), fb->height(),
                                              fb->bytesPerRow(), false);
        const auto path =
            std::filesystem::path(dir) / (name + "@" + std::to_string(int(scale)) + "x.png");
        EXPECT_TRUE(png && platform::writeFileAtomically(path, *png).ok());
    }
    return fb;
}

inline void expectTransformNear(const platform::AffineTransform& t,
                                const platform::AffineTransform& expected,
                                float tolerance = 1e-4f) {
    EXPECT_NEAR(t.a, expected.a, tolerance);
    EXPECT_NEAR(t.b, expected.b, tolerance);
    EXPECT_NEAR(t.c, expected.c, tolerance);
    EXPECT_NEAR(t.d, expected.d, tolerance);
    EXPECT_NEAR(t.tx, expected.tx, tolerance);
    EXPECT_NEAR(t.ty, expected.ty, tolerance);
}

} // namespace zorbel::testing
