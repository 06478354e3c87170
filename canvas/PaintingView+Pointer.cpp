// The mouse pointer over the canvas: with a large finger offset a stroke
// lands away from where the button goes down, so a small mark shows where.

#include "canvas/PaintingView.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Path.h"

namespace zorbel {

using platform::Point;
using platform::Rect;

bool PaintingView::pointerHovered(Point location) {
    setNeedsDisplayAroundPointerMarker();
    pointer_ = location;
    setNeedsDisplayAroundPointerMarker();
    return true;
}

void PaintingView::pointerLeft() {
    setNeedsDisplayAroundPointerMarker();
    pointer_.reset();
}

std::optional<Point> PaintingView::pointerMarkerPosition() const {
    if (!pointer_ || !touch_.offsetIsLarge())
        return std::nullopt;
    const PaintingViewDelegate& delegate = host();
    if (delegate.paintingViewIsBusy() || !delegate.paintingViewToolPaints())
        return std::nullopt;
    return applyFingerOffset(*pointer_);
}

namespace {

// The ring, its white rim and the antialiased pixels beyond.
Rect markerArea(Point at) {
    const float reach = PaintingView::kPointerMarkerRadius + 3;
    return Rect(at.x - reach, at.y - reach, 2 * reach, 2 * reach);
}

} // namespace

void PaintingView::setNeedsDisplayAroundPointerMarker() {
    // Also where it was last drawn: the tool or the offset may have changed
    // since, and the mark must not stay behind.
    if (pointerMarkerDrawn_)
        setNeedsDisplayInRect(*pointerMarkerDrawn_);
    if (const auto at = pointerMarkerPosition())
        setNeedsDisplayInRect(markerArea(*at));
}

void PaintingView::drawPointerMarker(platform::Context& context, Point at) {
    pointerMarkerDrawn_ = markerArea(at);
    platform::GStateGuard guard(context);
    context.setBlendMode(platform::BlendMode::Normal);
    context.setAlpha(1.0f);
    const float r = kPointerMarkerRadius;
    platform::Path ring;
    ring.addEllipseInRect(Rect(at.x - r, at.y - r, 2 * r, 2 * r));
    // Black on a white rim: seen on light and dark pictures alike.
    context.setStrokeColor(platform::Color::white());
    context.setLineWidth(3.0f);
    context.strokePath(ring);
    context.setStrokeColor(platform::Color::black());
    context.setLineWidth(1.0f);
    context.strokePath(ring);
    context.setFillColor(platform::Color::black());
    context.fillRect(Rect(at.x - 1, at.y - 1, 2, 2)); // the pixels about the point
}

} // namespace zorbel
