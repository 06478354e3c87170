#pragma once

#include <optional>

#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"

namespace platform {
class Context;
class View;
} // namespace platform

namespace zorbel {

// The mouse pointer hovering over the canvas and the small ring that shows
// where a stroke begun there would land. The canvas says where the ring goes
// (or that it shows nowhere); this keeps where the pointer is and where the
// ring was last drawn, so that moving it redisplays both places.
class PointerMarker {
public:
    // Half a point off whole: on whole-point positions its line fills whole pixels.
    static constexpr float kRadius = 4.5f;

    // Where the pointer hovers, in the canvas's bounds; empty once it left.
    const std::optional<platform::Point>& hovering() const { return pointer_; }
    void setHovering(std::optional<platform::Point> location) { pointer_ = location; }
    // Asks `view` to redisplay where the ring was last drawn and where `at`
    // puts it now: the tool or the offset may have changed since, and the
    // ring must not stay behind.
    void setNeedsDisplay(platform::View& view, std::optional<platform::Point> at) const;
    // Draws the ring at `at` (nothing when empty) and remembers where.
    void draw(platform::Context& context, std::optional<platform::Point> at);

private:
    std::optional<platform::Point> pointer_;
    std::optional<platform::Rect> drawn_;
};

} // namespace zorbel
