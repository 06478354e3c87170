// Strokes: where stamps go along a segment, which buffer they go into, and the
// display of the painting with the stroke in progress and the cursors.

#include <algorithm>
#include <cmath>

#include "canvas/PaintingView.h"

namespace zorbel {

using platform::Context;
using platform::Point;
using platform::Rect;

namespace {

// More stamps than this on one segment can only come from a broken step.
constexpr double kMaxStampsPerSegment = 1 << 20;

} // namespace

bool PaintingView::strokeGoesToPaintLayer() const {
    return brushAlpha_ != 1.0f || brushBlendMode_ != platform::BlendMode::Normal;
}

void PaintingView::renderLineFromPoint(Point from, Point to) {
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    const float n = std::ceil(length / brushPixelStep_);
    // A step of 0 or a NaN point must not turn into an endless segment.
    const unsigned count = n > 1 ? unsigned(std::min(double(n), kMaxStampsPerSegment)) : 1u;

    const Tool tool = host().paintingViewTool();
    const bool copiesPixels = tool == Tool::CloneTool || tool == Tool::EraserTool;
    for (unsigned i = 0; i < count; ++i) {
        const float t = float(i) / float(count);
        const float x = from.x + dx * t;
        const float y = from.y + dy * t;
        if (copiesPixels)
            cloneStepAt(x, y);
        else
            drawBrushAt(x, y);
    }

    const platform::Size stamp = stampSize();
    const float left = std::min(from.x, to.x) - stamp.width / 2;
    const float top = std::min(from.y, to.y) - stamp.height / 2;
    const float right = std::max(from.x, to.x) + stamp.width / 2;
    const float bottom = std::max(from.y, to.y) + stamp.height / 2;
    setNeedsDisplayInRect(Rect(left, top, right - left, bottom - top));
}

void PaintingView::drawBrushAt(float x, float y) {
    if (showCursor_) {
        // A cursor stroke paints nothing; the cursor moves.
        setNeedsDisplay();
        lastTimeCursorUsed_ = true;
        return;
    }
    Context* target = nullptr;
    if (strokeGoesToPaintLayer()) {
        reloadPaintLayerIfNecessary();
        if (paintlayer_)
            target = &paintlayer_->context();
    } else {
        reloadOffscreenBufferIfNecessary();
        target = offscreenPaintContext_.get();
    }
    if (target && brushLayer_) {
        const platform::Size stamp = brushLayer_->size();
        target->drawLayerAtPoint({x - stamp.width / 2, y - stamp.height / 2}, *brushLayer_);
    }
    lastTimeCursorUsed_ = false;
}

void PaintingView::clearPaintLayer() {
    if (!paintlayer_)
        return;
    paintlayer_->context().setAlpha(1);
    paintlayer_->context().clearRect(bufferRect_);
}

void PaintingView::mergePaintLayer() {
    reloadOffscreenBufferIfNecessary();
    reloadPaintLayerIfNecessary();
    if (!offscreenPaintContext_ || !paintlayer_)
        return;
    if (strokeGoesToPaintLayer()) {
        Context& context = *offscreenPaintContext_;
        platform::GStateGuard guard(context);
        context.setAlpha(brushAlpha_);
        context.setBlendMode(brushBlendMode_);
        context.drawLayerInRect(bufferRect_, *paintlayer_);
    }
    clearPaintLayer();
}

void PaintingView::drawRect(Context& context, const Rect& dirty) {
    if (!offscreenPaintContext_)
        return;
    {
        platform::GStateGuard guard(context);
        context.clipToRect(dirty);
        if (auto picture = offscreenPaintContext_->makeImage())
            context.drawImage(bufferRect_, *picture);
        if (strokeGoesToPaintLayer() && paintlayer_) {
            // The stroke shows at its opacity however often its stamps overlap.
            context.setAlpha(brushAlpha_);
            context.setBlendMode(brushBlendMode_);
            context.drawLayerInRect(bufferRect_, *paintlayer_);
        }
    }

    const PaintingViewDelegate& delegate = host();
    const Tool tool = delegate.paintingViewTool();
    if (!showCursor_ && tool != Tool::CloneTool) {
        cursorWasPainted_ = false;
        return;
    }
    if (!delegate.paintingViewIsPainting() || !delegate.paintingViewShowsCursor()) {
        cursorWasPainted_ = false;
        return;
    }
    if (tool != Tool::CloneTool || showCursor_) {
        if (brushSize_ < 3.0f)
            drawCursor(context, cursorPosition_);
        else
            drawBrushCursor(context, cursorPosition_);
    }
    if (tool == Tool::CloneTool)
        drawCursor(context, cloneCursorPoint_);
    cursorWasPainted_ = true;
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
    if (!brushLayer_)
        return;
    platform::GStateGuard guard(context);
    context.setBlendMode(platform::BlendMode::Normal);
    const platform::Size stamp = brushLayer_->size();
    context.drawLayerAtPoint({point.x - stamp.width / 2, point.y - stamp.height / 2}, *brushLayer_);
}

} // namespace zorbel
