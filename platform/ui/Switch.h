#pragma once

#include <memory>

#include "platform/ui/Control.h"

namespace platform {

class Timer;

// An on/off switch. A tap toggles it (sliding the knob) and sends
// ValueChanged; setOn in code sends nothing. Drawn 51 x 31 points, centred in
// its bounds.
class Switch : public Control {
public:
    Switch();
    explicit Switch(const Rect& frame);
    ~Switch() override;
    std::string className() const override { return "Switch"; }
    ControlEvents defaultActionEvents() const override { return ControlEventValueChanged; }

    bool isOn() const { return on_; }
    void setOn(bool on, bool animated = false);

    static constexpr float kWidth = 51;
    static constexpr float kHeight = 31;
    static constexpr double kSlideDuration = 0.25;

    void endTrackingWithTouch(Touch* touch, Event* event) override;
    void setEnabled(bool enabled) override;
    void setHighlighted(bool highlighted) override;
    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& dirty) override;
    // 0 (off) ... 1 (on) as drawn now.
    float knobPosition() const;

private:
    void step();
    bool on_ = false;
    double slideStart_ = -1; // run loop time the knob started sliding, -1 when still
    std::shared_ptr<Timer> timer_;
};

} // namespace platform
