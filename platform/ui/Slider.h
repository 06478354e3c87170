#pragma once

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"

namespace platform {

// A horizontal slider: a thumb on a track from minimumValue to maximumValue,
// with optional pictures at both ends (the track runs between them). Dragging
// the thumb, or touching the track, moves the value; ValueChanged is sent on
// every change while dragging when continuous (the default), else once when
// the finger lifts. Setting the value in code sends nothing.
//
// Keyboard: a touch gives the slider the focus (a ring round the thumb); the
// arrow keys then move it by a hundredth of its range, each step sending
// ValueChanged. Return and Escape go on to the slider's owner.
class Slider : public Control {
public:
    Slider();
    explicit Slider(const Rect& frame);
    std::string className() const override { return "Slider"; }
    ControlEvents defaultActionEvents() const override { return ControlEventValueChanged; }

    float value() const { return value_; }
    // Clamped to the range; a NaN is ignored.
    void setValue(float value, bool animated = false);
    float minimumValue() const { return min_; }
    float maximumValue() const { return max_; }
    // The value is clamped into the new range (and the other end moved when
    // the range would turn over).
    void setMinimumValue(float v);
    void setMaximumValue(float v);
    ImageRef minimumValueImage() const { return minImage_; }
    ImageRef maximumValueImage() const { return maxImage_; }
    void setMinimumValueImage(ImageRef image);
    void setMaximumValueImage(ImageRef image);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    static constexpr float kThumbSize = 28;
    // How far the thumb's shadow reaches beyond it, sideways.
    static constexpr float kThumbShadowReach = 3;
    static constexpr float kTrackHeight = 4;
    // The track between the end pictures, in bounds coordinates.
    Rect trackRect() const;
    Rect thumbRect() const;
    // The value at a horizontal position on the track (clamped).
    float valueForX(float x) const;

    bool beginTrackingWithTouch(Touch& touch, Event& event) override;
    bool continueTrackingWithTouch(Touch& touch, Event& event) override;
    void endTrackingWithTouch(Touch* touch, Event* event) override;
    void cancelTrackingWithEvent(Event* event) override;
    void setEnabled(bool enabled) override;
    // The part of the range one arrow key moves.
    static constexpr float kKeyStepFraction = 0.01f;
    bool canBecomeFirstResponder() const override { return isEnabled(); }
    void didBecomeFirstResponder() override { setNeedsDisplay(); }
    void didResignFirstResponder() override { setNeedsDisplay(); }
    void keyArrow(int direction) override;
    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& dirty) override;

private:
    void moveTo(float x);
    float min_ = 0;
    float max_ = 1;
    float value_ = 0;
    ImageRef minImage_;
    ImageRef maxImage_;
    bool continuous_ = true;
    float grabOffset_ = 0; // finger x minus thumb centre when the drag began
    bool changedDuringDrag_ = false;
};

} // namespace platform
