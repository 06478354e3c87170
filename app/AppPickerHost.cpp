#include "app/AppPickerHost.h"

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "layers/TextLayerView.h"
#include "layers/TouchImageView.h"

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

void AppPickerHost::AddShape(const std::string& imageName) {
    if (app_.canvoViewController())
        app_.canvoViewController()->AddShape(imageName);
}

void AppPickerHost::setColorBrushImage(platform::ImageRef image) {
    app_.setColorBrushImage(std::move(image));
}

void AppPickerHost::setColorBrushIndex(int index) {
    app_.setColorBrushIndex(index);
}

} // namespace zorbel
