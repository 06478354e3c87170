#include "app/FingerOffsetView.h"

#include "platform/ui/Touch.h"

namespace zorbel {

using platform::Point;

FingerOffsetView::FingerOffsetView() {
    setMultipleTouchEnabled(false);
}

void FingerOffsetView::awakeFromNib() {
    const platform::Rect f = frame();
    centerPoint_ = {f.width() / 2, f.height() / 2};
}

void FingerOffsetView::setFrame(const platform::Rect& f) {
    platform::View::setFrame(f);
    awakeFromNib();
    setNeedsDisplay();
}

void FingerOffsetView::touched(const platform::TouchSet& touches) {
    const platform::Touch* touch = touches.anyObject();
    if (!touch)
        return;
    if (touch->tapCount() < 2) {
        const Point p = touch->locationInView(this);
        fingerOffset_ = {centerPoint_.x - p.x, centerPoint_.y - p.y};
    } else {
        fingerOffset_ = {0, 0};
    }
    setNeedsDisplay();
}

void FingerOffsetView::touchesBegan(const platform::TouchSet& touches, platform::Event&) {
    touched(touches);
}

void FingerOffsetView::touchesMoved(const platform::TouchSet& touches, platform::Event&) {
    touched(touches);
}

void FingerOffsetView::touchesEnded(const platform::TouchSet& touches, platform::Event&) {
    touched(touches);
}

void FingerOffsetView::drawRect(platform::Context& context, const platform::Rect&) {
    awakeFromNib();
    drawCenter(context);
    drawFinger(context);
}

void FingerOffsetView::drawCenter(platform::Context& context) {
    platform::GStateGuard guard(context);
    const Point c = centerPoint_;
    const Point lines[] = {{c.x - 10, c.y}, {c.x + 10, c.y}, {c.x, c.y - 10}, {c.x, c.y + 10}};
    context.setStrokeColor(platform::Color::black());
    context.setLineWidth(2);
    context.strokeLineSegments(lines);
}

void FingerOffsetView::drawFinger(platform::Context& context) {
    platform::GStateGuard guard(context);
    const Point p{centerPoint_.x - fingerOffset_.x, centerPoint_.y - fingerOffset_.y};
    const Point lines[] = {{p.x - 5, p.y}, {p.x + 5, p.y}, {p.x, p.y - 5}, {p.x, p.y + 5}};
    context.setStrokeColor(platform::Color::black());
    context.setLineWidth(1);
    context.strokeLineSegments(lines);
}

} // namespace zorbel
