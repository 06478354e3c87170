#pragma once

#include <string>
#include <vector>

#include "platform/ui/Action.h"
#include "platform/ui/View.h"

namespace platform {

class Touch;

// Control events, numbered as the platform we follow numbers them.
using ControlEvents = unsigned;
enum : ControlEvents {
    ControlEventTouchDown = 1u << 0,
    ControlEventTouchDownRepeat = 1u << 1,
    ControlEventTouchDragInside = 1u << 2,
    ControlEventTouchDragOutside = 1u << 3,
    ControlEventTouchDragEnter = 1u << 4,
    ControlEventTouchDragExit = 1u << 5,
    ControlEventTouchUpInside = 1u << 6,
    ControlEventTouchUpOutside = 1u << 7,
    ControlEventTouchCancel = 1u << 8,
    ControlEventValueChanged = 1u << 12, // 4096
    ControlEventEditingDidBegin = 1u << 16,
    ControlEventEditingChanged = 1u << 17,
    ControlEventEditingDidEnd = 1u << 18,
    ControlEventEditingDidEndOnExit = 1u << 19,
    ControlEventAllTouchEvents = 0x00000FFFu,
    ControlEventAllEditingEvents = 0x000F0000u,
    ControlEventAllEvents = 0xFFFFFFFFu,
};

// Control states (bits), for titles, colours and pictures per state.
using ControlState = unsigned;
enum : ControlState {
    ControlStateNormal = 0,
    ControlStateHighlighted = 1u << 0,
    ControlStateDisabled = 1u << 1,
    ControlStateSelected = 1u << 2,
};

// The base of every control: target-action and touch tracking.
//
// Touch tracking (override the four tracking hooks, not touchesBegan...):
// touch-down sends TouchDown (TouchDownRepeat too when the tap count is above
// 1) and highlights; moves send TouchDragInside/Outside (Enter/Exit when
// crossing) and keep the highlight while inside; lifting sends
// TouchUpInside or TouchUpOutside; a cancel sends TouchCancel. "Inside" is the
// bounds grown by kTouchSlop points on every side. A disabled control takes no
// touches (hit testing passes through it).
//
// Actions are called in the order they were added; sendActionsForControlEvents
// may be called by subclasses (ValueChanged, editing events) and by anyone.
class Control : public View {
public:
    Control();
    explicit Control(const Rect& frame);
    std::string className() const override { return "Control"; }

    static constexpr float kTouchSlop = 70;

    // `target` identifies the receiver for removeTarget (may be null);
    // `name` is the action's name (as in an interface file: "save:"), used by
    // the headless `press` command and for removal.
    void addTarget(const void* target, Action action, ControlEvents events,
                   const std::string& name = {});
    // Removes the target's actions for those events (all of the target's when
    // name is empty; every target's when target is null and name empty).
    void removeTarget(const void* target, ControlEvents events, const std::string& name = {});
    // The action names registered for any of `events`.
    std::vector<std::string> actionNames(ControlEvents events = ControlEventAllEvents) const;
    ControlEvents allControlEvents() const;
    void sendActionsForControlEvents(ControlEvents events);

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    ControlState state() const;

    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return touchInside_; }

    // The text a person would read on the control (a button's title); the
    // headless `press` matches it, the accessibility label and action names.
    virtual std::string title() const { return {}; }
    bool answersToPressName(std::string_view name) const override;
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(const std::string& label) { accessibilityLabel_ = label; }

    // The events an interface file's "action" is sent for when it names none.
    virtual ControlEvents defaultActionEvents() const { return ControlEventTouchUpInside; }

    // Tracking hooks. beginTracking answers whether to keep tracking the touch.
    virtual bool beginTrackingWithTouch(Touch& touch, Event& event);
    virtual bool continueTrackingWithTouch(Touch& touch, Event& event);
    virtual void endTrackingWithTouch(Touch* touch, Event* event);
    virtual void cancelTrackingWithEvent(Event* event);

    View* hitTest(Point p, const Event* event) override;
    void touchesBegan(const TouchSet& touches, Event& event) override;
    void touchesMoved(const TouchSet& touches, Event& event) override;
    void touchesEnded(const TouchSet& touches, Event& event) override;
    void touchesCancelled(const TouchSet& touches, Event& event) override;

    // Whether a point (bounds coordinates) counts as inside for tracking.
    bool isInsideForTracking(Point p) const;

private:
    struct Entry {
        const void* target;
        Action action;
        ControlEvents events;
        std::string name;
    };
    std::vector<Entry> entries_;
    std::string accessibilityLabel_;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
    Touch* trackedTouch_ = nullptr;
};

} // namespace platform
