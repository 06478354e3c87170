#include "platform/ui/Slider.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Button+Style.h"
#include "platform/ui/Touch.h"

namespace platform {

namespace {
constexpr float kImageGap = 8;
} // namespace

Slider::Slider() : Slider(Rect()) {}

Slider::Slider(const Rect& frame) : Control(frame) {
    setOpaque(false);
}

void Slider::setValue(float value, bool) {
    if (std::isnan(value))
        return;
    const float v = std::clamp(value, min_, max_);
    if (v == value_)
        return;
    value_ = v;
    setNeedsDisplay();
}

void Slider::setMinimumValue(float v) {
    if (std::isnan(v))
        return;
    min_ = v;
    if (max_ < min_)
        max_ = min_;
    value_ = std::clamp(value_, min_, max_);
    setNeedsDisplay();
}

void Slider::setMaximumValue(float v) {
    if (std::isnan(v))
        return;
    max_ = v;
    if (min_ > max_)
        min_ = max_;
    value_ = std::clamp(value_, min_, max_);
    setNeedsDisplay();
}

void Slider::setMinimumValueImage(ImageRef image) {
    minImage_ = std::move(image);
    setNeedsDisplay();
}

void Slider::setMaximumValueImage(ImageRef image) {
    maxImage_ = std::move(image);
    setNeedsDisplay();
}

void Slider::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    setNeedsDisplay();
}

Rect Slider::trackRect() const {
    const Rect b = bounds();
    // The thumb's shadow stays inside too: drawing ends at the bounds.
    const float reach = kThumbSize / 2 + kThumbShadowReach;
    float left = b.minX() + reach;
    float right = b.maxX() - reach;
    if (minImage_)
        left = b.minX() + minImage_->size().width + kImageGap + reach;
    if (maxImage_)
        right = b.maxX() - maxImage_->size().width - kImageGap - reach;
    return Rect(left, std::round(b.midY() - kTrackHeight / 2), std::max(0.0f, right - left),
                kTrackHeight);
}

Rect Slider::thumbRect() const {
    const Rect t = trackRect();
    const float fraction = max_ > min_ ? (value_ - min_) / (max_ - min_) : 0;
    const float cx = t.minX() + fraction * t.width();
    return Rect(cx - kThumbSize / 2, bounds().midY() - kThumbSize / 2, kThumbSize, kThumbSize);
}

float Slider::valueForX(float x) const {
    const Rect t = trackRect();
    if (t.width() <= 0)
        return min_;
    const float fraction = std::clamp((x - t.minX()) / t.width(), 0.0f, 1.0f);
    return min_ + fraction * (max_ - min_);
}

void Slider::moveTo(float x) {
    const float before = value_;
    setValue(valueForX(x));
    if (value_ != before) {
        changedDuringDrag_ = true;
        if (continuous_)
            sendActionsForControlEvents(ControlEventValueChanged);
    }
}

void Slider::keyArrow(int direction) {
    if (!isEnabled() || direction == 0)
        return;
    const float before = value_;
    const float step = (max_ - min_) * kKeyStepFraction;
    setValue(value_ + (direction < 0 ? -step : step));
    if (value_ != before)
        sendActionsForControlEvents(ControlEventValueChanged);
}

bool Slider::beginTrackingWithTouch(Touch& touch, Event&) {
    becomeFirstResponder();
    const Point p = touch.locationInView(this);
    const Rect thumb = thumbRect().inset(-10, -10);
    changedDuringDrag_ = false;
    if (thumb.contains(p)) {
        // Grabbed the thumb: it keeps its place under the finger.
        grabOffset_ = p.x - thumbRect().midX();
    } else {
        // Touched the track elsewhere: the thumb jumps there.
        grabOffset_ = 0;
        moveTo(p.x);
    }
    return true;
}

bool Slider::continueTrackingWithTouch(Touch& touch, Event&) {
    moveTo(touch.locationInView(this).x - grabOffset_);
    return true;
}

void Slider::endTrackingWithTouch(Touch* touch, Event*) {
    if (touch)
        moveTo(touch->locationInView(this).x - grabOffset_);
    if (!continuous_ && changedDuringDrag_)
        sendActionsForControlEvents(ControlEventValueChanged);
    changedDuringDrag_ = false;
}

void Slider::cancelTrackingWithEvent(Event*) {
    if (!continuous_ && changedDuringDrag_)
        sendActionsForControlEvents(ControlEventValueChanged);
    changedDuringDrag_ = false;
}

Size Slider::sizeThatFits(Size size) const {
    return {std::max(size.width, 118.0f), 31};
}

void Slider::drawRect(Context& context, const Rect&) {
    const Rect b = bounds();
    GStateGuard g(context);
    if (!isEnabled())
        context.setAlpha(0.5f);
    if (minImage_) {
        const Size s = minImage_->size();
        context.drawImageUpright(
            Rect(b.minX(), std::round(b.midY() - s.height / 2), s.width, s.height), *minImage_);
    }
    if (maxImage_) {
        const Size s = maxImage_->size();
        context.drawImageUpright(
            Rect(b.maxX() - s.width, std::round(b.midY() - s.height / 2), s.width, s.height),
            *maxImage_);
    }
    const Rect track = trackRect().inset(-kThumbSize / 2 + 2, 0);
    const Rect thumb = thumbRect();
    if (!track.isNull()) {
        style::fillRoundedRect(context, track, kTrackHeight / 2, style::kTrack);
        const Rect filled(track.minX(), track.minY(), std::max(0.0f, thumb.midX() - track.minX()),
                          track.height());
        style::fillRoundedRect(context, filled, kTrackHeight / 2, style::kTint);
    }
    // As much shadow as the height leaves room for: a cut shadow shows a hard edge.
    const float room = std::min(thumb.minY() - b.minY(), b.maxY() - thumb.maxY());
    const float drop = std::clamp(room - 0.5f, 0.0f, 2.0f);
    const float inset = std::max(1.0f, 4 + drop - room);
    if (inset < kThumbSize / 2)
        style::dropShadow(context, thumb.inset(inset, inset), kThumbSize / 2 - inset + 1, drop,
                          0.22f);
    style::fillEllipse(context, thumb, Color::white());
    style::strokeRoundedRect(context, thumb, kThumbSize / 2, Color::rgb(0, 0, 0, 0.06f), 0.5f);
    if (isHighlighted())
        style::fillEllipse(context, thumb, Color::rgb(0, 0, 0, 0.06f));
    if (isFirstResponder())
        style::strokeRoundedRect(context, thumb.inset(-2, -2), kThumbSize / 2 + 2,
                                 style::kTint.withAlpha(0.8f), 2);
}

} // namespace platform
