#include "platform/ui/TextField.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Button+Style.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Touch.h"

namespace platform {

namespace {
constexpr float kInset = 7;
constexpr float kClearSize = 19;
constexpr double kBlinkInterval = 0.5;
} // namespace

TextField::TextField() : TextField(Rect()) {}

TextField::TextField(const Rect& frame) : Control(frame), font_(Font::systemFontOfSize(17)) {
    setOpaque(false);
}

TextField::~TextField() {
    if (caretTimer_)
        caretTimer_->invalidate();
}

void TextField::setText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    setNeedsDisplay();
    Keyboard::fieldChanged(*this);
}

void TextField::setPlaceholder(const std::string& placeholder) {
    placeholder_ = placeholder;
    setNeedsDisplay();
}

void TextField::setFont(FontRef font) {
    font_ = font ? std::move(font) : Font::systemFontOfSize(17);
    setNeedsDisplay();
}

void TextField::setTextColor(const Color& color) {
    textColor_ = color;
    setNeedsDisplay();
}

void TextField::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void TextField::setBorderStyle(TextBorderStyle style) {
    border_ = style;
    setNeedsDisplay();
}

void TextField::setClearButtonMode(TextFieldViewMode mode) {
    clearMode_ = mode;
    setNeedsDisplay();
}

void TextField::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    if (!enabled && isFirstResponder())
        resignFirstResponder();
    setNeedsDisplay();
}

Rect TextField::clearButtonRect() const {
    bool shown = false;
    switch (clearMode_) {
    case TextFieldViewMode::Never:
        break;
    case TextFieldViewMode::WhileEditing:
        shown = editing_;
        break;
    case TextFieldViewMode::UnlessEditing:
        shown = !editing_;
        break;
    case TextFieldViewMode::Always:
        shown = true;
        break;
    }
    if (!shown || text_.empty())
        return Rect::null();
    const Rect b = bounds();
    return Rect(b.maxX() - kInset - kClearSize + 2, std::round(b.midY() - kClearSize / 2),
                kClearSize, kClearSize);
}

Rect TextField::textRect() const {
    const Rect b = bounds();
    float right = b.maxX() - kInset;
    const Rect clear = clearButtonRect();
    if (!clear.isNull())
        right = clear.minX() - 4;
    const float left = b.minX() + (border_ == TextBorderStyle::None ? 0 : kInset);
    return Rect(left, b.minY(), std::max(0.0f, right - left), b.height());
}

bool TextField::canBecomeFirstResponder() const {
    if (!isEnabled())
        return false;
    return !delegate_ || delegate_->textFieldShouldBeginEditing(const_cast<TextField&>(*this));
}

bool TextField::canResignFirstResponder() const {
    return !delegate_ || delegate_->textFieldShouldEndEditing(const_cast<TextField&>(*this));
}

void TextField::didBecomeFirstResponder() {
    auto keep = weak_from_this().lock();
    editing_ = true;
    if (clearsOnBegin_)
        text_.clear();
    caretEpoch_ = RunLoop::main().now();
    showCaret();
    if (caretTimer_)
        caretTimer_->invalidate();
    std::weak_ptr<View> weak = weak_from_this();
    // Repeating, so an idle field does not hold up a script's `wait`. The
    // caret follows from the time, so a clock that jumps over beats may fire
    // it once.
    caretTimer_ = Timer::scheduledTimer(
        kBlinkInterval,
        [weak](Timer&) {
            if (auto self = std::static_pointer_cast<TextField>(weak.lock()))
                self->blink();
        },
        true);
    caretTimer_->setObservedWhile([] { return false; });
    setNeedsDisplay();
    Keyboard::show(*this);
    if (delegate_)
        delegate_->textFieldDidBeginEditing(*this);
    sendActionsForControlEvents(ControlEventEditingDidBegin);
}

void TextField::didResignFirstResponder() {
    auto keep = weak_from_this().lock();
    editing_ = false;
    if (caretTimer_)
        caretTimer_->invalidate();
    caretTimer_.reset();
    setNeedsDisplay();
    Keyboard::hide(*this);
    if (delegate_)
        delegate_->textFieldDidEndEditing(*this);
    sendActionsForControlEvents(ControlEventEditingDidEnd);
}

void TextField::showCaret() {
    // The beat at or just before now; a tiny allowance keeps a beat that is
    // due now from counting as the one before.
    caretShownBeat_ = std::floor((RunLoop::main().now() - caretEpoch_) / kBlinkInterval + 1e-6);
    caretShown_ = true;
}

void TextField::blink() {
    const double beat = std::floor((RunLoop::main().now() - caretEpoch_) / kBlinkInterval + 1e-6);
    caretShown_ = std::fmod(beat - caretShownBeat_, 2.0) == 0;
    setNeedsDisplay();
}

void TextField::insertText(const std::string& utf8) {
    if (!editing_ || utf8.empty())
        return;
    // One line: line breaks typed or pasted become spaces.
    std::string clean = utf8;
    std::replace(clean.begin(), clean.end(), '\n', ' ');
    std::replace(clean.begin(), clean.end(), '\r', ' ');
    text_ += clean;
    showCaret();
    setNeedsDisplay();
    Keyboard::fieldChanged(*this);
    sendActionsForControlEvents(ControlEventEditingChanged);
}

void TextField::deleteBackward() {
    if (!editing_ || text_.empty())
        return;
    std::size_t cut = text_.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(text_[cut]) & 0xC0) == 0x80)
        --cut;
    text_.erase(cut);
    showCaret();
    setNeedsDisplay();
    Keyboard::fieldChanged(*this);
    sendActionsForControlEvents(ControlEventEditingChanged);
}

void TextField::keyReturn() {
    if (!editing_ || !isReturnKeyEnabled())
        return;
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->textFieldShouldReturn(*this))
        return;
    const bool hasExitTarget = (allControlEvents() & ControlEventEditingDidEndOnExit) != 0;
    sendActionsForControlEvents(ControlEventEditingDidEndOnExit);
    if (hasExitTarget && isFirstResponder())
        resignFirstResponder();
}

void TextField::keyEscape() {
    if (isFirstResponder())
        resignFirstResponder();
}

void TextField::endTrackingWithTouch(Touch* touch, Event*) {
    if (!touch)
        return;
    const Point p = touch->locationInView(this);
    if (!isInsideForTracking(p))
        return;
    const Rect clear = clearButtonRect();
    if (!clear.isNull() && clear.inset(-8, -8).contains(p)) {
        if (!delegate_ || delegate_->textFieldShouldClear(*this)) {
            text_.clear();
            setNeedsDisplay();
            Keyboard::fieldChanged(*this);
            sendActionsForControlEvents(ControlEventEditingChanged);
        }
        if (!isFirstResponder())
            becomeFirstResponder();
        return;
    }
    if (!isFirstResponder())
        becomeFirstResponder();
}

void TextField::drawRect(Context& context, const Rect&) {
    GStateGuard g(context);
    drawBorder(context);
    if (!isEnabled())
        context.setAlpha(0.5f);
    {
        GStateGuard clip(context);
        context.clipToRect(textRect());
        drawTextAndCaret(context);
    }
    const Rect clear = clearButtonRect();
    if (!clear.isNull()) {
        style::fillEllipse(context, clear, Color::rgb(0.70f, 0.70f, 0.72f));
        context.setStrokeColor(Color::white());
        context.setLineWidth(1.6f);
        const float d = 4.5f;
        const Point c = clear.center();
        const Point segments[] = {
            {c.x - d, c.y - d}, {c.x + d, c.y + d}, {c.x - d, c.y + d}, {c.x + d, c.y - d}};
        context.strokeLineSegments(segments);
    }
}

void TextField::drawBorder(Context& context) const {
    const Rect b = bounds();
    switch (border_) {
    case TextBorderStyle::None:
        break;
    case TextBorderStyle::Line:
        context.setFillColor(Color::white());
        context.fillRect(b);
        style::strokeRoundedRect(context, b, 0, Color::rgb(0.2f, 0.2f, 0.2f), 1);
        break;
    case TextBorderStyle::Bezel:
        context.setFillColor(Color::white());
        context.fillRect(b);
        style::strokeRoundedRect(context, b, 0, Color::rgb(0.55f, 0.55f, 0.57f), 1);
        break;
    case TextBorderStyle::RoundedRect:
        style::fillRoundedRect(context, b, 6, Color::white());
        style::strokeRoundedRect(context, b, 6, editing_ ? style::kTint : style::kFieldBorder,
                                 editing_ ? 1.5f : 1);
        break;
    }
}

void TextField::drawTextAndCaret(Context& context) const {
    const Rect tr = textRect();
    const float lineHeight = font_->lineHeight();
    const float y = std::round(bounds().midY() - lineHeight / 2);
    if (text_.empty() && !placeholder_.empty()) {
        context.setFillColor(style::kPlaceholder);
        const std::string shown = font_->truncatedToWidth(placeholder_, tr.width());
        const float w = font_->widthOfString(shown);
        float x = tr.minX();
        if (alignment_ == TextAlignment::Center)
            x = std::round(tr.midX() - w / 2);
        else if (alignment_ == TextAlignment::Right)
            x = tr.maxX() - std::ceil(w);
        font_->drawAtPoint(context, {x, y}, shown);
    }
    const float w = font_->widthOfString(text_);
    float x = tr.minX();
    if (editing_ && w + 3 > tr.width())
        x = tr.maxX() - w - 3; // keep the end, where typing goes, in view
    else if (alignment_ == TextAlignment::Center)
        x = std::round(tr.midX() - w / 2);
    else if (alignment_ == TextAlignment::Right)
        x = tr.maxX() - std::ceil(w) - (editing_ ? 3 : 0);
    if (!text_.empty()) {
        context.setFillColor(textColor_);
        const std::string shown = editing_ ? text_ : font_->truncatedToWidth(text_, tr.width());
        font_->drawAtPoint(context, {x, y}, shown);
    }
    if (editing_ && caretShown_) {
        const float caretX = text_.empty() && alignment_ != TextAlignment::Left
                                 ? (alignment_ == TextAlignment::Center ? tr.midX() : tr.maxX() - 3)
                                 : x + w + 1;
        context.setFillColor(style::kTint);
        context.fillRect(Rect(std::round(caretX), y + 1, 2, lineHeight - 2));
    }
}

} // namespace platform
