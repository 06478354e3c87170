// Touches on the canvas: corner taps, strokes from touch-down to touch-up, the
// finger offset and the undo copy of each stroke.

#include <cmath>

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "canvas/PaintingView.h"

namespace zorbel {

using platform::Event;
using platform::Point;
using platform::Touch;
using platform::TouchSet;

namespace {

bool isLandscapeOrientation(int orientation) {
    return orientation == 3 || orientation == 4;
}

// |trunc(v)| > threshold, compared as floats so that no value can overflow a
// conversion to an integer (NaN counts as small).
bool truncatesBeyond(float v, float threshold) {
    return v >= threshold + 1 || v <= -(threshold + 1);
}

} // namespace

Point PaintingView::applyFingerOffset(Point p) const {
    if (isLandscapeOrientation(appDelegate().getCurrentOrientation()))
        return {p.x - fingerOffset_.y, p.y + fingerOffset_.x};
    return {p.x + fingerOffset_.x, p.y + fingerOffset_.y};
}

bool PaintingView::handleCornerTap(Point p) {
    CanvoAppDelegate& delegate = appDelegate();
    const float zone = kCornerZone;
    const float right = float(kCanvasWidth) - zone;
    const float bottom = float(kCanvasHeight) - zone;
    const bool topLeft = p.x < zone && p.y < zone;
    const bool topRight = p.x > right && p.y < zone;
    const bool bottomLeft = p.x < zone && p.y > bottom;
    const bool bottomRight = p.x > right && p.y > bottom;
    const bool landscape = isLandscapeOrientation(delegate.getCurrentOrientation());

    // The corners keep their meaning on the device when the canvas is turned.
    if (landscape ? topRight : topLeft) {
        ignoreMoveEndPhases_ = true;
        delegate.resetPresentMode();
        return true;
    }
    if (!delegate.inPresentMode())
        return false;
    if (landscape ? bottomRight : topRight) {
        ignoreMoveEndPhases_ = true;
        delegate.presentToolSelection();
        return true;
    }
    if (landscape ? topLeft : bottomLeft) {
        ignoreMoveEndPhases_ = true;
        delegate.presentColorSelection();
        return true;
    }
    if (landscape ? bottomLeft : bottomRight) {
        ignoreMoveEndPhases_ = true;
        delegate.presentBrushSelection();
        return true;
    }
    return false;
}

void PaintingView::setUpStrokeSettings(Tool tool) {
    const CanvoAppDelegate& delegate = appDelegate();
    float spacing = 0.15f;
    if (tool == Tool::PaintBrushTool) {
        brushAlpha_ = delegate.paintBrushAlpha();
        brushBlendMode_ = delegate.paintBrushBlendMode();
    } else {
        brushAlpha_ = 1.0f;
        brushBlendMode_ = 0;
        if (tool == Tool::ColorBrushTool)
            spacing = 1.0f; // colour-brush pictures side by side
    }
    brushSize_ = stampSize().width;
    brushPixelStep_ = spacing * brushSize_;
    // Also catches a NaN step, which would make every segment endless.
    if (!(brushPixelStep_ >= 1.0f))
        brushPixelStep_ = 1.0f;
}

void PaintingView::touchesBegan(const TouchSet& touches, Event& event) {
    startLineIndex_ = 0;
    ignoreMoveEndPhases_ = false;
    const Touch* touch = touches.anyObject();
    if (!touch)
        return;
    location_ = touch->locationInView(this);

    CanvoAppDelegate& delegate = appDelegate();
    if (delegate.tooBusyForUserInteraction()) {
        ignoreMoveEndPhases_ = true;
        return;
    }
    if (handleCornerTap(location_))
        return;

    if (waitingForEndTouch_) {
        // The last stroke never saw its touch-up: this touch-down ends it.
        touchesEnded(touches, event);
        return;
    }
    waitingForEndTouch_ = true;
    if (!delegate.paintStyleTool())
        return;

    const Tool tool = delegate.selectedTool();
    // With a large offset the finger hides nothing, so every other stroke only
    // shows where painting would land.
    const bool largeOffset = truncatesBeyond(fingerOffset_.x, kCursorOffsetThreshold) ||
                             truncatesBeyond(fingerOffset_.y, kCursorOffsetThreshold);
    showCursor_ = largeOffset &&
                  (!lastTimeCursorUsed_ || (tool == Tool::CloneTool && cloneNeedsOffset_)) &&
                  delegate.cursorDisplayFlag();

    setUpStrokeSettings(tool);
    if (canvoViewController_)
        canvoViewController_->startPainting();
    firstTouch_ = true;

    if (!showCursor_) {
        // The undo step of this stroke: an exact copy, so that parts of the
        // picture that are not opaque come back as they were too.
        rawcopyToUndoBuffer();
    }
    startOfPaintingPoint_ = location_;
    mPointArray_.clear();

    touchesMoved(touches, event); // stamps the touch-down point
}

void PaintingView::touchesMoved(const TouchSet& touches, Event&) {
    CanvoAppDelegate& delegate = appDelegate();
    if (delegate.tooBusyForUserInteraction() || ignoreMoveEndPhases_ || !delegate.paintStyleTool())
        return;
    const Touch* touch = touches.anyObject();
    if (!touch)
        return;
    reloadPaintLayerIfNecessary();

    // The first movement is the touch-down itself, at its own position.
    if (!firstTouch_)
        location_ = touch->locationInView(this);
    location_ = applyFingerOffset(location_);
    previousLocation_ = applyFingerOffset(touch->previousLocationInView(this));
    cursorPosition_ = location_;

    mPointArray_.push_back(std::make_shared<PaintPoint>(location_));

    const float dx = location_.x - lastPaintedLocation_.x;
    const float dy = location_.y - lastPaintedLocation_.y;
    const float steps = std::ceil(std::sqrt(dx * dx + dy * dy) / brushPixelStep_);
    if (steps > 1 || firstTouch_ || showCursor_) {
        lastPaintedLocation_ = location_;
        renderLineFromPoint(previousLocation_, location_);
    }
    firstTouch_ = false;
}

void PaintingView::touchesEnded(const TouchSet& touches, Event&) {
    CanvoAppDelegate& delegate = appDelegate();
    if (ignoreMoveEndPhases_ || delegate.tooBusyForUserInteraction())
        return;
    const Touch* touch = touches.anyObject();
    const Tool tool = delegate.selectedTool();

    if (tool == Tool::CloneTool) {
        const Point position = touch ? applyFingerOffset(touch->locationInView(this)) : location_;
        if (handleCloneSetUpTap(position))
            return;
    }

    waitingForEndTouch_ = false;
    if (delegate.paintStyleTool()) {
        if (canvoViewController_)
            canvoViewController_->endPainting();
        if (firstTouch_) {
            // The touch-down's own stamp never happened.
            firstTouch_ = false;
            location_ = applyFingerOffset(location_);
            if (touch)
                previousLocation_ = applyFingerOffset(touch->previousLocationInView(this));
            else
                previousLocation_ = location_;
            renderLineFromPoint(previousLocation_, location_);
        }
        if (showCursor_) {
            // A stroke that only showed the cursor changed nothing and took no
            // undo copy: there is nothing to merge, smooth or replace.
            showCursor_ = false;
        } else {
            mergePaintLayer();
            const bool smoothing = delegate.smoothPaintBrushFlag();
            if (smoothing && tool == Tool::PaintBrushTool && mPointArray_.size() > 2) {
                copyFromUndoBuffer(); // the freehand stroke goes
                curveFit();
                mergePaintLayer();
            }
            const bool smartShapes =
                canvoViewController_ && canvoViewController_->smartShapesEnabled();
            if (smartShapes && !smoothing && tool == Tool::PaintBrushTool)
                redrawRecognisedShape();
        }
        if (cursorWasPainted_)
            setNeedsDisplay(); // the cursor goes away
    }
    clearPaintLayer();
}

void PaintingView::touchesCancelled(const TouchSet& touches, Event& event) {
    touchesEnded(touches, event);
}

} // namespace zorbel
