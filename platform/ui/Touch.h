#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/graphics/Point.h"

namespace platform {

class View;
class Window;

enum class TouchPhase { Began, Moved, Stationary, Ended, Cancelled };

// One finger on the screen, from its touch-down to its lift. The same object
// (same address) is handed to the view in every phase, so it can serve as a
// key. The view is the one hit-tested when the finger came down; the touch
// stays with it to the end.
class Touch {
public:
    Touch(int finger, View* view, Window* window, Point windowPoint, double timestamp,
          int tapCount);

    int finger() const { return finger_; } // the driver's finger number
    TouchPhase phase() const { return phase_; }
    int tapCount() const { return tapCount_; }
    double timestamp() const { return timestamp_; } // seconds on the run loop clock
    // Null when the touch belongs to no view (or its view was destroyed).
    View* view() const { return weakView_.expired() ? nullptr : view_; }
    std::shared_ptr<View> lockView() const { return weakView_.lock(); }
    Window* window() const { return window_; }
    // Where the finger is / was at the previous event, in `view`'s bounds
    // coordinates (null: the window's).
    Point locationInView(const View* view) const;
    Point previousLocationInView(const View* view) const;
    Point locationInWindow() const { return location_; }
    Point previousLocationInWindow() const { return previous_; }

    // The window updates touches as the driver reports the finger.
    void update(TouchPhase phase, Point windowPoint, double timestamp);
    void setPhase(TouchPhase phase) { phase_ = phase; }
    void setTapCount(int count) { tapCount_ = count; }
    // The touch goes to no view.
    void detachView() {
        view_ = nullptr;
        weakView_.reset();
    }

private:
    int finger_;
    TouchPhase phase_ = TouchPhase::Began;
    int tapCount_;
    double timestamp_;
    View* view_;
    std::weak_ptr<View> weakView_;
    Window* window_;
    Point location_;
    Point previous_;
};

// An unordered set of touches (kept in finger order), as handed to the view's
// touch handlers.
class TouchSet {
public:
    using Storage = std::vector<std::shared_ptr<Touch>>;

    TouchSet() = default;
    explicit TouchSet(Storage touches) : touches_(std::move(touches)) {}

    std::size_t count() const { return touches_.size(); }
    std::size_t size() const { return touches_.size(); }
    bool empty() const { return touches_.empty(); }
    // Any one of the touches (the first), or null when empty.
    Touch* anyObject() const { return touches_.empty() ? nullptr : touches_.front().get(); }
    bool contains(const Touch* touch) const;
    void add(std::shared_ptr<Touch> touch);
    Touch* operator[](std::size_t i) const { return touches_[i].get(); }
    Storage::const_iterator begin() const { return touches_.begin(); }
    Storage::const_iterator end() const { return touches_.end(); }
    const Storage& touches() const { return touches_; }

private:
    Storage touches_;
};

} // namespace platform
