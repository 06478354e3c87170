#include "platform/ui/Switch.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Animation.h"
#include "platform/ui/Button+Style.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Touch.h"

namespace platform {

Switch::Switch() : Switch(Rect(0, 0, kWidth, kHeight)) {}

Switch::Switch(const Rect& frame) : Control(frame) {
    setOpaque(false);
}

Switch::~Switch() {
    if (timer_)
        timer_->invalidate();
}

void Switch::setOn(bool on, bool animated) {
    if (on == on_)
        return;
    on_ = on;
    if (timer_)
        timer_->invalidate();
    timer_.reset();
    slideStart_ = -1;
    if (animated) {
        slideStart_ = RunLoop::main().now();
        step();
    }
    setNeedsDisplay();
}

float Switch::knobPosition() const {
    const float target = on_ ? 1.0f : 0.0f;
    if (slideStart_ < 0)
        return target;
    const double t = std::clamp((RunLoop::main().now() - slideStart_) / kSlideDuration, 0.0, 1.0);
    const float eased = float(Animator::ease(AnimationCurve::EaseInOut, t));
    return on_ ? eased : 1.0f - eased;
}

void Switch::step() {
    setNeedsDisplay();
    if (RunLoop::main().now() - slideStart_ >= kSlideDuration) {
        slideStart_ = -1;
        timer_.reset();
        return;
    }
    // One-shot steps, so a script's `wait` sees the slide as pending work.
    std::weak_ptr<View> weak = weak_from_this();
    timer_ = Timer::scheduledTimer(1.0 / 60, [weak](Timer&) {
        if (auto self = std::static_pointer_cast<Switch>(weak.lock()))
            self->step();
    });
}

void Switch::endTrackingWithTouch(Touch* touch, Event*) {
    if (!touch || !isInsideForTracking(touch->locationInView(this)))
        return;
    setOn(!on_, true);
    sendActionsForControlEvents(ControlEventValueChanged);
}

void Switch::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    setNeedsDisplay();
}

void Switch::setHighlighted(bool highlighted) {
    if (highlighted != isHighlighted())
        setNeedsDisplay();
    Control::setHighlighted(highlighted);
}

Size Switch::sizeThatFits(Size) const {
    return {kWidth, kHeight};
}

void Switch::drawRect(Context& context, const Rect&) {
    const Rect b = bounds();
    const Rect r(std::round(b.midX() - kWidth / 2), std::round(b.midY() - kHeight / 2), kWidth,
                 kHeight);
    const float k = knobPosition();
    GStateGuard g(context);
    if (!isEnabled())
        context.setAlpha(0.5f);
    // Track: grey outline when off, filled green when on (the fill grows with k).
    style::fillRoundedRect(context, r, kHeight / 2, Color::rgb(0.90f, 0.90f, 0.92f));
    style::fillRoundedRect(context, r.inset(1.5f, 1.5f), kHeight / 2 - 1.5f, Color::white());
    {
        const Color on = style::kSwitchOn;
        style::fillRoundedRect(context, r, kHeight / 2,
                               Color::rgb(on.red(), on.green(), on.blue(), k));
    }
    const float knob = kHeight - 4;
    const float stretch = isHighlighted() ? 6 : 0;
    const float x = r.minX() + 2 + k * (kWidth - knob - 4 - stretch);
    const Rect knobRect(x, r.minY() + 2, knob + stretch, knob);
    style::dropShadow(context, knobRect.inset(1, 1), knob / 2, 2, 0.25f);
    style::fillRoundedRect(context, knobRect, knob / 2, Color::white());
}

} // namespace platform
