// Tool state: the current tool and its parameters, pushed on to the canvas
// (through the main view controller) and the toolbars; the paint timer that
// brings the toolbars back after a stroke.

#include <cstdio>
#include <string>

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/NewMasterViewController.h"
#include "canvas/PaintingView.h"
#include "layers/TextLayerView.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Timer.h"

namespace zorbel {

namespace {

// A tool button's picture; a missing one is logged and leaves the button bare.
platform::ImageRef toolButtonImage(const char* name) {
    auto image = platform::Image::named(name);
    if (!image)
        platform::log(std::string("Tool button image not found: ") + name);
    return image;
}

} // namespace

void CanvoAppDelegate::applyTool(ToolBuffers buffers) {
    PaintingView* canvas = getThePaintingView();
    const bool reload = buffers == ToolBuffers::ReloadNow;
    switch (settings_.selectedTool) {
    case Tool::PaintBrushTool:
        setToolImage(toolButtonImage("brushbutton.png"));
        if (canvas) {
            canvas->reloadBrushLayer();
            if (reload)
                canvas->reloadPaintOffscreensIfNecessary();
        }
        disableUserInteractionLayers();
        break;
    case Tool::EraserTool:
        setToolImage(toolButtonImage("eraserbutton.png"));
        if (canvas) {
            canvas->reloadBrushLayer();
            if (reload) {
                canvas->reloadOffscreenBufferIfNecessary();
                canvas->reloadOrgImageBufferIfNecessary();
            }
        }
        disableUserInteractionLayers();
        break;
    case Tool::CloneTool:
        if (canvas) {
            canvas->cloneSetUp().needsOffset = true;
            canvas->cloneSetUp().secondPointSet = false;
        }
        setToolImage(toolButtonImage("clonereadybutton.png"));
        if (canvas) {
            canvas->reloadBrushLayer();
            if (reload)
                canvas->reloadPaintOffscreensIfNecessary();
            canvas->cloneSetUp().relativeOffset = {0, 0};
        }
        disableUserInteractionLayers();
        break;
    case Tool::ShapeTool:
        setToolImage(toolButtonImage("shapesbutton.png"));
        enableUserInteractionOverlays();
        break;
    case Tool::TextTool:
        setToolImage(toolButtonImage("textbutton.png"));
        settings_.dirtyFlag = true;
        enableUserInteractionTextLayers();
        break;
    case Tool::EyeDropperTool:
        setToolImage(toolButtonImage("eyedropper.png"));
        break;
    case Tool::ColorBrushTool:
        setToolImage(toolButtonImage("stampbutton.png"));
        if (canvas) {
            canvas->reloadColorBrush();
            if (reload)
                canvas->reloadPaintOffscreensIfNecessary();
        }
        disableUserInteractionLayers();
        break;
    default:
        break;
    }
}

void CanvoAppDelegate::setToolImage(platform::ImageRef image) {
    if (newMasterViewController_)
        newMasterViewController_->setToolImage(std::move(image));
}

void CanvoAppDelegate::setBrushSize(int size) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", size);
    brushSizeBadge_ = text;
    if (canvoViewController_)
        canvoViewController_->setBrushSize(size);
}

void CanvoAppDelegate::setBrushImage(platform::ImageRef image) {
    toolState_.setCurrentBrushImage(image);
    if (canvoViewController_)
        canvoViewController_->setBrushImage(std::move(image));
}

void CanvoAppDelegate::setColorBrushImage(platform::ImageRef image) {
    if (canvoViewController_)
        canvoViewController_->setColorBrushImage(std::move(image));
}

void CanvoAppDelegate::setColor(const platform::Color& color) {
    if (canvoViewController_)
        canvoViewController_->setColor(color);
    if (newMasterViewController_)
        newMasterViewController_->setSelectedColor(color);
    if (settings_.selectedTool == Tool::TextTool)
        if (auto caption = lastMovedTextLayer()) {
            caption->setFontColor(color);
            caption->setNeedsDisplay();
        }
}

void CanvoAppDelegate::setFingerOffset(platform::Point offset) {
    if (canvoViewController_)
        canvoViewController_->setFingerOffset(offset);
}

platform::Point CanvoAppDelegate::fingerOffset() const {
    return canvoViewController_ ? canvoViewController_->fingerOffset() : platform::Point{};
}

// --- Paint timer ---------------------------------------------------------------

void CanvoAppDelegate::startPainting() {
    toolState_.setPaintingFlag(true);
    if (newMasterViewController_)
        newMasterViewController_->hideAllTools();
    settings_.dirtyFlag = true;
}

void CanvoAppDelegate::endPainting() {
    toolState_.setPaintingFlag(false);
    startPaintTimer();
}

void CanvoAppDelegate::startPaintTimer() {
    std::weak_ptr<CanvoAppDelegate*> alive = alive_;
    platform::Timer::scheduledTimer(toolState_.paintInterval(), [alive](platform::Timer&) {
        if (auto self = alive.lock())
            (*self)->paintTimerDone();
    });
}

void CanvoAppDelegate::paintTimerDone() {
    if (!toolState_.paintingFlag() && newMasterViewController_)
        newMasterViewController_->showAllToolsUnlessPresenting();
}

// --- The picture ---------------------------------------------------------------

void CanvoAppDelegate::eraseToOriginal() {
    settings_.dirtyFlag = false;
    removeAllSubviews();
    if (canvoViewController_)
        canvoViewController_->refreshFromOrgImage();
}

void CanvoAppDelegate::refreshDrawing() {
    settings_.dirtyFlag = false;
    removeAllSubviews();
    if (canvoViewController_)
        canvoViewController_->refreshDrawing();
}

void CanvoAppDelegate::resetCursorShownCycle() {
    if (PaintingView* canvas = getThePaintingView())
        canvas->touchState().lastTimeCursorUsed = false;
}

PaintingView* CanvoAppDelegate::getThePaintingView() const {
    return canvoViewController_ ? canvoViewController_->obtainPaintView() : nullptr;
}

void CanvoAppDelegate::switchUndoBuffer() {
    if (canvoViewController_)
        canvoViewController_->switchUndoBuffer();
}

void CanvoAppDelegate::setBGImage(platform::ImageRef image) {
    if (canvoViewController_)
        canvoViewController_->setBGImage(std::move(image));
}

} // namespace zorbel
