// The process entry: the toolkit runs the window (or, with --headless, a
// script) with the application delegate the main interface makes. The
// application owns the delegate and releases it at exit.

#include "app/CanvoAppDelegate.h"
#include "app/DocumentOpener.h"
#include "platform/drivers/ApplicationMain.h"

int main(int argc, char** argv) {
    return platform::ApplicationMain(
        argc, argv, {"zorbel", "Zorbel"},
        [] { return zorbel::CanvoAppDelegate::makeFromMainInterface(); },
        // A picture named on the command line is decoded, turned and reduced
        // while the window opens and the app launches, ready for when it
        // becomes the document.
        [](const platform::LaunchOptions& options) {
            if (!options.headless)
                for (const auto& file : options.files)
                    zorbel::DocumentOpener::startPreparing(file);
        });
}
