#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/CanvoAppDelegate.h"
#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"

namespace zorbel::bench {

// A started canvas in a scratch home folder, with its own application delegate.
class CanvasBench {
public:
    CanvasBench() {
        home_ = std::filesystem::temp_directory_path() /
                ("zorbel-canvas-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(home_);
        platform::Paths::setHome(home_);
        platform::setLogQuiet(true);
        platform::Application::shared().setDelegate(&delegate);
        delegate.setSelectedTool(Tool::PaintBrushTool);
        view = PaintingView::create();
        view->setShowCursor(false);
    }
    ~CanvasBench() {
        view.reset();
        platform::Application::shared().setDelegate(nullptr);
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

    CanvoAppDelegate delegate;
    std::shared_ptr<PaintingView> view;

private:
    std::filesystem::path home_;
};

} // namespace zorbel::bench
