#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/AppName.h"
#include "platform/foundation/Result.h"
#include "platform/ui/Application.h"

namespace platform {

// How the process was asked to run (NAME is the app's name):
//   NAME [--home DIR] [PICTURE]                              the window
//   NAME --headless [--home DIR] [--script FILE] [PICTURE]   no window; FILE "-" is stdin
// A PICTURE is opened as a new document right after launch.
//   NAME --help                                     the usage and exit statuses
struct LaunchOptions {
    bool help = false;
    bool headless = false;
    std::filesystem::path home;        // empty: the usual folders
    std::optional<std::string> script; // headless only
    std::vector<std::filesystem::path> files; // to open after launch
    int scale = 1;                            // headless: pixels per point
};

// Parses the arguments after the program name; a failure carries the usage
// message.
Result<LaunchOptions> parseLaunchArguments(const std::vector<std::string>& arguments);
std::string launchUsage();

// How the process ends.
enum class ExitStatus : int {
    Success = 0,
    ScriptFailed = 1, // a script command failed (headless)
    Usage = 2,        // bad arguments, or the script cannot be read
    NotSaved = 3,     // something termination writes could not be written
                      // (before a failed script command)
};
using DelegateFactory = std::function<std::unique_ptr<ApplicationDelegate>()>;
// What the app starts ahead once the arguments are known, before the delegate
// is made (the window is already opening, and the environment is settled).
using LaunchPreparation = std::function<void(const LaunchOptions&)>;

// The process entry: parses the arguments, applies --home, makes the delegate
// (owned by the application) and runs the headless driver or the window
// driver. Returns the exit status (ExitStatus).
int ApplicationMain(int argc, char** argv, const DelegateFactory& makeDelegate,
                    const LaunchPreparation& prepare = {});
// The same for the app of the given name (its folders, window title, log
// lines and usage message are named after it).
int ApplicationMain(int argc, char** argv, const AppName& name,
                    const DelegateFactory& makeDelegate, const LaunchPreparation& prepare = {});

// The factory ApplicationMain was given, kept for the headless `relaunch`
// command (empty when the run was not started by ApplicationMain).
const DelegateFactory& relaunchDelegateFactory();
void setRelaunchDelegateFactory(DelegateFactory factory); // tests

// --- Termination by signal, shared by both drivers ---
// SIGTERM and SIGINT set a flag (and wake the main run loop); the driver then
// ends normally, calling the delegate's will-terminate once.
void installTerminationSignalHandlers();
bool terminationRequested();
void clearTerminationRequest(); // tests

// The window driver's entry (WindowLaunch.cpp, the SDL driver in its module):
// runs the window until it is closed or a termination signal arrives; the
// delegate is already set. A window module that cannot be loaded is logged
// like a display that cannot be opened (exit status 1).
int runWindowDriver(const LaunchOptions& options);
// Starts loading the window module and opening the window on a worker thread
// before the delegate is made, so that the app's own launch runs while SDL
// loads and talks to the display; runWindowDriver takes the window from there.
void startWindowDriver();

// Hands each file to the application delegate's applicationOpenFile (both
// drivers, right after launch).
void openLaunchFiles(const std::vector<std::filesystem::path>& files);

} // namespace platform
