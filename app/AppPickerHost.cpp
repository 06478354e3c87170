#include "app/AppPickerHost.h"

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "layers/TextLayerView.h"
#include "layers/TouchImageView.h"

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

bool AppPickerHost::hasLastMovedTouchImageView() const {
    return app_.lastMovedTouchImageView() != nullptr;
}

void AppPickerHost::flipLastMovedTouchImageView() {
    if (auto layer = app_.lastMovedTouchImageView()) {
        layer->flipView();
        app_.setDirtyFlag(true);
    }
}

void AppPickerHost::removeLastMovedTouchImageView() {
    if (auto layer = app_.lastMovedTouchImageView())
        layer->removeFromSuperview();
    app_.setLastMovedTouchImageView(nullptr);
}

bool AppPickerHost::hasLastMovedTextLayer() const {
    return app_.lastMovedTextLayer() != nullptr;
}

void AppPickerHost::removeLastMovedTextLayer() {
    if (auto layer = app_.lastMovedTextLayer())
        layer->removeFromSuperview();
    app_.setLastMovedTextLayer(nullptr);
}

int AppPickerHost::documentOrientation() const {
    return app_.documentOrientation();
}

int AppPickerHost::getCurrentOrientation() const {
    return app_.getCurrentOrientation();
}

} // namespace zorbel
