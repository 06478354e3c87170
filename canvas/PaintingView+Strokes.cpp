// Strokes: where the stamps of a segment go, which buffer they go into, and
// the display of the painting with the stroke in progress and the cursors.

#include <algorithm>

#include "canvas/PaintingView.h"
#include "canvas/StampPlacement.h"

namespace zorbel {

using platform::Context;
using platform::Point;
using platform::Rect;

namespace {

// How far past its own size a stamp is still looked at: drawing snaps a
// stamp to whole pixels, never by more than one.
constexpr float kStampMargin = 2;

} // namespace

void PaintingView::renderLineFromPoint(Point from, Point to) {
    const StampPlacement stamps(from, to, renderer_.brushPixelStep());
    const Tool tool = host().paintingViewTool();
    if (tool == Tool::CloneTool || tool == Tool::EraserTool)
        cloneAlong(stamps, tool);
    else
        stampAlong(stamps);

    const platform::Size stamp = brush_.stampSize();
    const float left = std::min(from.x, to.x) - stamp.width / 2;
    const float top = std::min(from.y, to.y) - stamp.height / 2;
    const float right = std::max(from.x, to.x) + stamp.width / 2;
    const float bottom = std::max(from.y, to.y) + stamp.height / 2;
    setNeedsDisplayInRect(Rect(left, top, right - left, bottom - top));
}

// A stamp whose point lies outside the canvas grown by half a stamp and the
// margin cannot touch a pixel and is not placed, so a segment costs what its
// visible part costs. What every stamp request does besides drawing (the
// target reloaded, the cursor flags) still happens.
void PaintingView::stampAlong(const StampPlacement& stamps) {
    if (touch_.showCursor) {
        // A cursor stroke paints nothing, wherever its stamps are.
        const Point p = stamps.at(0);
        drawBrushAt(p.x, p.y);
        return;
    }
    const platform::Size stamp = brush_.stampSize();
    const float marginX = stamp.width / 2 + kStampMargin;
    const float marginY = stamp.height / 2 + kStampMargin;
    const StampPlacement::Run run = stamps.inside(Rect(
        -marginX, -marginY, float(kCanvasWidth) + 2 * marginX, float(kCanvasHeight) + 2 * marginY));
    if (run.empty()) {
        strokeTarget();
        touch_.lastTimeCursorUsed = false;
        return;
    }
    for (unsigned i = run.first; i < run.end; ++i) {
        const Point p = stamps.at(i);
        drawBrushAt(p.x, p.y);
    }
}

Context* PaintingView::strokeTarget() {
    if (renderer_.strokeGoesToPaintLayer()) {
        reloadPaintLayerIfNecessary();
        return renderer_.layer() ? &renderer_.layer()->context() : nullptr;
    }
    reloadOffscreenBufferIfNecessary();
    return offscreen_.context();
}

void PaintingView::drawBrushAt(float x, float y) {
    if (touch_.showCursor) {
        // A cursor stroke paints nothing; the cursor moves.
        setNeedsDisplay();
        touch_.lastTimeCursorUsed = true;
        return;
    }
    Context* target = strokeTarget();
    if (target && brush_.stamp())
        renderer_.stamp(*target, *brush_.stamp(), x, y);
    touch_.lastTimeCursorUsed = false;
}

void PaintingView::mergePaintLayer() {
    reloadOffscreenBufferIfNecessary();
    reloadPaintLayerIfNecessary();
    if (!offscreen_.isResident() || !renderer_.layer())
        return;
    renderer_.merge(*offscreen_.context(), bufferRect_);
}

void PaintingView::drawRect(Context& context, const Rect& dirty) {
    if (!offscreen_.isResident())
        return;
    {
        platform::GStateGuard guard(context);
        context.clipToRect(dirty);
        // Straight from the buffer: a copy of the whole painting for every
        // stroke segment shown would cost more than showing it.
        context.drawContext(bufferRect_, *offscreen_.context());
        renderer_.show(context, bufferRect_);
    }
    pointerMarker_.draw(context, pointerMarkerPosition());

    const PaintingViewDelegate& delegate = host();
    const Tool tool = delegate.paintingViewTool();
    const bool showCursor = touch_.showCursor;
    touch_.cursorWasPainted = false;
    if (!showCursor && tool != Tool::CloneTool)
        return;
    if (!delegate.paintingViewIsPainting() || !delegate.paintingViewShowsCursor())
        return;
    if (tool != Tool::CloneTool || showCursor) {
        if (brush_.size() < 3.0f)
            drawCursor(context, touch_.cursorPosition);
        else
            drawBrushCursor(context, touch_.cursorPosition);
    }
    if (tool == Tool::CloneTool)
        drawCursor(context, clone_.cursorPoint);
    touch_.cursorWasPainted = true;
}

void PaintingView::drawCursor(Context& context, Point point) {
    platform::GStateGuard guard(context);
    context.setStrokeColor(platform::Color::black());
    context.setLineWidth(1.0f);
    const Point horizontal[] = {{point.x - 10, point.y}, {point.x + 10, point.y}};
    context.strokeLineSegments(horizontal);
    const Point vertical[] = {{point.x, point.y - 10}, {point.x, point.y + 10}};
    context.strokeLineSegments(vertical);
}

void PaintingView::drawBrushCursor(Context& context, Point point) {
    const platform::Layer* stamp = brush_.stamp();
    if (!stamp)
        return;
    platform::GStateGuard guard(context);
    context.setBlendMode(platform::BlendMode::Normal);
    StrokeRenderer::drawCentred(context, *stamp, point.x, point.y);
}

} // namespace zorbel
