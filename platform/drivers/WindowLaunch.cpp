// The window driver's launch, the program's side: a worker thread loads the
// window module and opens the window while the main thread makes the
// delegate and the interface; the main thread then hands the run to the
// module. SDL is never mapped into a headless run, nor loaded by the main
// thread of a windowed one.
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <dlfcn.h>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/LibraryStandIns.h"
#include "platform/drivers/SessionBus.h"
#include "platform/drivers/WindowDriver.h"
#include "platform/foundation/LoadableModule.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer: libdbus keeps one buffer (1032 bytes) for the life of the
// process once SDL has used D-Bus (the screen saver, input methods), and SDL
// unloads the library at SDL_Quit, so the buffer is reported as lost. Neither
// dbus_shutdown nor any order of quitting reaches it; only frames inside that
// library are let through. (Here, in the program, not in the window module:
// the sanitizer asks the program for its suppressions before any module is
// loaded.)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so.3\n";
}
#endif

namespace platform {

namespace {

// The module being loaded on the worker (startWindowDriver), and the C locale
// the main thread keeps meanwhile.
struct WindowLoad {
    std::thread worker;
    std::mutex mutex;
    std::condition_variable settled;
    bool loaded = false; // the worker is past loading, with the module or not
    bool noSessionBus = false; // none can be had: SDL will do without D-Bus
    bool x11Window = false;    // SDL will open an X11 window, and try nothing else first
    const WindowModuleEntry* entry = nullptr;
    std::string error;
    locale_t cLocale = nullptr;
};

// Never destroyed: a process that exits while the worker still runs must
// not destroy a joinable thread.
WindowLoad& windowLoad() {
    static auto* load = new WindowLoad;
    return *load;
}

// The suppression above names frames by their library, which must still be
// mapped when the leaks are reported at exit. SDL opens libdbus itself (no
// library it links brings it in any more) and closes it at SDL_Quit: held
// open here as well, never to be unloaded. Only in the sanitizer's builds,
// and only where there may be a session bus: without one SDL makes no use of
// D-Bus (and its stand-in must stay free to go, should SDL need the real one).
void keepDBusMappedForLeakReports() {
#if defined(__SANITIZE_ADDRESS__)
    (void)dlopen("libdbus-1.so.3", RTLD_LAZY | RTLD_NODELETE);
#endif
}

Result<const WindowModuleEntry*> loadWindowModule(bool noSessionBus, bool x11Window) {
    std::vector<std::string> standInFiles = LibraryStandIns::soundFileNames();
    if (noSessionBus)
        standInFiles.emplace_back(LibraryStandIns::kNoDBusFileName);
    if (x11Window)
        standInFiles.insert(standInFiles.end(), LibraryStandIns::x11FileNames().begin(),
                            LibraryStandIns::x11FileNames().end());
    LibraryStandIns standIns =
        LibraryStandIns::loadFrom(LoadableModule::folderHolding(kWindowModuleFile), standInFiles);
    if (!noSessionBus)
        keepDBusMappedForLeakReports();
    auto address = LoadableModule::entryPoint(kWindowModuleFile, kWindowModuleEntry);
    if (!address && standIns.count() > 0) {
        // Perhaps an SDL other than the one the stand-ins were made from:
        // tried again with the real libraries.
        standIns.unload();
        auto withoutStandIns = LoadableModule::entryPoint(kWindowModuleFile, kWindowModuleEntry);
        if (withoutStandIns)
            log("The window loads the real libraries: the stand-ins do not serve this SDL (" +
                address.error() + ")");
        address = std::move(withoutStandIns);
    }
    if (!address)
        return Result<const WindowModuleEntry*>::failure(address.error());
    auto* entryFunction = reinterpret_cast<decltype(&zorbel_window_module)>(address.value());
    const WindowModuleEntry* entry = entryFunction();
    if (!entry || !entry->openWindow || !entry->run)
        return Result<const WindowModuleEntry*>::failure(std::string(kWindowModuleFile) +
                                                         " offers no window");
    return entry;
}

// The main thread back in the process's locale, the worker done.
void finishWorker() {
    WindowLoad& load = windowLoad();
    if (load.worker.joinable())
        load.worker.join();
    if (!load.cLocale)
        return;
    uselocale(LC_GLOBAL_LOCALE);
    freelocale(load.cLocale);
    load.cLocale = nullptr;
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

int windowNotOpened(const std::string& reason) {
    log("The window could not be opened (" + reason + "); try --headless");
    return 1;
}

} // namespace

void startWindowDriver() {
    WindowLoad& load = windowLoad();
    if (load.worker.joinable())
        return;
    {
        // What an earlier worker settled is not this one's answer.
        const std::lock_guard lock(load.mutex);
        load.loaded = false;
        load.entry = nullptr;
        load.error.clear();
    }
    nameComposeCache();
    load.noSessionBus = avoidFutileSessionBusLaunch();
    load.x11Window = LibraryStandIns::windowWillBeX11(
        std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"), std::getenv("SDL_VIDEODRIVER"));
    // SDL's X11 start-up sets the process's locale to the user's while it
    // opens the input method: numbers the main thread reads or writes
    // meanwhile stay in the C locale the app otherwise runs in.
    load.cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    if (load.cLocale)
        uselocale(load.cLocale);
    try {
        load.worker = std::thread([&load] {
            auto entry = loadWindowModule(load.noSessionBus, load.x11Window);
            {
                const std::lock_guard lock(load.mutex);
                if (entry)
                    load.entry = entry.value();
                else
                    load.error = entry.error();
                load.loaded = true;
            }
            load.settled.notify_all();
            if (entry)
                entry.value()->openWindow();
        });
    } catch (const std::system_error&) {
        finishWorker(); // the window opens on the main thread later
    }
}

int runWindowDriver(const LaunchOptions& options) {
    // Resetting would drop every timer made so far (the status bar's clock
    // stopped at launch that way); ApplicationMain starts the real clock
    // before the interface is made.
    if (RunLoop::main().clockMode() != ClockMode::Real)
        RunLoop::main().reset(ClockMode::Real);
    WindowLoad& load = windowLoad();
    if (!load.worker.joinable()) {
        auto entry = loadWindowModule(load.noSessionBus, load.x11Window);
        if (!entry)
            return windowNotOpened(entry.error());
        return entry.value()->run(options, false, nullptr);
    }
    // The interface is made while the worker loads SDL and opens the window.
    Application::shared().finishLaunching();
    const WindowModuleEntry* entry = nullptr;
    std::string error;
    {
        std::unique_lock lock(load.mutex);
        load.settled.wait(lock, [&] { return load.loaded; });
        entry = load.entry;
        error = load.error;
    }
    if (!entry) {
        finishWorker();
        return windowNotOpened(error);
    }
    return entry->run(options, true, &finishWorker);
}

} // namespace platform
