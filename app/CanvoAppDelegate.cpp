// The delegate's links to the screens and the presentation operations used by
// the canvas's gestures.

#include "app/CanvoAppDelegate.h"

#include <string>

#include "app/CanvoViewController.h"
#include "app/NewMasterViewController.h"
#include "layers/TextLayerView.h"
#include "platform/foundation/ArchiveFile.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

namespace zorbel {

CanvoAppDelegate::CanvoAppDelegate() : alive_(std::make_shared<CanvoAppDelegate*>(this)) {}

// The accelerometer is not told: the delegate lives as long as the process,
// and at exit the run loop holding the sample timer may already be gone.
CanvoAppDelegate::~CanvoAppDelegate() = default;

CanvoAppDelegate* CanvoAppDelegate::shared() {
    return dynamic_cast<CanvoAppDelegate*>(platform::Application::shared().delegate());
}

bool CanvoAppDelegate::tooBusyForUserInteraction() const {
    return progressView_ && progressView_->isAnimating();
}

void CanvoAppDelegate::setDocumentOrientation(int o) {
    if (o != 1 && o != 3) {
        platform::log("setDocumentOrientation: " + std::to_string(o) +
                      " is neither 1 nor 3; the orientation stays " +
                      std::to_string(settings_.documentOrientation));
        return;
    }
    settings_.documentOrientation = o;
}

// --- Presentation ----------------------------------------------------------------

bool CanvoAppDelegate::inPresentMode() const {
    return newMasterViewController_ && newMasterViewController_->presentMode();
}

void CanvoAppDelegate::resetPresentMode() {
    if (!newMasterViewController_)
        return;
    newMasterViewController_->setPresentMode(false);
    newMasterViewController_->showAllTools();
}

void CanvoAppDelegate::presentColorSelection() {
    if (newMasterViewController_)
        newMasterViewController_->colorChoice(nullptr);
}

void CanvoAppDelegate::presentToolSelection() {
    if (newMasterViewController_)
        newMasterViewController_->selectToolAction(nullptr);
}

void CanvoAppDelegate::presentBrushSelection() {
    if (newMasterViewController_)
        newMasterViewController_->brushChoice(nullptr);
}

int CanvoAppDelegate::getCurrentOrientation() const {
    return newMasterViewController_ ? newMasterViewController_->currentOrientation() : 1;
}

namespace {

void fadeBottomToolbar(NewMasterViewController* master, float alpha) {
    if (!master || !master->bottomToolbar())
        return;
    platform::View::beginAnimations();
    platform::View::setAnimationDuration(CanvoAppDelegate::kBottomToolsFadeDuration);
    master->bottomToolbar()->setAlpha(alpha);
    platform::View::commitAnimations();
}

} // namespace

void CanvoAppDelegate::hideBottomTools() {
    fadeBottomToolbar(newMasterViewController_.get(), 0);
}

void CanvoAppDelegate::showBottomTools() {
    fadeBottomToolbar(newMasterViewController_.get(), 1);
}

} // namespace zorbel
