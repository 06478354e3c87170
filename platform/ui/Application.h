#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/KeyChord.h"

namespace platform {

class Window;
class ViewController;

// The application's callbacks. Every default does nothing.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    // Once, after the main interface is loaded, before any event.
    virtual void applicationDidFinishLaunching() {}
    // Once, when the application ends normally (window closed, SIGTERM or
    // SIGINT, quit, end of a script). Never after a kill.
    virtual void applicationWillTerminate() {}
    // The system is short of memory: give back what can be rebuilt.
    virtual void applicationDidReceiveMemoryWarning() {}
    // A key chord no focused view kept (see deliverKeyChord): true when the
    // application did something with it.
    virtual bool performKeyCommand(const KeyChord& /*chord*/) { return false; }
    // A file to open as a document: named on the command line (after launch)
    // or dropped on the window.
    virtual void applicationOpenFile(const std::filesystem::path& /*file*/) {}
};

// Status bar styles, numbered as the platform we follow numbers them.
enum class StatusBarStyle : int { Default = 0, BlackOpaque = 1, BlackTranslucent = 2 };

// The one application object: delegate, key window, status bar, life cycle.
// Main thread only.
//
// The application is never destroyed, and neither are the main run loop and
// the accelerometer: screens, timers and windows reach them from their
// destructors, and at exit those may run in any order. A delegate the
// application owns is released at exit before any of the shared objects the
// toolkit made before it (the animator among them) is destroyed.
class Application {
public:
    static Application& shared();

    // Not owned; see setOwnedDelegate for a delegate the application keeps.
    ApplicationDelegate* delegate() const { return delegate_; }
    void setDelegate(ApplicationDelegate* delegate) { delegate_ = delegate; }
    // The application keeps the delegate until it is replaced, reset or the
    // process exits. A replaced delegate is released after the new one is in
    // place, so nothing it tears down finds it as the delegate.
    void setOwnedDelegate(std::unique_ptr<ApplicationDelegate> delegate);

    // The window shown (set by Window::makeKeyAndVisible).
    Window* keyWindow() const { return keyWindow_; }
    void setKeyWindow(Window* window) { keyWindow_ = window; }

    // The status bar of the key window (20 points at the top). Hiding or
    // showing animated slides it over 0.3 seconds.
    bool isStatusBarHidden() const;
    void setStatusBarHidden(bool hidden, bool animated = false);
    StatusBarStyle statusBarStyle() const;
    void setStatusBarStyle(StatusBarStyle style, bool animated = false);
    void setStatusBarStyle(int style) { setStatusBarStyle(static_cast<StatusBarStyle>(style)); }

    // --- Life cycle, driven by the drivers. ---
    // Calls the delegate's did-finish-launching (once).
    void finishLaunching();
    bool hasFinishedLaunching() const { return launched_; }
    // Calls the delegate's will-terminate, exactly once per run, then writes
    // the user defaults (what the delegate set, up to its last change there);
    // later calls do nothing. Returns true when this call did it.
    bool terminate();
    bool hasTerminated() const { return terminated_; }
    // Something termination had to write could not be written: the delegate
    // reports what (from will-terminate), and terminate() itself reports the
    // settings file. Logged; the drivers then end with a distinct exit status.
    void reportTerminationWriteFailure(const std::string& what);
    bool terminationWriteFailed() const { return terminationWriteFailed_; }
    // The delegate's memory warning, then every live view controller's.
    void receiveMemoryWarning();

    // Live view controllers (each registers itself while it exists).
    void registerViewController(ViewController* controller);
    void unregisterViewController(ViewController* controller);
    const std::vector<ViewController*>& viewControllers() const { return controllers_; }

    // Forgets delegate, window and state, so a test can start afresh.
    void resetForTesting();

private:
    Application();
    // Releases the owned delegate (std::atexit).
    static void releaseOwnedDelegateAtExit();

    ApplicationDelegate* delegate_ = nullptr;
    Window* keyWindow_ = nullptr;
    std::vector<ViewController*> controllers_;
    std::unique_ptr<ApplicationDelegate> ownedDelegate_;
    bool launched_ = false;
    bool terminated_ = false;
    bool terminationWriteFailed_ = false;
    bool statusBarHidden_ = false;
    StatusBarStyle statusBarStyle_ = StatusBarStyle::Default;
};

} // namespace platform
