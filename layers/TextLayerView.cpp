#include "layers/TextLayerView.h"

#include <cmath>

#include "layers/LayersDelegate.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/GeometryCoding.h"

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

platform::FontRef TextLayerView::drawingFont() const {
    if (font_)
        return font_;
    // A name the platform does not know: the caption still shows, in the
    // system face, rather than vanishing.
    if (auto named = platform::Font::fontWithName(fontName_, fontSize_))
        return named;
    return platform::Font::systemFontOfSize(fontSize_ > 0 ? fontSize_ : kDefaultFontSize);
}

void TextLayerView::drawRect(platform::Context& context, const Rect&) {
    context.setFillColor(fontColor_);
    if (!font_)
        font_ = platform::Font::fontWithName(fontName_, fontSize_);
    drawingFont()->drawAtPoint(context, textOrigin(), textString_);
}

void TextLayerView::encodeWithCoder(platform::KeyedArchiver& coder) const {
    coder.encodeString(textString_, "TextString");
    coder.encodeString(fontName_, "FontName");
    coder.encodeFloat(fontSize_, "FontSize");
    platform::encodeColor(coder, fontColor_, "FontColor");
    coder.encodeFloat(textPaddingWidth_, "TextPaddingWidth");
    coder.encodeFloat(textPaddingHeight_, "TextPaddingHeight");
    platform::encodeRect(coder, orgFrameRect_, "OrgFrame");
    platform::encodeRect(coder, frame(), "CurrentFrame");
    platform::encodePoint(coder, center(), "Center");
    platform::encodeTransform(coder, originalTransform(), "OriginalTransform");
}

platform::Result<std::shared_ptr<platform::Codable>>
TextLayerView::initWithCoder(platform::KeyedUnarchiver& coder) {
    using R = platform::Result<std::shared_ptr<platform::Codable>>;
    auto layer = std::make_shared<TextLayerView>();
    std::string text = coder.decodeString("TextString");
    std::string fontName = coder.decodeString("FontName");
    const float fontSize = coder.decodeFloat("FontSize");
    const platform::Color color = platform::decodeColor(coder, "FontColor");
    const float paddingWidth = coder.decodeFloat("TextPaddingWidth");
    const float paddingHeight = coder.decodeFloat("TextPaddingHeight");
    const Rect frame = platform::decodeRect(coder, "OrgFrame");
    const Point center = platform::decodePoint(coder, "Center");
    const platform::AffineTransform original =
        platform::decodeTransform(coder, "OriginalTransform");
    if (!(fontSize > 0 && fontSize <= kMaxCodedFontSize))
        coder.failWithReason("\"FontSize\" is not a usable size");
    if (!(paddingWidth >= 0 && paddingWidth <= kMaxCodedPadding) ||
        !(paddingHeight >= 0 && paddingHeight <= kMaxCodedPadding))
        coder.failWithReason("a text padding is out of range");
    if (coder.failed())
        return R::failure(coder.failureReason());

    layer->textString_ = std::move(text);
    layer->fontName_ = std::move(fontName);
    layer->fontSize_ = fontSize;
    layer->fontColor_ = color;
    layer->font_ = platform::Font::fontWithName(layer->fontName_, layer->fontSize_);
    layer->textPaddingWidth_ = paddingWidth;
    layer->textPaddingHeight_ = paddingHeight;
    layer->setFrame(frame); // while the transform is still the identity
    layer->orgFrameRect_ = frame;
    // The size follows the text, not what was stored.
    const Size textSize = layer->drawingFont()->sizeOfString(layer->textString_);
    const Size size = layerSizeForTextSize(textSize, paddingWidth, paddingHeight);
    const Rect placed = layer->frame();
    layer->setFrame(Rect(placed.minX(), placed.minY(), size.width, size.height));
    layer->setCenter(center);
    layer->setOriginalTransform(original);
    layer->setTransform(original);
    layer->setNeedsDisplay();
    if (LayersDelegate* delegate = LayersDelegate::shared())
        delegate->setLastMovedTextLayer(layer);
    return R(std::move(layer));
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
