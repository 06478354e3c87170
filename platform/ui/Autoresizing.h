#pragma once

#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

namespace platform {

// How a view's subviews follow a change of its size (bits, combinable).
enum AutoresizingMask : unsigned {
    AutoresizingNone = 0,
    AutoresizingFlexibleLeftMargin = 1 << 0,
    AutoresizingFlexibleWidth = 1 << 1,
    AutoresizingFlexibleRightMargin = 1 << 2,
    AutoresizingFlexibleTopMargin = 1 << 3,
    AutoresizingFlexibleHeight = 1 << 4,
    AutoresizingFlexibleBottomMargin = 1 << 5,
};

// The frame a subview with this mask gets when its superview's size changes
// from oldSuper to newSuper.
Rect autoresizedFrame(unsigned mask, const Rect& frame, Size oldSuper, Size newSuper);

} // namespace platform
