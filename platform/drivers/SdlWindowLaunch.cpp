// The window driver's launch: the window opens on a worker thread while the
// app's own launch runs on the main thread (startWindowDriver), and the main
// thread takes it from there to run the loop (runWindowDriver).
#include <condition_variable>
#include <locale.h>
#include <mutex>

#include <SDL.h>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/SdlDriver.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"

namespace platform {

namespace {

// The window being opened on a worker thread (startWindowDriver), and the C
// locale the main thread keeps meanwhile.
struct PendingWindow {
    // SDL's own thread: SDL frees what it keeps per thread (its error
    // message) when such a thread ends.
    SDL_Thread* worker = nullptr;
    // The window's scale once the worker knows it (0 when it ended without).
    std::mutex mutex;
    std::condition_variable scaleKnown;
    bool scaleSettled = false;
    int scale = 0;
    Result<std::unique_ptr<SdlDriver>> driver = Result<std::unique_ptr<SdlDriver>>::failure("");
    locale_t cLocale = nullptr;
};

PendingWindow& pendingWindow() {
    static PendingWindow pending;
    return pending;
}

// The main thread back in the process's locale.
void leaveCLocale(PendingWindow& pending) {
    if (!pending.cLocale)
        return;
    uselocale(LC_GLOBAL_LOCALE);
    freelocale(pending.cLocale);
    pending.cLocale = nullptr;
}

// The window startWindowDriver began to open, or a window opened now.
Result<std::unique_ptr<SdlDriver>> takeWindowDriver() {
    PendingWindow& pending = pendingWindow();
    if (!pending.worker)
        return SdlDriver::create();
    SDL_WaitThread(pending.worker, nullptr);
    pending.worker = nullptr;
    leaveCLocale(pending);
    auto driver = std::move(pending.driver);
    if (driver)
        driver.value()->finishOpening();
    return driver;
}

} // namespace

void startWindowDriver() {
    PendingWindow& pending = pendingWindow();
    if (pending.worker)
        return;
    // SDL's X11 start-up sets the process's locale to the user's while it
    // opens the input method: numbers the main thread reads or writes
    // meanwhile stay in the C locale the app otherwise runs in.
    pending.cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    if (pending.cLocale)
        uselocale(pending.cLocale);
    pending.worker = SDL_CreateThread(
        [](void* data) {
            auto* p = static_cast<PendingWindow*>(data);
            p->driver = SdlDriver::openWindow(SdlScreen::kDefaultUpload, [p](int scale) {
                const std::lock_guard lock(p->mutex);
                p->scale = scale;
                p->scaleSettled = true;
                p->scaleKnown.notify_all();
            });
            const std::lock_guard lock(p->mutex);
            p->scaleSettled = true;
            p->scaleKnown.notify_all();
            return 0;
        },
        "window", &pending);
    if (!pending.worker)
        leaveCLocale(pending); // the window opens on this thread later
}

int runWindowDriver(const LaunchOptions& options) {
    // Resetting would drop every timer made so far (the status bar's clock
    // stopped at launch that way); ApplicationMain starts the real clock
    // before the interface is made.
    if (RunLoop::main().clockMode() != ClockMode::Real)
        RunLoop::main().reset(ClockMode::Real);
    // With the window opening on its worker since before the delegate was
    // made, the app's own launch runs meanwhile; a window that then fails to
    // open ends the run before anything is saved, as it did before launching.
    PendingWindow& pending = pendingWindow();
    const bool opening = pending.worker != nullptr;
    std::unique_ptr<Context> firstFrame;
    if (opening) {
        Application::shared().finishLaunching();
        // The first frame is drawn while SDL makes the window.
        int scale = 0;
        {
            std::unique_lock lock(pending.mutex);
            pending.scaleKnown.wait(lock, [&] { return pending.scaleSettled; });
            scale = pending.scale;
        }
        firstFrame = SdlDriver::renderFirstFrame(Application::shared().keyWindow(), scale);
    }
    auto driver = takeWindowDriver();
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

} // namespace platform
