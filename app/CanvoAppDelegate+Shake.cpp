// Shake to erase: ShakeFilter tells a shake from the samples; here a shake
// is ignored while something else has the picture, and otherwise erases it,
// after asking when the person wants to be asked.

#include "app/CanvoAppDelegate.h"
#include "app/NewMasterViewController.h"
#include "platform/ui/RunLoop.h"

namespace zorbel {

void CanvoAppDelegate::accelerometerDidAccelerate(platform::Accelerometer&,
                                                  const platform::Acceleration& sample) {
    if (!shakeFilter_.takeSample(sample.x, sample.y, sample.z, platform::absoluteTimeGetCurrent()))
        return;

    if (tooBusyForUserInteraction() || toolState_.shaken())
        return;
    if (newMasterViewController_ && newMasterViewController_->isModalViewShowing())
        return;
    if (screenSlidersViewController())
        return;

    resetPresentMode();
    toolState_.setShaken(true);
    if (settings_.askOnShake) {
        // The sheet's answer clears shaken (NewMasterViewController). Without
        // the toolbar controller there is no one to ask, so nothing is erased.
        if (newMasterViewController_)
            newMasterViewController_->shakeEraseRequest();
        else
            toolState_.setShaken(false);
        return;
    }
    eraseToOriginal();
    toolState_.setShaken(false);
}

} // namespace zorbel
