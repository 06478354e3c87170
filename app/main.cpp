// The process entry: the toolkit runs the window (or, with --headless, a
// script) with the application delegate the main interface makes. The
// application owns the delegate and releases it at exit.

#include "app/CanvoAppDelegate.h"
#include "platform/drivers/ApplicationMain.h"

int main(int argc, char** argv) {
    return platform::ApplicationMain(argc, argv, {"zorbel", "Zorbel"}, [] {
        return zorbel::CanvoAppDelegate::makeFromMainInterface();
    });
}
