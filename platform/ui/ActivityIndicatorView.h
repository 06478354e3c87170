#pragma once

#include <memory>

#include "platform/ui/View.h"

namespace platform {

class Timer;

enum class ActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

// A spinning wheel of twelve spokes (37 points for the large style, 20 for
// the others), drawn centred in the bounds. Hidden while stopped unless
// hidesWhenStopped is switched off.
class ActivityIndicatorView : public View {
public:
    explicit ActivityIndicatorView(
        ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::WhiteLarge);
    ActivityIndicatorView(ActivityIndicatorViewStyle style, const Rect& frame);
    ~ActivityIndicatorView() override;
    std::string className() const override { return "ActivityIndicatorView"; }

    ActivityIndicatorViewStyle activityIndicatorViewStyle() const { return style_; }
    void setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool v);

    static constexpr double kStepInterval = 1.0 / 12;
    int step() const { return step_; }

    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& dirty) override;

private:
    ActivityIndicatorViewStyle style_;
    bool animating_ = false;
    bool hidesWhenStopped_ = true;
    int step_ = 0;
    // The spokes turn one step a beat from these: the step then and the run
    // loop time it started at.
    int startStep_ = 0;
    double startTime_ = 0;
    std::shared_ptr<Timer> timer_;
};

} // namespace platform
