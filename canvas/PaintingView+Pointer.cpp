// The mouse pointer over the canvas: the ring shows only where a stroke would
// land away from the pointer, and only for a tool that paints.

#include "canvas/PaintingView.h"

namespace zorbel {

using platform::Point;

bool PaintingView::pointerHovered(Point location) {
    pointerMarker_.setNeedsDisplay(*this, pointerMarkerPosition());
    pointerMarker_.setHovering(location);
    pointerMarker_.setNeedsDisplay(*this, pointerMarkerPosition());
    return true;
}

void PaintingView::pointerLeft() {
    pointerMarker_.setNeedsDisplay(*this, pointerMarkerPosition());
    pointerMarker_.setHovering(std::nullopt);
}

std::optional<Point> PaintingView::pointerMarkerPosition() const {
    const std::optional<Point>& pointer = pointerMarker_.hovering();
    if (!pointer || !touch_.offsetIsLarge())
        return std::nullopt;
    const PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewIsBusy() || !delegate.paintingViewToolPaints())
        return std::nullopt;
    return touch_.withFingerOffset(*pointer, delegate.paintingViewInterfaceOrientation());
}

} // namespace zorbel
