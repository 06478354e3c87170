// The delegate as the canvas's host: the canvas's questions answered from the
// tool state and the settings, its messages passed on to the screens.

#include "app/CanvoAppDelegate.h"
#include "app/KeyCommands.h"
#include "platform/foundation/Log.h"

namespace zorbel {

bool CanvoAppDelegate::paintingViewIsBusy() const {
    return tooBusyForUserInteraction();
}

Tool CanvoAppDelegate::paintingViewTool() const {
    return selectedTool();
}

bool CanvoAppDelegate::paintingViewToolPaints() const {
    return paintStyleTool();
}

float CanvoAppDelegate::paintingViewBrushOpacity() const {
    return paintBrushAlpha();
}

// The stored number is passed on as it is: an unknown one still sends the
// stroke through the stroke layer, and drawing takes it as normal.
platform::BlendMode CanvoAppDelegate::paintingViewBrushBlendMode() const {
    return blendMode();
}

InterfaceOrientation CanvoAppDelegate::paintingViewInterfaceOrientation() const {
    return InterfaceOrientation(getCurrentOrientation());
}

bool CanvoAppDelegate::paintingViewShowsCursor() const {
    return cursorDisplayFlag();
}

bool CanvoAppDelegate::paintingViewIsPainting() const {
    return paintingFlag();
}

bool CanvoAppDelegate::paintingViewSmoothsStrokes() const {
    return smoothPaintBrushFlag();
}

float CanvoAppDelegate::paintingViewSmoothingTolerance() const {
    return smoothPaintBrushAmount();
}

bool CanvoAppDelegate::paintingViewRecognisesShapes() const {
    return smartShapesEnabled();
}

bool CanvoAppDelegate::paintingViewInPresentMode() const {
    return inPresentMode();
}

DocumentOrientation CanvoAppDelegate::paintingViewDocumentOrientation() const {
    return DocumentOrientation(documentOrientation());
}

bool CanvoAppDelegate::paintingViewWasCropped() const {
    return wasCropped();
}

void CanvoAppDelegate::paintingViewDocumentOrientationChanged(DocumentOrientation orientation) {
    setDocumentOrientation(int(orientation));
}

void CanvoAppDelegate::paintingViewStrokeBegan() {
    // A new stroke is what a following Ctrl+Y would have to redo over.
    if (keyCommands_)
        keyCommands_->pictureChanged();
    startPainting();
}

void CanvoAppDelegate::paintingViewStrokeEnded() {
    endPainting();
}

void CanvoAppDelegate::paintingViewEndPresentMode() {
    resetPresentMode();
}

void CanvoAppDelegate::paintingViewPresentToolSelection() {
    presentToolSelection();
}

void CanvoAppDelegate::paintingViewPresentColorSelection() {
    presentColorSelection();
}

void CanvoAppDelegate::paintingViewPresentBrushSelection() {
    presentBrushSelection();
}

void CanvoAppDelegate::paintingViewCloneIsReady() {
    if (auto button = platform::Image::named("clonebutton.png"))
        setToolImage(std::move(button));
    else
        platform::log("Tool button image not found: clonebutton.png");
}

} // namespace zorbel
