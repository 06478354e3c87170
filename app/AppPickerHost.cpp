#include "app/AppPickerHost.h"

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"

namespace zorbel {

int AppPickerHost::selectedTool() const {
    return int(app_.selectedTool());
}

void AppPickerHost::setSelectedTool(int tool) {
    app_.setSelectedTool(Tool(tool));
}

void AppPickerHost::applyTool() {
    app_.applyTool();
}

void AppPickerHost::setSelectedFilterTool(int tool) {
    app_.setSelectedFilterTool(Tool(tool));
}

void AppPickerHost::applyFilterTool() {
    app_.applyFilterTool();
}

void AppPickerHost::setUpProgressView() {
    app_.setUpProgressView();
}

void AppPickerHost::detachOneShotEffect(OneShotEffect effect) {
    app_.detachOneShotEffect(effect);
}

void AppPickerHost::flattenImage() {
    if (app_.canvoViewController())
        app_.canvoViewController()->flattenImage();
}

// Picture layers and captions are not part of the app yet: nothing is ever
// the last moved one, so flip and delete have nothing to act on.
bool AppPickerHost::hasLastMovedTouchImageView() const {
    return app_.lastMovedTouchImageView() != nullptr;
}

void AppPickerHost::flipLastMovedTouchImageView() {}

void AppPickerHost::removeLastMovedTouchImageView() {
    app_.setLastMovedTouchImageView(nullptr);
}

bool AppPickerHost::hasLastMovedTextLayer() const {
    return app_.lastMovedTextLayer() != nullptr;
}

void AppPickerHost::removeLastMovedTextLayer() {
    app_.setLastMovedTextLayer(nullptr);
}

int AppPickerHost::documentOrientation() const {
    return app_.documentOrientation();
}

int AppPickerHost::getCurrentOrientation() const {
    return app_.getCurrentOrientation();
}

} // namespace zorbel
