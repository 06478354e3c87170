#include "pickers/ColorSquareView.h"

#include "pickers/ColorChoiceView.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Touch.h"

namespace zorbel {

void ColorSquareView::setColor(const platform::Color& color) {
    color_ = color;
    setNeedsDisplay();
}

void ColorSquareView::touchesEnded(const platform::TouchSet& touches, platform::Event&) {
    const platform::Touch* touch = touches.anyObject();
    if (!touch || !color_ || !superview())
        return;
    auto* palette = dynamic_cast<ColorChoiceView*>(superview()->viewWithTag(kPaletteTag));
    if (!palette)
        return;
    const platform::Point p = touch->locationInView(palette);
    if (!palette->pointInside(p, nullptr))
        return;
    const int index = palette->hitColorIndex(p);
    if (index < 0)
        return;
    palette->setColor(*color_, index);
    palette->setNeedsDisplay();
}

void ColorSquareView::drawRect(platform::Context& context, const platform::Rect& dirty) {
    if (!color_)
        return;
    context.setFillColor(*color_);
    context.fillRect(dirty);
}

} // namespace zorbel
