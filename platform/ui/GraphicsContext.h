#pragma once

#include <memory>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Size.h"

namespace platform {

// The current drawing context: the one a view's drawRect draws into, or an
// image surface begun with beginImageContext. Main thread only.
Context* currentContext();
void pushContext(Context& context);
void popContext();

// Makes `context` current for the scope.
class CurrentContextScope {
public:
    explicit CurrentContextScope(Context& context) { pushContext(context); }
    ~CurrentContextScope() { popContext(); }
    CurrentContextScope(const CurrentContextScope&) = delete;
    CurrentContextScope& operator=(const CurrentContextScope&) = delete;
};

// An image drawing surface: a transparent, y-down context of the size (one
// pixel per point) becomes current; take the picture, then end it. Returns
// false (and logs) for an empty or oversized size.
bool beginImageContext(Size size);
// The current image surface's pixels as a picture, or null when the current
// context is not an image surface.
ImageRef getImageFromCurrentImageContext();
void endImageContext();

// Fills / outlines (1 point) a rectangle in the current context's fill colour.
void rectFill(const Rect& rect);
void rectFrame(const Rect& rect);

// Draws the pixels of `source` (any y direction; its first memory row is the
// top of `rect` on screen when the source is y-down, the bottom when y-up)
// into `target`'s user-space rectangle, under the target's transform, alpha
// and clip bounding box, with source-over. Bilinear when not pixel-aligned.
void drawContextInRect(Context& target, const Context& source, const Rect& rect);

} // namespace platform
