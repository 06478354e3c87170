#include "platform/ui/ActivityIndicatorView.h"

#include <cmath>

#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"

namespace platform {

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style)
    : ActivityIndicatorView(style, Rect()) {
    setFrame(Rect(Point{}, sizeThatFits({})));
}

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style, const Rect& frame)
    : View(frame), style_(style) {
    setOpaque(false);
    setUserInteractionEnabled(false);
    setHidden(true);
    setContentMode(ContentMode::Redraw);
}

ActivityIndicatorView::~ActivityIndicatorView() {
    if (timer_)
        timer_->invalidate();
}

void ActivityIndicatorView::setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style) {
    style_ = style;
    setNeedsDisplay();
}

void ActivityIndicatorView::startAnimating() {
    if (animating_)
        return;
    animating_ = true;
    setHidden(false);
    startStep_ = step_;
    startTime_ = RunLoop::main().now();
    std::weak_ptr<View> weak = weak_from_this();
    // Repeating: a spinning wheel alone does not hold up a script's `wait`.
    // The step follows from the time, so a clock that jumps over beats may
    // fire it once.
    timer_ = Timer::scheduledTimer(
        kStepInterval,
        [weak](Timer&) {
            if (auto self = std::static_pointer_cast<ActivityIndicatorView>(weak.lock())) {
                const double beats =
                    std::floor((RunLoop::main().now() - self->startTime_) / kStepInterval + 1e-6);
                self->step_ = int((double(self->startStep_) + std::fmod(beats, 12.0))) % 12;
                self->setNeedsDisplay();
            }
        },
        true);
    timer_->setObservedWhile([] { return false; });
    setNeedsDisplay();
}

void ActivityIndicatorView::stopAnimating() {
    if (!animating_)
        return;
    animating_ = false;
    if (timer_)
        timer_->invalidate();
    timer_.reset();
    if (hidesWhenStopped_)
        setHidden(true);
    setNeedsDisplay();
}

void ActivityIndicatorView::setHidesWhenStopped(bool v) {
    hidesWhenStopped_ = v;
    if (!animating_)
        setHidden(v);
}

Size ActivityIndicatorView::sizeThatFits(Size) const {
    return style_ == ActivityIndicatorViewStyle::WhiteLarge ? Size{37, 37} : Size{20, 20};
}

void ActivityIndicatorView::drawRect(Context& context, const Rect&) {
    const bool large = style_ == ActivityIndicatorViewStyle::WhiteLarge;
    const float outer = large ? 18.5f : 10;
    const float inner = large ? 9 : 5;
    const float width = large ? 3.5f : 2;
    const Point c = bounds().center();
    const Color base =
        style_ == ActivityIndicatorViewStyle::Gray ? Color::rgb(0.4f, 0.4f, 0.42f) : Color::white();
    GStateGuard g(context);
    for (int i = 0; i < 12; ++i) {
        // The spoke at the current step is brightest; the ones behind it fade.
        const int age = (step_ - i + 12) % 12;
        const float alpha = animating_ || !hidesWhenStopped_ ? 1.0f - float(age) / 14.0f : 0;
        const double angle = -M_PI / 2 + double(i) * M_PI / 6;
        const float cs = float(std::cos(angle));
        const float sn = float(std::sin(angle));
        const Point seg[] = {{c.x + cs * inner, c.y + sn * inner},
                             {c.x + cs * outer, c.y + sn * outer}};
        context.setStrokeColor(base.withAlpha(alpha));
        context.setLineWidth(width);
        context.strokeLineSegments(seg);
    }
}

} // namespace platform
