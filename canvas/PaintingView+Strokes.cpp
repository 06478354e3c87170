// Strokes: where the stamps of a segment go, which buffer they go into, and
// the display of the painting with the stroke in progress and the cursors.

#include <algorithm>

#include "canvas/PaintingView.h"
#include "canvas/StampPlacement.h"

namespace zorbel {

using platform::Context;
using platform::Point;
using platform::Rect;

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

void PaintingView::stampAlong(const StampPlacement& stamps) {
    for (unsigned i = 0; i < stamps.count(); ++i) {
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
        StrokeRenderer::stamp(*target, *brush_.stamp(), x, y);
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
        if (auto picture = offscreen_.context()->makeImage())
            context.drawImage(bufferRect_, *picture);
        renderer_.show(context, bufferRect_);
    }

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
    StrokeRenderer::stamp(context, *stamp, point.x, point.y);
}

} // namespace zorbel
