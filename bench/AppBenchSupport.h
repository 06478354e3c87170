#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/CanvoAppDelegate.h"
#include "canvas/PaintingView.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"

namespace zorbel::bench {

// A photo-like 320 x 480 picture: smooth colour fields with a little grain,
// so its PNG is as large and as slow to code as a real document's.
inline platform::ImageRef photoLikePicture(std::uint32_t seed) {
    const int w = 320, h = 480;
    std::vector<std::uint8_t> bytes(std::size_t(w) * h * 4);
    std::uint32_t state = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 28) - 8;
            auto clamp = [](int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            std::uint8_t* p = &bytes[(std::size_t(y) * w + x) * 4];
            p[0] = 255;
            p[1] = clamp(x * 255 / w + grain);
            p[2] = clamp(y * 255 / h + grain);
            p[3] = clamp(((x + y) * 97 / 8) % 256 + grain);
        }
    return platform::Image::create(w, h, std::move(bytes)).value();
}

// The whole application in the benchmark process, in a scratch home whose
// Documents folder holds a painting, an original and an undo picture as a
// real session leaves them, and whose settings file has every key.
class AppBench {
public:
    AppBench() {
        home_ = std::filesystem::temp_directory_path() /
                ("zorbel-app-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(home_);
        platform::Paths::setHome(home_);
        platform::setLogQuiet(true);
        const auto documents = platform::Paths::documentsDirectory();
        const char* files[] = {"zorbel.png", "zorbelorgimage.png", "tempundo.png"};
        for (std::uint32_t i = 0; i < 3; ++i) {
            auto png = photoLikePicture(i + 1)->pngData(platform::Image::kFastPngCompression);
            (void)platform::writeFileAtomically(documents / files[i], png.value());
        }
        // One full run writes every setting.
        launch();
        terminate();
    }
    ~AppBench() {
        shutDown();
        platform::Paths::setHome({});
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }

    // Interface, launch, first frame.
    void launch() {
        shutDown();
        app_ = CanvoAppDelegate::makeFromMainInterface();
        platform::Application::shared().finishLaunching();
    }
    void renderFirstFrame() {
        platform::Window& window = *app_->window();
        if (!framebuffer_)
            framebuffer_ =
                platform::Context::createBitmap(320, 480, nullptr, platform::YAxis::Down);
        window.render(*framebuffer_);
    }
    void terminate() { platform::Application::shared().terminate(); }

    // Drops the run without writing anything.
    void shutDown() {
        platform::Application::shared().resetForTesting();
        platform::Accelerometer::shared().resetForTesting();
        platform::Animator::shared().reset();
        platform::RunLoop::main().reset(platform::ClockMode::Virtual);
        platform::UserDefaults::resetStandardUserDefaults();
        app_.reset();
    }

    CanvoAppDelegate& app() { return *app_; }

private:
    std::filesystem::path home_;
    std::unique_ptr<CanvoAppDelegate> app_;
    std::unique_ptr<platform::Context> framebuffer_;
};

} // namespace zorbel::bench
