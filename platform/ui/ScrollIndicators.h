#pragma once

#include <memory>

#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

namespace platform {

class View;

// The two bars of a scroll view that show which part of its content is in
// view. They are made when first shown, as subviews of the host, and fade
// out a moment after the content comes to rest.
class ScrollIndicators {
public:
    explicit ScrollIndicators(View& host) : host_(host) {}

    // Shows the wanted bars in front of the content, hides the others.
    void show(bool horizontal, bool vertical);
    // Fades out what show() showed.
    void hide();
    // Places the bars for the host's bounds, its largest resting offset and
    // the content size: length in proportion to the part shown, shortened
    // while past an edge; position in proportion to the offset.
    void update(const Rect& bounds, Point maxOffset, Size contentSize);

private:
    View& host_;
    std::shared_ptr<View> horizontal_;
    std::shared_ptr<View> vertical_;
    bool shown_ = false;
};

} // namespace platform
