// The process entry: the toolkit runs the window (or, with --headless, a
// script) with the application delegate the main interface makes.

#include "app/CanvoAppDelegate.h"
#include "platform/drivers/ApplicationMain.h"

int main(int argc, char** argv) {
    const int status = platform::ApplicationMain(
        argc, argv, [] { return zorbel::CanvoAppDelegate::makeFromMainInterface(); });
    // The screens go while the run loop and the application they reach are
    // still there, not among the static objects destroyed at exit.
    platform::Application::shared().setOwnedDelegate(nullptr);
    return status;
}
