#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/CanvoAppDelegate.h"
#include "pickers/PickerHost.h"
#include "pickers/PickerInterfaceClasses.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace zorbel::bench {

// The application's side of the pickers, doing nothing.
class QuietPickerHost : public PickerHost {
public:
    Tool selectedTool() const override { return Tool::PaintBrushTool; }
    void setSelectedTool(Tool) override {}
    void applyTool() override {}
    void setSelectedFilterTool(Tool) override {}
    void applyFilterTool() override {}
    void setUpProgressView() override {}
    void detachOneShotEffect(OneShotEffect) override {}
    void flattenImage() override {}
    bool hasLastMovedTouchImageView() const override { return false; }
    void flipLastMovedTouchImageView() override {}
    void removeLastMovedTouchImageView() override {}
    bool hasLastMovedTextLayer() const override { return false; }
    void removeLastMovedTextLayer() override {}
    float brushAlpha() const override { return 1; }
    void setBrushAlpha(float) override {}
    platform::BlendMode blendMode() const override { return platform::BlendMode::Normal; }
    void setBlendMode(platform::BlendMode) override {}
    void setBrushSize(int) override {}
    void setBrushIndex(long) override {}
    void setBrushImage(platform::ImageRef) override {}
    const std::vector<platform::Color>& colorSelectionArray() const override { return palette_; }
    void setColorSelectionArray(std::vector<platform::Color> colors) override {
        palette_ = std::move(colors);
    }
    void setColor(const platform::Color&) override {}
    void setOverlayIndex(int) override {}
    void setDirtyFlag(bool) override {}
    void AddShape(const std::string&) override {}
    void setColorBrushImage(platform::ImageRef) override {}
    void setColorBrushIndex(int) override {}
    int documentOrientation() const override { return 1; }
    int getCurrentOrientation() const override { return 1; }

private:
    std::vector<platform::Color> palette_ = std::vector<platform::Color>(12);
};

// The catalogues the toolbar hands to the grid pickers.
inline std::vector<std::string> shapeCatalogue() {
    return CanvoAppDelegate().initShapeNames();
}
inline std::vector<std::string> colorBrushCatalogue() {
    return CanvoAppDelegate().initColorBrushNames();
}

// A window at `scale` with the status bar and a screen to present from; the
// fonts are warm, as the toolbar and its navigation bar have drawn already
// when a person opens a picker.
struct PickerScreen {
    explicit PickerScreen(float scale) {
        platform::setLogQuiet(true);
        platform::Application::shared().resetForTesting();
        platform::RunLoop::main().reset(platform::ClockMode::Virtual);
        platform::Animator::shared().reset();
        registerPickerInterfaceClasses();
        window = std::make_shared<platform::Window>();
        window->setScale(scale);
        window->makeKeyAndVisible();
        presenter = std::make_shared<platform::ViewController>();
        presenter->view()->setFrame(window->bounds());
        window->addSubview(presenter->view());
        auto bar = std::make_shared<platform::NavigationBar>(platform::Rect(0, 0, 320, 44));
        bar->setTitle("Zorbel");
        auto label = std::make_shared<platform::Label>(platform::Rect(0, 50, 320, 30));
        label->setText("Tap a picture");
        presenter->view()->addSubview(bar);
        presenter->view()->addSubview(label);
        framebuffer = platform::Context::createBitmap(int(320 * scale), int(480 * scale), nullptr,
                                                      platform::YAxis::Down);
        window->render(*framebuffer);
    }
    ~PickerScreen() {
        presenter.reset();
        window.reset();
        platform::Application::shared().resetForTesting();
        platform::Animator::shared().reset();
    }

    QuietPickerHost delegate;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::ViewController> presenter;
    std::unique_ptr<platform::Context> framebuffer;
};

} // namespace zorbel::bench
