#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "canvas/PaintingView.h"
#include "canvas/PaintingViewDefaults.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/graphics/Image.h"

namespace zorbel::bench {

// The paint brush with the stroke settings a bench sets.
class BenchDelegate : public PaintingViewDefaults {
public:
    void setPaintBrushAlpha(float alpha) { alpha_ = alpha; }
    void setPaintBrushBlendMode(platform::BlendMode mode) { blendMode_ = mode; }
    void setCursorDisplayFlag(bool on) { cursorDisplay_ = on; }

    float paintingViewBrushOpacity() const override { return alpha_; }
    platform::BlendMode paintingViewBrushBlendMode() const override { return blendMode_; }
    bool paintingViewShowsCursor() const override { return cursorDisplay_; }

private:
    float alpha_ = 1;
    platform::BlendMode blendMode_ = platform::BlendMode::Normal;
    bool cursorDisplay_ = false;
};

// A started canvas in a scratch home folder, with its own delegate.
class CanvasBench {
public:
    CanvasBench() {
        home_ = std::filesystem::temp_directory_path() /
                ("zorbel-canvas-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(home_);
        platform::Paths::setHome(home_);
        platform::setLogQuiet(true);
        view = PaintingView::create(&delegate).value();
        view->touchState().showCursor = false;
    }
    ~CanvasBench() {
        view.reset();
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }

    // Makes the named brush picture the stamp, tinted.
    void useBrush(const char* name) {
        const auto path = platform::ResourceBundle::pathForResource(name, "");
        auto picture = platform::Image::load(path);
        if (picture)
            view->createBrushLayerFromImage(picture.value());
        view->setColor(platform::Color::rgb(0.8f, 0.2f, 0.1f));
    }

    BenchDelegate delegate;
    std::shared_ptr<PaintingView> view;

private:
    std::filesystem::path home_;
};

} // namespace zorbel::bench
