#include "platform/ui/Button.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Button+Style.h"

namespace platform {

namespace {
constexpr float kTitleInset = 8;
} // namespace

Button::Button(ButtonType type) : Button(type, Rect()) {}

Button::Button(ButtonType type, const Rect& frame)
    : Control(frame), type_(type), font_(Font::boldSystemFontOfSize(15)) {
    setContentMode(ContentMode::ScaleToFill);
    setOpaque(false);
    if (type == ButtonType::RoundedRect) {
        font_ = Font::boldSystemFontOfSize(15);
        titleColors_[ControlStateNormal] = style::kTint;
    } else {
        titleColors_[ControlStateNormal] = Color::white();
    }
}

std::shared_ptr<Button> Button::buttonWithType(ButtonType type) {
    return std::make_shared<Button>(type);
}

template <class T>
const T* Button::lookup(const std::map<ControlState, T>& values, ControlState state) {
    // The exact state, then the state without highlighted or selected, then normal.
    for (ControlState s :
         {state, ControlState(state & ~ControlStateHighlighted),
          ControlState(state & ~ControlStateSelected), ControlState(ControlStateNormal)})
        if (auto it = values.find(s); it != values.end())
            return &it->second;
    return nullptr;
}

void Button::setTitle(const std::string& title, ControlState state) {
    titles_[state] = title;
    setNeedsDisplay();
}

std::string Button::titleForState(ControlState state) const {
    const std::string* t = lookup(titles_, state);
    return t ? *t : std::string();
}

void Button::setTitleColor(const Color& color, ControlState state) {
    titleColors_[state] = color;
    setNeedsDisplay();
}

Color Button::titleColorForState(ControlState state) const {
    const Color* c = lookup(titleColors_, state);
    return c ? *c : Color::white();
}

void Button::setBackgroundImage(StretchableImage image, ControlState state) {
    if (image)
        backgrounds_[state] = std::move(image);
    else
        backgrounds_.erase(state);
    setNeedsDisplay();
}

StretchableImage Button::backgroundImageForState(ControlState state) const {
    const StretchableImage* i = lookup(backgrounds_, state);
    return i ? *i : StretchableImage{};
}

void Button::setImage(ImageRef image, ControlState state) {
    if (image)
        images_[state] = std::move(image);
    else
        images_.erase(state);
    setNeedsDisplay();
}

ImageRef Button::imageForState(ControlState state) const {
    const ImageRef* i = lookup(images_, state);
    return i ? *i : nullptr;
}

void Button::setFont(FontRef font) {
    font_ = font ? std::move(font) : Font::boldSystemFontOfSize(15);
    setNeedsDisplay();
}

void Button::setContentHorizontalAlignment(ContentHorizontalAlignment a) {
    hAlign_ = a;
    setNeedsDisplay();
}

void Button::setContentVerticalAlignment(ContentVerticalAlignment a) {
    vAlign_ = a;
    setNeedsDisplay();
}

void Button::setEnabled(bool enabled) {
    if (enabled != isEnabled())
        setNeedsDisplay();
    Control::setEnabled(enabled);
}

void Button::setHighlighted(bool highlighted) {
    if (highlighted != isHighlighted())
        setNeedsDisplay();
    Control::setHighlighted(highlighted);
}

void Button::setSelected(bool selected) {
    if (selected != isSelected())
        setNeedsDisplay();
    Control::setSelected(selected);
}

Size Button::sizeThatFits(Size) const {
    Size s{0, 0};
    if (ImageRef img = imageForState(ControlStateNormal))
        s = img->size();
    const std::string t = titleForState(ControlStateNormal);
    if (!t.empty()) {
        s.width += std::ceil(font_->widthOfString(t)) + 2 * kTitleInset;
        s.height = std::max(s.height, std::ceil(font_->lineHeight()) + 12);
    }
    if (StretchableImage bg = backgroundImageForState(ControlStateNormal)) {
        s.width = std::max(s.width, bg.image->size().width);
        s.height = std::max(s.height, bg.image->size().height);
    }
    return s;
}

Rect Button::imageRect(const Image& image, const Rect& area) const {
    const Size size = image.size();
    if (contentMode() != ContentMode::ScaleToFill && contentMode() != ContentMode::Redraw)
        return rectForContentMode(contentMode(), size, area);
    const bool hasTitle = !currentTitle().empty();
    if (!hasTitle && !backgroundImageForState(state()) && images_.size() == 1 &&
        size.width > area.width() * 2) {
        return area; // a picture far larger than the button fills it
    }
    // Natural size, shrunk (never grown) to fit, centred.
    float scale = 1;
    if (size.width > area.width() || size.height > area.height())
        scale = std::min(area.width() / size.width, area.height() / size.height);
    const float w = size.width * scale;
    const float h = size.height * scale;
    return Rect(std::round(area.midX() - w / 2), std::round(area.midY() - h / 2), w, h);
}

void Button::drawRect(Context& context, const Rect&) {
    const Rect b = bounds();
    const ControlState s = state();
    const bool pressed = isHighlighted();
    GStateGuard guard(context);
    if (!isEnabled())
        context.setAlpha(0.45f);

    const StretchableImage bg = backgroundImageForState(s);
    const bool ownHighlightBackground = backgrounds_.count(ControlStateHighlighted) > 0;
    if (bg) {
        style::drawStretchable(context, *bg.image, b, bg.leftCapWidth, bg.topCapHeight);
    } else if (type_ == ButtonType::RoundedRect) {
        style::fillRoundedRect(context, b, 9,
                               pressed ? Color::rgb(0.85f, 0.85f, 0.87f) : Color::white());
        style::strokeRoundedRect(context, b, 9, style::kFieldBorder, 1);
    }

    const ImageRef image = imageForState(s);
    const std::string title = titleForState(s);
    Rect content = b.inset(0, 0);
    if (image)
        content = drawImage(context, image, title);
    if (!title.empty())
        drawTitle(context, title, content, image != nullptr, ownHighlightBackground);
    if (bg && pressed && !ownHighlightBackground && !image) {
        // No pressed picture: dim the face so the press shows.
        GStateGuard g(context);
        context.setFillColor(Color::rgb(0, 0, 0, 0.18f));
        style::fillRoundedRect(context, b, 8, Color::rgb(0, 0, 0, 0.18f));
    }
}

Rect Button::drawImage(Context& context, const ImageRef& image, const std::string& title) const {
    const Rect b = bounds();
    Rect content = b.inset(0, 0);
    Rect area = content;
    if (!title.empty()) {
        // Picture left of the title, the pair centred.
        const float tw = std::min(font_->widthOfString(title), b.width() - image->size().width);
        const float total = image->size().width + 4 + tw;
        area = Rect(std::round(b.midX() - total / 2), b.minY(), image->size().width, b.height());
        content =
            Rect(area.maxX() + 4, b.minY(), std::max(0.0f, b.maxX() - area.maxX() - 4), b.height());
    }
    const Rect r = imageRect(*image, area);
    {
        GStateGuard g(context);
        if (contentMode() != ContentMode::ScaleToFill)
            context.clipToRect(b);
        context.drawImageUpright(r, *image);
    }
    if (isHighlighted() && adjustsWhenHighlighted_ && images_.count(ControlStateHighlighted) == 0) {
        GStateGuard g(context);
        context.clipToRect(r);
        context.setFillColor(Color::rgb(0, 0, 0, 0.35f));
        context.fillRect(r);
    }
    return content;
}

void Button::drawTitle(Context& context, const std::string& title, const Rect& content,
                       bool besideImage, bool ownHighlightBackground) const {
    const Rect b = bounds();
    Color color = titleColorForState(state());
    if (isHighlighted() && titleColors_.count(ControlStateHighlighted) == 0 &&
        !ownHighlightBackground)
        color = color.withAlpha(color.alpha() * 0.4f);
    context.setFillColor(color);
    const Rect text = content.inset(besideImage ? 0 : kTitleInset, 0);
    if (text.isNull())
        return;
    const std::string shown = font_->truncatedToWidth(title, text.width());
    const float w = font_->widthOfString(shown);
    float x = std::round(text.midX() - w / 2);
    if (hAlign_ == ContentHorizontalAlignment::Left)
        x = text.minX();
    else if (hAlign_ == ContentHorizontalAlignment::Right)
        x = text.maxX() - std::ceil(w);
    float y = std::round(b.midY() - font_->lineHeight() / 2);
    if (vAlign_ == ContentVerticalAlignment::Top)
        y = b.minY();
    else if (vAlign_ == ContentVerticalAlignment::Bottom)
        y = b.maxY() - font_->lineHeight();
    font_->drawAtPoint(context, {x, y}, shown);
}

} // namespace platform
