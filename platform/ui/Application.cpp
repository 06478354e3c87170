#include "platform/ui/Application.h"

#include <algorithm>
#include <cstdlib>

#include "platform/foundation/Allocator.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Font.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform {

Application& Application::shared() {
    static Application* const app = new Application;
    return *app;
}

Application::Application() {
    // What a delegate's screens reach while they go is made first: an exit
    // handler runs before the destructors of the objects made before it was
    // registered (the run loop and the accelerometer are never destroyed).
    RunLoop::main();
    Accelerometer::shared();
    Animator::shared();
    std::atexit(&Application::releaseOwnedDelegateAtExit);
}

void Application::releaseOwnedDelegateAtExit() {
    Application& app = shared();
    if (app.delegate_ == app.ownedDelegate_.get())
        app.delegate_ = nullptr;
    std::unique_ptr<ApplicationDelegate> owned = std::move(app.ownedDelegate_);
    owned.reset();
}

void Application::setOwnedDelegate(std::unique_ptr<ApplicationDelegate> delegate) {
    std::unique_ptr<ApplicationDelegate> previous = std::move(ownedDelegate_);
    ownedDelegate_ = std::move(delegate);
    delegate_ = ownedDelegate_.get();
    previous.reset();
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
    // The settings are written here and nowhere else: a process that is
    // killed keeps those of the last termination.
    if (auto written = UserDefaults::standardUserDefaults().synchronize(); !written) {
        log("Settings not saved: " + written.error());
        terminationWriteFailed_ = true;
    }
    return true;
}

void Application::reportTerminationWriteFailure(const std::string& what) {
    log("Not saved at termination: " + what);
    terminationWriteFailed_ = true;
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
    // Last, once the controllers have let go of what they can: a picture only
    // the cache still holds is worth more as free memory, and free memory is
    // worth most back in the system's hands.
    Image::purgeNamedPictures();
    Font::purgeUnusedFonts();
    Allocator::returnFreePages();
}

void Application::registerViewController(ViewController* controller) {
    controllers_.push_back(controller);
}

void Application::unregisterViewController(ViewController* controller) {
    std::erase(controllers_, controller);
}

void Application::resetForTesting() {
    delegate_ = nullptr;
    std::unique_ptr<ApplicationDelegate> owned = std::move(ownedDelegate_);
    owned.reset();
    keyWindow_ = nullptr;
    launched_ = false;
    terminated_ = false;
    terminationWriteFailed_ = false;
    statusBarHidden_ = false;
    statusBarStyle_ = StatusBarStyle::Default;
}

} // namespace platform
