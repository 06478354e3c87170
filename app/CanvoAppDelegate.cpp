// The delegate's links to the screens and the presentation operations used by
// the canvas's gestures.

#include "app/CanvoAppDelegate.h"

#include "app/CanvoViewController.h"
#include "app/NewMasterViewController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

namespace zorbel {

namespace {

// How long the delegate's own bars take to fade.
constexpr double kBottomToolsFade = 0.5;
// The tab bar comes back slowly, after a pause.
constexpr double kTabBarDelay = 5.0;
constexpr double kTabBarFade = 5.0;

} // namespace

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

void CanvoAppDelegate::hideBottomTools() {
    if (!bottomToolbar_)
        return;
    platform::View::beginAnimations();
    platform::View::setAnimationDuration(kBottomToolsFade);
    bottomToolbar_->setAlpha(0);
    platform::View::commitAnimations();
}

void CanvoAppDelegate::showBottomTools() {
    if (!bottomToolbar_)
        return;
    platform::View::beginAnimations();
    platform::View::setAnimationDuration(kBottomToolsFade);
    bottomToolbar_->setAlpha(1);
    platform::View::commitAnimations();
}

void CanvoAppDelegate::redisplayMyTabBar() {
    if (!myTabBar_)
        return;
    platform::View::beginAnimations();
    platform::View::setAnimationDelay(kTabBarDelay);
    platform::View::setAnimationDuration(kTabBarFade);
    platform::View::setAnimationCurve(platform::AnimationCurve::EaseInOut);
    myTabBar_->setAlpha(1.0f);
    platform::View::commitAnimations();
    if (window_)
        window_->bringSubviewToFront(myTabBar_.get());
}

} // namespace zorbel
