#include "platform/imagepicker/PhotoCellView.h"

#include <string>

#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace platform {

PhotoCellView::PhotoCellView() {
    setOpaque(true);
    setBackgroundColor(kBlank);
}

void PhotoCellView::setThumbnail(ImageRef thumbnail) {
    if (thumbnail == thumbnail_)
        return;
    thumbnail_ = std::move(thumbnail);
    setNeedsDisplay();
}

// "photo 3" presses the fourth picture of the grid (headless scripts).
bool PhotoCellView::answersToPressName(std::string_view name) const {
    return name == "photo " + std::to_string(index_);
}

void PhotoCellView::drawRect(Context& context, const Rect&) {
    if (thumbnail_)
        context.drawImageUpright(bounds(), *thumbnail_);
    if (pressed_) {
        context.setFillColor(Color::rgb(0, 0, 0, 0.35f));
        context.fillRect(bounds());
    }
}

void PhotoCellView::touchesBegan(const TouchSet&, Event&) {
    pressed_ = true;
    setNeedsDisplay();
}

void PhotoCellView::touchesEnded(const TouchSet& touches, Event&) {
    pressed_ = false;
    setNeedsDisplay();
    const Touch* touch = touches.anyObject();
    if (touch && bounds().contains(touch->locationInView(this)) && tapped_)
        tapped_(index_);
}

void PhotoCellView::touchesCancelled(const TouchSet&, Event&) {
    pressed_ = false;
    setNeedsDisplay();
}

} // namespace platform
