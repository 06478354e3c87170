#include "app/EffectProgressView.h"

#include "platform/ui/RunLoop.h"

namespace zorbel {

EffectProgressView::EffectProgressView(const platform::Rect& frame)
    : platform::ActivityIndicatorView(platform::ActivityIndicatorViewStyle::WhiteLarge, frame) {}

void EffectProgressView::drawRect(platform::Context& context, const platform::Rect& dirty) {
    platform::ActivityIndicatorView::drawRect(context, dirty);
    if (drawn_)
        return;
    drawn_ = true;
    // Drawing happens while the window renders, when the tree must not
    // change: the news waits for the next turn of the run loop.
    if (firstDraw_)
        platform::RunLoop::main().performOnMainThread(firstDraw_);
}

} // namespace zorbel
