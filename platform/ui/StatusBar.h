#pragma once

#include "platform/ui/Application.h"
#include "platform/ui/View.h"

namespace platform {

class Window;

// The strip at the top of the screen with the time and the battery: 20 points
// high, the window's width, above every other view. Driven by Application's
// status bar calls; hiding or showing animated slides it out of or into view.
// Visible, it takes the touches that land on it (and does nothing with them).
class StatusBar : public View {
public:
    static constexpr float kHeight = 20;
    static constexpr double kSlideDuration = 0.3;

    explicit StatusBar(Window& window);
    std::string className() const override { return "StatusBar"; }

    StatusBarStyle style() const { return style_; }
    void setStyle(StatusBarStyle style);
    bool isBarHidden() const { return barHidden_; }
    void setBarHidden(bool hidden, bool animated);
    // Follows the window's width.
    void layoutForWindowWidth(float width);
    // True where it covers the window and takes touches.
    bool coversPoint(Point windowPoint) const;

    void drawRect(Context& context, const Rect& dirty) override;
    // Keeps the time shown current (a repeating run loop timer).
    void startClock();

private:
    Window& window_;
    StatusBarStyle style_ = StatusBarStyle::Default;
    bool barHidden_ = false;
    int shownMinute_ = -1;
};

} // namespace platform
