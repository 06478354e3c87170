// The window driver's launch, the window module's side: the window opens on
// the worker thread that loaded the module while the app's own launch runs on
// the main thread (openWindowOnWorker), and the main thread takes it from
// there to run the loop (runWindow). WindowLaunch.cpp is the program's side.
#include <condition_variable>
#include <mutex>

#include <SDL.h>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/SdlDriver.h"
#include "platform/drivers/WindowDriver.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"

namespace platform {

namespace {

// The window being opened on the worker thread (openWindowOnWorker).
struct PendingWindow {
    // The window's scale once the worker knows it (0 when it ended without).
    std::mutex mutex;
    std::condition_variable scaleKnown;
    bool scaleSettled = false;
    int scale = 0;
    // The window's pixels, once the worker has made them and before it first
    // shows them (writeFirstFrameAhead); settled also when it ended without.
    std::condition_variable pixelsKnown;
    bool pixelsSettled = false;
    SdlScreen::FirstFramePixels pixels;
    // Set once the worker is done with the window, opened or not.
    std::condition_variable done;
    bool opened = false;
    Result<std::unique_ptr<SdlDriver>> driver = Result<std::unique_ptr<SdlDriver>>::failure("");
};

// The window's scale at its last opening, among the app's settings.
const std::string kWindowScaleKey = "WindowScale";
// The first launch's guess: a 1080-line desktop, the commonest, has room for
// the picture at twice its size (960 pixels high).
constexpr int kFirstLaunchScale = 2;

PendingWindow& pendingWindow() {
    static PendingWindow pending;
    return pending;
}

// The window the worker opened (then `windowTaken`), or a window opened now.
Result<std::unique_ptr<SdlDriver>> takeWindowDriver(bool opening, void (*windowTaken)()) {
    PendingWindow& pending = pendingWindow();
    if (!opening)
        return SdlDriver::create();
    {
        std::unique_lock lock(pending.mutex);
        pending.done.wait(lock, [&] { return pending.opened; });
    }
    if (windowTaken)
        windowTaken();
    auto driver = std::move(pending.driver);
    {
        // Taken: a later launch in this process waits for its own window.
        const std::lock_guard lock(pending.mutex);
        pending.scaleSettled = false;
        pending.pixelsSettled = false;
        pending.pixels = {};
        pending.opened = false;
    }
    if (driver)
        driver.value()->finishOpening();
    return driver;
}

void openWindowOnWorker() {
    PendingWindow& pending = pendingWindow();
    auto driver = SdlDriver::openWindow(
        SdlScreen::kDefaultUpload,
        [&pending](int scale) {
            const std::lock_guard lock(pending.mutex);
            pending.scale = scale;
            pending.scaleSettled = true;
            pending.scaleKnown.notify_all();
        },
        [&pending](const SdlScreen::FirstFramePixels& pixels) {
            const std::lock_guard lock(pending.mutex);
            pending.pixels = pixels;
            pending.pixelsSettled = true;
            pending.pixelsKnown.notify_all();
        });
    // What SDL keeps for this thread (its error message) goes with it: the
    // thread is not one of SDL's own.
    SDL_TLSCleanup();
    const std::lock_guard lock(pending.mutex);
    pending.driver = std::move(driver);
    pending.scaleSettled = true;
    pending.scaleKnown.notify_all();
    pending.pixelsSettled = true;
    pending.pixelsKnown.notify_all();
    pending.opened = true;
    pending.done.notify_all();
}

// The first frame written into the window's pixels as soon as the worker has
// made them, while it has the X server look at them for the first time: the
// first writes to fresh pages and the server's first reads are the slow part
// of the first present, and here they run side by side (the present then
// copies again, into pages already written). Where the worker offers no
// pixels (Wayland, another format, another size) nothing is done.
void writeFirstFrameAhead(const Context& frame) {
    PendingWindow& pending = pendingWindow();
    SdlScreen::FirstFramePixels pixels;
    {
        std::unique_lock lock(pending.mutex);
        pending.pixelsKnown.wait(lock, [&] { return pending.pixelsSettled; });
        pixels = pending.pixels;
    }
    if (!pixels.data || pixels.width != frame.width() || pixels.height != frame.height())
        return;
    reversePixelBytes(frame.data(), frame.bytesPerRow(), pixels.data, pixels.pitch, frame.width(),
                      frame.height());
}

int runWindow(const LaunchOptions& options, bool opening, void (*windowTaken)()) {
    // With the window opening on its worker since before the delegate was
    // made, the app's own launch ran meanwhile; a window that then fails to
    // open ends the run before anything is saved, as it did before launching.
    PendingWindow& pending = pendingWindow();
    std::unique_ptr<Context> firstFrame;
    if (opening) {
        // The first frame is drawn while SDL makes the window, at the scale
        // the window had last time (SDL knows the screen only once its video
        // start-up is done), or at the first launch the scale most screens
        // have room for; drawn again if the screen turns out different.
        UserDefaults& defaults = UserDefaults::standardUserDefaults();
        const long remembered = defaults.integerForKey(kWindowScaleKey);
        const bool known = remembered >= 1 && remembered <= 4;
        const int guessed = known ? int(remembered) : kFirstLaunchScale;
        firstFrame = SdlDriver::renderFirstFrame(Application::shared().keyWindow(), guessed);
        int scale = 0;
        {
            std::unique_lock lock(pending.mutex);
            pending.scaleKnown.wait(lock, [&] { return pending.scaleSettled; });
            scale = pending.scale;
        }
        if (scale != guessed)
            firstFrame = SdlDriver::renderFirstFrame(Application::shared().keyWindow(), scale);
        if (scale > 0 && scale != remembered)
            defaults.setInteger(scale, kWindowScaleKey);
        if (firstFrame)
            writeFirstFrameAhead(*firstFrame);
    }
    auto driver = takeWindowDriver(opening, windowTaken);
    if (!driver) {
        log("The window could not be opened (" + driver.error() + "); try --headless");
        return 1;
    }
    if (!opening)
        Application::shared().finishLaunching();
    (*driver)->adoptFirstFrame(std::move(firstFrame));
    openLaunchFiles(options.files);
    return (*driver)->run();
}

} // namespace

} // namespace platform

const platform::WindowModuleEntry* zorbel_window_module() {
    static const platform::WindowModuleEntry entry{&platform::openWindowOnWorker,
                                                   &platform::runWindow};
    return &entry;
}
