#pragma once

#include "platform/ui/Touch.h"

namespace platform {

class View;

// The touches of one multi-touch gesture at one moment: every finger on the
// screen, whatever its phase and view.
class Event {
public:
    Event() = default;
    Event(TouchSet all, double timestamp) : all_(std::move(all)), timestamp_(timestamp) {}

    const TouchSet& allTouches() const { return all_; }
    // The touches that belong to `view` (those that began in it).
    TouchSet touchesForView(const View* view) const;
    double timestamp() const { return timestamp_; }

private:
    TouchSet all_;
    double timestamp_ = 0;
};

} // namespace platform
