// Touches on the canvas: corner taps, strokes from touch-down to touch-up, the
// finger offset and the undo copy of each stroke.

#include <cmath>

#include "canvas/PaintingView.h"

namespace zorbel {

using platform::Event;
using platform::Point;
using platform::Touch;
using platform::TouchSet;

namespace {

// |trunc(v)| > threshold, compared as floats so that no value can overflow a
// conversion to an integer (NaN counts as small).
bool truncatesBeyond(float v, float threshold) {
    return v >= threshold + 1 || v <= -(threshold + 1);
}

} // namespace

Point PaintingView::applyFingerOffset(Point p) const {
    if (isLandscape(host().paintingViewInterfaceOrientation()))
        return {p.x - fingerOffset_.y, p.y + fingerOffset_.x};
    return {p.x + fingerOffset_.x, p.y + fingerOffset_.y};
}

bool PaintingView::handleCornerTap(Point p) {
    PaintingViewDelegate& delegate = host();
    const float zone = kCornerZone;
    const float right = float(kCanvasWidth) - zone;
    const float bottom = float(kCanvasHeight) - zone;
    const bool topLeft = p.x < zone && p.y < zone;
    const bool topRight = p.x > right && p.y < zone;
    const bool bottomLeft = p.x < zone && p.y > bottom;
    const bool bottomRight = p.x > right && p.y > bottom;
    const bool landscape = isLandscape(delegate.paintingViewInterfaceOrientation());

    // The corners keep their meaning on the device when the canvas is turned.
    if (landscape ? topRight : topLeft) {
        ignoreMoveEndPhases_ = true;
        delegate.paintingViewEndPresentMode();
        return true;
    }
    if (!delegate.paintingViewInPresentMode())
        return false;
    if (landscape ? bottomRight : topRight) {
        ignoreMoveEndPhases_ = true;
        delegate.paintingViewPresentToolSelection();
        return true;
    }
    if (landscape ? topLeft : bottomLeft) {
        ignoreMoveEndPhases_ = true;
        delegate.paintingViewPresentColorSelection();
        return true;
    }
    if (landscape ? bottomLeft : bottomRight) {
        ignoreMoveEndPhases_ = true;
        delegate.paintingViewPresentBrushSelection();
        return true;
    }
    return false;
}

void PaintingView::setUpStrokeSettings(Tool tool) {
    const PaintingViewDelegate& delegate = host();
    float spacing = 0.15f;
    if (tool == Tool::PaintBrushTool) {
        brushAlpha_ = delegate.paintingViewBrushOpacity();
        brushBlendMode_ = delegate.paintingViewBrushBlendMode();
    } else {
        brushAlpha_ = 1.0f;
        brushBlendMode_ = platform::BlendMode::Normal;
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

    PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewIsBusy()) {
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
    if (!delegate.paintingViewToolPaints())
        return;

    const Tool tool = delegate.paintingViewTool();
    // With a large offset the finger hides nothing, so every other stroke only
    // shows where painting would land.
    const bool largeOffset = truncatesBeyond(fingerOffset_.x, kCursorOffsetThreshold) ||
                             truncatesBeyond(fingerOffset_.y, kCursorOffsetThreshold);
    showCursor_ = largeOffset &&
                  (!lastTimeCursorUsed_ || (tool == Tool::CloneTool && cloneNeedsOffset_)) &&
                  delegate.paintingViewShowsCursor();

    setUpStrokeSettings(tool);
    delegate.paintingViewStrokeBegan();
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
    const PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewIsBusy() || ignoreMoveEndPhases_ || !delegate.paintingViewToolPaints())
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
    PaintingViewDelegate& delegate = host();
    if (ignoreMoveEndPhases_ || delegate.paintingViewIsBusy())
        return;
    const Touch* touch = touches.anyObject();
    const Tool tool = delegate.paintingViewTool();

    if (tool == Tool::CloneTool) {
        const Point position = touch ? applyFingerOffset(touch->locationInView(this)) : location_;
        if (handleCloneSetUpTap(position))
            return;
    }

    waitingForEndTouch_ = false;
    if (delegate.paintingViewToolPaints()) {
        delegate.paintingViewStrokeEnded();
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
            const bool smoothing = delegate.paintingViewSmoothsStrokes();
            if (smoothing && tool == Tool::PaintBrushTool && mPointArray_.size() > 2) {
                copyFromUndoBuffer(); // the freehand stroke goes
                curveFit();
                mergePaintLayer();
            }
            if (delegate.paintingViewRecognisesShapes() && !smoothing &&
                tool == Tool::PaintBrushTool)
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
