#include "platform/ui/StatusBar.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/graphics/Path.h"
#include "platform/ui/Font.h"
#include "platform/ui/PowerSupply.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Window.h"

namespace platform {

StatusBar::StatusBar(Window& window) : View(Rect(0, 0, 320, kHeight)), window_(window) {
    setContentMode(ContentMode::Redraw);
}

void StatusBar::startClock() {
    // Redraw when the minute turns; the timer holds only a weak reference.
    std::weak_ptr<View> weak = weak_from_this();
    auto timer = Timer::scheduledTimer(
        5.0,
        [weak](Timer& timer) {
            auto bar = std::static_pointer_cast<StatusBar>(weak.lock());
            if (!bar) {
                timer.invalidate();
                return;
            }
            const auto minute = int(std::floor(absoluteTimeGetCurrent() / 60));
            if (minute != bar->shownMinute_)
                bar->setNeedsDisplay();
        },
        true);
    // It reads the time, so a clock that jumps over its beats may fire it once.
    timer->setObservedWhile([] { return false; });
}

void StatusBar::setStyle(StatusBarStyle style) {
    if (style == style_)
        return;
    style_ = style;
    setNeedsDisplay();
}

void StatusBar::layoutForWindowWidth(float width) {
    const float y = barHidden_ ? -kHeight : 0;
    setFrame(Rect(0, y, width, kHeight));
}

void StatusBar::setBarHidden(bool hidden, bool animated) {
    if (hidden == barHidden_)
        return;
    barHidden_ = hidden;
    const float width = window_.size().width;
    if (!animated) {
        setFrame(Rect(0, hidden ? -kHeight : 0, width, kHeight));
        return;
    }
    View::animate(kSlideDuration,
                  [&] { setFrame(Rect(0, hidden ? -kHeight : 0, width, kHeight)); });
}

bool StatusBar::coversPoint(Point p) const {
    if (barHidden_ || isHidden())
        return false;
    return frame().contains(p);
}

void StatusBar::drawRect(Context& c, const Rect&) {
    const Rect b = bounds();
    // Background per style: a light grey gradient-like pair of bands, opaque
    // black, or black at half strength over the app.
    Color text = Color::white();
    switch (style_) {
    case StatusBarStyle::Default:
        c.setFillColor(Color::rgb(0.82f, 0.84f, 0.87f));
        c.fillRect(b);
        c.setFillColor(Color::rgb(0.74f, 0.76f, 0.80f));
        c.fillRect(Rect(b.minX(), b.midY(), b.width(), b.height() / 2));
        c.setFillColor(Color::rgb(0.55f, 0.57f, 0.60f));
        c.fillRect(Rect(b.minX(), b.maxY() - 1, b.width(), 1));
        text = Color::rgb(0.1f, 0.1f, 0.12f);
        break;
    case StatusBarStyle::BlackOpaque:
        c.setFillColor(Color::black());
        c.fillRect(b);
        break;
    case StatusBarStyle::BlackTranslucent:
        c.setFillColor(Color::grey(0, 0.5f));
        c.fillRect(b);
        break;
    }
    c.setFillColor(text);
    // Signal strength: five rising bars on the left.
    for (int i = 0; i < 5; ++i) {
        const float h = 4 + 2 * float(i);
        c.fillRect(Rect(6 + 4 * float(i), 14 - h, 3, h));
    }
    // Battery on the right: an outline, its tip and the charge, that of the
    // machine's battery where there is one on a real clock (four fifths
    // otherwise, and always headless, so that its pictures stay the same).
    float charge = 15;
    if (RunLoop::main().clockMode() == ClockMode::Real)
        if (const auto percent = batteryPercent())
            charge = 19 * float(*percent) / 100.0f;
    const float bx = b.maxX() - 32, by = 5;
    Path outline;
    outline.addRect(Rect(bx + 0.5f, by + 0.5f, 22, 10));
    c.setStrokeColor(text);
    c.setLineWidth(1);
    c.strokePath(outline);
    c.fillRect(Rect(bx + 23, by + 3, 2, 5));
    c.fillRect(Rect(bx + 2, by + 2, charge, 7));
    // The time, centred: local time on a real clock, UTC on the virtual one
    // so headless pictures do not depend on where they were taken.
    const double absolute = absoluteTimeGetCurrent();
    shownMinute_ = int(std::floor(absolute / 60));
    const std::time_t unix = std::time_t(std::floor(absolute + 978307200.0));
    std::tm parts{};
    if (RunLoop::main().clockMode() == ClockMode::Virtual)
        gmtime_r(&unix, &parts);
    else
        localtime_r(&unix, &parts);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%d:%02d", parts.tm_hour, parts.tm_min);
    if (auto font = Font::boldSystemFontOfSize(12))
        font->drawInRectCentered(c, b, clock);
}

} // namespace platform
