#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/RunLoop.h"
#include "platform/ui/View.h"

namespace platform {

// The engine behind View's animation blocks (View::beginAnimations ...).
//
// A view's setters change its model value at once; inside a block the view
// then shows a presentation that moves from what was shown before to the new
// value, over the block's duration after its delay, eased by its curve, on the
// main run loop's clock. Setting an animated property again outside a block
// ends that part of the animation (the view jumps to the value) and its block
// is reported as not finished. Hit testing uses the model values. The main
// run loop steps it through its frame hook.
class Animator : public FrameHook {
public:
    enum Property : unsigned {
        Center = 1,
        Bounds = 2,
        Transform = 4,
        Alpha = 8,
    };

    static Animator& shared();
    ~Animator() override;

    // From View's setters: `before` is what was shown before the model changed.
    void viewChanged(View& view, const View::Presentation& before, unsigned properties);

    void begin(const std::string& name, void* context);
    void setDuration(double seconds);
    void setDelay(double seconds);
    void setCurve(AnimationCurve curve);
    void setDidStop(std::function<void(const std::string&, bool, void*)> callback);
    void commit();
    bool isRecording() const { return !open_.empty() && enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }

    // Moves every animation to time `now` (the run loop's clock); finished
    // blocks report to their callbacks.
    void step(double now);
    bool hasRunningAnimations() const { return !records_.empty(); }
    // The next moment something starts or ends (the virtual clock stops there).
    std::optional<double> nextEventTime() const override;

    // The run loop's frame hook.
    bool needsFrames() const override { return hasRunningAnimations(); }
    void stepFrame(double now) override { step(now); }
    // Drops every animation without callbacks (tests).
    void reset();

    // Eases t in [0, 1].
    static double ease(AnimationCurve curve, double t);
    // Interpolates a transform by rotation, scale, shear and translation so a
    // turn stays a turn halfway.
    static AffineTransform interpolate(const AffineTransform& from, const AffineTransform& to,
                                       double t);

private:
    Animator();

    struct Group {
        std::string name;
        void* context = nullptr;
        std::function<void(const std::string&, bool, void*)> didStop;
        int running = 0;
        bool finished = true;
    };
    struct Block {
        std::string name;
        void* context = nullptr;
        double duration = 0.2;
        double delay = 0;
        AnimationCurve curve = AnimationCurve::EaseInOut;
        std::function<void(const std::string&, bool, void*)> didStop;
        std::shared_ptr<Group> group;
    };
    struct Record {
        std::weak_ptr<View> view;
        View* raw = nullptr;
        View::Presentation from;
        View::Presentation to;
        unsigned properties = 0;
        double start = 0;
        double duration = 0;
        AnimationCurve curve = AnimationCurve::EaseInOut;
        std::shared_ptr<Group> group;
    };

    void finishRecord(Record& record, bool finished, bool deferred);
    void applyShown(View& view, double now);

    std::vector<Block> open_;
    std::vector<Record> records_;
    bool enabled_ = true;
};

} // namespace platform
