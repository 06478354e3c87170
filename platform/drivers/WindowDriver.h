#pragma once

#include "platform/drivers/ApplicationMain.h"

// The window driver (SDL2, see SdlDriver.h) lives in a module of its own,
// loaded by the thread that opens the window: a launch with --headless, and
// the main thread of a launch with a window, never map SDL and the dozens of
// libraries it brings (sound, X11, Wayland, ...).
namespace platform {

// What the module offers the launch (startWindowDriver, runWindowDriver).
struct WindowModuleEntry {
    // On the worker thread, once the module is loaded: opens the window and
    // keeps it for `run`.
    void (*openWindow)();
    // On the main thread: runs the window until it is closed or a
    // termination signal arrives, answering the exit status. With `opening`,
    // openWindow is running or ran and the application has finished
    // launching; `windowTaken` is called once the window is in hand (the
    // worker is done). Without, the window opens here and then the
    // application finishes launching.
    int (*run)(const LaunchOptions& options, bool opening, void (*windowTaken)());
};

inline constexpr const char* kWindowModuleFile = "libzorbel-window.so";
inline constexpr const char* kWindowModuleEntry = "zorbel_window_module";

} // namespace platform

extern "C" const platform::WindowModuleEntry* zorbel_window_module();
