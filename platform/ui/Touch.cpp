#include "platform/ui/Touch.h"

#include <algorithm>

#include "platform/ui/Event.h"
#include "platform/ui/View.h"

namespace platform {

Touch::Touch(int finger, View* view, Window* window, Point windowPoint, double timestamp,
             int tapCount)
    : finger_(finger), tapCount_(tapCount), timestamp_(timestamp), view_(view), window_(window),
      location_(windowPoint), previous_(windowPoint) {
    if (view)
        weakView_ = view->weak_from_this();
}

Point Touch::locationInView(const View* view) const {
    if (!view)
        return location_;
    return view->convertPointFromView(location_, nullptr);
}

Point Touch::previousLocationInView(const View* view) const {
    if (!view)
        return previous_;
    return view->convertPointFromView(previous_, nullptr);
}

void Touch::update(TouchPhase phase, Point windowPoint, double timestamp) {
    previous_ = location_;
    location_ = windowPoint;
    phase_ = phase;
    timestamp_ = timestamp;
}

bool TouchSet::contains(const Touch* touch) const {
    return std::any_of(touches_.begin(), touches_.end(),
                       [touch](const auto& t) { return t.get() == touch; });
}

void TouchSet::add(std::shared_ptr<Touch> touch) {
    if (!contains(touch.get()))
        touches_.push_back(std::move(touch));
}

TouchSet Event::touchesForView(const View* view) const {
    TouchSet result;
    for (const auto& t : all_)
        if (t->view() == view)
            result.add(t);
    return result;
}

} // namespace platform
