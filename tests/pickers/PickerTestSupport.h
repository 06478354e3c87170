#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "FakePickerHost.h"
#include "pickers/PickerInterfaceClasses.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace zorbel::testing {

// The screen a picker is presented from; it turns to any orientation so a
// test can put the window in landscape first, as a landscape document does.
class Presenter : public platform::ViewController {
public:
    bool shouldAutorotateToInterfaceOrientation(int) override { return true; }
};

// A window with the status bar showing (the pickers open with the toolbar
// showing) and a presenter; the virtual clock.
class PickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Application::shared().resetForTesting();
        platform::RunLoop::main().reset(platform::ClockMode::Virtual);
        platform::Animator::shared().reset();
        platform::setLogQuiet(true);
        platform::clearLogCapture();
        registerPickerInterfaceClasses();
        window = std::make_shared<platform::Window>();
        window->makeKeyAndVisible();
        presenter = std::make_shared<Presenter>();
        presenter->view()->setFrame(window->bounds());
        presenter->view()->setAutoresizingMask(platform::AutoresizingFlexibleWidth |
                                               platform::AutoresizingFlexibleHeight);
        window->addSubview(presenter->view());
    }

    void TearDown() override {
        presenter.reset();
        window.reset();
        platform::Application::shared().resetForTesting();
        platform::Animator::shared().reset();
        platform::setLogQuiet(false);
    }

    void wait(double seconds) { platform::RunLoop::main().advanceBy(seconds); }

    // Turns the window to landscape (the toolbar's orientation 3) before the
    // picker opens.
    void holdInLandscape() {
        delegate.current = 3;
        window->setDeviceOrientation(3);
        wait(0.5);
    }

    template <class C>
    std::shared_ptr<C> present(std::shared_ptr<C> picker) {
        presenter->presentModalViewController(picker, false);
        return picker;
    }

    bool isPresented() const { return presenter->modalViewController() != nullptr; }

    // A finger down and up at a point of `view` (its bounds coordinates).
    void tap(platform::View& view, platform::Point p) {
        const platform::Point w = view.convertPointToView(p, nullptr);
        window->touchDown(1, w);
        window->touchUp(1, w);
        wait(0.5);
    }

    // A finger from `from` to `to` of `view`, in steps, then lifted.
    void drag(platform::View& view, platform::Point from, platform::Point to, int steps = 8) {
        window->touchDown(1, view.convertPointToView(from, nullptr));
        for (int i = 1; i <= steps; ++i) {
            const float t = float(i) / float(steps);
            wait(0.02);
            window->touchMove(
                1, view.convertPointToView(
                       {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}, nullptr));
        }
        window->touchUp(1, view.convertPointToView(to, nullptr));
        wait(0.5);
    }

    // The window as shown, at `scale` pixels a point; with ZORBEL_PICKER_SHOTS
    // set to a folder, also written there as TEST-NAME@SCALE.png to be looked at.
    std::unique_ptr<platform::Context> shoot(const std::string& name, float scale = 1) {
        window->setScale(scale);
        const platform::Size s = window->size();
        auto frame = platform::Context::createBitmap(int(s.width * scale), int(s.height * scale),
                                                     nullptr, platform::YAxis::Down);
        window->render(*frame);
        if (const char* dir = std::getenv("ZORBEL_PICKER_SHOTS")) {
            std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            std::replace(test.begin(), test.end(), '/', '-');
            auto png = platform::Image::encodePng(frame->data(), frame->width(), frame->height(),
                                                  frame->bytesPerRow(), false);
            if (png)
                (void)platform::writeFileAtomically(
                    std::filesystem::path(dir) /
                        (test + "-" + name + "@" + std::to_string(int(scale)) + ".png"),
                    std::span<const std::uint8_t>(png.value()));
        }
        return frame;
    }

    FakePickerHost delegate;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<Presenter> presenter;
};

// Bytes A, R, G, B of a pixel of a y-down bitmap.
struct Pixel {
    int a, r, g, b;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

inline Pixel pixelAt(const platform::Context& c, int x, int y) {
    const std::uint8_t* p =
        c.data() + (std::size_t(y) * std::size_t(c.width()) + std::size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// A picture of one colour (premultiplied bytes given).
inline platform::ImageRef solidPicture(int w, int h, Pixel px) {
    std::vector<std::uint8_t> bytes(std::size_t(w) * std::size_t(h) * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        bytes[i] = std::uint8_t(px.a);
        bytes[i + 1] = std::uint8_t(px.r);
        bytes[i + 2] = std::uint8_t(px.g);
        bytes[i + 3] = std::uint8_t(px.b);
    }
    return platform::Image::create(w, h, std::move(bytes)).value();
}

inline std::ostream& operator<<(std::ostream& os, const Pixel& p) {
    return os << "(" << p.a << ", " << p.r << ", " << p.g << ", " << p.b << ")";
}

} // namespace zorbel::testing
