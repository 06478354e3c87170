// Touches on the canvas: corner taps, strokes from touch-down to touch-up, the
// finger offset and the undo copy of each stroke.

#include <cmath>

#include "canvas/PaintingView.h"
#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace zorbel {

using platform::Event;
using platform::Point;
using platform::Touch;
using platform::TouchSet;

namespace {

// The corners that answer a tap: 60 x 60 point squares of the canvas.
constexpr float kCornerZone = 60;
} // namespace

// The corners keep their meaning on the device when the canvas is turned.
bool PaintingView::handleCornerTap(Point p) {
    PaintingViewDelegate& delegate = host();
    const float right = float(kCanvasWidth) - kCornerZone;
    const float bottom = float(kCanvasHeight) - kCornerZone;
    const bool topLeft = p.x < kCornerZone && p.y < kCornerZone;
    const bool topRight = p.x > right && p.y < kCornerZone;
    const bool bottomLeft = p.x < kCornerZone && p.y > bottom;
    const bool bottomRight = p.x > right && p.y > bottom;
    const bool landscape = isLandscape(delegate.paintingViewInterfaceOrientation());

    if (landscape ? topRight : topLeft) {
        touch_.ignoreMoveEndPhases = true;
        delegate.paintingViewEndPresentMode();
        return true;
    }
    if (!delegate.paintingViewInPresentMode())
        return false;
    if (landscape ? bottomRight : topRight) {
        touch_.ignoreMoveEndPhases = true;
        delegate.paintingViewPresentToolSelection();
        return true;
    }
    if (landscape ? topLeft : bottomLeft) {
        touch_.ignoreMoveEndPhases = true;
        delegate.paintingViewPresentColorSelection();
        return true;
    }
    if (landscape ? bottomLeft : bottomRight) {
        touch_.ignoreMoveEndPhases = true;
        delegate.paintingViewPresentBrushSelection();
        return true;
    }
    return false;
}

void PaintingView::setUpStrokeSettings(Tool tool) {
    const PaintingViewDelegate& delegate = host();
    float spacing = 0.15f;
    if (tool == Tool::PaintBrushTool) {
        renderer_.setBrushAlpha(delegate.paintingViewBrushOpacity());
        renderer_.setBrushBlendMode(delegate.paintingViewBrushBlendMode());
    } else {
        renderer_.setBrushAlpha(1.0f);
        renderer_.setBrushBlendMode(platform::BlendMode::Normal);
        if (tool == Tool::ColorBrushTool)
            spacing = 1.0f; // colour-brush pictures side by side
    }
    brush_.setSize(brush_.stampSize().width);
    // Also catches a NaN step, which would make every segment endless.
    const float step = spacing * brush_.size();
    renderer_.setBrushPixelStep(step >= 1.0f ? step : 1.0f);
}

void PaintingView::touchesBegan(const TouchSet& touches, Event& event) {
    touch_.ignoreMoveEndPhases = false;
    const Touch* touch = touches.anyObject();
    if (!touch)
        return;
    touch_.location = touch->locationInView(this);

    PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewIsBusy()) {
        touch_.ignoreMoveEndPhases = true;
        return;
    }
    if (handleCornerTap(touch_.location))
        return;
    if (touch_.waitingForEndTouch) {
        // The last stroke never saw its touch-up: this touch-down ends it.
        touchesEnded(touches, event);
        return;
    }
    touch_.waitingForEndTouch = true;
    if (!delegate.paintingViewToolPaints())
        return;

    const Tool tool = delegate.paintingViewTool();
    // With a large offset the finger hides nothing, so every other stroke only
    // shows where painting would land.
    const bool largeOffset = touch_.offsetIsLarge();
    touch_.showCursor =
        largeOffset &&
        (!touch_.lastTimeCursorUsed || (tool == Tool::CloneTool && clone_.needsOffset)) &&
        delegate.paintingViewShowsCursor();

    setUpStrokeSettings(tool);
    delegate.paintingViewStrokeBegan();
    touch_.firstTouch = true;
    if (!touch_.showCursor) {
        // The undo step of this stroke: an exact copy, so that parts of the
        // picture that are not opaque come back as they were too.
        rawcopyToUndoBuffer();
    }
    touch_.startOfPaintingPoint = touch_.location;
    touch_.points.clear();

    touchesMoved(touches, event); // stamps the touch-down point
}

void PaintingView::touchesMoved(const TouchSet& touches, Event&) {
    const PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewIsBusy() || touch_.ignoreMoveEndPhases ||
        !delegate.paintingViewToolPaints())
        return;
    const Touch* touch = touches.anyObject();
    if (!touch)
        return;
    reloadPaintLayerIfNecessary();

    // The first movement is the touch-down itself, at its own position.
    if (!touch_.firstTouch)
        touch_.location = touch->locationInView(this);
    const InterfaceOrientation shown = delegate.paintingViewInterfaceOrientation();
    touch_.location = touch_.withFingerOffset(touch_.location, shown);
    touch_.previousLocation = touch_.withFingerOffset(touch->previousLocationInView(this), shown);
    touch_.cursorPosition = touch_.location;

    touch_.points.push_back(std::make_shared<PaintPoint>(touch_.location));

    const float dx = touch_.location.x - touch_.lastPaintedLocation.x;
    const float dy = touch_.location.y - touch_.lastPaintedLocation.y;
    const float steps = std::ceil(std::sqrt(dx * dx + dy * dy) / renderer_.brushPixelStep());
    if (steps > 1 || touch_.firstTouch || touch_.showCursor) {
        touch_.lastPaintedLocation = touch_.location;
        renderLineFromPoint(touch_.previousLocation, touch_.location);
    }
    touch_.firstTouch = false;
}

void PaintingView::touchesEnded(const TouchSet& touches, Event&) {
    PaintingViewDelegate& delegate = host();
    if (touch_.ignoreMoveEndPhases || delegate.paintingViewIsBusy())
        return;
    const Touch* touch = touches.anyObject();
    const Tool tool = delegate.paintingViewTool();
    if (tool == Tool::CloneTool) {
        const Point position =
            touch ? touch_.withFingerOffset(touch->locationInView(this),
                                            delegate.paintingViewInterfaceOrientation())
                  : touch_.location;
        if (handleCloneSetUpTap(position))
            return;
    }
    touch_.waitingForEndTouch = false;
    if (delegate.paintingViewToolPaints())
        endStroke(touch ? std::optional(touch->previousLocationInView(this)) : std::nullopt, tool);
    clearPaintLayer();
}

// The stroke layer merged once; then, as the settings ask, the stroke
// smoothed or replaced by the shape it resembles.
void PaintingView::endStroke(std::optional<Point> previousFinger, Tool tool) {
    PaintingViewDelegate& delegate = host();
    delegate.paintingViewStrokeEnded();
    if (touch_.firstTouch) {
        // The touch-down's own stamp never happened.
        touch_.firstTouch = false;
        const InterfaceOrientation shown = delegate.paintingViewInterfaceOrientation();
        touch_.location = touch_.withFingerOffset(touch_.location, shown);
        touch_.previousLocation =
            previousFinger ? touch_.withFingerOffset(*previousFinger, shown) : touch_.location;
        renderLineFromPoint(touch_.previousLocation, touch_.location);
    }
    if (touch_.showCursor) {
        // A stroke that only showed the cursor changed nothing and took no
        // undo copy: there is nothing to merge, smooth or replace.
        touch_.showCursor = false;
    } else {
        mergePaintLayer();
        const bool smoothing = delegate.paintingViewSmoothsStrokes();
        if (smoothing && tool == Tool::PaintBrushTool && touch_.points.size() > 2) {
            copyFromUndoBuffer(); // the freehand stroke goes
            curveFit();
            mergePaintLayer();
        }
        if (delegate.paintingViewRecognisesShapes() && !smoothing && tool == Tool::PaintBrushTool &&
            redrawRecognisedShape())
            delegate.paintingViewRecognisedShape();
    }
    if (touch_.cursorWasPainted)
        setNeedsDisplay(); // the cursor goes away
}

void PaintingView::touchesCancelled(const TouchSet& touches, Event& event) {
    touchesEnded(touches, event);
}

} // namespace zorbel
