#include "platform/ui/Control.h"

#include <algorithm>

#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace platform {

Control::Control() = default;
Control::Control(const Rect& frame) : View(frame) {}

void Control::addTarget(const void* target, Action action, ControlEvents events,
                        const std::string& name) {
    if (!action || events == 0)
        return;
    entries_.push_back(Entry{target, std::move(action), events, name});
}

void Control::removeTarget(const void* target, ControlEvents events, const std::string& name) {
    for (auto& e : entries_) {
        const bool targetMatches = target == nullptr ? true : e.target == target;
        const bool nameMatches = name.empty() || e.name == name;
        if (targetMatches && nameMatches)
            e.events &= ~events;
    }
    std::erase_if(entries_, [](const Entry& e) { return e.events == 0; });
}

std::vector<std::string> Control::actionNames(ControlEvents events) const {
    std::vector<std::string> names;
    for (const auto& e : entries_)
        if ((e.events & events) && !e.name.empty() &&
            std::find(names.begin(), names.end(), e.name) == names.end())
            names.push_back(e.name);
    return names;
}

ControlEvents Control::allControlEvents() const {
    ControlEvents all = 0;
    for (const auto& e : entries_)
        all |= e.events;
    return all;
}

void Control::sendActionsForControlEvents(ControlEvents events) {
    // An action may remove targets or the control itself: work on a copy and
    // keep the control alive to the end.
    auto keep = weak_from_this().lock();
    const auto entries = entries_;
    for (const auto& e : entries)
        if (e.events & events)
            e.action(this);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled && trackedTouch_) {
        // A disabled control lets go of the finger it was following.
        const bool wasTracking = tracking_;
        tracking_ = false;
        trackedTouch_ = nullptr;
        touchInside_ = false;
        if (wasTracking)
            cancelTrackingWithEvent(nullptr);
        highlighted_ = false;
    }
    setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void Control::setSelected(bool selected) {
    if (selected == selected_)
        return;
    selected_ = selected;
    setNeedsDisplay();
}

ControlState Control::state() const {
    ControlState s = ControlStateNormal;
    if (highlighted_)
        s |= ControlStateHighlighted;
    if (!enabled_)
        s |= ControlStateDisabled;
    if (selected_)
        s |= ControlStateSelected;
    return s;
}

bool Control::answersToPressName(std::string_view name) const {
    if (name.empty())
        return false;
    if (title() == name || accessibilityLabel_ == name)
        return true;
    for (const auto& e : entries_) {
        std::string_view action = e.name;
        if (action == name)
            return true;
        if (!action.empty() && action.back() == ':')
            action.remove_suffix(1);
        if (action == name)
            return true;
    }
    return false;
}

bool Control::isInsideForTracking(Point p) const {
    return bounds().inset(-kTouchSlop, -kTouchSlop).contains(p);
}

View* Control::hitTest(Point p, const Event* event) {
    if (!enabled_)
        return nullptr;
    return View::hitTest(p, event);
}

bool Control::beginTrackingWithTouch(Touch&, Event&) {
    return true;
}
bool Control::continueTrackingWithTouch(Touch&, Event&) {
    return true;
}
void Control::endTrackingWithTouch(Touch*, Event*) {}
void Control::cancelTrackingWithEvent(Event*) {}

void Control::touchesBegan(const TouchSet& touches, Event& event) {
    Touch* touch = touches.anyObject();
    if (!touch || tracking_ || !enabled_)
        return;
    auto keep = weak_from_this().lock();
    trackedTouch_ = touch;
    touchInside_ = true;
    tracking_ = beginTrackingWithTouch(*touch, event);
    setHighlighted(true);
    sendActionsForControlEvents(touch->tapCount() > 1
                                    ? ControlEventTouchDown | ControlEventTouchDownRepeat
                                    : ControlEventTouchDown);
}

void Control::touchesMoved(const TouchSet& touches, Event& event) {
    Touch* touch = trackedTouch_;
    if (!touch || !touches.contains(touch))
        return;
    auto keep = weak_from_this().lock();
    const bool wasInside = touchInside_;
    touchInside_ = isInsideForTracking(touch->locationInView(this));
    setHighlighted(touchInside_);
    if (tracking_)
        tracking_ = continueTrackingWithTouch(*touch, event);
    ControlEvents e = touchInside_ ? ControlEventTouchDragInside : ControlEventTouchDragOutside;
    if (wasInside != touchInside_)
        e |= touchInside_ ? ControlEventTouchDragEnter : ControlEventTouchDragExit;
    sendActionsForControlEvents(e);
}

void Control::touchesEnded(const TouchSet& touches, Event& event) {
    Touch* touch = trackedTouch_;
    if (!touch || !touches.contains(touch))
        return;
    auto keep = weak_from_this().lock();
    touchInside_ = isInsideForTracking(touch->locationInView(this));
    const bool wasTracking = tracking_;
    tracking_ = false;
    trackedTouch_ = nullptr;
    if (wasTracking)
        endTrackingWithTouch(touch, &event);
    setHighlighted(false);
    sendActionsForControlEvents(touchInside_ ? ControlEventTouchUpInside
                                             : ControlEventTouchUpOutside);
    touchInside_ = false;
}

void Control::touchesCancelled(const TouchSet& touches, Event& event) {
    Touch* touch = trackedTouch_;
    if (!touch || !touches.contains(touch))
        return;
    auto keep = weak_from_this().lock();
    const bool wasTracking = tracking_;
    tracking_ = false;
    trackedTouch_ = nullptr;
    touchInside_ = false;
    if (wasTracking)
        cancelTrackingWithEvent(&event);
    setHighlighted(false);
    sendActionsForControlEvents(ControlEventTouchCancel);
}

} // namespace platform
