#include "app/FingerOffsetViewController.h"

#include "app/CanvoAppDelegate.h"
#include "app/FingerOffsetView.h"
#include "platform/foundation/Log.h"

namespace zorbel {

FingerOffsetViewController::FingerOffsetViewController(platform::Point fingerOffset,
                                                       std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)), initialOffset_(fingerOffset) {
    registerAction("done:", [this](platform::ActionSender* s) { done(s); });
    registerAction("cancel:", [this](platform::ActionSender* s) { cancel(s); });
}

FingerOffsetView* FingerOffsetViewController::offsetView() {
    return dynamic_cast<FingerOffsetView*>(view().get());
}

void FingerOffsetViewController::viewDidLoad() {
    if (FingerOffsetView* v = offsetView()) {
        v->awakeFromNib();
        v->setFingerOffset(initialOffset_);
    } else {
        platform::log("FingerOffsetVC: the interface's view is not a FingerOffsetView");
    }
}

void FingerOffsetViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning FingerOffsetVC");
}

bool FingerOffsetViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    CanvoAppDelegate* d = CanvoAppDelegate::shared();
    return d && orientation == d->documentOrientation();
}

void FingerOffsetViewController::didRotateFromInterfaceOrientation(int) {
    if (FingerOffsetView* v = offsetView())
        v->setNeedsDisplay();
}

platform::Point FingerOffsetViewController::fingerOffset() {
    FingerOffsetView* v = offsetView();
    return v ? v->fingerOffset() : initialOffset_;
}

void FingerOffsetViewController::setFingerOffset(platform::Point offset) {
    if (FingerOffsetView* v = offsetView()) {
        v->setFingerOffset(offset);
        v->setNeedsDisplay();
    }
}

void FingerOffsetViewController::done(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    if (CanvoAppDelegate* d = CanvoAppDelegate::shared())
        d->setFingerOffset(fingerOffset());
    dismissModalViewControllerAnimated(true);
}

void FingerOffsetViewController::cancel(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    dismissModalViewControllerAnimated(true);
}

} // namespace zorbel
