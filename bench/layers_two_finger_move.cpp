// One two-finger step of a pinch-and-turn on one overlay layer in front of nine,
// to the composed frame: both fingers' touch-move events, then the window's
// render of what changed (the union of the layer's old and new boxes), as
// the run loop handles them. The fingers circle the layer's centre while
// their distance breathes between 80 and 160 points. Arguments: the window
// scale (1 or 2).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "layers/LayersDelegate.h"
#include "layers/TextLayerView.h"
#include "layers/TouchImageView.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"

namespace {

using platform::Point;
using platform::Rect;

class ShapeToolApp : public platform::ApplicationDelegate, public zorbel::LayersDelegate {
public:
    platform::View* canvas = nullptr;
    int layersSelectedTool() const override { return kShapeTool; }
    platform::View* layersCanvas() const override { return canvas; }
    void setLastMovedTouchImageView(std::shared_ptr<zorbel::TouchImageView>) override {}
    std::shared_ptr<zorbel::TextLayerView> lastMovedTextLayer() const override { return nullptr; }
    void setLastMovedTextLayer(std::shared_ptr<zorbel::TextLayerView>) override {}
    void setDirtyFlag(bool) override {}
    int getCurrentOrientation() const override { return 1; }
    int documentOrientation() const override { return 1; }
    platform::Color getSelectedColor() const override { return platform::Color::black(); }
    void addTextLayer(std::shared_ptr<zorbel::TextLayerView>) override {}
    void setOverlayText(const std::string&) override {}
};

// A smooth opaque picture standing in for the painting.
platform::ImageRef paintingPicture() {
    const int w = 320, h = 480;
    std::vector<std::uint8_t> px(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &px[(std::size_t(y) * w + x) * 4];
            p[0] = 255;
            p[1] = std::uint8_t(x * 255 / w);
            p[2] = std::uint8_t(y * 255 / h);
            p[3] = 160;
        }
    return platform::Image::create(w, h, std::move(px)).value();
}

const char* const kOverlays[] = {
    "tophat.overlay.png",  "glasses4.overlay.png", "mustach.overlay.png", "crown2.overlay.png",
    "shapetalkbubble.png", "catears.png",          "bow2.overlay.png",    "medal.overlay.png",
    "strawberry.png",      "glint4.overlay.png",
};

// The ten overlay layers on the canvas; the last, the one the fingers move,
// in front under them, the nine others behind and around it. Null when a
// picture is missing.
std::shared_ptr<zorbel::TouchImageView> addTenLayers(platform::View& canvas) {
    std::shared_ptr<zorbel::TouchImageView> moved;
    for (int i = 0; i < 10; ++i) {
        auto picture = platform::Image::named(kOverlays[i]);
        if (!picture)
            return nullptr;
        const float height = 300 * picture->size().height / picture->size().width;
        auto layer = std::make_shared<zorbel::TouchImageView>(Rect(0, 0, 700, height));
        layer->setImage(picture);
        layer->setCenter({60.0f + 22 * float(i), 80.0f + 34 * float(i)});
        // Sizes and turns as a person leaves them, from half size up.
        const float scale = 0.5f + 0.07f * float(i);
        layer->setTransform(
            platform::AffineTransform::makeRotation(0.2f * float(i - 5)).scaled(scale, scale));
        layer->setOriginalTransform(layer->transform());
        canvas.addSubview(layer);
        moved = layer;
    }
    moved->setCenter({160, 240});
    moved->setTransform(platform::AffineTransform::identity()); // as it was made
    moved->setOriginalTransform(moved->transform());
    return moved;
}

void BM_TwoFingerMoveAmongTenLayers(benchmark::State& state) {
    const float scale = float(state.range(0));
    platform::setLogQuiet(true);
    platform::Application::shared().resetForTesting();
    platform::RunLoop::main().reset(platform::ClockMode::Virtual);
    platform::Animator::shared().reset();
    ShapeToolApp app;
    platform::Application::shared().setDelegate(&app);
    {
        auto window = std::make_shared<platform::Window>();
        window->makeKeyAndVisible();
        platform::Application::shared().setStatusBarHidden(true);
        window->setScale(scale);
        auto canvas = std::make_shared<platform::ImageView>(paintingPicture());
        canvas->setFrame(Rect(0, 0, 320, 480));
        canvas->setUserInteractionEnabled(true); // as the canvas is
        window->addSubview(canvas);
        app.canvas = canvas.get();

        const std::shared_ptr<zorbel::TouchImageView> moved = addTenLayers(*canvas);
        if (!moved) {
            state.SkipWithError("overlay pictures are missing: build zorbel_resources");
            return;
        }
        auto framebuffer = platform::Context::createBitmap(int(320 * scale), int(480 * scale),
                                                           nullptr, platform::YAxis::Down);
        window->render(*framebuffer);

        const Point c{160, 240};
        auto fingerAt = [&](float angle, float radius, int which) {
            const float a = angle + (which == 1 ? 0.0f : 3.14159265f);
            return Point{c.x + radius * std::cos(a), c.y + radius * std::sin(a)};
        };
        window->touchDown(1, fingerAt(0, 40, 1), 1);
        window->touchDown(2, fingerAt(0, 40, 2), 1);
        window->render(*framebuffer);
        int step = 0;
        for (auto _ : state) {
            ++step;
            const float angle = 0.02f * float(step);
            const float radius = 60 + 20 * std::sin(0.05f * float(step));
            window->touchMove(1, fingerAt(angle, radius, 1));
            window->touchMove(2, fingerAt(angle, radius, 2));
            const Rect changed = window->render(*framebuffer);
            benchmark::DoNotOptimize(changed);
        }
        if (moved->transform() == moved->originalTransform() && step > 0)
            state.SkipWithError("the fingers did not reach the layer");
        window->touchUp(1, fingerAt(0, 40, 1));
        window->touchUp(2, fingerAt(0, 40, 2));
        app.canvas = nullptr;
    }
    platform::Application::shared().setDelegate(nullptr);
    platform::Application::shared().resetForTesting();
}
BENCHMARK(BM_TwoFingerMoveAmongTenLayers)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
