#include "layers/TextLayerView.h"

#include "layers/LayersDelegate.h"
#include "platform/graphics/Context.h"

namespace zorbel {

using platform::Point;
using platform::Rect;
using platform::Size;

TextLayerView::TextLayerView() {
    setUpDefaults();
}

TextLayerView::TextLayerView(const Rect& frame) : TouchView(frame), orgFrameRect_(frame) {
    setUpDefaults();
}

void TextLayerView::setUpDefaults() {
    font_ = platform::Font::fontWithName(fontName_, fontSize_);
    setOpaque(false);
    setBackgroundColor(platform::Color::clear());
}

std::shared_ptr<TextLayerView> TextLayerView::sharedSelf() {
    return std::static_pointer_cast<TextLayerView>(weak_from_this().lock());
}

Size TextLayerView::layerSizeForTextSize(Size textSize, float paddingWidth, float paddingHeight) {
    return Size{textSize.width + kTextMargin + paddingWidth,
                textSize.height + kTextMargin + paddingHeight};
}

Point TextLayerView::textOrigin() const {
    return Point{textPoint_.x + 0.5f * textPaddingWidth_, textPoint_.y + 0.5f * textPaddingHeight_};
}

void TextLayerView::setTextString(const std::string& text) {
    textString_ = text;
    setNeedsDisplay();
}

void TextLayerView::setTextPoint(Point p) {
    textPoint_ = p;
    setNeedsDisplay();
}

void TextLayerView::setFontColor(const platform::Color& color) {
    fontColor_ = color;
    setNeedsDisplay();
}

void TextLayerView::setFont(platform::FontRef font) {
    font_ = std::move(font);
    setNeedsDisplay();
}

void TextLayerView::drawRect(platform::Context& context, const Rect&) {
    context.setFillColor(fontColor_);
    if (!font_)
        font_ = platform::Font::fontWithName(fontName_, fontSize_);
    if (!font_)
        return;
    font_->drawAtPoint(context, textOrigin(), textString_);
}

void TextLayerView::noteTouched(LayersDelegate& delegate, bool began) {
    delegate.setLastMovedTextLayer(sharedSelf());
    if (began)
        delegate.setDirtyFlag(true);
}

void TextLayerView::deleteLayer(LayersDelegate* delegate) {
    if (delegate)
        delegate->setLastMovedTextLayer(nullptr);
    removeFromSuperview();
}

} // namespace zorbel
