// Shake to erase: the accelerometer's samples are low-pass filtered to follow
// gravity; what is left (the high-pass part) is the user's movement.

#include <cmath>

#include "app/CanvoAppDelegate.h"
#include "app/NewMasterViewController.h"
#include "platform/ui/RunLoop.h"

namespace zorbel {

namespace {

// Each sample moves the filtered value a tenth of the way towards it.
constexpr double kNewWeight = 0.1;
constexpr double kOldWeight = 0.9;
// High-passed acceleration, in g, that counts as a shake.
constexpr double kShakeThreshold = 2.0;
// A movement within this many seconds of the last accepted one is the same shake.
constexpr double kShakeInterval = 0.5;

} // namespace

void CanvoAppDelegate::accelerometerDidAccelerate(platform::Accelerometer&,
                                                  const platform::Acceleration& sample) {
    const double reading[3] = {sample.x, sample.y, sample.z};
    double high[3];
    for (int a = 0; a < 3; ++a) {
        myAccelerometer_[a] = reading[a] * kNewWeight + myAccelerometer_[a] * kOldWeight;
        high[a] = reading[a] - myAccelerometer_[a];
    }
    if (std::sqrt(high[0] * high[0] + high[1] * high[1] + high[2] * high[2]) < kShakeThreshold)
        return;

    if (!(platform::absoluteTimeGetCurrent() > lastTime_ + kShakeInterval))
        return;
    lastTime_ = platform::absoluteTimeGetCurrent();

    // A shake that cannot act still moved lastTime above.
    if (tooBusyForUserInteraction() || shaken_)
        return;
    if (newMasterViewController_ && newMasterViewController_->isModalViewShowing())
        return;
    if (screenSlidersViewController_)
        return;

    resetPresentMode();
    shaken_ = true;
    if (askOnShake_) {
        // The sheet's answer clears shaken (NewMasterViewController). Without
        // the toolbar controller there is no one to ask, so nothing is erased.
        if (newMasterViewController_)
            newMasterViewController_->shakeEraseRequest();
        else
            shaken_ = false;
        return;
    }
    eraseToOriginal();
    shaken_ = false;
}

} // namespace zorbel
