// With a large finger offset a stroke lands away from where the button goes
// down, so a small ring shows where.

#include "canvas/PointerMarker.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Path.h"
#include "platform/ui/View.h"

namespace zorbel {

using platform::Point;
using platform::Rect;

namespace {

// The ring, its white rim and the antialiased pixels beyond.
Rect markerArea(Point at) {
    const float reach = PointerMarker::kRadius + 3;
    return Rect(at.x - reach, at.y - reach, 2 * reach, 2 * reach);
}

} // namespace

void PointerMarker::setNeedsDisplay(platform::View& view, std::optional<Point> at) const {
    if (drawn_)
        view.setNeedsDisplayInRect(*drawn_);
    if (at)
        view.setNeedsDisplayInRect(markerArea(*at));
}

void PointerMarker::draw(platform::Context& context, std::optional<Point> at) {
    drawn_.reset();
    if (!at)
        return;
    drawn_ = markerArea(*at);
    platform::GStateGuard guard(context);
    context.setBlendMode(platform::BlendMode::Normal);
    context.setAlpha(1.0f);
    const float r = kRadius;
    platform::Path ring;
    ring.addEllipseInRect(Rect(at->x - r, at->y - r, 2 * r, 2 * r));
    // Black on a white rim: seen on light and dark pictures alike.
    context.setStrokeColor(platform::Color::white());
    context.setLineWidth(3.0f);
    context.strokePath(ring);
    context.setStrokeColor(platform::Color::black());
    context.setLineWidth(1.0f);
    context.strokePath(ring);
    context.setFillColor(platform::Color::black());
    context.fillRect(Rect(at->x - 1, at->y - 1, 2, 2)); // the pixels about the point
}

} // namespace zorbel
