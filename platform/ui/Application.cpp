#include "platform/ui/Application.h"

#include <algorithm>

#include "platform/ui/StatusBar.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform {

Application& Application::shared() {
    static Application app;
    return app;
}

void Application::setOwnedDelegate(std::unique_ptr<ApplicationDelegate> delegate) {
    ownedDelegate_ = std::move(delegate);
    delegate_ = ownedDelegate_.get();
}

bool Application::isStatusBarHidden() const {
    return statusBarHidden_;
}

void Application::setStatusBarHidden(bool hidden, bool animated) {
    statusBarHidden_ = hidden;
    if (keyWindow_)
        keyWindow_->statusBar().setBarHidden(hidden, animated);
}

StatusBarStyle Application::statusBarStyle() const {
    return statusBarStyle_;
}

void Application::setStatusBarStyle(StatusBarStyle style, bool) {
    statusBarStyle_ = style;
    if (keyWindow_)
        keyWindow_->statusBar().setStyle(style);
}

void Application::finishLaunching() {
    if (launched_)
        return;
    launched_ = true;
    if (delegate_)
        delegate_->applicationDidFinishLaunching();
}

bool Application::terminate() {
    if (terminated_)
        return false;
    terminated_ = true;
    if (delegate_)
        delegate_->applicationWillTerminate();
    return true;
}

void Application::receiveMemoryWarning() {
    if (delegate_)
        delegate_->applicationDidReceiveMemoryWarning();
    // A controller may go away while another handles its warning: check each
    // is still registered before calling it.
    const auto controllers = controllers_;
    for (ViewController* c : controllers)
        if (std::find(controllers_.begin(), controllers_.end(), c) != controllers_.end())
            c->didReceiveMemoryWarning();
}

void Application::registerViewController(ViewController* controller) {
    controllers_.push_back(controller);
}

void Application::unregisterViewController(ViewController* controller) {
    std::erase(controllers_, controller);
}

void Application::resetForTesting() {
    delegate_ = nullptr;
    ownedDelegate_.reset();
    keyWindow_ = nullptr;
    launched_ = false;
    terminated_ = false;
    statusBarHidden_ = false;
    statusBarStyle_ = StatusBarStyle::Default;
}

} // namespace platform
