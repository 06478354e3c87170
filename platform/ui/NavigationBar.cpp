#include "platform/ui/NavigationBar.h"

#include <cmath>

#include "platform/ui/Font.h"

namespace platform {

NavigationBar::NavigationBar() : NavigationBar(Rect(0, 0, 320, Toolbar::kHeight)) {}

NavigationBar::NavigationBar(const Rect& frame) : View(frame) {
    setOpaque(false);
    setContentMode(ContentMode::Redraw);
}

void NavigationBar::setTitle(const std::string& title) {
    title_ = title;
    setNeedsDisplay();
}

void NavigationBar::setBarStyle(BarStyle style) {
    barStyle_ = style;
    rebuild();
    setNeedsDisplay();
}

void NavigationBar::setLeftItem(BarButtonItemRef item) {
    left_ = std::move(item);
    rebuild();
}

void NavigationBar::setRightItem(BarButtonItemRef item) {
    right_ = std::move(item);
    rebuild();
}

void NavigationBar::rebuild() {
    if (leftView_)
        leftView_->removeFromSuperview();
    if (rightView_)
        rightView_->removeFromSuperview();
    leftView_ = left_ ? Toolbar::makeItemView(left_, barStyle_) : nullptr;
    rightView_ = right_ ? Toolbar::makeItemView(right_, barStyle_) : nullptr;
    if (leftView_)
        addSubview(leftView_);
    if (rightView_)
        addSubview(rightView_);
    layoutSubviews();
}

void NavigationBar::layoutSubviews() {
    const Rect b = bounds();
    if (leftView_) {
        const Rect f = leftView_->frame();
        leftView_->setFrame(
            Rect(b.minX() + 6, std::round(b.midY() - f.height() / 2), f.width(), f.height()));
    }
    if (rightView_) {
        const Rect f = rightView_->frame();
        rightView_->setFrame(Rect(b.maxX() - 6 - f.width(), std::round(b.midY() - f.height() / 2),
                                  f.width(), f.height()));
    }
}

void NavigationBar::drawRect(Context& context, const Rect&) {
    const Rect b = bounds();
    Toolbar::drawBar(context, b, barStyle_, false);
    if (title_.empty())
        return;
    static const FontRef font = Font::boldSystemFontOfSize(17);
    if (!font)
        return;
    const float side = std::max(leftView_ ? leftView_->frame().width() : 0.0f,
                                rightView_ ? rightView_->frame().width() : 0.0f) +
                       12;
    context.setFillColor(barStyle_ == BarStyle::Default ? Color::black() : Color::white());
    font->drawInRectCentered(context, b.inset(side, 0), title_);
}

} // namespace platform
