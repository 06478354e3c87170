#pragma once

#include <filesystem>
#include <istream>
#include <vector>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"
#include "platform/graphics/Context.h"

namespace platform {

class Window;
class Control;
class View;

// Runs the application without a window, from a script of commands, on the
// virtual clock (it moves only with `wait`).
//
// The script is one command a line; blank lines are skipped and a "#" at the
// start of a word begins a comment (except in `type`, whose text is the rest
// of the line as written). Coordinates are window points in the current
// orientation. Each command is one row of a table in HeadlessDriver.cpp,
// which checks the arguments (how many, numbers, ranges) before its handler
// runs. Commands:
//   down|move|up|cancel X Y [FINGER]   a finger's phase (finger 1 by default)
//   tap X Y [COUNT]                    COUNT quick taps (1 to 1000), the k-th
//                                      with tap count k
//   drag X1 Y1 X2 Y2 [STEPS]           down, STEPS moves (10; at most 100000), up
//   hover X Y                          the mouse pointer over the point with no
//                                      button down (outside the window: it leaves)
//   wheel X Y DY [shift]               DY notches of the mouse wheel over the
//                                      point (at most 1000 either way; positive
//                                      away from the person), sideways with shift
//   press NAME                         tap the frontmost visible enabled control
//                                      whose title, accessibility label or
//                                      action (without ":") is NAME
//   slide NAME VALUE                   set the frontmost visible enabled slider
//                                      found as `press` finds a control (by an
//                                      action name such as brightnessSliderAction)
//                                      to VALUE, within its range, sending its
//                                      value-changed actions as a finger would
//   type TEXT                          to the focused text field
//   key return|backspace|escape|left|right|up|down   to the focused view
//   shortcut CHORD                     a key chord ("ctrl+z", "f1", "escape")
//                                      as the window driver delivers it
//   open FILE                          a file dropped on the window
//   shake / accel X Y Z                the accelerometer
//   rotate portrait|landscape          the device turns
//   memory-warning
//   wait [SECONDS]                     the clock advances (at most 10000000
//                                      seconds); without SECONDS until nothing
//                                      but repeating timers is pending
//   screenshot FILE                    the window as PNG, one pixel per point
//                                      (--scale N: N pixels per point)
//   expect-log TEXT                    a log line since launch contains TEXT
//   relaunch                           termination, then a new launch in the
//                                      same process (the files are read back)
//   quit / kill                        end (kill skips will-terminate)
//
// SIGTERM and SIGINT end the script within its line (between the steps of a
// wait, a drag or a series of taps; a dragged finger lifts where it is) and
// the run ends normally, with will-terminate.
class HeadlessDriver {
public:
    enum class Outcome {
        Continue, // go on with the next line
        Quit,     // end normally
        Kill,     // end at once, without will-terminate
    };

    // One command line with its checked arguments, as a handler sees it.
    class Call;

    HeadlessDriver();
    ~HeadlessDriver();

    // One script line (comments allowed). A failure carries the reason.
    Result<Outcome> runLine(std::string_view line);
    // The line's command and arguments checked as runLine checks them, without
    // running it (nothing is needed: no window, no application).
    Status checkLine(std::string_view line);

    // Runs the whole script; reports the first failure as "FILE:LINE: reason"
    // on standard error. Answers the outcome of the run and whether it failed.
    struct RunResult {
        Outcome outcome = Outcome::Quit;
        bool failed = false;
        std::string failure; // "FILE:LINE: reason"
    };
    RunResult runScript(std::istream& in, const std::string& fileName);

    // Pixels per point of the window's drawing and screenshots (1 to
    // kMaxScale; 1 by default).
    int scale() const { return scale_; }
    void setScale(int scale);
    static constexpr int kMaxScale = 4;

    // The framebuffer the window is rendered into after every command.
    const Context* framebuffer() const { return framebuffer_.get(); }

    // The frontmost visible, enabled control answering to `name` (null if none).
    static View* findPressable(Window& window, std::string_view name);

private:
    void settleInput();
    void render();
    Window* window() const;

    std::unique_ptr<Context> framebuffer_;
    int scale_ = 1;
};

// The whole headless run on the virtual clock: launch (the delegate must be
// set), the script (none: nothing but launch and termination), then normal
// termination unless the script killed the application. ApplicationMain
// exits the process at once after a kill.
struct HeadlessRun {
    int status = 0; // an ExitStatus: a command failed, the script cannot be
                    // read, or what termination writes was not written
    bool killed = false;
};
// Files to open (openLaunchFiles) go to the application right after launch.
// `scale` is the window's pixels per point (HeadlessDriver::setScale).
HeadlessRun runHeadless(const std::optional<std::string>& script,
                        const std::vector<std::filesystem::path>& files = {}, int scale = 1);

} // namespace platform
