// The eraser and the clone tool: pixels copied through the stamp's alpha, and
// the two taps that set the clone tool up.

#include <cmath>

#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"

namespace zorbel {

using platform::Context;
using platform::Point;
using platform::Rect;

// Per colour byte: dst = (E * src + (255 - E) * dst) / 255 with E the brush
// pixel's alpha; dst alpha unchanged; E = 0 leaves the pixel alone.
void copyCloneDirect(const Context* source, const Context* brush, Context* destination,
                     float sourceX, float sourceY, float destinationX, float destinationY,
                     float brushX, float brushY, float width, float height) {
    const int sx = int(sourceX), sy = int(sourceY);
    const int dx = int(destinationX), dy = int(destinationY);
    const int bx = int(brushX), by = int(brushY);
    const int w = int(width), h = int(height);
    if (source && destination && source->width() != destination->width())
        platform::log("Size mismatch! in copyCloneDirect");
    if (!source || !brush || !destination || !source->data() || !brush->data() ||
        !destination->data()) {
        platform::log("copyCloneDirect - a bitmap is NULL ");
        return;
    }
    // Every access stays inside its bitmap, whatever the caller computed.
    const auto inside = [w, h](const Context& c, int x, int y) {
        return x >= 0 && y >= 0 && w >= 0 && h >= 0 && x + w <= c.width() && y + h <= c.height();
    };
    if (w <= 0 || h <= 0 || !inside(*source, sx, sy) || !inside(*brush, bx, by) ||
        !inside(*destination, dx, dy))
        return;
    for (int i = 0; i < h; ++i) {
        const std::uint8_t* s = source->data() + (std::size_t(sy + i) * source->width() + sx) * 4;
        const std::uint8_t* b = brush->data() + (std::size_t(by + i) * brush->width() + bx) * 4;
        std::uint8_t* d =
            destination->data() + (std::size_t(dy + i) * destination->width() + dx) * 4;
        for (int j = 0; j < w; ++j, s += 4, b += 4, d += 4) {
            const unsigned e = b[0];
            if (e == 0)
                continue;
            for (int k = 1; k < 4; ++k)
                d[k] = std::uint8_t((e * s[k] + (255 - e) * d[k]) / 255);
        }
    }
}

void PaintingView::cloneStepAt(float x, float y) {
    const platform::Size stamp = stampSize();
    const float W = stamp.width;
    const float H = stamp.height;
    const Tool tool = host().paintingViewTool();

    // Stamp corners in buffer coordinates (y up from the canvas bottom).
    const Point d{x - W / 2, std::fabs(std::trunc(y - 480)) - H / 2};
    Point s{d.x - cloneRelativeOffset_.x, d.y - cloneRelativeOffset_.y};
    cloneCursorPoint_ = {s.x + W / 2, std::fabs(std::trunc(s.y - 480)) - H / 2};
    const bool eraser = tool == Tool::EraserTool;
    if (eraser)
        s = d;
    if (showCursor_) {
        drawBrushAt(x, y); // moves the cursor only
        return;
    }

    reloadOffscreenAndUndoIfNecessary();
    if (eraser)
        reloadOrgImageBufferIfNecessary();
    const Context* source = eraser ? orgImageOffscreenContext_.get() : undoLayerContext_.get();
    Context* destination = offscreenPaintContext_.get();
    const Context* brush = brushContext_.get();
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
    lastTimeCursorUsed_ = false;
}

bool PaintingView::handleCloneSetUpTap(Point p) {
    PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewTool() != Tool::CloneTool)
        return false;
    const platform::Size stamp = stampSize();
    // The stamp rectangle's corner in buffer coordinates (y up from the bottom).
    const Point corner{p.x - stamp.width / 2,
                       std::fabs(std::trunc(p.y - float(kCanvasHeight))) - stamp.height / 2};

    if (cloneNeedsOffset_) {
        cloneOffsetPosition_ = corner;
        delegate.paintingViewStrokeEnded();
        cloneNeedsOffset_ = false;
        waitingForEndTouch_ = false;
        if (cursorWasPainted_)
            setNeedsDisplay();
        return true;
    }
    if (cloneMode_ == 1 || !clone2ndPointset_) {
        cloneRelativeOffset_ = {corner.x - cloneOffsetPosition_.x,
                                corner.y - cloneOffsetPosition_.y};
        clone2ndPointset_ = true;
        delegate.paintingViewStrokeEnded();
        showCursor_ = false;
        if (cursorWasPainted_)
            setNeedsDisplay();
        waitingForEndTouch_ = false;
        cloneNeedsOffset_ = false;
        delegate.paintingViewCloneIsReady();
        return true;
    }
    return false;
}

} // namespace zorbel
