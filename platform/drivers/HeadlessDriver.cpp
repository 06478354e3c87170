#include "platform/drivers/HeadlessDriver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <utility>
#include <vector>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/HeadlessCall.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/KeyChord.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Window.h"

namespace platform {

using Outcome = HeadlessDriver::Outcome;

namespace {

using namespace headless;

// The most a count may ask for and the longest wait: beyond them a script line is a mistake
// that would keep the run busy for hours (the virtual clock also loses its fine steps far out).
constexpr int kMaxTaps = 1000;
constexpr int kMaxSteps = 100000;
constexpr int kMaxFinger = 1000;
constexpr double kMaxWait = 1e7;
constexpr double kMaxNotches = 1000;

// --- The commands ---

// The lowest finger number not touching the window now.
int freeFinger(const Window& window) {
    int finger = 1;
    while (window.hasTouch(finger))
        ++finger;
    return finger;
}

// One tap of a finger: down (the `tapCount`th of a series), up unless a view let go of it
// meanwhile, each settled.
void tapWith(const HeadlessDriver::Call& c, int finger, Point p, int tapCount) {
    Window& w = c.window();
    w.touchDown(finger, p, tapCount);
    c.settle();
    if (w.hasTouch(finger))
        w.touchUp(finger, p);
    c.settle();
}

Point pointAt(const HeadlessDriver::Call& c, std::size_t first) {
    return Point{float(c.number(first)), float(c.number(first + 1))};
}

// down, move, up and cancel: the named phase of one finger.
Result<Outcome> touchPhase(const HeadlessDriver::Call& c) {
    Window& w = c.window();
    const int finger = c.count(2);
    const Point p = pointAt(c, 0);
    const bool isDown = w.hasTouch(finger);
    if (c.name() == "down") {
        if (isDown)
            return c.fail("finger " + std::to_string(finger) + " is already down");
        w.touchDown(finger, p);
    } else {
        if (!isDown)
            return c.fail("finger " + std::to_string(finger) + " is not down");
        if (c.name() == "move")
            w.touchMove(finger, p);
        else if (c.name() == "up")
            w.touchUp(finger, p);
        else
            w.touchCancel(finger, p);
    }
    c.settle();
    return Outcome::Continue;
}

// A termination signal ends a long command between two of its steps.
bool interrupted() {
    return RunLoop::main().interrupted();
}

Result<Outcome> tap(const HeadlessDriver::Call& c) {
    const int finger = freeFinger(c.window());
    for (int k = 1; k <= c.count(2) && !interrupted(); ++k)
        tapWith(c, finger, pointAt(c, 0), k);
    return Outcome::Continue;
}

Result<Outcome> drag(const HeadlessDriver::Call& c) {
    Window& w = c.window();
    const double x1 = c.number(0), y1 = c.number(1), x2 = c.number(2), y2 = c.number(3);
    const int steps = c.count(4);
    const int finger = freeFinger(w);
    w.touchDown(finger, Point{float(x1), float(y1)});
    c.settle();
    Point reached{float(x1), float(y1)};
    for (int k = 1; k <= steps && w.hasTouch(finger) && !interrupted(); ++k) {
        const double f = double(k) / steps;
        reached = Point{float(x1 + (x2 - x1) * f), float(y1 + (y2 - y1) * f)};
        w.touchMove(finger, reached);
        c.settle();
    }
    // Interrupted, the finger lifts where it is, so the stroke ends as drawn.
    if (w.hasTouch(finger))
        w.touchUp(finger, interrupted() ? reached : Point{float(x2), float(y2)});
    c.settle();
    return Outcome::Continue;
}

// The mouse pointer over a point with no button down (outside the window: it leaves).
Result<Outcome> hover(const HeadlessDriver::Call& c) {
    c.window().pointerMoved(pointAt(c, 0));
    c.settle();
    return Outcome::Continue;
}

// DY notches of the wheel over a point, away from the person when positive; with "shift" the
// wheel turns sideways, as the window driver delivers Shift+wheel.
Result<Outcome> wheel(const HeadlessDriver::Call& c) {
    const float notches = float(c.number(2));
    const bool sideways = c.has(3);
    c.window().scrollWheel(pointAt(c, 0), sideways ? notches : 0, sideways ? 0 : notches);
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> press(const HeadlessDriver::Call& c) {
    Window& w = c.window();
    const std::string& name = c.text();
    View* target = HeadlessDriver::findPressable(w, name);
    if (!target)
        return c.fail("no visible, enabled control named \"" + name + "\"");
    const Rect b = target->bounds();
    const Point p = target->convertPointToView(b.center(), nullptr);
    View* hit = w.hitTest(p, nullptr);
    // A scroll view takes the touches on its content and hands them on, so the control under
    // the finger is the one its content answers.
    if (auto* scroll = dynamic_cast<ScrollView*>(hit))
        hit = scroll->contentHitTest(scroll->convertPointFromView(p, nullptr), nullptr);
    if (!hit || !hit->isDescendantOfView(target))
        return c.fail("\"" + name + "\" is covered at (" + std::to_string(int(p.x)) + ", " +
                      std::to_string(int(p.y)) + ")");
    tapWith(c, freeFinger(w), p, 1);
    return Outcome::Continue;
}

// The slider found as `press` finds a control, set as a finger would set it: the thumb is
// where the finger leaves it, and a change sends the slider's value-changed actions.
Result<Outcome> slide(const HeadlessDriver::Call& c) {
    Window& w = c.window();
    const std::string& name = c.word(0);
    View* found = HeadlessDriver::findPressable(w, name);
    if (!found)
        return c.fail("no visible, enabled control named \"" + name + "\"");
    auto* slider = dynamic_cast<Slider*>(found);
    if (!slider)
        return c.fail("\"" + name + "\" is a " + found->className() + ", not a slider");
    const Point p = slider->convertPointToView(slider->thumbRect().center(), nullptr);
    View* hit = w.hitTest(p, nullptr);
    if (!hit || !hit->isDescendantOfView(slider))
        return c.fail("\"" + name + "\" is covered at (" + std::to_string(int(p.x)) + ", " +
                      std::to_string(int(p.y)) + ")");
    const float value = float(c.number(1));
    if (!(value >= slider->minimumValue() && value <= slider->maximumValue()))
        return c.fail("VALUE " + shortNumber(c.number(1)) + " is outside \"" + name + "\"'s range " +
                      shortNumber(slider->minimumValue()) + " to " +
                      shortNumber(slider->maximumValue()));
    const float before = slider->value();
    slider->setValue(value);
    if (slider->value() != before)
        slider->sendActionsForControlEvents(ControlEventValueChanged);
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> type(const HeadlessDriver::Call& c) {
    c.window().insertText(c.text());
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> key(const HeadlessDriver::Call& c) {
    static constexpr std::pair<std::string_view, Key> kKeys[] = {
        {"return", Key::Return}, {"backspace", Key::Backspace}, {"escape", Key::Escape},
        {"left", Key::Left},     {"right", Key::Right},         {"up", Key::Up},
        {"down", Key::Down}};
    for (const auto& [name, k] : kKeys)
        if (c.word(0) == name) {
            c.window().key(k);
            c.settle();
            return Outcome::Continue;
        }
    return c.fail("unknown key \"" + c.word(0) + "\"");
}

Result<Outcome> shortcut(const HeadlessDriver::Call& c) {
    const auto chord = KeyChord::parse(c.word(0));
    if (!chord)
        return c.fail("\"" + c.word(0) + "\" is not a key chord");
    deliverKeyChord(&c.window(), *chord);
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> open(const HeadlessDriver::Call& c) {
    if (ApplicationDelegate* delegate = Application::shared().delegate())
        delegate->applicationOpenFile(c.text());
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> shake(const HeadlessDriver::Call& c) {
    Accelerometer::shared().shake();
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> accel(const HeadlessDriver::Call& c) {
    Accelerometer::shared().deliver(c.number(0), c.number(1), c.number(2));
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> rotate(const HeadlessDriver::Call& c) {
    const std::string& to = c.word(0);
    c.window().setDeviceOrientation(to == "portrait" ? InterfaceOrientationPortrait
                                                     : InterfaceOrientationLandscapeRight);
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> memoryWarning(const HeadlessDriver::Call& c) {
    Application::shared().receiveMemoryWarning();
    c.settle();
    return Outcome::Continue;
}

Result<Outcome> wait(const HeadlessDriver::Call& c) {
    RunLoop& loop = RunLoop::main();
    if (!c.has(0)) {
        if (!loop.settle() && !loop.interrupted())
            return c.fail("still busy after 600 seconds");
    } else {
        loop.drain();
        loop.advanceBy(c.number(0));
    }
    c.render();
    return Outcome::Continue;
}

Result<Outcome> screenshot(const HeadlessDriver::Call& c) {
    const std::string& file = c.text();
    ImageRef shot = c.window().snapshot();
    if (!shot)
        return c.fail("the window could not be drawn");
    auto png = shot->pngData();
    if (!png)
        return c.fail(png.error());
    auto written = writeFileAtomically(file, std::span<const std::uint8_t>(png.value()));
    if (!written)
        return c.fail(file + ": " + written.error());
    return Outcome::Continue;
}

Result<Outcome> expectLog(const HeadlessDriver::Call& c) {
    if (!logContains(c.text()))
        return c.fail("no log line contains \"" + c.text() + "\"");
    return Outcome::Continue;
}

// Termination and a new start in the same process, as the person quitting and
// opening the app again: what termination writes is written, everything in
// memory is dropped, and the next launch reads the files back.
Result<Outcome> relaunch(const HeadlessDriver::Call& c) {
    const DelegateFactory& factory = relaunchDelegateFactory();
    if (!factory)
        return c.fail("this run was not started with an application to launch again");
    RunLoop& loop = RunLoop::main();
    // A one-shot effect still running ends first, as it would before a quit.
    if (!loop.settle() && !loop.interrupted())
        return c.fail("still busy after 600 seconds");
    Application& app = Application::shared();
    app.terminate();
    const bool notSaved = app.terminationWriteFailed();
    app.resetForTesting();
    Accelerometer::shared().resetForTesting();
    Animator::shared().reset();
    loop.reset(ClockMode::Virtual);
    UserDefaults::resetStandardUserDefaults();
    if (notSaved)
        return c.fail("what termination writes was not written");
    app.setOwnedDelegate(factory());
    app.finishLaunching();
    loop.drain();
    c.render();
    return Outcome::Continue;
}

Result<Outcome> quit(const HeadlessDriver::Call&) {
    return Outcome::Quit;
}

Result<Outcome> kill(const HeadlessDriver::Call&) {
    return Outcome::Kill;
}

constexpr Param kFinger = count("FINGER", 1, kMaxFinger);

// Every command: a new one is one row here (and a line in HeadlessDriver.h).
// clang-format off
const Command kCommands[] = {
    {"down",           {number("X"), number("Y"), kFinger},               Needs::Window,  touchPhase},
    {"move",           {number("X"), number("Y"), kFinger},               Needs::Window,  touchPhase},
    {"up",             {number("X"), number("Y"), kFinger},               Needs::Window,  touchPhase},
    {"cancel",         {number("X"), number("Y"), kFinger},               Needs::Window,  touchPhase},
    {"tap",            {number("X"), number("Y"), count("COUNT", 1, kMaxTaps)},
                                                                          Needs::Window,  tap},
    {"drag",           {number("X1"), number("Y1"), number("X2"), number("Y2"),
                        count("STEPS", 10, kMaxSteps)},                   Needs::Window,  drag},
    {"hover",          {number("X"), number("Y")},                        Needs::Window,  hover},
    {"wheel",          {number("X"), number("Y"), number("DY", -kMaxNotches, kMaxNotches),
                        flag("shift")},                                   Needs::Window,  wheel},
    {"press",          {text("NAME")},                                    Needs::Window,  press},
    {"type",           {rawText("TEXT")},                                 Needs::Focus,   type},
    {"key",            {choice("return|backspace|escape|left|right|up|down", "key")},
                                                                          Needs::Focus,   key},
    {"slide",          {word("NAME"), number("VALUE")},                   Needs::Window,  slide},
    {"shortcut",       {word("CHORD")},                                   Needs::Window,  shortcut},
    {"open",           {text("FILE")},                                    Needs::Window,  open},
    {"shake",          {},                                                Needs::Nothing, shake},
    {"accel",          {number("X"), number("Y"), number("Z")},           Needs::Nothing, accel},
    {"rotate",         {choice("portrait|landscape")},                    Needs::Window,  rotate},
    {"memory-warning", {},                                                Needs::Nothing, memoryWarning},
    {"wait",           {number("SECONDS", 0, kMaxWait, true)},            Needs::Nothing, wait},
    {"screenshot",     {text("FILE")},                                    Needs::Window,  screenshot},
    {"expect-log",     {text("TEXT")},                                    Needs::Nothing, expectLog},
    {"relaunch",       {},                                                Needs::Nothing, relaunch},
    {"quit",           {},                                                Needs::Nothing, quit},
    {"kill",           {},                                                Needs::Nothing, kill},
};
// clang-format on

bool visibleChain(const View* v) {
    for (; v; v = v->superview()) {
        if (v->isHidden() || v->alpha() <= 0 || !v->isUserInteractionEnabled())
            return false;
    }
    return true;
}

View* searchFrontToBack(View& view, std::string_view name) {
    if (view.isHidden() || view.alpha() <= 0 || !view.isUserInteractionEnabled())
        return nullptr;
    const auto& subs = view.subviews();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (View* found = searchFrontToBack(**it, name))
            return found;
    if (!view.answersToPressName(name))
        return nullptr;
    if (auto* control = dynamic_cast<Control*>(&view); control && !control->isEnabled())
        return nullptr;
    return &view;
}

} // namespace

HeadlessDriver::HeadlessDriver() = default;
HeadlessDriver::~HeadlessDriver() = default;

Window* HeadlessDriver::window() const {
    return Application::shared().keyWindow();
}

View* HeadlessDriver::findPressable(Window& window, std::string_view name) {
    View* found = searchFrontToBack(window, name);
    if (found && !visibleChain(found))
        return nullptr;
    return found;
}

void HeadlessDriver::settleInput() {
    RunLoop::main().runOnce();
    render();
}

void HeadlessDriver::setScale(int scale) {
    scale_ = std::clamp(scale, 1, kMaxScale);
}

void HeadlessDriver::render() {
    Window* w = window();
    if (!w)
        return;
    // Also a window made later (a relaunch) draws at the driver's scale.
    w->setScale(float(scale_));
    const Size s = w->size();
    const int width = int(s.width) * scale_, height = int(s.height) * scale_;
    if (!framebuffer_ || framebuffer_->width() != width || framebuffer_->height() != height)
        framebuffer_ = Context::createBitmap(width, height, nullptr, YAxis::Down);
    if (framebuffer_)
        w->render(*framebuffer_);
}

namespace {

// A line's command row and the rest of the line; no row for a blank or comment line.
struct SplitLine {
    const Command* row = nullptr;
    std::string rest;
};

Result<SplitLine> splitLine(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == '#')
        return SplitLine{};
    std::size_t space = t.find_first_of(" \t");
    const std::string_view name = t.substr(0, space);
    const auto row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [name](const Command& c) { return c.name == name; });
    if (row == std::end(kCommands))
        return Result<SplitLine>::failure("unknown command \"" + std::string(name) + "\"");
    return SplitLine{&*row, space == std::string_view::npos ? std::string()
                                                            : std::string(t.substr(space))};
}

} // namespace

Status HeadlessDriver::checkLine(std::string_view line) {
    auto split = splitLine(line);
    if (!split)
        return Status::failure(split.error());
    if (!split->row)
        return success();
    Call call(*this, *split->row, nullptr);
    return call.parse(split->rest);
}

Result<Outcome> HeadlessDriver::runLine(std::string_view line) {
    auto split = splitLine(line);
    if (!split)
        return Result<Outcome>::failure(split.error());
    if (!split->row)
        return Outcome::Continue;
    const Command* row = split->row;
    Window* w = window();
    Call call(*this, *row, w);
    if (auto parsed = call.parse(split->rest); !parsed)
        return Result<Outcome>::failure(parsed.error());
    if (row->needs == Needs::Window && !w)
        return call.fail("there is no window");
    if (row->needs == Needs::Focus && (!w || !w->firstResponder()))
        return call.fail("no text field has the focus");
    return row->handler(call);
}

HeadlessDriver::RunResult HeadlessDriver::runScript(std::istream& in, const std::string& fileName) {
    RunResult result;
    std::string line;
    int number = 0;
    render();
    while (!terminationRequested() && std::getline(in, line)) {
        ++number;
        auto outcome = runLine(line);
        if (!outcome) {
            result.failed = true;
            result.failure = fileName + ":" + std::to_string(number) + ": " + outcome.error();
            std::fprintf(stderr, "%s\n", result.failure.c_str());
            std::fflush(stderr);
            result.outcome = Outcome::Quit;
            return result;
        }
        if (*outcome != Outcome::Continue) {
            result.outcome = *outcome;
            return result;
        }
        if (terminationRequested()) {
            log("The script stops at " + fileName + ":" + std::to_string(number) +
                ": a termination signal arrived");
            break;
        }
    }
    result.outcome = Outcome::Quit;
    return result;
}

HeadlessRun runHeadless(const std::optional<std::string>& script,
                        const std::vector<std::filesystem::path>& files, int scale) {
    RunLoop& loop = RunLoop::main();
    loop.reset(ClockMode::Virtual);
    // A signal ends a long wait or drag within its line; the run then ends
    // as usual, saving what the app saves.
    loop.setInterruptCheck(&terminationRequested);
    struct ClearCheck {
        ~ClearCheck() { RunLoop::main().setInterruptCheck(nullptr); }
    } clearCheck;
    Application& app = Application::shared();
    app.finishLaunching();
    loop.drain();
    openLaunchFiles(files);
    loop.drain();

    HeadlessDriver driver;
    driver.setScale(scale);
    HeadlessDriver::RunResult result;
    if (script) {
        if (*script == "-") {
            result = driver.runScript(std::cin, "-");
        } else {
            // A regular file only (a FIFO would hang the launch); "-" reads a pipe.
            auto bytes = readFile(*script, 16u << 20);
            if (!bytes) {
                std::fprintf(stderr, "%s: cannot open the script: %s\n", script->c_str(),
                             bytes.error().c_str());
                app.terminate();
                return HeadlessRun{int(ExitStatus::Usage), false};
            }
            std::istringstream file(std::string(bytes->begin(), bytes->end()));
            result = driver.runScript(file, *script);
        }
    }
    if (result.outcome == HeadlessDriver::Outcome::Kill)
        return HeadlessRun{int(ExitStatus::Success), true};
    app.terminate();
    // Lost work weighs more than a failed command.
    ExitStatus status = result.failed ? ExitStatus::ScriptFailed : ExitStatus::Success;
    if (app.terminationWriteFailed())
        status = ExitStatus::NotSaved;
    return HeadlessRun{int(status), false};
}

} // namespace platform
