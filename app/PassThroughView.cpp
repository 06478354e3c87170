#include "app/PassThroughView.h"

namespace zorbel {

platform::View* PassThroughView::hitTest(platform::Point p, const platform::Event* event) {
    platform::View* hit = platform::View::hitTest(p, event);
    return hit == this ? nullptr : hit;
}

} // namespace zorbel
