// The eraser and the clone tool: pixels copied through the stamp's alpha, and
// the two taps that set the clone tool up.

#include <cmath>

#include "canvas/CloneCopy.h"
#include "canvas/PaintingView.h"
#include "canvas/StampPlacement.h"

namespace zorbel {

using platform::Context;
using platform::Point;
using platform::Rect;

namespace {

// The stamp rectangle's corner in buffer coordinates (y up from the canvas
// bottom) for the stamp centred at screen point (x, y).
Point bufferCorner(float x, float y, platform::Size stamp) {
    return {x - stamp.width / 2,
            std::fabs(std::trunc(y - float(PaintingView::kCanvasHeight))) - stamp.height / 2};
}

// The centre on screen of the source the clone tool copies the stamp
// centred at (x, y) from: where its cross is drawn.
Point cloneSourceCentre(const CloneSetUp& clone, platform::Size stamp, float x, float y) {
    const Point d = bufferCorner(x, y, stamp);
    const Point s{d.x - clone.relativeOffset.x, d.y - clone.relativeOffset.y};
    return {s.x + stamp.width / 2,
            std::fabs(std::trunc(s.y - float(PaintingView::kCanvasHeight))) - stamp.height / 2};
}

} // namespace

// As for painting, stamps that cannot reach the canvas are not placed. The
// buffer rows of a clone step fold at the canvas bottom (|y - 480|), so the
// window reaches a canvas height below it; the source cross still follows
// the segment's last stamp.
void PaintingView::cloneAlong(const StampPlacement& stamps, Tool tool) {
    const unsigned last = stamps.count() - 1;
    if (touch_.showCursor) {
        // Only the cursors move.
        const Point p = stamps.at(last);
        cloneStepAt(p.x, p.y);
        return;
    }
    const platform::Size stamp = brush_.stampSize();
    const Context* bitmap = brush_.bitmap();
    const float margin = stamp.width + stamp.height + 2 +
                         (bitmap ? float(bitmap->width() + bitmap->height()) : 0.0f);
    const StampPlacement::Run run = stamps.inside(Rect(
        -margin, -margin, float(kCanvasWidth) + 2 * margin, 2 * float(kCanvasHeight) + 2 * margin));
    if (run.empty())
        reloadCloneSources(tool);
    for (unsigned i = run.first; i < run.end; ++i) {
        const Point p = stamps.at(i);
        cloneStepAt(p.x, p.y);
    }
    if (run.empty() || run.end <= last) {
        const Point p = stamps.at(last);
        clone_.cursorPoint = cloneSourceCentre(clone_, brush_.stampSize(), p.x, p.y);
    }
}

void PaintingView::reloadCloneSources(Tool tool) {
    reloadOffscreenAndUndoIfNecessary();
    if (tool == Tool::EraserTool)
        reloadOrgImageBufferIfNecessary();
}

void PaintingView::cloneStepAt(float x, float y) {
    const platform::Size stamp = brush_.stampSize();
    const Tool tool = host().paintingViewTool();
    const Point d = bufferCorner(x, y, stamp);
    const bool eraser = tool == Tool::EraserTool;
    const Point s =
        eraser ? d : Point{d.x - clone_.relativeOffset.x, d.y - clone_.relativeOffset.y};
    clone_.cursorPoint = cloneSourceCentre(clone_, stamp, x, y);
    if (touch_.showCursor) {
        drawBrushAt(x, y); // moves the cursor only
        return;
    }

    reloadCloneSources(tool);
    const Context* source = eraser ? original_.context() : undo_.context();
    Context* destination = offscreen_.context();
    const Context* brush = brush_.bitmap();
    if (!source || !destination || !brush) {
        copyCloneDirect(source, brush, destination, 0, 0, 0, 0, 0, 0, 0, 0);
        return;
    }
    const float bw = float(brush->width());
    const float bh = float(brush->height());
    const Rect S = Rect(s.x, s.y, bw, bh)
                       .intersection(Rect(0, 0, float(source->width()), float(source->height())));
    const Rect D =
        Rect(d.x, d.y, bw, bh)
            .intersection(Rect(0, 0, float(destination->width()), float(destination->height())));
    if (S.isEmpty() || D.isEmpty())
        return;
    // The part of the stamp inside both buffers, in stamp coordinates.
    const Rect B = Rect(S.minX() - s.x, S.minY() - s.y, S.width(), S.height())
                       .intersection(Rect(D.minX() - d.x, D.minY() - d.y, D.width(), D.height()));
    if (B.isEmpty())
        return;
    copyCloneDirect(source, brush, destination, s.x + B.minX(), s.y + B.minY(), d.x + B.minX(),
                    d.y + B.minY(), B.minX(), B.minY(), B.width(), B.height());
    setNeedsDisplay();
    touch_.lastTimeCursorUsed = false;
}

bool PaintingView::handleCloneSetUpTap(Point p) {
    PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewTool() != Tool::CloneTool)
        return false;
    const Point corner = bufferCorner(p.x, p.y, brush_.stampSize());
    if (clone_.needsOffset) {
        clone_.offsetPosition = corner;
        delegate.paintingViewStrokeEnded();
        clone_.needsOffset = false;
        touch_.waitingForEndTouch = false;
        if (touch_.cursorWasPainted)
            setNeedsDisplay();
        return true;
    }
    if (!clone_.secondPointSet) {
        clone_.relativeOffset = {corner.x - clone_.offsetPosition.x,
                                 corner.y - clone_.offsetPosition.y};
        clone_.secondPointSet = true;
        delegate.paintingViewStrokeEnded();
        touch_.showCursor = false;
        if (touch_.cursorWasPainted)
            setNeedsDisplay();
        touch_.waitingForEndTouch = false;
        clone_.needsOffset = false;
        delegate.paintingViewCloneIsReady();
        return true;
    }
    return false;
}

} // namespace zorbel
