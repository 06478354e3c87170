#pragma once

#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

namespace platform {

// How a view's stored drawing is laid into its bounds when the bounds size no
// longer matches the size it was drawn at. Redraw redisplays the view instead.
// Controls and pictures also read it to place their content.
enum class ContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// Where `content` of the given size goes inside `bounds` for a content mode.
Rect rectForContentMode(ContentMode mode, Size content, const Rect& bounds);

} // namespace platform
