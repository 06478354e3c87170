#include "app/AppPickerHost.h"

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "platform/foundation/Log.h"

namespace zorbel {

Tool AppPickerHost::selectedTool() const {
    return app_.selectedTool();
}

void AppPickerHost::setSelectedTool(Tool tool) {
    app_.setSelectedTool(tool);
}

void AppPickerHost::applyTool() {
    app_.applyTool();
}

void AppPickerHost::setSelectedFilterTool(Tool tool) {
    app_.setSelectedFilterTool(tool);
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

// --- Brush, colour, overlays and colour brushes -------------------------------------

float AppPickerHost::brushAlpha() const {
    return app_.brushAlpha();
}

void AppPickerHost::setBrushAlpha(float alpha) {
    app_.setBrushAlpha(alpha);
}

platform::BlendMode AppPickerHost::blendMode() const {
    return app_.blendMode();
}

void AppPickerHost::setBlendMode(platform::BlendMode mode) {
    app_.setBlendMode(mode);
}

void AppPickerHost::setBrushSize(int size) {
    app_.setBrushSize(size);
}

void AppPickerHost::setBrushIndex(long index) {
    app_.setBrushIndex(index);
}

void AppPickerHost::setBrushImage(platform::ImageRef image) {
    app_.setBrushImage(std::move(image));
}

const std::vector<platform::Color>& AppPickerHost::colorSelectionArray() const {
    return app_.colorSelectionArray();
}

void AppPickerHost::setColorSelectionArray(std::vector<platform::Color> colors) {
    app_.setColorSelectionArray(std::move(colors));
}

void AppPickerHost::setColor(const platform::Color& color) {
    app_.setColor(color);
}

void AppPickerHost::setOverlayIndex(int index) {
    app_.setOverlayIndex(index);
}

void AppPickerHost::setDirtyFlag(bool dirty) {
    app_.setDirtyFlag(dirty);
}

// Movable picture layers are not part of the app yet: the choice is kept
// (overlay index, dirty flag) but nothing is laid over the painting.
void AppPickerHost::AddShape(const std::string& imageName) {
    platform::log("Overlay layers are not available yet: " + imageName);
}

void AppPickerHost::setColorBrushImage(platform::ImageRef image) {
    app_.setColorBrushImage(std::move(image));
}

void AppPickerHost::setColorBrushIndex(int index) {
    app_.setColorBrushIndex(index);
}

} // namespace zorbel
