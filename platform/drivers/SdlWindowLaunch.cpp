// The window driver's launch: the window opens on a worker thread while the
// app's own launch runs on the main thread (startWindowDriver), and the main
// thread takes it from there to run the loop (runWindowDriver).
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <mutex>

#include <SDL.h>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/SdlDriver.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
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

// The window's scale at its last opening, among the app's settings.
const std::string kWindowScaleKey = "WindowScale";

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

// X reads its compose table (the key sequences that make accented letters)
// whenever an input method opens: some 6,000 lines, about 10 ms at every
// launch, unless a folder is named where it may keep the table parsed. The
// app's cache folder, unless the person has named one. Set before any other
// thread runs: the environment is not safe to change beside readers.
void nameComposeCache() {
    if (std::getenv("XCOMPOSECACHE"))
        return;
    const std::filesystem::path dir = Paths::cacheDirectory() / "compose";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!ec)
        ::setenv("XCOMPOSECACHE", dir.c_str(), 0);
}

} // namespace

void startWindowDriver() {
    PendingWindow& pending = pendingWindow();
    if (pending.worker)
        return;
    nameComposeCache();
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
        // The first frame is drawn while SDL makes the window, at the scale
        // the window had last time (SDL knows the screen only once its video
        // start-up is done); drawn again if the screen turns out different.
        UserDefaults& defaults = UserDefaults::standardUserDefaults();
        const long remembered = defaults.integerForKey(kWindowScaleKey);
        const int guessed = remembered >= 1 && remembered <= 4 ? int(remembered) : 0;
        if (guessed)
            firstFrame = SdlDriver::renderFirstFrame(Application::shared().keyWindow(), guessed);
        int scale = 0;
        {
            std::unique_lock lock(pending.mutex);
            pending.scaleKnown.wait(lock, [&] { return pending.scaleSettled; });
            scale = pending.scale;
        }
        if (scale != guessed) {
            firstFrame = SdlDriver::renderFirstFrame(Application::shared().keyWindow(), scale);
            if (scale > 0)
                defaults.setInteger(scale, kWindowScaleKey);
        }
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
