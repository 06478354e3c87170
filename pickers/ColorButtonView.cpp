#include "pickers/ColorButtonView.h"

#include "platform/graphics/Context.h"

namespace zorbel {

ColorButtonView::ColorButtonView() = default;

ColorButtonView::ColorButtonView(const platform::Rect& frame) : platform::View(frame) {}

void ColorButtonView::setColor(const platform::Color& color) {
    buttonColor_ = color;
    setNeedsDisplay();
}

void ColorButtonView::drawRect(platform::Context& context, const platform::Rect&) {
    context.setFillColor(buttonColor_);
    context.fillRect(platform::Rect(0, 0, kSide, kSide));
}

} // namespace zorbel
